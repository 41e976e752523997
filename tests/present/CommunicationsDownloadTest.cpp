// The download from the communications dialog: a transfer that loses the unit puts the
// dialog back to "not connected", and that reset, like every other change the operator
// sees, happens on the dialog's own thread while the transfer ran on the worker's.
#include "tests/present/CommsFixture.h"

namespace
{

using Lines = std::vector<std::string>;

bool HasEvent(const RecordingView& view, const std::string& event)
{
    return std::find(view.events.begin(), view.events.end(), event) != view.events.end();
}

TEST(CommunicationsDownload, LostUnitResetsTheDialogOnItsOwnThread)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.controller->IsTimerRunning());
    f.view.timerStops = 0;
    ASSERT_GT(f.controller->InstrumentTime().m_dt, 0.0);
    // The cable is pulled: nothing answers any more, not even a break.
    f.rig.line.SetPump([&](int ms) { f.rig.clock.Advance(ms); });

    f.controller->DownloadButton();
    EXPECT_FALSE(f.controller->CanClose());
    EXPECT_EQ(f.view.downloadCaption, "Abort");
    while (!f.controller->CanClose())
        ASSERT_TRUE(f.dispatcher.WaitAndRun(20000)) << "the worker went silent";

    EXPECT_EQ(f.view.status,
              (Lines{"Download failed: Could not set download baud", "Communications were lost"}));
    EXPECT_GE(f.view.timerStops, 1);
    EXPECT_FALSE(f.view.timerRunning);
    EXPECT_FALSE(f.controller->IsTimerRunning());
    EXPECT_LT(f.controller->InstrumentTime().m_dt, 0.0);
    EXPECT_EQ(f.view.Field(ECommField::firmware), "");
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    EXPECT_EQ(f.view.downloadCaption, "Download");
    EXPECT_EQ(f.view.progress, 0);

    EXPECT_EQ(f.view.foreignCalls.load(), 0);
    ASSERT_FALSE(f.dispatcher.Threads().empty());
    for (const auto& thread : f.dispatcher.Threads())
        EXPECT_EQ(thread, f.dispatcher.Owner());

    // The timer may tick on: it finds no instrument time to run.
    f.controller->Tick();
    EXPECT_EQ(f.view.Field(ECommField::time), "");
}

TEST(CommunicationsDownload, GoodTransferErasesTheRecorderThroughTheDialog)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    const size_t before = f.rig.Sim().Received().size();
    f.view.answers = {true}; // the erase question
    f.controller->DownloadButton();
    while (!f.controller->CanClose())
        ASSERT_TRUE(f.dispatcher.WaitAndRun(20000)) << "the worker went silent";
    EXPECT_TRUE(HasEvent(f.view, "status: Transfer completed succesfully"));
    EXPECT_TRUE(HasEvent(f.view, "beep 600 1000"));
    EXPECT_EQ(f.view.status.back(), "Recorder card erased");
    const Lines sent = f.ReceivedSince(before);
    EXPECT_EQ(sent.front(), "CB 711");
    EXPECT_EQ(sent.back(), "ME ErAsE");
    EXPECT_TRUE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.timerRunning);
    EXPECT_EQ(f.view.foreignCalls.load(), 0);
}

} // namespace
