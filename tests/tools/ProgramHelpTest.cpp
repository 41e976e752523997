// Every command-line program answers --help and --version, and says what went wrong once.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::RunCommand;

namespace
{

std::string Program(const std::string& name)
{
    return "'" + (std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / name).string() + "'";
}

} // namespace

TEST(ProgramHelp, EveryProgramAnswersHelpAndVersion)
{
    for (const std::string name :
         {"tidewell-tool", "velunit-sim", "flowcomputer-sim", "tidewell-datagen", "ymodem-relay"}) {
        const auto help = RunCommand("timeout 10 " + Program(name) + " --help");
        EXPECT_EQ(help.status, 0) << name << help.err;
        EXPECT_NE(help.out.find("Usage: " + name), std::string::npos) << name << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << name;
        EXPECT_EQ(help.err, "") << name;

        const auto version = RunCommand("timeout 10 " + Program(name) + " --version");
        EXPECT_EQ(version.status, 0) << name;
        EXPECT_EQ(version.out, name + " (Tidewell) " + TIDEWELL_VERSION + "\n");
        EXPECT_EQ(version.err, "") << name;

        const auto wrong = RunCommand("timeout 10 " + Program(name) + " --no-such-option");
        EXPECT_NE(wrong.status, 0) << name;
        EXPECT_EQ(wrong.out, "") << name;
        EXPECT_NE(wrong.err, "") << name;
    }
    // The options of each program are described, not only listed.
    EXPECT_NE(RunCommand(Program("velunit-sim") + " --help").out.find("--recorder FILE"), std::string::npos);
    EXPECT_NE(RunCommand(Program("tidewell-datagen") + " --help").out.find("--count N "), std::string::npos);
    EXPECT_NE(RunCommand(Program("flowcomputer-sim") + " --help").out.find("--serve "), std::string::npos);
}

TEST(ProgramHelp, ToolGroupsHaveTheirOwnHelp)
{
    for (const std::string group : {"station", "data", "velunit", "flowcomputer"}) {
        const auto help = RunCommand(Program("tidewell-tool") + " " + group + " --help");
        EXPECT_EQ(help.status, 0) << group;
        EXPECT_NE(help.out.find("Usage: tidewell-tool " + group + " COMMAND"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find("  tidewell-tool " + group + " "), std::string::npos);
        EXPECT_EQ(help.out.find("tidewell-tool ymodem-receive"), std::string::npos) << group;
    }
    const auto velunit = RunCommand(Program("tidewell-tool") + " velunit --help").out;
    EXPECT_NE(velunit.find("--trace FILE"), std::string::npos);
    // What may stand for PORT is said where PORT is asked for, and only there.
    EXPECT_NE(velunit.find("\"COM n\""), std::string::npos) << velunit;
    EXPECT_EQ(RunCommand(Program("tidewell-tool") + " data --help").out.find("\"COM n\""), std::string::npos);
    EXPECT_NE(RunCommand(Program("tidewell-tool") + " station --help").out.find("--force"),
              std::string::npos);

    const auto bare = RunCommand(Program("tidewell-tool") + " station");
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_NE(bare.err.find("station needs a command"), std::string::npos);

    const auto command = RunCommand(Program("tidewell-tool") + " data summary --help");
    EXPECT_EQ(command.status, 0);
    EXPECT_NE(command.out.find("--human"), std::string::npos);
}
