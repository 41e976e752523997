// The whole link through the termios port to a simulated unit behind a real
// pseudo-terminal, where the wake-up travels as a flush instead of a break. Real time.
#include "sim/VelunitPtyServer.h"
#include "tests/present/CommsFixture.h"

#include <atomic>
#include <thread>

namespace
{

struct PtyUnit {
    explicit PtyUnit(SVelunitConfig config) : server(CSystemClock::Instance(), std::move(config))
    {
        std::string error;
        opened = server.Open(error);
        EXPECT_TRUE(opened) << error;
        if (opened)
            thread = std::thread([this] { server.Run(stop); });
    }
    ~PtyUnit() { Stop(); }
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

TEST(PtyVelunit, ConnectAndProgramThroughTheTermiosPort)
{
    SVelunitConfig config;
    config.m_strSiteName = "Mill_Race";
    PtyUnit unit(config);
    ASSERT_TRUE(unit.opened);

    testsupport::TempDir site;
    CStation station;
    station.SetSiteName("Mill Race");
    station.SetFrequency(3);
    RecordingView view;
    view.answers = {false};
    SCommunicationsSetup setup;
    setup.m_strSiteDir = site.Path().string();
    setup.m_strStationDir = site.Path().string();
    CLockstepDispatcher dispatcher;
    CCommunicationsController controller(station, view, view, dispatcher, setup);
    ASSERT_TRUE(controller.OpenPort(unit.server.SlavePath()));
    EXPECT_EQ(view.status, (std::vector<std::string>{"Connected to velunit...", "Ready"}));
    EXPECT_EQ(view.Field(ECommField::siteName), "Mill_Race");
    controller.Program();
    EXPECT_EQ(view.status, (std::vector<std::string>{"Ready"}));
    EXPECT_EQ(station.GetCalcSetCount(), 1);

    // Deployed now; a second wake-up interrupts the deployment as a break would.
    controller.Connect();
    EXPECT_EQ(view.status.back(), "Ready");
    unit.Stop();
    const auto& received = unit.server.Simulator().Received();
    ASSERT_GE(received.size(), 21u);
    EXPECT_EQ(received[3], "CR1");
    EXPECT_EQ(received[20], "CS");
    EXPECT_GE(unit.server.Flushes(), 2);
    const std::string log = testsupport::ReadFileText(site / "Mill Race.log");
    EXPECT_NE(log.find("PD14\r\n>MN Mill_Race\r\n>CK\r\n"), std::string::npos);
}

} // namespace
