// ymodem-receive as a script would run it: a pseudo-terminal with the system's batch
// sender on the other end.
#include "tests/link/YmodemPty.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::RunCommand;

std::string Tool()
{
    return std::string("'") + TIDEWELL_TOOL_PATH + "'";
}

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
    EXPECT_EQ(result.out, "site.001 1152\n"); // one 1024-byte block and one of 128
    const auto received = testsupport::ReadFileBytes(to / "site.001");
    ASSERT_EQ(received.size(), 1152u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), received.begin()));
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
