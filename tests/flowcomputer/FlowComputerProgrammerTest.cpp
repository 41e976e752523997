// Programming against the simulated unit on an in-process line and a virtual clock: every
// reply to the wake bytes, every kind of confirmation, and what the operator is shown.
#include "flowcomputer/FlowComputerProgrammer.h"
#include "flowcomputer/FlowComputerMessage.h"
#include "link/SerialPort.h"
#include "link/SimLine.h"
#include "platform/SerialDevice.h"
#include "sim/FlowComputerSim.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

class CRecordingReporter : public IFlowComputerReporter
{
  public:
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowExit(bool visible) override { exitVisible = visible; }

    std::vector<std::string> statuses;
    std::vector<int> progress;
    std::vector<std::string> messages;
    bool exitVisible = true;
};

class CLineOpener : public IPortOpener
{
  public:
    explicit CLineOpener(CSimLine* line) : m_line(line) {}
    std::unique_ptr<ISerialStream> OpenStream(const std::string& name) override
    {
        opened = name;
        return m_line ? m_line->TakeHostEnd() : nullptr;
    }
    std::string opened;

  private:
    CSimLine* m_line;
};

struct Bench {
    CStation station;
    CSimLine line;
    CVirtualClock clock;
    CLineOpener opener{&line};
    CSerialPort port{&clock, &opener};
    CRecordingReporter reporter;
    CFlowComputerSim unit;
    int64_t replyReadAt = -1;
    CFlowComputerProgrammer::EResult result{};

    explicit Bench(FlowComputerSimOptions options) : unit(std::move(options))
    {
        line.DeviceSetBaud(19200);
        line.SetPump([this](int maxWaitMs) { unit.Pump(line, &clock, maxWaitMs); });
    }
    CFlowComputerProgrammer::EResult Run()
    {
        CFlowComputerProgrammer programmer(station, reporter);
        result = programmer.Program(port, "COM 3");
        oldFirmware = programmer.OldFirmware();
        return result;
    }
    std::vector<uint8_t> Expected() const
    {
        std::vector<uint8_t> m;
        CFlowComputerMessage::Build(station, m);
        return m;
    }
    bool oldFirmware = false;
};

FlowComputerSimOptions Replying(int reply,
                                FlowComputerSimOptions::EConfirm confirm = FlowComputerSimOptions::confirm4)
{
    FlowComputerSimOptions o;
    o.reply = reply;
    o.confirm = confirm;
    return o;
}

const std::string kSuccess = "Successfully sent settings to Flow Computer";
const std::string kOutOfDate = "\r\nThe unit's firmware is out of date, please contact Corvane";
const std::string kNoContact =
    "Error, could not contact Flow Computer, or Flow Computer firmware is outdated.  Please contact Corvane.";
const std::string kNoConfirmation = "Operation failed!  No confirmation was received from Flow Computer";

TEST(FlowComputerProgrammer, OldFirmwareGetsTheSettingsAndTheOutOfDateLine)
{
    Bench b(Replying(6));
    EXPECT_EQ(b.Run(), CFlowComputerProgrammer::Confirmed);
    EXPECT_EQ(b.opener.opened, "COM 3");
    EXPECT_TRUE(b.oldFirmware);
    EXPECT_EQ(b.unit.Message(), b.Expected());
    EXPECT_EQ(b.reporter.statuses.back(), kSuccess + kOutOfDate);
    EXPECT_EQ(b.reporter.statuses,
              (std::vector<std::string>{"Initializing transfer...", "Sending system settings...",
                                        "Sending velocity model settings...", "Sending channel settings...",
                                        kSuccess + kOutOfDate}));
    EXPECT_EQ(b.reporter.progress, (std::vector<int>{0, 5, 25, 50, 55, 75, 95, 100}));
    EXPECT_TRUE(b.reporter.messages.empty());
    EXPECT_TRUE(b.reporter.exitVisible);
    EXPECT_FALSE(b.port.IsOpen());
    // Every byte out (2 wake bytes and the message) is followed by its pause; 6 needs no wait.
    EXPECT_EQ(b.clock.NowMs(), (2 + 251) * 40);
}

TEST(FlowComputerProgrammer, CurrentFirmwareIsSentAfterTheSilenceThatFollowsSeven)
{
    Bench b(Replying(7));
    EXPECT_EQ(b.Run(), CFlowComputerProgrammer::Confirmed);
    EXPECT_FALSE(b.oldFirmware);
    EXPECT_EQ(b.unit.Message(), b.Expected());
    EXPECT_EQ(b.reporter.statuses.back(), kSuccess);
    EXPECT_EQ(b.clock.NowMs(), (2 + 251) * 40 + 5000);
}

