// The "Velunit Communications" window against the simulated unit: a whole field visit, the
// questions of the opening, a unit that does not answer, a port in use, an aborted download,
// and the window staying alive while the unit takes its time.
#include "tests/gui/CommsDlgFixture.h"

#include "link/ui/SetTimeDlg.h"
#include "settings/Profiling.h"
#include "views/RealTimeView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>

#include <cstdlib>
#include <regex>

namespace fs = std::filesystem;

namespace
{

using B = CCommunicationsDlg;

// The log with every date and time replaced, so that it can be compared whatever the
// clock said.
std::string WithoutTimes(const std::string& log)
{
    static const std::regex time(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
    return std::regex_replace(log, time, "YYYY/MM/DD hh:mm:ss");
}

TEST_F(CommsDlgTest, WholeVisitFromConnectToSleep)
{
    SVelunitConfig config = Unit();
    config.m_strRecorderPath = RecorderWith(30 * 1024);
    config.m_transferFactory = CPacedTransfer::Factory(15);
    VelunitRig rig(config, false);
    auto dialog = Show(rig);
    CCommunicationsDlg& d = *dialog;

    // Connected: the System group filled, every button on, the clock running.
    EXPECT_EQ(d.windowTitle(), "Velunit Communications");
    EXPECT_EQ(d.StatusLines(), Lines({"Connected to velunit...", "Ready"}));
    EXPECT_EQ(Field(d, ECommField::firmware), "51.40");
    EXPECT_EQ(Field(d, ECommField::siteName), "Mill_Race");
    EXPECT_EQ(Field(d, ECommField::frequency), "1200 KHz");
    EXPECT_TRUE(Field(d, ECommField::time).startsWith("2026/12/08 10:"));
    EXPECT_EQ(Enabled(d), AllOn());
    EXPECT_TRUE(m_questions.empty());
    EXPECT_GE(d.ExchangeCount(), 2); // the wake-up and the queries went to the worker
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The displayed clock runs on by itself, a second a tick.
    const QString shown = Field(d, ECommField::time);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Field(d, ECommField::time) != shown; }, 3000));

    // System Test: both replies shown, then "Ready".
    d.Button(B::SYSTEM_TEST)->click();
    QStringList lines = d.StatusLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.front().startsWith("PA"));
    EXPECT_TRUE(lines.join('\n').contains("PS0"));
    EXPECT_EQ(lines.back(), "Ready");
    EXPECT_EQ(Enabled(d), AllOn());

    // Set Time with an offset of 2 hours, kept in the station.
    m_offset = 2;
    d.Button(B::SET_TIME)->click();
    EXPECT_EQ(m_nOffered, 0);
    EXPECT_EQ(d.StatusLines(), Lines({"Ready"}));
    EXPECT_EQ(m_station.GetTimeZoneOffset(), 2);
    EXPECT_TRUE(Field(d, ECommField::time).startsWith("2026/12/08 12:"));

    // Orientation: the button turns into "Stop Test" and is the only operation left on.
    d.Button(B::ORIENTATION)->click();
    EXPECT_EQ(d.Button(B::ORIENTATION)->text(), "Stop Test");
    std::vector<bool> orientationOnly = OnlyWakeup();
    orientationOnly[B::ORIENTATION] = true;
    EXPECT_EQ(Enabled(d), orientationOnly);
    rig.clock.Advance(3500); // the unit prints its readings meanwhile
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return d.StatusLines().size() == 2 &&
                   d.StatusLines().front() == "Temp(degC)  Press(kPa)  Press(m) Pitch(deg) Roll(deg)";
        },
        5000));
    d.Button(B::ORIENTATION)->click();
    EXPECT_EQ(d.Button(B::ORIENTATION)->text(), "Check Orientation");
    EXPECT_EQ(d.StatusLines(), Lines({"Ready"}));
    EXPECT_EQ(Enabled(d), AllOn());

    // Program, and No to the live view: a calculation set, the dialog stays, not connected.
    m_answers = {false};
    d.Button(B::PROGRAM)->click();
    ASSERT_FALSE(m_questions.empty());
    EXPECT_EQ(m_questions.back(), "Successfully programmed unit, would you like to view real-time data?");
    EXPECT_EQ(d.StatusLines(), Lines({"Ready"}));
    EXPECT_EQ(m_station.GetCalcSetCount(), 1);
    EXPECT_EQ(Enabled(d), OnlyWakeup());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(rig.Sim().Received().back(), "CS");

    // Wake it again for the download.
    d.Button(B::WAKEUP)->click();
    EXPECT_EQ(d.StatusLines().back(), "Ready");

    // Download: "Abort" while it runs, the window will not close, the bar moves; then the
    // erase question, answered Yes.
    std::vector<int> progress;
    QObject::connect(&d, &CCommunicationsDlg::progressChanged, [&](int p) { progress.push_back(p); });
    m_answers = {true};
    d.Button(B::DOWNLOAD)->click();
    EXPECT_EQ(d.Button(B::DOWNLOAD)->text(), "Abort");
    EXPECT_EQ(d.StatusLines().back(), "Inititializing download...");
    d.reject();
    d.close();
    EXPECT_TRUE(d.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Controller().CanClose(); }, 60000));
    EXPECT_EQ(d.Button(B::DOWNLOAD)->text(), "Download");
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::any_of(progress.begin(), progress.end(), [](int p) { return p > 0 && p < 100; }));
    EXPECT_EQ(*std::max_element(progress.begin(), progress.end()), 100);
    EXPECT_EQ(m_questions.back(), "The transfer has completed successfully, would you like to erase the "
                                  "recorder card now (recommended)?");
    lines = d.StatusLines();
    EXPECT_TRUE(lines.contains("Transfer completed succesfully"));
    EXPECT_EQ(lines.back(), "Recorder card erased");
    EXPECT_EQ(Enabled(d), AllOn());
    EXPECT_TRUE(fs::exists(fs::path(StationDir()) / "Mill_Race.000"));
    EXPECT_GE(fs::file_size(fs::path(StationDir()) / "Mill_Race.000"), 30u * 1024);
    EXPECT_EQ(rig.Sim().Received().back(), "ME ErAsE");

    // Sleep: not connected afterwards.
    d.Button(B::SLEEP)->click();
    EXPECT_EQ(d.StatusLines(), Lines({"The unit is in sleep mode", "Disconnected"}));
    EXPECT_EQ(Enabled(d), OnlyWakeup());
    EXPECT_EQ(Field(d, ECommField::firmware), "");
    EXPECT_EQ(Field(d, ECommField::time), "");

    d.Button(B::WAKEUP)->setEnabled(true);
    d.close();
    EXPECT_FALSE(d.isVisible());
    dialog.reset();

    // What the session log kept of the visit, section by section. The file was written by
    // this test with TIDEWELL_WRITE_GOLDEN=1 and read through by hand.
    const fs::path golden = fs::path(TIDEWELL_SOURCE_DIR) / "tests/gui/data/whole-visit.log";
    if (std::getenv("TIDEWELL_WRITE_GOLDEN"))
        testsupport::WriteFileText(golden, WithoutTimes(LogText()));
    EXPECT_EQ(WithoutTimes(LogText()), testsupport::ReadFileText(golden));
}

