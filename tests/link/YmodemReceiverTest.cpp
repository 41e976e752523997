// The receiving side of a batch transfer against scripted senders: retries, gaps, repeats,
// wrap-around, abort and the names a sender may not use.
#include "link/YmodemReceiver.h"
#include "tests/link/YmodemTestLine.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::ReadFileBytes;
using testsupport::TempDir;

struct ReceiverRun {
    TempDir dir;
    std::atomic<int> abort{0};
    CScriptedYmodemLine line;
    bool ok = false;
    YmodemProgress progress;
    std::string detail;

    explicit ReceiverRun(const std::string& script, std::function<void(CYmodemReceiver&)> setup = {})
        : line(script)
    {
        CYmodemReceiver receiver(line, dir.Path(), abort);
        if (setup)
            setup(receiver);
        ok = receiver.Receive();
        progress = receiver.Progress();
        detail = receiver.FailureDetail();
    }
    std::string File(const std::string& name) const
    {
        const auto bytes = ReadFileBytes(dir / name);
        return std::string(bytes.begin(), bytes.end());
    }
};

std::string Header(const std::string& name, long long size)
{
    return CYmodemPacket::HeaderFrame(name, size);
}

std::string Tail()
{
    return Eot() + ClosingBlock();
}

TEST(YmodemReceiver, ReceivesAFileAndClosesTheBatch)
{
    ReceiverRun run(Header("REC1.000", 1100) + DataBlock(1, 'a') + DataBlock(2, 'b', 128) + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_timeout, CYmodemReceiver::BYTE_TIMEOUT_MS);
    EXPECT_EQ(run.line.m_out, Replies("CACAAACA"));
    EXPECT_EQ(run.progress.fileName, "REC1.000");
    EXPECT_EQ(run.progress.total, 1100);
    EXPECT_EQ(run.progress.received, 1024 + 128);
    EXPECT_EQ(run.progress.errors, 0);
    EXPECT_TRUE(CYmodemReceiver::IsComplete(run.progress));
    EXPECT_EQ(run.File("REC1.000"), std::string(1024, 'a') + std::string(128, 'b'));
}

