// The receiver behind the program's serial port on the simulated line, against the simulated
// sender and its faults, on a virtual clock: what a damaged line does to a download, and that
// the folder never holds a wrong file under the right name.
#include "link/SerialPort.h"
#include "link/SimLine.h"
#include "link/YmodemReceiver.h"
#include "link/YmodemSerialLine.h"
#include "sim/YmodemSender.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

using testsupport::ReadFileBytes;
using testsupport::TempDir;

std::vector<unsigned char> Recording(size_t size, unsigned seed = 1)
{
    std::vector<unsigned char> data(size);
    std::mt19937 random(seed);
    for (auto& b : data)
        b = static_cast<unsigned char>(random() & 0xFF); // 0x04 among them, as in any recording
    return data;
}

std::string Noise(size_t size, unsigned seed)
{
    std::string noise;
    std::mt19937 random(seed);
    for (size_t i = 0; i < size; ++i)
        noise.push_back(static_cast<char>(random() & 0xFF));
    return noise;
}

// The sender on the instrument's end, pumped whenever the receiver finds nothing to read:
// it takes what the receiver sent, and when it has nothing to say the clock moves on as far
// as the receiver would wait (or to the end of the sender's stall, whichever comes first).
struct SimTransfer {
    TempDir dir;
    CSimLine line;
    CVirtualClock clock;
    std::unique_ptr<CYmodemSender> sender;
    long sent = 0;
    bool ok = false;
    bool whole = false;
    std::string detail;
    std::vector<YmodemFileResult> files;
    int64_t elapsedMs = 0;

