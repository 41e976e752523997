// velunit download from the command line against velunit-sim on a pseudo-terminal.
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace
{

using testsupport::RunCommand;

std::string Tool()
{
    return std::string("'") + TIDEWELL_TOOL_PATH + "'";
}

// velunit-sim in the background for the life of the object; it prints its device first.
class CSimProcess
{
  public:
    CSimProcess(const std::string& arguments, const testsupport::TempDir& dir)
        : m_out((dir / "sim.out").string())
    {
        const auto sim = std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "velunit-sim";
        if (!std::filesystem::exists(sim))
            return;
        const std::string pidFile = (dir / "sim.pid").string();
        const std::string line =
            "'" + sim.string() + "' " + arguments + " > '" + m_out + "' 2>&1 & echo $! > '" + pidFile + "'";
        if (std::system(line.c_str()) != 0)
            return;
        for (int i = 0; i < 100 && m_device.empty(); ++i) {
            ::usleep(50000);
            const std::string text = testsupport::ReadFileText(m_out);
            if (text.find('\n') != std::string::npos)
                m_device = text.substr(0, text.find('\n'));
        }
        m_pid = std::atoi(testsupport::ReadFileText(pidFile).c_str());
    }
    ~CSimProcess()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGTERM);
    }
    const std::string& Device() const { return m_device; }

  private:
    std::string m_out;
    std::string m_device;
    pid_t m_pid = -1;
};

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
