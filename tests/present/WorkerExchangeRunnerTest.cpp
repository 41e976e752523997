// Exchanges with the unit handed to a worker while the owner's thread keeps turning: the
// operations give the same results, every byte goes over the line from the worker, every
// word to the operator comes on the owner's thread, and nothing else touches the line
// while an exchange has it.
#include "present/WorkerExchangeRunner.h"
#include "tests/present/CommsFixture.h"

#include <mutex>
#include <set>
#include <utility>

namespace
{

using Lines = std::vector<std::string>;

struct RunnerFixture : CommsFixture {
    RunnerFixture()
        : runner(dispatcher, [this](const std::function<bool()>& done) {
              ++waits;
              if (duringWait)
                  duringWait();
              while (!done())
                  dispatcher.WaitAndRun(100);
          })
    {
        SCommunicationsSetup setup;
        setup.m_pClock = &rig.clock;
        setup.m_strSiteDir = site.Path().string();
        setup.m_pControls = &view;
        setup.m_pDownloadView = &view;
        setup.m_pExchanges = &runner;
        controller = std::make_unique<CCommunicationsController>(station, view, view, dispatcher, setup);
        rig.line.SetMonitor([this](bool toDevice, const unsigned char*, size_t) {
            if (toDevice)
                writers.insert(std::this_thread::get_id()); // under the line's lock
        });
    }
    ~RunnerFixture() { controller.reset(); }

    int waits = 0;
    std::function<void()> duringWait;
    std::set<std::thread::id> writers;
    CWorkerExchangeRunner runner;
};

TEST(WorkerExchanges, OperationsRunOnTheWorkerAndReportOnTheOwnersThread)
{
    RunnerFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.status, (Lines{"Connected to velunit...", "Ready"}));
    EXPECT_EQ(f.view.Field(ECommField::siteName), "Mill_Race");

    f.controller->SystemTest();
    EXPECT_EQ(f.view.status.back(), "Ready");
    f.view.offsetAnswer = 1;
    f.controller->SetClock();
    EXPECT_EQ(f.view.status, (Lines{"Ready"}));
    f.view.answers = {false};
    f.controller->Program();
    EXPECT_EQ(f.view.status, (Lines{"Ready"}));
    EXPECT_EQ(f.station.GetCalcSetCount(), 1);
    EXPECT_EQ(f.rig.Sim().Received().back(), "CS");

    // Wake-up, queries, PA, PS0, TS, ts?, every command of the list, MN, CK, CS, the pause.
    EXPECT_EQ(f.runner.Count(), f.waits);
    EXPECT_GE(f.runner.Count(), 8 + f.station.GetCommands().Count());
    EXPECT_FALSE(f.writers.empty());
    EXPECT_EQ(f.writers.count(std::this_thread::get_id()), 0u);
    EXPECT_EQ(f.view.foreignCalls.load(), 0);
    EXPECT_FALSE(f.runner.IsRunning());
}

TEST(WorkerExchanges, ASecondExchangeIsRefusedWhileOneHasTheLine)
{
    RunnerFixture f;
    ASSERT_TRUE(f.Open());
    bool innerRan = false;
    bool innerResult = true;
    bool tried = false;
    f.duringWait = [&] {
        if (std::exchange(tried, true))
            return;
        EXPECT_TRUE(f.runner.IsRunning());
        innerResult = f.runner.Run([&] { return innerRan = true; });
    };
    f.controller->SystemTest();
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(innerRan);
    EXPECT_EQ(f.view.status.back(), "Ready");
}

// Runs each exchange on the caller's thread, with a timer tick just before it.
class CTickingRunner : public IExchangeRunner
{
  public:
    bool Run(const std::function<bool()>& exchange) override
    {
        m_bRunning = true;
        if (m_onExchange)
            m_onExchange();
        const bool ok = exchange();
        m_bRunning = false;
        return ok;
    }
    bool IsRunning() const override { return m_bRunning; }
    std::function<void()> m_onExchange;

  private:
    bool m_bRunning = false;
};

TEST(WorkerExchanges, OrientationTicksLeaveTheLineToARunningExchange)
{
    CommsFixture f;
    CTickingRunner runner;
    SCommunicationsSetup setup;
    setup.m_pClock = &f.rig.clock;
    setup.m_strSiteDir = f.site.Path().string();
    setup.m_pControls = &f.view;
    setup.m_pExchanges = &runner;
    f.controller =
        std::make_unique<CCommunicationsController>(f.station, f.view, f.view, f.dispatcher, setup);
    ASSERT_TRUE(f.Open());
    f.controller->Orientation();
    ASSERT_TRUE(f.controller->IsOrientationRunning());
    f.rig.clock.Advance(3500); // readings wait on the line

    // "Wakeup" pressed while the stream runs: the timer ticks during its exchanges.
    Lines seenAtTick;
    runner.m_onExchange = [&] {
        f.controller->Tick();
        if (seenAtTick.empty())
            seenAtTick = f.view.status;
    };
    f.controller->Connect();
    // The tick read nothing: no reading line took the place of what the window showed.
    EXPECT_TRUE(std::find(seenAtTick.begin(), seenAtTick.end(),
                          "Temp(degC)  Press(kPa)  Press(m) Pitch(deg) Roll(deg)") == seenAtTick.end());
    EXPECT_EQ(f.view.status, (Lines{"Connected to velunit...", "Ready"}));
}

} // namespace
