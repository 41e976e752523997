// velunit download from the command line against velunit-sim on a pseudo-terminal.
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"
#include "tests/tools/VelunitSimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using testsupport::RunCommand;

TEST(VelunitDownloadTool, DownloadsIntoTheStationFolderAndErasesOnRequest)
{
    const auto sim = std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "velunit-sim";
    if (!std::filesystem::exists(sim))
        GTEST_SKIP() << "velunit-sim is not built";
    testsupport::TempDir dir;
    std::vector<unsigned char> card(5000);
    for (size_t i = 0; i < card.size(); ++i)
        card[i] = static_cast<unsigned char>(i * 3);
    testsupport::WriteFileBytes(dir / "card.rec", card);
    const auto stationDir = dir / "Mill";
    std::filesystem::create_directories(stationDir);
    CStation station;
    station.SetSiteName("Mill");
    ASSERT_TRUE(station.Save((stationDir / "Mill.hstn").string()));

    CSimProcess unit("--site Mill --recorder '" + (dir / "card.rec").string() + "'", dir);
    ASSERT_FALSE(unit.Device().empty());
    const auto result =
        RunCommand(Tool() + " velunit download --station '" + (stationDir / "Mill.hstn").string() +
                   "' --port " + unit.Device() + " --erase");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Transfer completed succesfully"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Recorder card erased"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find((stationDir / "Mill.000").string() + " 5000 bytes\n"), std::string::npos)
        << result.out;
    EXPECT_EQ(testsupport::ReadFileBytes(stationDir / "Mill.000"), card);
    EXPECT_TRUE(std::filesystem::exists(stationDir / "Mill.log"));

    // The recorder is empty now: a second download brings an empty file and nothing to erase
    // is asked without --erase.
    const auto again = RunCommand(Tool() + " velunit download --station '" +
                                  (stationDir / "Mill.hstn").string() + "' --port " + unit.Device());
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("(recommended)? no"), std::string::npos) << again.out;
    EXPECT_EQ(std::filesystem::file_size(stationDir / "Mill.000"), 0u);
}

TEST(VelunitDownloadTool, WrongUsageAndMissingPort)
{
    testsupport::TempDir dir;
    CStation station;
    station.SetSiteName("Mill");
    ASSERT_TRUE(station.Save((dir / "Mill.hstn").string()));
    EXPECT_EQ(RunCommand(Tool() + " velunit download --port /dev/null").status, 2);
    const auto noPort = RunCommand(Tool() + " velunit download --station '" + (dir / "Mill.hstn").string() +
                                   "' --port /nonexistent/tty");
    EXPECT_EQ(noPort.status, 1);
    EXPECT_NE(noPort.err.find("could not open /nonexistent/tty"), std::string::npos);
}

} // namespace