TEST_F(CommsDlgTest, YesToTheLiveViewOpensTheRealTimeViewOnThePortAndClosesTheWindow)
{
    VelunitRig rig(Unit(), false);
    m_bWindowsOwnLaunch = true;
    auto dialog = Show(rig);
    ASSERT_EQ(dialog->StatusLines().back(), "Ready");

    m_answers = {true};
    dialog->Button(B::PROGRAM)->click();
    EXPECT_EQ(m_questions.back(), "Successfully programmed unit, would you like to view real-time data?");
    EXPECT_TRUE(m_messages.empty()); // no "failed to launch"
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(m_station.GetCalcSetCount(), 1);
    EXPECT_EQ(rig.Sim().Received().back(), "CS");
    // Unclaimed by a frame, the view is a window of its own, listening on the dialog's port.
    CRealTimeView* view = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* live = qobject_cast<CRealTimeView*>(widget))
            view = live;
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsPortOpen());
    ASSERT_NE(view->Recorder().Port(), nullptr);
    EXPECT_TRUE(view->Recorder().Port()->IsOpen());
    EXPECT_TRUE(view->Timer()->isActive());
    delete view;
}

TEST_F(CommsDlgTest, FrequencyMismatchAnsweredYesUpdatesAndRecalculatesTheStation)
{
    m_station.SetFrequency(1);
    ASSERT_TRUE(m_station.Save());
    VelunitRig rig(Unit("Other_Site"), false); // a differing ID raises no question after Yes
    CStation expected(m_station);
    expected.SetFrequency(3);
    if (expected.GetAutoCalc())
        CalcProfilingSettings(expected);
    if (expected.GetAutoVelRange())
        CalcVelocityRange(expected);

    m_answers = {true};
    auto dialog = Show(rig);
    EXPECT_EQ(m_questions,
              (std::vector<std::string>{"Warning, the frequency of the velunit and the station "
                                        "file do not match, would you like to adjust the station "
                                        "file?"}));
    EXPECT_EQ(dialog->StatusLines(), Lines({"Connected to velunit...", "Ready"}));
    EXPECT_EQ(m_station.GetFrequency(), 3);
    EXPECT_TRUE(dialog->isVisible());

    auto saved = std::make_unique<CStation>();
    ASSERT_TRUE(saved->Load(StationDir() + "/Mill Race.hstn"));
    EXPECT_EQ(saved->GetFrequency(), 3);
    ASSERT_EQ(saved->GetCommands().Count(), expected.GetCommands().Count());
    for (int i = 0; i < expected.GetCommands().Count(); ++i) {
        std::string c1, p1, c2, p2;
        saved->GetCommands().Get(i, c1, p1);
        expected.GetCommands().Get(i, c2, p2);
        EXPECT_EQ(c1 + p1, c2 + p2);
    }
}

