// ymodem-receive as a script would run it: a pseudo-terminal with the system's batch
// sender on the other end.
#include "tests/link/YmodemPty.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::RunCommand;

TEST(YmodemTool, ReceivesABatchIntoTheFolder)
{
    if (::access("/usr/bin/sb", X_OK) != 0)
        GTEST_SKIP() << "/usr/bin/sb is not installed";
    testsupport::TempDir from;
    testsupport::TempDir to;
    std::vector<unsigned char> data(1025);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i % 251);
    testsupport::WriteFileBytes(from / "site.001", data);

    CTestPty pty;
    ASSERT_TRUE(pty.IsOpen());
    const pid_t sender = pty.Spawn({"/usr/bin/sb", "--ymodem", "site.001"}, from.Path().string());
    const auto result =
        RunCommand(Tool() + " ymodem-receive " + pty.SlavePath() + " '" + to.Path().string() + "'");
    EXPECT_EQ(CTestPty::Wait(sender), 0);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "site.001 1025\n"); // the announced size, not the 1152 bytes of two blocks
    EXPECT_EQ(testsupport::ReadFileBytes(to / "site.001"), data);
}

TEST(YmodemTool, ReceivesThroughADamagedLine)
{
    // The same sender behind the fault relay with a fixed seed: flipped bits, lost and doubled
    // bytes and noise in front of the first block, all in one run.
    const auto relay = std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "ymodem-relay";
    if (::access("/usr/bin/sb", X_OK) != 0 || !std::filesystem::exists(relay))
        GTEST_SKIP() << "needs /usr/bin/sb and ymodem-relay";
    testsupport::TempDir from;
    testsupport::TempDir to;
    std::vector<unsigned char> data(200 * 1024);
    uint32_t x = 99;
    for (auto& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<unsigned char>(x >> 16);
    }
    testsupport::WriteFileBytes(from / "REC00007.000", data);
    const std::string command =
        "cd '" + from.Path().string() + "' && { '" + relay.string() +
        "' --seed 7 --bit-errors 2e-5 --drops 1e-5 --doubles 1e-5 --noise 200 -- "
        "/usr/bin/sb --ymodem --1k REC00007.000 > relay.out 2> relay.err & relay=$!; } && "
        "for i in $(seq 50); do [ -s relay.out ] && break; sleep 0.1; done && "
        "timeout 60 " +
        Tool() + " ymodem-receive \"$(head -1 relay.out)\" '" + to.Path().string() +
        "'; status=$?; sleep 1; kill $relay 2>/dev/null; wait; exit $status";
    const auto result = RunCommand(command);
    EXPECT_EQ(result.status, 0) << result.err << testsupport::ReadFileText(from / "relay.err");
    EXPECT_EQ(result.out, "REC00007.000 204800\n");
    EXPECT_EQ(testsupport::ReadFileBytes(to / "REC00007.000"), data);
    // The relay really did damage the line.
    EXPECT_EQ(testsupport::ReadFileText(from / "relay.err").find(" 0 with a flipped bit"), std::string::npos);
}

TEST(YmodemTool, FailuresAndWrongUsage)
{
    testsupport::TempDir to;
    EXPECT_EQ(RunCommand(Tool() + " ymodem-receive /dev/null").status, 2);
    const auto noFolder =
        RunCommand(Tool() + " ymodem-receive /dev/null '" + (to / "missing").string() + "'");
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("not a folder"), std::string::npos);
    const auto noDevice =
        RunCommand(Tool() + " ymodem-receive /nonexistent/tty '" + to.Path().string() + "'");
    EXPECT_EQ(noDevice.status, 1);
    EXPECT_NE(noDevice.err.find("could not open /nonexistent/tty"), std::string::npos);
}

} // namespace
