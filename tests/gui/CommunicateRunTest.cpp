// tidewell --station NAME --communicate --grab PNG, with the unit behind a pseudo-terminal
// that the settings file maps to the station's port: the program opens it through the
// termios port, connects, and takes its picture once the connection has finished.
#include "tests/gui/GuiFixture.h"

#include "link/SerialPort.h"
#include "sim/VelunitPtyServer.h"
#include "tests/support/TestSupport.h"

#include <QImage>

#include <atomic>
#include <thread>

namespace
{

namespace fs = std::filesystem;

// A simulated unit on a pseudo-terminal; it answers only while running.
struct PtyUnit {
    explicit PtyUnit(const std::string& siteName) : server(CSystemClock::Instance(), Config(siteName))
    {
        std::string error;
        opened = server.Open(error);
        EXPECT_TRUE(opened) << error;
    }
    ~PtyUnit() { Stop(); }
    static SVelunitConfig Config(const std::string& siteName)
    {
        SVelunitConfig config;
        config.m_strSiteName = siteName;
        return config;
    }
    void Start()
    {
        thread = std::thread([this] { server.Run(stop); });
    }
    void Stop()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
    CVelunitPtyServer server;
    std::atomic<bool> stop{false};
    std::thread thread;
    bool opened = false;
};

class CommunicateRun : public GuiTest
{
  protected:
    // The station "Weir" on COM 2, which the settings file maps to the unit's device.
    fs::path Prepare(const PtyUnit& unit)
    {
        WriteConfig();
        testsupport::WriteFileText(ConfigPath(), testsupport::ReadFileText(ConfigPath()) +
                                                     "COM2=" + unit.server.SlavePath() + "\n");
        return MakeStation("Weir", "", [](CStation& s) {
            s.SetComPort(2);
            s.SetFrequency(3); // as the simulated unit reports
        });
    }
    testsupport::CommandResult Run()
    {
        return testsupport::RunCommand(
            "QT_QPA_PLATFORM=offscreen timeout 120 '" + std::string(TIDEWELL_APP_PATH) + "' --config '" +
            ConfigPath().string() + "' --station Weir --communicate --grab '" + Png() + "'");
    }
    std::string Png() const { return (m_temp.Path() / "shot.png").string(); }
};

TEST_F(CommunicateRun, ConnectsOnTheStationsPortThenTakesThePicture)
{
    PtyUnit unit("Weir");
    ASSERT_TRUE(unit.opened);
    const fs::path station = Prepare(unit);
    unit.Start();
    const auto run = Run();
    unit.Stop();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("tidewell: "), std::string::npos) << run.err;
    const QImage image(QString::fromStdString(Png()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 1280);

    const auto& received = unit.server.Simulator().Received();
    EXPECT_EQ(std::vector<std::string>(received.begin(), received.end()),
              (std::vector<std::string>{"ts?", "mn?", "PS0"}));
    const std::string log = testsupport::ReadFileText(station.parent_path() / "Weir.log");
    EXPECT_NE(log.find("-------------New Session Started: "), std::string::npos);
    EXPECT_NE(log.find("mn?\r\nMN Weir\r\n>"), std::string::npos);
}

TEST_F(CommunicateRun, SilentUnitOrPortInUseFailTheRunAfterThePicture)
{
    PtyUnit unit("Weir");
    ASSERT_TRUE(unit.opened);
    Prepare(unit);

    // Nothing answers on the line: the wake-up times out.
    auto silent = Run();
    EXPECT_EQ(silent.status, 1) << silent.err;
    EXPECT_NE(silent.err.find("tidewell: the Velunit did not connect"), std::string::npos) << silent.err;
    EXPECT_TRUE(fs::exists(Png()));

    // Another program holds the port.
    fs::remove(Png());
    CSerialPort holder;
    ASSERT_TRUE(holder.Open(unit.server.SlavePath(), 9600));
    auto busy = Run();
    EXPECT_EQ(busy.status, 1) << busy.err;
    EXPECT_NE(busy.err.find("tidewell: Error, could not COM 2!  Please verify port is not in use."),
              std::string::npos)
        << busy.err;
    EXPECT_TRUE(fs::exists(Png()));
}

} // namespace
