// The tool's command-line contract shared by every command: exit statuses and help.
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

using testsupport::RunCommand;

namespace
{
} // namespace

TEST(ToolCli, UsageErrorsExitWithTwoAndHelpWithZero)
{
    auto none = RunCommand(Tool());
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("Usage: tidewell-tool"), std::string::npos);

    auto unknown = RunCommand(Tool() + " frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_TRUE(unknown.out.empty());

    auto help = RunCommand(Tool() + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Commands:"), std::string::npos);
}
