// The "Program Flow Computer" window against the simulated unit on an in-process line: every
// outcome as the operator reads it, the "Debug:" box, a port that will not open, and the
// window turning its event loop while the bytes go out.
#include "tests/gui/GuiFixture.h"

#include "link/Clock.h"
#include "link/PortOpener.h"
#include "link/SimLine.h"
#include "link/ui/ProgramFlowComputerDlg.h"
#include "sim/FlowComputerSim.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

namespace
{

const QString kSuccess = QStringLiteral("Successfully sent settings to Flow Computer");
const QString kOutOfDate = QStringLiteral("\r\nThe unit's firmware is out of date, please contact Corvane");
const QString kNoContact =
    QStringLiteral("Error, could not contact Flow Computer, or Flow Computer firmware is "
                   "outdated.  Please contact Corvane.");
const QString kNotConfirmed =
    QStringLiteral("Operation failed!  No confirmation was received from Flow Computer");

class CLineOpener : public IPortOpener
{
  public:
    explicit CLineOpener(CSimLine* line) : m_line(line) {}
    std::unique_ptr<ISerialStream> OpenStream(const std::string&) override
    {
        return m_line ? m_line->TakeHostEnd() : nullptr;
    }
    std::string LastOpenError() const override { return m_line ? std::string() : "Device or resource busy"; }

  private:
    CSimLine* m_line;
};

// A virtual clock whose pauses also take a little real time, so that a transfer lasts long
// enough to be watched.
class CSlowClock : public CVirtualClock
{
  public:
    void SleepMs(int ms) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        CVirtualClock::SleepMs(ms);
    }
};

class FlowComputerDlgTest : public GuiTest
{
  protected:
    struct Outcome {
        QString status;
        int progress = -1;
        bool exitVisible = false;
        std::vector<std::string> messages;
        CFlowComputerProgrammer::EResult result{};
        std::vector<uint8_t> received;
        bool closed = false;
    };

    Outcome Run(FlowComputerSimOptions options, CVirtualClock& clock, bool portFails = false,
                const std::function<void(CProgramFlowComputerDlg&)>& watch = {})
    {
        CSimLine line;
        CFlowComputerSim unit(std::move(options));
        line.DeviceSetBaud(19200);
        line.SetPump([&](int maxWaitMs) { unit.Pump(line, &clock, maxWaitMs); });
        CLineOpener opener(portFails ? nullptr : &line);
        Outcome out;
        CStation station;
        CProgramFlowComputerDlg dialog(station, "COM 3", &opener, &clock);
        dialog.SetMessageHandler([&](const std::string& text) { out.messages.push_back(text); });
        EXPECT_EQ(dialog.windowTitle(), "Program Flow Computer");
        EXPECT_EQ(dialog.StatusLine()->text(), "Preparing to send settings");
        if (watch)
            watch(dialog);
        dialog.show();
        EXPECT_FALSE(dialog.ExitButton()->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsFinished() && !dialog.IsRunning(); }, 30000));
        QTest::qWait(10); // a close asked for at the end goes through the event loop
        out.status = dialog.StatusLine()->text();
        out.progress = dialog.ProgressBar()->value();
        out.exitVisible = dialog.ExitButton()->isVisible();
        out.result = dialog.Result();
        out.received = unit.Message();
        out.closed = !dialog.isVisible();
        return out;
    }
};

TEST_F(FlowComputerDlgTest, EveryReplyOfTheUnitEndsAsTheOperatorReadsIt)
{
    struct Case {
        int reply;
        FlowComputerSimOptions::EConfirm confirm;
        QString status;
        int progress;
        bool sent;
    };
    const Case cases[] = {
        {6, FlowComputerSimOptions::confirm4, kSuccess + kOutOfDate, 100, true},
        {7, FlowComputerSimOptions::confirm4, kSuccess, 100, true},
        {9, FlowComputerSimOptions::confirm4, kSuccess, 100, false},
        {0x80, FlowComputerSimOptions::confirm4, kNoContact, 5, false},
        {7, FlowComputerSimOptions::noConfirm, kNotConfirmed, 0, true},
    };
    for (const Case& c : cases) {
        FlowComputerSimOptions options;
        options.reply = c.reply;
        options.confirm = c.confirm;
        CVirtualClock clock;
        const Outcome out = Run(options, clock);
        EXPECT_EQ(out.status, c.status) << c.reply;
        EXPECT_EQ(out.progress, c.progress) << c.reply;
        EXPECT_TRUE(out.exitVisible) << c.reply;
        EXPECT_TRUE(out.messages.empty()) << c.reply;
        EXPECT_EQ(out.received.size(), c.sent ? CFlowComputerSim::MESSAGE_SIZE : 0u) << c.reply;
        EXPECT_FALSE(out.closed) << c.reply;
    }
}

TEST_F(FlowComputerDlgTest, StrayBytesAreShownInTheDebugBoxBeforeTheOutcome)
{
    FlowComputerSimOptions options;
    options.reply = 7;
    options.confirm = FlowComputerSimOptions::strayThen4;
    options.strayBytes = {1, 2};
    CVirtualClock clock;
    const Outcome out = Run(options, clock);
    EXPECT_EQ(out.messages, (std::vector<std::string>{"Debug:\r\n1\r\n2\r\n"}));
    EXPECT_EQ(out.status, kSuccess);
    EXPECT_EQ(out.progress, 100);
    EXPECT_EQ(out.result, CFlowComputerProgrammer::Confirmed);
}

TEST_F(FlowComputerDlgTest, PortThatWillNotOpenIsReportedAndTheWindowCloses)
{
    CVirtualClock clock;
    const Outcome out = Run({}, clock, true);
    EXPECT_EQ(out.messages,
              (std::vector<std::string>{"Error, could not open COM 3!  Please verify port is not in "
                                        "use.\nDevice or resource busy"}));
    EXPECT_EQ(out.result, CFlowComputerProgrammer::PortError);
    EXPECT_TRUE(out.closed);
}

TEST_F(FlowComputerDlgTest, WindowShowsEachStepWhileTheBytesGoOut)
{
    FlowComputerSimOptions options;
    options.reply = 6;
    CSlowClock clock;
    std::vector<int> seen;
    std::vector<QString> statuses;
    bool exitSeenEarly = false;
    bool refusedClose = false;
    QTimer timer;
    timer.setInterval(15);
    const Outcome out = Run(options, clock, false, [&](CProgramFlowComputerDlg& dialog) {
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!dialog.IsRunning())
                return;
            seen.push_back(dialog.ProgressBar()->value());
            if (statuses.empty() || statuses.back() != dialog.StatusLine()->text())
                statuses.push_back(dialog.StatusLine()->text());
            exitSeenEarly = exitSeenEarly || dialog.ExitButton()->isVisible();
            if (!refusedClose && dialog.ProgressBar()->value() >= 25) {
                dialog.reject();
                refusedClose = dialog.isVisible();
            }
        });
        timer.start();
    });
    timer.stop();
    EXPECT_EQ(out.status, kSuccess + kOutOfDate);
    // The timer ran during the transfer and saw it at work, part-way.
    EXPECT_GE(seen.size(), 5u);
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int p) { return p >= 25 && p <= 95; }));
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Sending channel settings..."), statuses.end());
    EXPECT_FALSE(exitSeenEarly);
    EXPECT_TRUE(refusedClose);
}

} // namespace