TEST(YmodemReceiver, GarbledNumberIsDroppedWithoutAnAnswer)
{
    // The receiver says nothing about a block whose complement is wrong; it waits for the
    // sender to repeat it (here the repeat follows at once).
    std::string garbled = DataBlock(1, 'x');
    garbled[2] = 0x00;
    ReceiverRun run(Header("f.000", 1024) + garbled.substr(0, 3) + DataBlock(1, 'a') + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACAACA"));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, BadCrcIsAnsweredWithNakAndReceivedAgain)
{
    ReceiverRun run(Header("f.000", 1024) + BadCrc(DataBlock(1, 'x')) + DataBlock(1, 'a') + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACNAACA"));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, TenBadReceptionsInARowFail)
{
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += BadCrc(DataBlock(1, 'x'));
    ReceiverRun recovers(Header("f.000", 1024) + nine + DataBlock(1, 'a') + Tail());
    EXPECT_TRUE(recovers.ok) << recovers.detail;

    ReceiverRun fails(Header("f.000", 1024) + nine + BadCrc(DataBlock(1, 'x')) + DataBlock(1, 'a') + Tail());
    EXPECT_FALSE(fails.ok);
    EXPECT_EQ(fails.line.m_out, Replies("CAC") + Replies(std::string(10, 'N')));
    // The file stays as far as it was written.
    EXPECT_TRUE(std::filesystem::exists(fails.dir / "f.000"));

    // Silence counts as a bad reception too: a dead line ends after ten NAKs.
    ReceiverRun silent(Header("f.000", 1024));
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(silent.line.m_out, Replies("CAC") + Replies(std::string(10, 'N')));
}

TEST(YmodemReceiver, RepeatedBlockIsAcknowledgedButWrittenOnce)
{
    // Block 0 repeated (the sender missed the answer to it) is not data either.
    ReceiverRun header(Header("f.000", 128) + Header("f.000", 128) + DataBlock(1, 'a', 128) + Tail());
    ASSERT_TRUE(header.ok) << header.detail;
    EXPECT_EQ(header.File("f.000"), std::string(128, 'a'));

    ReceiverRun run(Header("f.000", 2048) + DataBlock(1, 'a') + DataBlock(1, 'a') + DataBlock(2, 'b') +
                    Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACAAAACA"));
    EXPECT_EQ(run.progress.received, 2048);
    EXPECT_EQ(run.progress.errors, 0);
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a') + std::string(1024, 'b'));
}

TEST(YmodemReceiver, GapCountsOneErrorAndKeepsEveryBlock)
{
    ReceiverRun run(Header("f.000", 4096) + DataBlock(1, 'a') + DataBlock(2, 'b') + DataBlock(4, 'd') +
                    Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.progress.errors, 1);
    EXPECT_EQ(run.progress.received, 3 * 1024);
    EXPECT_FALSE(CYmodemReceiver::IsComplete(run.progress));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a') + std::string(1024, 'b') + std::string(1024, 'd'));
}

TEST(YmodemReceiver, BlockNumbersWrapFrom255ToZero)
{
    std::string blocks;
    std::string expected;
    for (int n = 1; n <= 257; ++n) {
        const char fill = static_cast<char>('A' + n % 26);
        blocks += DataBlock(static_cast<uint8_t>(n & 0xFF), fill, 128);
        if (n == 256)
            blocks += DataBlock(0, fill, 128); // the block after 255, sent twice
        expected += std::string(128, fill);
    }
    ReceiverRun run(Header("wrap.000", 257 * 128) + blocks + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.progress.errors, 0);
    EXPECT_EQ(run.progress.received, 257 * 128);
    EXPECT_EQ(run.File("wrap.000"), expected);
}

TEST(YmodemReceiver, FewerBytesThanAnnouncedIsNotComplete)
{
    ReceiverRun run(Header("f.000", 5000) + DataBlock(1, 'a') + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_FALSE(CYmodemReceiver::IsComplete(run.progress));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, UnusableBlockZeroFails)
{
    // A 1024-byte block 0, an unterminated name, an end marker in place of a header.
    const std::string bigHeader = CYmodemPacket::Frame(0,
                                                       std::string("f.000\0"
                                                                   "10",
                                                                   8),
                                                       1024, 0);
    for (const std::string& first : {bigHeader, CYmodemPacket::Frame(0, std::string(128, 'n'), 128), Eot()}) {
        ReceiverRun run(first + DataBlock(1, 'a') + Tail());
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(run.line.m_out, Replies("C"));
        EXPECT_TRUE(std::filesystem::is_empty(run.dir.Path()));
    }
}

TEST(YmodemReceiver, DamagedBlockZeroIsAskedForAgain)
{
    ReceiverRun run(BadCrc(Header("f.000", 128)) + Header("f.000", 128) + DataBlock(1, 'a', 128) + Tail());
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CNACAACA"));
}

TEST(YmodemReceiver, HostileNamesWriteNothing)
{
    TempDir outer;
    const std::string victim = (outer / "victim.txt").string();
    testsupport::WriteFileText(outer / "victim.txt", "keep me");
    const std::string names[] = {"",
                                 "..",
                                 ".",
                                 "../escape.000",
                                 "sub/file.000",
                                 "..\\escape.000",
                                 "C:evil.000",
                                 victim,
                                 "tab\there.000",
                                 std::string("bell\x07.000"),
                                 "new\nline.000",
                                 std::string("del\x7F.000")};
    for (const auto& name : names) {
        ReceiverRun run(Header(name, 128) + DataBlock(1, 'z', 128) + Tail());
        EXPECT_FALSE(run.ok) << name;
        EXPECT_EQ(run.line.m_out, Replies("C")) << name; // not even acknowledged
        EXPECT_TRUE(std::filesystem::is_empty(run.dir.Path())) << name;
    }
    EXPECT_EQ(testsupport::ReadFileText(outer / "victim.txt"), "keep me");
    EXPECT_TRUE(CYmodemReceiver::IsSafeFileName("REC00001.000"));
    EXPECT_TRUE(CYmodemReceiver::IsSafeFileName("data file 1.000"));
}

TEST(YmodemReceiver, AnExistingFileOfTheSameNameIsReplaced)
{
    TempDir dir;
    testsupport::WriteFileText(dir / "f.000", std::string(5000, 'o'));
    std::atomic<int> abort{0};
    CScriptedYmodemLine line(Header("f.000", 128) + DataBlock(1, 'n', 128) + Tail());
    CYmodemReceiver receiver(line, dir.Path(), abort);
    ASSERT_TRUE(receiver.Receive());
    EXPECT_EQ(testsupport::ReadFileText(dir / "f.000"), std::string(128, 'n'));
}

TEST(YmodemReceiver, AbortStopsAtTheNextBlock)
{
    const std::string header = Header("f.000", 3072);
    const std::string script = header + DataBlock(1, 'a') + DataBlock(2, 'b') + DataBlock(3, 'c') + Tail();
    TempDir dir;
    std::atomic<int> abort{0};
    int progressCalls = 0;
    CScriptedYmodemLine line(script);
    CYmodemReceiver receiver(line, dir.Path(), abort);
    receiver.SetOnProgress([&](const YmodemProgress& p) {
        ++progressCalls;
        if (p.received == 1024)
            abort.store(1); // the operator presses Abort while block 1 is acknowledged
    });
    EXPECT_FALSE(receiver.Receive());
    EXPECT_EQ(progressCalls, 1);
    EXPECT_EQ(line.m_out, Replies("CACA"));
    EXPECT_EQ(testsupport::ReadFileText(dir / "f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, ReportsTheAnnouncedFileBeforeAnyData)
{
    std::vector<std::string> events;
    ReceiverRun run(
        Header("f.000", 2048) + DataBlock(1, 'a') + DataBlock(2, 'b') + Tail(), [&](CYmodemReceiver& r) {
            r.SetOnFileAnnounced([&](const YmodemProgress& p) {
                events.push_back("file " + p.fileName + " " + std::to_string(p.total));
            });
            r.SetOnProgress([&](const YmodemProgress& p) { events.push_back(std::to_string(p.received)); });
        });
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(events, (std::vector<std::string>{"file f.000 2048", "1024", "2048"}));
}

} // namespace