TEST(FlowComputerProgrammer, OtherPositiveReplyGetsNothingButIsStillConfirmed)
{
    Bench b(Replying(9));
    EXPECT_EQ(b.Run(), CFlowComputerProgrammer::Confirmed);
    EXPECT_TRUE(b.unit.Message().empty());
    EXPECT_EQ(b.unit.ExtraBytes(), 0u);
    EXPECT_EQ(b.reporter.statuses.back(), kSuccess);
    EXPECT_EQ(b.reporter.progress, (std::vector<int>{0, 5, 100}));
}

TEST(FlowComputerProgrammer, NoReplyOrALowOneIsNoContact)
{
    for (int reply : {-1, 0, 5, 0x80, 0xFF}) {
        Bench b(Replying(reply));
        EXPECT_EQ(b.Run(), CFlowComputerProgrammer::NoContact) << reply;
        EXPECT_EQ(b.reporter.statuses.back(), kNoContact) << reply;
        EXPECT_EQ(b.reporter.progress.back(), 5) << reply;
        EXPECT_TRUE(b.unit.Message().empty()) << reply;
        EXPECT_EQ(b.unit.ExtraBytes(), 0u) << reply;
        EXPECT_FALSE(b.port.IsOpen());
        EXPECT_TRUE(b.reporter.exitVisible);
    }
}

TEST(FlowComputerProgrammer, StrayBytesBeforeTheConfirmationAreShownForDebugging)
{
    Bench b(Replying(7, FlowComputerSimOptions::strayThen4));
    EXPECT_EQ(b.Run(), CFlowComputerProgrammer::Confirmed);
    EXPECT_EQ(b.reporter.messages, (std::vector<std::string>{"Debug:\r\n1\r\n2\r\n"}));
    EXPECT_EQ(b.reporter.statuses.back(), kSuccess);
}

TEST(FlowComputerProgrammer, MissingConfirmationFails)
{
    for (auto confirm : {FlowComputerSimOptions::confirm3, FlowComputerSimOptions::noConfirm}) {
        Bench b(Replying(7, confirm));
        EXPECT_EQ(b.Run(), CFlowComputerProgrammer::NotConfirmed);
        EXPECT_EQ(b.reporter.statuses.back(), kNoConfirmation);
        EXPECT_EQ(b.reporter.progress.back(), 0);
        EXPECT_TRUE(b.reporter.messages.empty());
        EXPECT_TRUE(b.unit.MessageComplete());
    }
}

TEST(FlowComputerProgrammer, UnitThatChecksTheMessage)
{
    FlowComputerSimOptions o = Replying(7);
    {
        Bench probe(o);
        o.expected = probe.Expected();
    }
    Bench same(o);
    EXPECT_EQ(same.Run(), CFlowComputerProgrammer::Confirmed);
    EXPECT_TRUE(same.unit.Mismatches().empty());

    Bench other(o);
    other.station.SetMounting(MOUNTING_LEFT); // the unit expected a right-hand mounting
    EXPECT_EQ(other.Run(), CFlowComputerProgrammer::NotConfirmed);
    EXPECT_EQ(other.unit.Mismatches(), (std::vector<size_t>{72, 73}));
}

TEST(FlowComputerProgrammer, PortThatCannotBeOpened)
{
    CStation station;
    CVirtualClock clock;
    CLineOpener nothing(nullptr);
    CSerialPort port(&clock, &nothing);
    CRecordingReporter reporter;
    CFlowComputerProgrammer programmer(station, reporter);
    EXPECT_EQ(programmer.Program(port, "COM 3"), CFlowComputerProgrammer::PortError);
    EXPECT_EQ(reporter.messages,
              (std::vector<std::string>{"Error, could not open COM 3!  Please verify port is not in use."}));
    EXPECT_TRUE(reporter.statuses.empty());

    // A device that is not there: the system's reason follows on a line of its own.
    CSerialPort device;
    CRecordingReporter told;
    CFlowComputerProgrammer again(station, told);
    EXPECT_EQ(again.Program(device, "/dev/no-such-port"), CFlowComputerProgrammer::PortError);
    std::string reason;
    EXPECT_EQ(OpenSerialDevice("/dev/no-such-port", &reason), nullptr);
#ifndef _WIN32
    EXPECT_EQ(reason, "No such file or directory");
#endif
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(told.messages,
              (std::vector<std::string>{"Error, could not open /dev/no-such-port!  Please verify port "
                                        "is not in use.\n" +
                                        reason}));
}

TEST(FlowComputerProgrammer, StationWithAnUnknownChannelSendsNothing)
{
    Bench b(Replying(7));
    b.station.GetGeometry().SetType(99);
    EXPECT_EQ(b.Run(), CFlowComputerProgrammer::MessageError);
    EXPECT_FALSE(b.unit.WokenUp());
    EXPECT_FALSE(b.port.IsOpen());
}

} // namespace
