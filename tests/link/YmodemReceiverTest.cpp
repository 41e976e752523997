// The receiving side of a batch transfer against scripted senders: the exchange byte for
// byte, retries, gaps, repeats, wrap-around, the end of a file, abort, the names a sender may
// not use, and what ends up in the folder.
#include "link/YmodemReceiver.h"
#include "tests/link/YmodemTestLine.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::ReadFileBytes;
using testsupport::TempDir;

using Bursts = std::vector<std::string>;

struct ReceiverRun {
    TempDir dir;
    std::atomic<int> abort{0};
    CScriptedYmodemLine line;
    bool ok = false;
    bool whole = false;
    YmodemProgress progress;
    std::vector<YmodemFileResult> files;
    std::string detail;

    explicit ReceiverRun(Bursts script, std::function<void(CYmodemReceiver&)> setup = {})
        : line(std::move(script))
    {
        CYmodemReceiver receiver(line, dir.Path(), abort);
        if (setup)
            setup(receiver);
        ok = receiver.Receive();
        whole = receiver.AllComplete();
        progress = receiver.Progress();
        files = receiver.Files();
        detail = receiver.FailureDetail();
    }
    std::string File(const std::string& name) const
    {
        const auto bytes = ReadFileBytes(dir / name);
        return std::string(bytes.begin(), bytes.end());
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
};

std::string Header(const std::string& name, long long size)
{
    return CYmodemPacket::HeaderFrame(name, size);
}

// The end of the file, sent again after the NAK, and the end of the batch.
Bursts Tail()
{
    return {Eot(), Eot(), ClosingBlock()};
}

Bursts Script(Bursts head)
{
    for (auto& b : Tail())
        head.push_back(b);
    return head;
}

TEST(YmodemReceiver, ReceivesAFileAndClosesTheBatch)
{
    ReceiverRun run(Script({Header("REC1.000", 1100), DataBlock(1, 'a'), DataBlock(2, 'b', 128)}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_TRUE(run.whole);
    EXPECT_EQ(run.line.m_out, Replies("CACAANACA"));
    EXPECT_EQ(run.progress.fileName, "REC1.000");
    EXPECT_EQ(run.progress.total, 1100);
    EXPECT_EQ(run.progress.received, 1100);
    EXPECT_EQ(run.progress.errors, 0);
    // Exactly the announced size: the padding of the last block is not data.
    EXPECT_EQ(run.File("REC1.000"), std::string(1024, 'a') + std::string(76, 'b'));
    EXPECT_FALSE(run.Exists("REC1.000.partial"));
    ASSERT_EQ(run.files.size(), 1u);
    EXPECT_EQ(run.files[0].Status(), "REC1.000 received, 1100 bytes");
}

TEST(YmodemReceiver, GarbledNumberIsDroppedWithoutAnAnswer)
{
    // The receiver says nothing about a block whose complement is wrong; it waits for the
    // sender to repeat it (here the repeat follows at once).
    std::string garbled = DataBlock(1, 'x');
    garbled[2] = 0x00;
    ReceiverRun run(Script({Header("f.000", 1024), garbled.substr(0, 3) + DataBlock(1, 'a')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACANACA"));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, BadCrcIsAnsweredWithNakAndReceivedAgain)
{
    ReceiverRun run(Script({Header("f.000", 1024), BadCrc(DataBlock(1, 'x')), DataBlock(1, 'a')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACNANACA"));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, BadReceptionsInARowEndTheTransfer)
{
    // Whole blocks that fail their check: the line is alive but noisy, thirty in a row end it.
    Bursts damaged = {Header("f.000", 1024)};
    for (int i = 0; i < CYmodemReceiver::MAX_DAMAGED - 1; ++i)
        damaged.push_back(BadCrc(DataBlock(1, 'x')));
    Bursts recovers = damaged;
    recovers.push_back(DataBlock(1, 'a'));
    ReceiverRun run(Script(recovers));
    EXPECT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a'));

    damaged.push_back(BadCrc(DataBlock(1, 'x')));
    damaged.push_back(DataBlock(1, 'a'));
    ReceiverRun fails(Script(damaged));
    EXPECT_FALSE(fails.ok);
    EXPECT_EQ(fails.line.m_out, Replies("CAC") + Replies(std::string(CYmodemReceiver::MAX_DAMAGED, 'N')));

    // Blocks cut short (the rest never comes): ten in a row.
    Bursts cut = {Header("f.000", 1024)};
    for (int i = 0; i < CYmodemReceiver::MAX_TRIES; ++i)
        cut.push_back(DataBlock(1, 'a').substr(0, 600));
    cut.push_back(DataBlock(1, 'a'));
    ReceiverRun shortBlocks(Script(cut));
    EXPECT_FALSE(shortBlocks.ok);
    EXPECT_EQ(shortBlocks.line.m_out, Replies("CAC") + Replies(std::string(10, 'N')));

    // Silence counts as a bad reception too: a dead line ends after ten NAKs. What arrived
    // stays under a name of its own; nothing takes the file's name.
    ReceiverRun silent({Header("f.000", 1024)});
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(silent.line.m_out, Replies("CAC") + Replies(std::string(10, 'N')));
    EXPECT_TRUE(silent.Exists("f.000.partial"));
    EXPECT_FALSE(silent.Exists("f.000"));
    ASSERT_EQ(silent.files.size(), 1u);
    EXPECT_EQ(silent.files[0].outcome, YmodemFileResult::failed);
    EXPECT_EQ(silent.files[0].Status(),
              "Transfer error, 0 of 1024 bytes kept in f.000.partial, f.000 not changed");
}

TEST(YmodemReceiver, RepeatedBlockIsAcknowledgedButWrittenOnce)
{
    // Block 0 repeated (the sender missed the answer to it) is not data either.
    ReceiverRun header(Script({Header("f.000", 128), Header("f.000", 128), DataBlock(1, 'a', 128)}));
    ASSERT_TRUE(header.ok) << header.detail;
    EXPECT_EQ(header.File("f.000"), std::string(128, 'a'));

    ReceiverRun run(Script({Header("f.000", 2048), DataBlock(1, 'a'), DataBlock(1, 'a'), DataBlock(2, 'b')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CACAAANACA"));
    EXPECT_EQ(run.progress.received, 2048);
    EXPECT_EQ(run.progress.errors, 0);
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a') + std::string(1024, 'b'));
}

TEST(YmodemReceiver, GapCountsOneErrorAndKeepsEveryBlockAsAPartialFile)
{
    ReceiverRun run(Script({Header("f.000", 4096), DataBlock(1, 'a'), DataBlock(2, 'b'), DataBlock(4, 'd')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_FALSE(run.whole);
    EXPECT_EQ(run.progress.errors, 1);
    EXPECT_EQ(run.progress.received, 3 * 1024);
    EXPECT_FALSE(run.Exists("f.000"));
    EXPECT_EQ(run.File("f.000.partial"),
              std::string(1024, 'a') + std::string(1024, 'b') + std::string(1024, 'd'));
    ASSERT_EQ(run.files.size(), 1u);
    EXPECT_EQ(run.files[0].Status(),
              "Transfer incomplete, 3072 of 4096 bytes received, 1 transfer errors, kept "
              "in f.000.partial, f.000 not changed");
}

TEST(YmodemReceiver, BlockNumbersWrapFrom255ToZero)
{
    Bursts script = {Header("wrap.000", 257 * 128)};
    std::string expected;
    for (int n = 1; n <= 257; ++n) {
        const char fill = static_cast<char>('A' + n % 26);
        script.push_back(DataBlock(static_cast<uint8_t>(n & 0xFF), fill, 128));
        if (n == 256)
            script.back() += DataBlock(0, fill, 128); // the block after 255, sent twice
        expected += std::string(128, fill);
    }
    ReceiverRun run(Script(script));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.progress.errors, 0);
    EXPECT_EQ(run.progress.received, 257 * 128);
    EXPECT_EQ(run.File("wrap.000"), expected);
}

TEST(YmodemReceiver, FewerBytesThanAnnouncedIsNotComplete)
{
    ReceiverRun run(Script({Header("f.000", 5000), DataBlock(1, 'a')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_FALSE(run.whole);
    EXPECT_FALSE(run.Exists("f.000"));
    EXPECT_EQ(run.File("f.000.partial"), std::string(1024, 'a'));
}

TEST(YmodemReceiver, UnusableBlockZeroFails)
{
    // A sound 1024-byte block 0 or an unterminated name end the transfer at once.
    const std::string bigHeader = CYmodemPacket::Frame(0,
                                                       std::string("f.000\0"
                                                                   "10",
                                                                   8),
                                                       1024, 0);
    for (const std::string& first : {bigHeader, CYmodemPacket::Frame(0, std::string(128, 'n'), 128)}) {
        ReceiverRun run(Script({first, DataBlock(1, 'a')}));
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(run.line.m_out, Replies("C"));
        EXPECT_TRUE(std::filesystem::is_empty(run.dir.Path()));
    }
    // Anything else where block 0 belongs is asked for again, until the tries run out.
    ReceiverRun run({Eot(), DataBlock(1, 'a')});
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.line.m_out, Replies("C") + Replies(std::string(10, 'N')));
    EXPECT_TRUE(std::filesystem::is_empty(run.dir.Path()));
}

TEST(YmodemReceiver, DamagedBlockZeroIsAskedForAgain)
{
    ReceiverRun run(Script({BadCrc(Header("f.000", 128)), Header("f.000", 128), DataBlock(1, 'a', 128)}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_EQ(run.line.m_out, Replies("CNACANACA"));
}

TEST(YmodemReceiver, HostileNamesWriteNothing)
{
    TempDir outer;
    const std::string victim = (outer / "victim.txt").string();
    testsupport::WriteFileText(outer / "victim.txt", "keep me");
    const std::string names[] = {"..",
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
        ReceiverRun run(Script({Header(name, 128), DataBlock(1, 'z', 128)}));
        EXPECT_FALSE(run.ok) << name;
        EXPECT_EQ(run.line.m_out, Replies("C")) << name; // not even acknowledged
        EXPECT_TRUE(std::filesystem::is_empty(run.dir.Path())) << name;
    }
    EXPECT_EQ(testsupport::ReadFileText(outer / "victim.txt"), "keep me");
    EXPECT_TRUE(CYmodemReceiver::IsSafeFileName("REC00001.000"));
    EXPECT_TRUE(CYmodemReceiver::IsSafeFileName("data file 1.000"));
    EXPECT_FALSE(CYmodemReceiver::IsSafeFileName(""));
}

TEST(YmodemReceiver, AWholeFileReplacesAnExistingOneAndOnlyThen)
{
    TempDir dir;
    testsupport::WriteFileText(dir / "f.000", std::string(5000, 'o'));
    std::atomic<int> abort{0};
    {
        CScriptedYmodemLine line(Script({Header("f.000", 128), DataBlock(1, 'n', 128)}));
        CYmodemReceiver receiver(line, dir.Path(), abort);
        ASSERT_TRUE(receiver.Receive());
        EXPECT_EQ(testsupport::ReadFileText(dir / "f.000"), std::string(128, 'n'));
    }
    // Cut short after one block: yesterday's copy stays as it was.
    CScriptedYmodemLine line({Header("f.000", 2048), DataBlock(1, 'x')});
    CYmodemReceiver receiver(line, dir.Path(), abort);
    EXPECT_FALSE(receiver.Receive());
    EXPECT_EQ(testsupport::ReadFileText(dir / "f.000"), std::string(128, 'n'));
    EXPECT_EQ(testsupport::ReadFileText(dir / "f.000.partial"), std::string(1024, 'x'));
    EXPECT_EQ(receiver.OutputPath(), dir / "f.000.partial");
}

TEST(YmodemReceiver, AbortStopsAtTheNextBlock)
{
    TempDir dir;
    std::atomic<int> abort{0};
    int progressCalls = 0;
    CScriptedYmodemLine line(
        Script({Header("f.000", 3072), DataBlock(1, 'a'), DataBlock(2, 'b'), DataBlock(3, 'c')}));
    CYmodemReceiver receiver(line, dir.Path(), abort);
    receiver.SetOnProgress([&](const YmodemProgress& p) {
        ++progressCalls;
        if (p.received == 1024)
            abort.store(1); // the operator presses Abort while block 1 is acknowledged
    });
    EXPECT_FALSE(receiver.Receive());
    EXPECT_EQ(progressCalls, 1);
    EXPECT_EQ(line.m_out, Replies("CACA"));
    EXPECT_EQ(testsupport::ReadFileText(dir / "f.000.partial"), std::string(1024, 'a'));
    EXPECT_FALSE(std::filesystem::exists(dir / "f.000"));
}

TEST(YmodemReceiver, ReportsTheAnnouncedFileBeforeAnyData)
{
    std::vector<std::string> events;
    ReceiverRun run(
        Script({Header("f.000", 2048), DataBlock(1, 'a'), DataBlock(2, 'b')}), [&](CYmodemReceiver& r) {
            r.SetOnFileAnnounced([&](const YmodemProgress& p) {
                events.push_back("file " + p.fileName + " " + std::to_string(p.total));
            });
            r.SetOnProgress([&](const YmodemProgress& p) { events.push_back(std::to_string(p.received)); });
        });
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(events, (std::vector<std::string>{"file f.000 2048", "1024", "2048"}));
}

TEST(YmodemReceiver, EndOfFileCountsOnlyWhenSentAgain)
{
    // A lone 0x04 between blocks, with the next block right behind it: NAK, and the file
    // goes on. Whatever followed the 0x04 is purged; the sender sends that block again.
    ReceiverRun run(
        Script({Header("f.000", 2048), DataBlock(1, 'a'), Eot() + DataBlock(2, 'b'), DataBlock(2, 'b')}));
    ASSERT_TRUE(run.ok) << run.detail;
    EXPECT_TRUE(run.whole);
    EXPECT_EQ(run.line.m_out, Replies("CACANANACA"));
    EXPECT_EQ(run.File("f.000"), std::string(1024, 'a') + std::string(1024, 'b'));

    // The closing block of the batch is checked like any other.
    ReceiverRun closing(
        {Header("f.000", 10), DataBlock(1, 'a', 128), Eot(), Eot(), BadCrc(ClosingBlock()), ClosingBlock()});
    ASSERT_TRUE(closing.ok) << closing.detail;
    EXPECT_EQ(closing.line.m_out, Replies("CACANACNA"));
    EXPECT_EQ(closing.File("f.000"), std::string(10, 'a'));
}

} // namespace
