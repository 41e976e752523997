// flowcomputer message and program from the command line; program against the simulated
// unit on a pseudo-terminal (this one runs at the unit's real pace, about eleven seconds).
#include "flowcomputer/FlowComputerMessage.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace
{

using testsupport::RunCommand;

std::string MakeStation(const testsupport::TempDir& dir, int mounting)
{
    CStation station;
    station.SetSiteName("Bridge 4");
    station.SetMounting(static_cast<Mounting>(mounting));
    const std::string path = (dir / "Bridge 4.hstn").string();
    EXPECT_TRUE(station.Save(path));
    return path;
}

TEST(FlowComputerTool, MessageIsTheBytesProgrammingSends)
{
    testsupport::TempDir dir;
    const std::string path = MakeStation(dir, 1);
    const auto before = testsupport::ReadFileBytes(path);
    const auto result = RunCommand(Tool() + " flowcomputer message '" + path + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    CStation station;
    ASSERT_TRUE(station.Load(path));
    std::vector<uint8_t> expected;
    ASSERT_TRUE(CFlowComputerMessage::Build(station, expected));
    EXPECT_EQ(result.out, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(result.out.substr(72, 2), "\xFF\xFF");
    EXPECT_EQ(testsupport::ReadFileBytes(path), before); // only read

    EXPECT_EQ(RunCommand(Tool() + " flowcomputer message").status, 2);
    EXPECT_EQ(RunCommand(Tool() + " flowcomputer message '" + (dir / "none.hstn").string() + "'").status, 1);
}

TEST(FlowComputerTool, ProgramsTheSimulatedUnit)
{
    const std::filesystem::path sim =
        std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "flowcomputer-sim";
    if (!std::filesystem::exists(sim))
        GTEST_SKIP() << "flowcomputer-sim is not built";
    testsupport::TempDir dir;
    const std::string path = MakeStation(dir, 2);
    const std::string simOut = (dir / "sim.out").string();
    // The unit checks the message against the station and prints its device first.
    const std::string start =
        "'" + sim.string() + "' --reply 6 --station '" + path + "' > '" + simOut + "' 2>&1 &";
    ASSERT_EQ(std::system(start.c_str()), 0);
    std::string device;
    for (int i = 0; i < 100 && device.empty(); ++i) {
        ::usleep(50000);
        const std::string text = testsupport::ReadFileText(simOut);
        if (text.find('\n') != std::string::npos)
            device = text.substr(0, text.find('\n'));
    }
    ASSERT_FALSE(device.empty());
    const auto result =
        RunCommand(Tool() + " flowcomputer program --station '" + path + "' --port " + device);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(
        result.out.find("Successfully sent settings to Flow Computer The unit's firmware is out of date"),
        std::string::npos);
    std::string report;
    for (int i = 0; i < 60 && report.find("message bytes") == std::string::npos; ++i) {
        ::usleep(100000);
        report = testsupport::ReadFileText(simOut);
    }
    EXPECT_NE(report.find("message bytes received: 251; as expected"), std::string::npos) << report;

    const auto noPort =
        RunCommand(Tool() + " flowcomputer program --station '" + path + "' --port /nonexistent/tty");
    EXPECT_EQ(noPort.status, 1);
    EXPECT_EQ(noPort.err, "tidewell-tool: could not open /nonexistent/tty: No such file or directory\n");
    EXPECT_EQ(noPort.out, "");
}

} // namespace