    explicit SimTransfer(std::vector<YmodemSenderFile> batch, YmodemSenderFaults faults = {},
                         std::function<void(const TempDir&)> before = {})
    {
        if (before)
            before(dir);
        sender = std::make_unique<CYmodemSender>(
            std::move(batch),
            [this](const std::string& bytes) {
                ++sent;
                line.DeviceWrite(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
            },
            std::move(faults), &clock);
        line.SetPump([this](int maxWaitMs) { Pump(maxWaitMs); });
        line.DeviceSetBaud(57600);
        CSerialPort port(&clock);
        EXPECT_TRUE(port.Attach(line.TakeHostEnd(), 57600));
        std::atomic<int> abort{0};
        CYmodemSerialLine serial(port);
        CYmodemReceiver receiver(serial, dir.Path(), abort);
        ok = receiver.Receive();
        whole = receiver.AllComplete();
        detail = receiver.FailureDetail();
        files = receiver.Files();
        elapsedMs = clock.NowMs();
        line.SetPump(nullptr);
    }

    void Pump(int maxWaitMs)
    {
        const long before = sent;
        SLineItem item;
        while (line.DevicePoll(item))
            if (item.m_kind == SLineItem::byte)
                sender->OnByte(static_cast<unsigned char>(item.m_nValue));
        sender->Service();
        if (sent != before || maxWaitMs <= 0)
            return;
        const int64_t resume = sender->ResumeMs();
        if (resume >= 0 && resume <= clock.NowMs() + maxWaitMs) {
            clock.Advance(resume - clock.NowMs());
            sender->Service();
        } else {
            clock.Advance(maxWaitMs);
        }
    }

    std::vector<unsigned char> File(const std::string& name) const { return ReadFileBytes(dir / name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
};

const char* NAME = "REC00001.000";

TEST(YmodemSimLine, LineFaultsStillDeliverTheExactFile)
{
    const auto data = Recording(20 * 1024 + 300);
    struct Case {
        const char* what;
        std::function<void(YmodemSenderFaults&)> make;
    };
    const Case cases[] = {
        {"a stray 0x04 between blocks", [](YmodemSenderFaults& f) { f.before[3] = "\x04"; }},
        {"a stray 0x04 inside a block",
         [](YmodemSenderFaults& f) {
             f.inside[5] = {400, "\x04"};
         }},
        {"a stray 0x04 in place of the last byte",
         [](YmodemSenderFaults& f) {
             f.inside[6] = {1028, "\x04"}, f.dropByte[6] = 1028;
         }},
        {"a doubled block",
         [](YmodemSenderFaults& f) {
             f.repeat = {2, 7};
         }},
        {"a dropped byte", [](YmodemSenderFaults& f) { f.dropByte[4] = 700; }},
        {"a dropped header byte", [](YmodemSenderFaults& f) { f.dropByte[8] = 0; }},
        {"noise before block 0", [](YmodemSenderFaults& f) { f.before[0] = Noise(200, 5); }},
        {"noise between blocks", [](YmodemSenderFaults& f) { f.before[9] = Noise(300, 6); }},
        {"a garbled closing block", [](YmodemSenderFaults& f) { f.garbleClosing = true; }},
        {"a damaged block",
         [](YmodemSenderFaults& f) {
             f.corrupt = {1, 21};
         }},
    };
    for (const auto& c : cases) {
        for (const bool sized : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (sized ? "" : ", no size in block 0"));
            YmodemSenderFaults faults;
            faults.noSize = !sized;
            c.make(faults);
            SimTransfer t({{NAME, data}}, faults);
            ASSERT_TRUE(t.ok) << t.detail;
            EXPECT_TRUE(t.whole);
            EXPECT_TRUE(t.sender->Completed());
            auto expected = data;
            if (!sized) // nothing says where the data ends: every byte is kept, padding and all
                expected.resize(21 * 1024, 0x1A);
            EXPECT_EQ(t.File(NAME), expected);
            EXPECT_FALSE(t.Exists(std::string(NAME) + ".partial"));
            // Each fault costs at most a purge or a short time-out, never the long wait.
            EXPECT_LT(t.elapsedMs,
                      2 * CYmodemReceiver::PURGE_QUIET_MS + CYmodemReceiver::BYTE_TIMEOUT_MS + 1);
        }
    }
}

TEST(YmodemSimLine, HeaderWithoutSizeKeepsEveryByteAndSaysSo)
{
    YmodemSenderFaults faults;
    faults.noSize = true;
    const auto data = Recording(1000);
    SimTransfer t({{NAME, data}}, faults);
    ASSERT_TRUE(t.ok) << t.detail;
    ASSERT_EQ(t.files.size(), 1u);
    EXPECT_FALSE(t.files[0].progress.sizeAnnounced);
    EXPECT_EQ(t.files[0].Status(), "REC00001.000 received, 1024 bytes, size not announced");
    auto expected = data;
    expected.resize(1024, 0x1A);
    EXPECT_EQ(t.File(NAME), expected);
}

TEST(YmodemSimLine, TwoFileBatchBringsBoth)
{
    const auto first = Recording(3000, 1);
    const auto second = Recording(100, 2);
    SimTransfer t({{"A.000", first}, {"B.000", second}});
    ASSERT_TRUE(t.ok) << t.detail;
    EXPECT_TRUE(t.whole);
    EXPECT_EQ(t.File("A.000"), first);
    EXPECT_EQ(t.File("B.000"), second);
    ASSERT_EQ(t.files.size(), 2u);
    EXPECT_EQ(t.files[0].Status(), "A.000 received, 3000 bytes");
    EXPECT_EQ(t.files[1].Status(), "B.000 received, 100 bytes");

    // A damaged second file does not spoil the first, and the batch still ends.
    YmodemSenderFaults faults;
    faults.announcedSize = 9000; // said of the first file only
    SimTransfer shortFirst({{"A.000", first}, {"B.000", second}}, faults);
    ASSERT_TRUE(shortFirst.ok) << shortFirst.detail;
    EXPECT_FALSE(shortFirst.whole);
    EXPECT_FALSE(shortFirst.Exists("A.000"));
    auto padded = first; // the announced size takes in the padding of the last block
    padded.resize(3 * 1024, 0x1A);
    EXPECT_EQ(shortFirst.File("A.000.partial"), padded);
    EXPECT_EQ(shortFirst.File("B.000"), second);
    ASSERT_EQ(shortFirst.files.size(), 2u);
    EXPECT_EQ(shortFirst.files[0].outcome, YmodemFileResult::incomplete);
    EXPECT_EQ(shortFirst.files[1].outcome, YmodemFileResult::complete);
}

TEST(YmodemSimLine, SenderStallOfFifteenSecondsIsRiddenOut)
{
    // The sender stops in the middle of block 5 and hears nothing for 15 s; the receiver asks
    // again after the short time-out and then after each long one, and the copies of block 5
    // those answers bring are taken once, without running ahead of the sender.
    // The same with the stall between two blocks (before block 5 starts).
    const auto data = Recording(12 * 1024);
    for (const size_t offset : {size_t{600}, size_t{0}}) {
        SCOPED_TRACE("stall at byte " + std::to_string(offset) + " of block 5");
        YmodemSenderFaults faults;
        faults.stallBlock = 5;
        faults.stallOffset = offset;
        faults.stallMs = 15000;
        faults.corrupt = {7}; // an error after the stall: the two ends must still agree on the block
        SimTransfer t({{NAME, data}}, faults);
        ASSERT_TRUE(t.ok) << t.detail;
        EXPECT_TRUE(t.whole);
        EXPECT_EQ(t.File(NAME), data);
        EXPECT_GE(t.elapsedMs, 15000);
        EXPECT_LT(t.elapsedMs, 15000 + 3 * CYmodemReceiver::PURGE_QUIET_MS);
    }
}

TEST(YmodemSimLine, FailedTransferNeverTouchesAnExistingFile)
{
    const auto yesterday = Recording(50000, 9);
    const auto writeYesterday = [&](const TempDir& dir) {
        testsupport::WriteFileBytes(dir / NAME, yesterday);
    };
    const auto today = Recording(10 * 1024, 10);

    // The sender falls silent for longer than the receiver waits: the transfer fails.
    YmodemSenderFaults silent;
    silent.stallBlock = 4;
    silent.stallOffset = 100;
    silent.stallMs = 200000;
    SimTransfer failed({{NAME, today}}, silent, writeYesterday);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.File(NAME), yesterday);
    EXPECT_EQ(failed.File(std::string(NAME) + ".partial"),
              std::vector<unsigned char>(today.begin(), today.begin() + 3 * 1024));
    ASSERT_EQ(failed.files.size(), 1u);
    EXPECT_EQ(failed.files[0].Status(),
              "Transfer error, 3072 of 10240 bytes kept in REC00001.000.partial, REC00001.000 not changed");
    // Ten long time-outs in a row: a pause of 100 s is ridden out, no more.
    EXPECT_GE(failed.elapsedMs, 10 * CYmodemReceiver::START_TIMEOUT_MS - CYmodemReceiver::START_TIMEOUT_MS);

    // A block missing: the file ran to its end but is not whole.
    YmodemSenderFaults gap;
    gap.drop = {6};
    SimTransfer incomplete({{NAME, today}}, gap, writeYesterday);
    ASSERT_TRUE(incomplete.ok) << incomplete.detail;
    EXPECT_FALSE(incomplete.whole);
    EXPECT_EQ(incomplete.File(NAME), yesterday);
    EXPECT_EQ(incomplete.File(std::string(NAME) + ".partial").size(), 9u * 1024);
    ASSERT_EQ(incomplete.files.size(), 1u);
    EXPECT_EQ(
        incomplete.files[0].Status(),
        "Transfer incomplete, 9216 of 10240 bytes received, 1 transfer errors, kept in REC00001.000.partial, "
        "REC00001.000 not changed");
}

} // namespace