TEST_F(CommsDlgTest, DifferentIdAnsweredNoRestartsTheUnitAndClosesTheWindow)
{
    VelunitRig rig(Unit("Other_Site"), false);
    m_answers = {false};
    auto dialog = Show(rig);
    EXPECT_EQ(m_questions,
              (std::vector<std::string>{"Warning, the connected meter has ID \"Other_Site\" but "
                                        "the station is configured with ID \"Mill_Race\" are you "
                                        "sure you want to continue?"}));
    EXPECT_EQ(rig.Sim().Received().back(), "CS");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(CommsDlgTest, SilentUnitReportsConnectFailed)
{
    SVelunitConfig config = Unit();
    config.m_nWakeDelayMs = 6000; // the banner never comes within the time-out
    VelunitRig rig(config, false);
    auto dialog = Show(rig);
    EXPECT_EQ(dialog->StatusLines(),
              Lines({"Error, connect failed!", "Ensure cable is connected and unit is powered."}));
    EXPECT_EQ(Enabled(*dialog), OnlyWakeup());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(CommsDlgTest, AbortDuringDownloadReEstablishesCommunications)
{
    SVelunitConfig config = Unit();
    config.m_strRecorderPath = RecorderWith(60 * 1024);
    config.m_transferFactory = CPacedTransfer::Factory(20);
    VelunitRig rig(config, false);
    auto dialog = Show(rig);
    CCommunicationsDlg& d = *dialog;
    ASSERT_EQ(d.StatusLines().back(), "Ready");

    bool pressed = false;
    QObject::connect(&d, &CCommunicationsDlg::progressChanged, [&](int p) {
        if (!pressed && p > 0 && d.Button(B::DOWNLOAD)->isEnabled()) {
            pressed = true;
            d.Button(B::DOWNLOAD)->click();
        }
    });
    d.Button(B::DOWNLOAD)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Controller().CanClose(); }, 60000));
    EXPECT_TRUE(pressed);
    const QStringList lines = d.StatusLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[lines.size() - 2], "Download failed: Transfer error");
    EXPECT_EQ(lines.back(), "Communications were re-established");
    EXPECT_EQ(d.Button(B::DOWNLOAD)->text(), "Download");
    EXPECT_EQ(d.ProgressBar()->value(), 0);
    EXPECT_EQ(Enabled(d), AllOn());
    EXPECT_TRUE(m_questions.empty()); // no erase after a failed transfer

    // Back at the prompt at 9600 baud: the next operation works.
    d.Button(B::SYSTEM_TEST)->click();
    EXPECT_EQ(d.StatusLines().back(), "Ready");
}

