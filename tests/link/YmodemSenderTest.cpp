// The simulator's batch sender against the program's receiver, joined back to back, once for
// every fault the sender can show.
#include "sim/YmodemSender.h"
#include "link/YmodemReceiver.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <deque>

namespace
{

// What the receiver writes goes straight into the sender; what the sender sends waits in a
// queue for the receiver to read. An empty queue is a silent line.
class CLoopbackLine : public IYmodemLine
{
  public:
    CYmodemSender* sender = nullptr;
    std::deque<char> toReceiver;

    bool ReadByte(uint8_t& byte) override
    {
        if (toReceiver.empty())
            return false;
        byte = static_cast<uint8_t>(toReceiver.front());
        toReceiver.pop_front();
        return true;
    }
    bool Write(const std::string& bytes) override
    {
        for (char c : bytes)
            sender->OnByte(static_cast<unsigned char>(c));
        return true;
    }
    bool SetTimeouts(int) override { return true; }
};

std::vector<unsigned char> Pattern(size_t size)
{
    std::vector<unsigned char> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>((i * 7 + i / 1024) & 0xFF);
    return data;
}

struct LoopbackRun {
    testsupport::TempDir dir;
    std::atomic<int> abort{0};
    CVirtualClock clock;
    CLoopbackLine line;
    bool ok = false;
    YmodemProgress progress;
    std::vector<unsigned char> received;
    bool senderCompleted = false;
    int naks = 0;

    LoopbackRun(const std::vector<unsigned char>& data, YmodemSenderFaults faults = {})
    {
        CYmodemSender sender(
            "REC00001.000", data,
            [this](const std::string& bytes) {
                line.toReceiver.insert(line.toReceiver.end(), bytes.begin(), bytes.end());
            },
            faults, &clock);
        line.sender = &sender;
        CYmodemReceiver receiver(line, dir.Path(), abort);
        ok = receiver.Receive();
        progress = receiver.Progress();
        senderCompleted = sender.Completed();
        naks = sender.NakCount();
        if (std::filesystem::exists(dir / "REC00001.000"))
            received = testsupport::ReadFileBytes(dir / "REC00001.000");
        else if (std::filesystem::exists(dir / "REC00001.000.partial"))
            received = testsupport::ReadFileBytes(dir / "REC00001.000.partial");
    }
};

TEST(YmodemSender, SoundLineDeliversEverySize)
{
    for (size_t size : {size_t{0}, size_t{1}, size_t{1024}, size_t{1025}, size_t{300000}}) {
        const auto data = Pattern(size);
        LoopbackRun run(data);
        ASSERT_TRUE(run.ok) << size;
        EXPECT_TRUE(run.senderCompleted) << size;
        EXPECT_TRUE(CYmodemReceiver::IsComplete(run.progress)) << size;
        EXPECT_EQ(run.progress.total, static_cast<long long>(size));
        EXPECT_EQ(run.received, data) << size;
    }
}

TEST(YmodemSender, CorruptedBlocksAreSentAgain)
{
    YmodemSenderFaults faults;
    faults.corrupt = {1, 5, 293};
    const auto data = Pattern(300000);
    LoopbackRun run(data, faults);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.naks, 3 + 1); // and the first EOT, which is answered with NAK
    EXPECT_TRUE(CYmodemReceiver::IsComplete(run.progress));
    EXPECT_EQ(run.received, data);
}

TEST(YmodemSender, RepeatedBlocksAreWrittenOnce)
{
    YmodemSenderFaults faults;
    faults.repeat = {2, 256, 293};
    const auto data = Pattern(300000);
    LoopbackRun run(data, faults);
    ASSERT_TRUE(run.ok);
    EXPECT_TRUE(run.senderCompleted);
    EXPECT_TRUE(CYmodemReceiver::IsComplete(run.progress));
    EXPECT_EQ(run.received, data);
}

TEST(YmodemSender, DroppedBlockLeavesAGapThatIsCounted)
{
    YmodemSenderFaults faults;
    faults.drop = {3};
    const auto data = Pattern(5 * 1024);
    LoopbackRun run(data, faults);
    ASSERT_TRUE(run.ok); // the protocol ran to its end ...
    EXPECT_EQ(run.progress.errors, 1);
    EXPECT_FALSE(CYmodemReceiver::IsComplete(run.progress)); // ... but the file is not whole
    EXPECT_EQ(run.received.size(), 4u * 1024);
}

TEST(YmodemSender, DelayedBlockWaitsOnTheClock)
{
    YmodemSenderFaults faults;
    faults.delayMs = {{2, 3000}};
    const auto data = Pattern(4096);
    LoopbackRun run(data, faults);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.clock.NowMs(), 3000);
    EXPECT_EQ(run.received, data);
}

TEST(YmodemSender, ShortAnnouncementIsNoticedByTheReceiver)
{
    YmodemSenderFaults faults;
    faults.announcedSize = 10000;
    LoopbackRun run(Pattern(2048), faults);
    ASSERT_TRUE(run.ok);
    EXPECT_FALSE(CYmodemReceiver::IsComplete(run.progress));
}

TEST(YmodemSender, TwoCancelsAbandonTheTransfer)
{
    std::string sent;
    CYmodemSender sender("f.000", Pattern(4096), [&](const std::string& bytes) { sent += bytes; });
    sender.OnByte('C');
    sender.OnByte(ymodem::ACK);
    sender.OnByte('C');
    EXPECT_FALSE(sender.Finished());
    sender.OnByte(ymodem::CAN);
    EXPECT_FALSE(sender.Finished());
    sender.OnByte(ymodem::CAN);
    EXPECT_TRUE(sender.Cancelled());
    const size_t before = sent.size();
    // The rest of the program's run of cancels is taken by the transfer, not the command line.
    for (int i = 2; i < CYmodemSender::CANCEL_RUN; ++i) {
        EXPECT_FALSE(sender.Finished());
        sender.OnByte(ymodem::CAN);
    }
    EXPECT_TRUE(sender.Finished());
    sender.OnByte(ymodem::ACK);
    EXPECT_EQ(sent.size(), before);
}

} // namespace
