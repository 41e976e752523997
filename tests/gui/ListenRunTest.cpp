// tidewell --station NAME --listen --grab PNG, with a deployed unit behind a pseudo-terminal
// that the settings file maps to the station's port: the program opens the real-time view,
// waits for the first ensemble, records it and takes its picture.
#include "tests/gui/GuiFixture.h"

#include "data/DataFiles.h"
#include "link/SerialPort.h"
#include "sim/VelunitPtyServer.h"
#include "tests/support/TestSupport.h"

#include <QImage>

#include <atomic>
#include <thread>

namespace
{

namespace fs = std::filesystem;

class ListenRun : public GuiTest
{
  protected:
    testsupport::CommandResult Run()
    {
        return testsupport::RunCommand(
            "QT_QPA_PLATFORM=offscreen timeout 120 '" + std::string(TIDEWELL_APP_PATH) + "' --config '" +
            ConfigPath().string() + "' --station Weir --listen --grab '" + Png() + "'");
    }
    std::string Png() const { return (m_temp.Path() / "shot.png").string(); }
};

TEST_F(ListenRun, RecordsTheFirstEnsembleOfADeployedUnitThenTakesThePicture)
{
    SVelunitConfig config;
    config.m_strSiteName = "Weir";
    config.m_nTimeCompression = 30; // a 30-second ensemble every second
    CVelunitPtyServer server(CSystemClock::Instance(), config);
    server.SetFlushWakesDeployed(false);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread unit([&] { server.Run(stop); });
    {
        CSerialPort port;
        ASSERT_TRUE(port.Open(server.SlavePath(), 9600));
        port.Flush();
        std::string banner, echo;
        ASSERT_TRUE(port.ReadUntil(banner, 3000, '>'));
        ASSERT_TRUE(port.Write("CS\n"));
        ASSERT_TRUE(port.ReadUntil(echo, 3000, '\n'));
    }
    WriteConfig();
    testsupport::WriteFileText(ConfigPath(),
                               testsupport::ReadFileText(ConfigPath()) + "COM2=" + server.SlavePath() + "\n");
    const fs::path station = MakeStation("Weir", "", [](CStation& s) { s.SetComPort(2); });

    const auto run = Run();
    stop = true;
    unit.join();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(QImage(QString::fromStdString(Png())).width() >= 1280);
    std::vector<std::string> recordings;
    for (const std::string& name : ListDataFiles(station.parent_path().string()))
        if (name.rfind("rt", 0) == 0)
            recordings.push_back(name);
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_GT(fs::file_size(station.parent_path() / recordings[0]), 0u);
}

} // namespace