TEST_F(CommsDlgTest, WindowKeepsPaintingAndTickingWhileTheUnitIsAwaited)
{
    // The unit on the real clock, slow to wake: the opening waits on it for over a second.
    SVelunitConfig config = Unit();
    config.m_nWakeDelayMs = 1500;
    CSimLine line;
    CVelunitLineDriver driver(line, CSystemClock::Instance(), config, true);

    int ticksWhileWaiting = 0;
    int paintsWhileWaiting = 0;
    CCommunicationsDlg* shown = nullptr;
    struct PaintCounter : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                onPaint();
            return false;
        }
    } counter;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (shown && shown->IsExchanging()) {
            ++ticksWhileWaiting;
            shown->StatusWindow()->viewport()->update();
        }
    });
    timer.start();

    SCommunicationsSetup setup;
    setup.m_strSiteDir = SiteDir().string();
    CCommunicationsDlg dialog(m_station, "COM 3", setup);
    shown = &dialog;
    counter.onPaint = [&] {
        if (dialog.IsExchanging())
            ++paintsWhileWaiting;
    };
    dialog.StatusWindow()->viewport()->installEventFilter(&counter);
    dialog.SetOpen([&line](CCommunicationsController& c) { return c.OpenStream(line.TakeHostEnd()); });
    bool waitCursorSeen = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (dialog.IsExchanging() && QApplication::overrideCursor() &&
            QApplication::overrideCursor()->shape() == Qt::WaitCursor)
            waitCursorSeen = true;
    });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.IsOpened(); }, 20000));
    EXPECT_EQ(dialog.StatusLines(), Lines({"Connected to velunit...", "Ready"}));
    EXPECT_GE(ticksWhileWaiting, 5);
    EXPECT_GE(paintsWhileWaiting, 1);
    EXPECT_TRUE(waitCursorSeen);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    dialog.StatusWindow()->viewport()->removeEventFilter(&counter);
    timer.stop();
    line.Shutdown();
}

TEST_F(CommsDlgTest, SetTimeOffsetStaysWithinTwentyThreeHours)
{
    CSetTimeDlg dialog(5);
    EXPECT_EQ(dialog.windowTitle(), "Set Time");
    EXPECT_EQ(dialog.Offset(), 5);
    QSpinBox* box = dialog.OffsetBox();
    box->stepBy(1);
    EXPECT_EQ(dialog.Offset(), 6);
    box->setValue(40);
    EXPECT_EQ(dialog.Offset(), 23);
    box->stepBy(1);
    EXPECT_EQ(dialog.Offset(), 23);
    box->setValue(-23);
    box->stepBy(-1);
    EXPECT_EQ(dialog.Offset(), -23);
    EXPECT_EQ(CSetTimeDlg(-99).Offset(), -23);
}

} // namespace
