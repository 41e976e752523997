// tidewell-tool velunit listen against velunit-sim deployed on a pseudo-terminal with its
// 30-second ensembles coming every second: the recording it leaves, and how it ends (after
// --seconds, on SIGTERM, when the unit goes away, when the port cannot be opened).
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"
#include "tests/tools/VelunitSimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

using testsupport::RunCommand;

namespace
{

// The lines that report an ensemble: they start with its number.
std::vector<std::string> EnsembleLines(const std::string& out)
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            lines.push_back(line);
    return lines;
}

std::vector<std::string> RecordingFiles(const testsupport::TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        if (entry.path().filename().string().rfind("rt", 0) == 0)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(VelunitListenTool, RecordsADeployedUnitForAFewSecondsAndOnSigterm)
{
    testsupport::TempDir dir;
    CSimProcess sim("--site 'River One' --compress 30 --stay-deployed", dir);
    if (sim.Device().empty())
        GTEST_SKIP() << "velunit-sim is not built";
    const std::string station = Quote(dir / "River One.hstn");
    ASSERT_EQ(RunCommand(Tool() + " station new --site 'River One' " + station).status, 0);
    const auto program = RunCommand("timeout 60 " + Tool() + " velunit program --station " + station +
                                    " --port " + sim.Device() + " --yes");
    ASSERT_EQ(program.status, 0) << program.out << program.err;

    const std::string listen = Tool() + " velunit listen --station " + station + " --port " + sim.Device();
    const auto r = RunCommand("timeout 30 " + listen + " --seconds 4");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const auto lines = EnsembleLines(r.out);
    ASSERT_GE(lines.size(), 2u) << r.out;
    EXPECT_NE(lines[0].find(" stage "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(" ft  index velocity "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(" ft/s  flow "), std::string::npos) << lines[0];
    const auto files = RecordingFiles(dir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(r.out.find("Listened "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" s: " + std::to_string(lines.size()) + " ensembles, " +
                         std::to_string(lines.size()) + " recorded in " + (dir / files[0]).string() + "\n"),
              std::string::npos)
        << r.out;

    // What it left is a data file like any other.
    const auto summary =
        RunCommand(Tool() + " data summary " + Quote(dir / files[0]) + " --station " + station);
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_NE(summary.out.find("\"m_nEnsembles\": " + std::to_string(lines.size()) + ","), std::string::npos)
        << summary.out;
    EXPECT_NE(summary.out.find("\"m_nEnsembleType\": 2"), std::string::npos);

    // SIGTERM ends it as cleanly, with its summary and a second file.
    const auto stopped =
        RunCommand("timeout 30 " + listen + " & pid=$!; sleep 2.5; kill -TERM $pid; wait $pid");
    EXPECT_EQ(stopped.status, 0) << stopped.out << stopped.err;
    EXPECT_NE(stopped.out.find("Listened "), std::string::npos) << stopped.out;
    EXPECT_GE(EnsembleLines(stopped.out).size(), 1u);
    EXPECT_EQ(RecordingFiles(dir).size(), 2u);

    // A file-size limit of nothing: every write fails. One warning, the ensembles are still
    // shown, and no empty file is left behind. (The output goes through a pipe, which the
    // limit does not reach.)
    const auto full =
        RunCommand("(ulimit -f 0; timeout 30 " + listen + " --seconds 3 2>&1; echo status $?) | cat");
    EXPECT_NE(full.out.find("status 0\n"), std::string::npos) << full.out;
    EXPECT_GE(EnsembleLines(full.out).size(), 1u) << full.out;
    EXPECT_NE(full.out.find(" ensembles, no recording file\n"), std::string::npos) << full.out;
    size_t warnings = 0;
    for (size_t at = full.out.find("Warning, the live recording file could not be written");
         at != std::string::npos; at = full.out.find("Warning, the live", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, 1u) << full.out;
    EXPECT_EQ(RecordingFiles(dir).size(), 2u);
}

TEST(VelunitListenTool, APortThatGoesAwayEndsWithStatus3AndOneThatCannotOpenWith1)
{
    testsupport::TempDir dir;
    const std::string station = Quote(dir / "River One.hstn");
    ASSERT_EQ(RunCommand(Tool() + " station new --site 'River One' " + station).status, 0);

    const auto missing =
        RunCommand(Tool() + " velunit listen --station " + station + " --port /dev/no-such-port --seconds 1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;

    CSimProcess sim("--site 'River One'", dir);
    if (sim.Device().empty())
        GTEST_SKIP() << "velunit-sim is not built";
    const auto lost = RunCommand("timeout 30 " + Tool() + " velunit listen --station " + station +
                                 " --port " + sim.Device() + " & pid=$!; sleep 2; kill -TERM " +
                                 std::to_string(sim.Pid()) + "; wait $pid");
    EXPECT_EQ(lost.status, 3) << lost.out << lost.err;
    EXPECT_NE(lost.out.find("Listened "), std::string::npos) << lost.out;
    EXPECT_NE(lost.err.find("Error, the connection to the instrument was lost (" + sim.Device() + ")"),
              std::string::npos)
        << lost.err;
}

} // namespace
