// The live recorder on the termios port, listening to a simulated unit deployed behind a
// real pseudo-terminal with its sample interval compressed to one second. Real time: about
// four seconds.
#include "data/DataFiles.h"
#include "link/LiveRecorder.h"
#include "sim/VelunitPtyServer.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

struct CLostLog : ILiveRecorderListener {
    void OnEnsembleAdded(size_t) override { ++added; }
    void OnPortLost(const std::string& text) override { lost.push_back(text); }
    int added = 0;
    std::vector<std::string> lost;
};

TEST(LiveRecorderPty, ListensToADeployedUnitThroughFlushesUntilTheLineGoes)
{
    SVelunitConfig config;
    config.m_nTimeCompression = 30; // a 30-second ensemble every second
    auto server = std::make_unique<CVelunitPtyServer>(CSystemClock::Instance(), config);
    server->SetFlushWakesDeployed(false);
    std::string error;
    ASSERT_TRUE(server->Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread unit([&] { server->Run(stop); });
    struct Joiner {
        std::atomic<bool>& stop;
        std::thread& thread;
        ~Joiner()
        {
            stop = true;
            if (thread.joinable())
                thread.join();
        }
    } joiner{stop, unit};

    // Wake it (a flush stands for the break here) and deploy it.
    auto port = std::make_unique<CSerialPort>();
    ASSERT_TRUE(port->Open(server->SlavePath(), 9600)) << port->OpenError();
    port->Flush();
    std::string banner, echo;
    ASSERT_TRUE(port->ReadUntil(banner, 3000, '>'));
    ASSERT_TRUE(port->Write("CS\n"));
    ASSERT_TRUE(port->ReadUntil(echo, 3000, '\n'));

    testsupport::TempDir dir;
    CLostLog log;
    SLiveRecorderSetup setup;
    setup.m_strStationDir = dir.Path().string();
    setup.m_pListener = &log;
    CLiveRecorder recorder(std::move(port), CStation(), setup);
    // The view's flush on creation must not end the deployment.
    recorder.Start();
    for (int tick = 0; tick < 8 && recorder.List().GetCount() < 3; ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(CLiveRecorder::TICK_MS));
        recorder.OnTick();
    }
    ASSERT_GE(recorder.List().GetCount(), 3u);
    const CEnsembleList& list = recorder.List();
    for (size_t i = 1; i < list.GetCount(); ++i)
        EXPECT_EQ(list.GetValue(i, DATATYPE_NUMBER), list.GetValue(i - 1, DATATYPE_NUMBER) + 1);
    EXPECT_GE(server->Flushes(), 2);

    // The unit goes away with its end of the line: reported once, nothing lost, no more reads.
    stop = true;
    unit.join();
    EXPECT_EQ(server->Simulator().State(), CVelunitSimulator::deployed);
    const auto& card = server->Simulator().Recorder().Bytes();
    const std::vector<unsigned char> sent(card.begin(), card.end());
    server.reset();
    recorder.OnTick();
    EXPECT_TRUE(recorder.IsPortLost());
    recorder.OnTick();
    EXPECT_EQ(log.lost, std::vector<std::string>{CLiveRecorder::PORT_LOST_MESSAGE});
    EXPECT_EQ(static_cast<size_t>(log.added), list.GetCount());

    // The file holds the ensembles listened to, byte for byte as the unit sent them.
    recorder.Close();
    const auto files = ListDataFiles(dir.Path().string());
    ASSERT_EQ(files.size(), 1u);
    const auto file = testsupport::ReadFileBytes(dir / files[0]);
    EXPECT_EQ(file.size(), list.GetCount() * list.GetAt(0).GetSize());
    EXPECT_NE(std::search(sent.begin(), sent.end(), file.begin(), file.end()), sent.end());
}

} // namespace
