// Saves killed part way must leave no temporary file behind, and the ones that a killed
// save did leave are removed by the next save; those of saves still under way are not.
#include "station/FileReplace.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    WriteFileBytes(path, {bytes.begin(), bytes.end()});
}

std::vector<std::string> Entries(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(StationSave, StaleTemporaryFilesOfDeadSavesAreRemovedAtTheNextSave)
{
    TempDir dir;
    const auto path = (dir / "s.hstn").string();
    // A process id that is surely gone: a child that has been waited for.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string dead = "s.hstn.tmp" + std::to_string(gone) + "-123";
    const std::string living = "s.hstn.tmp" + std::to_string(getppid()) + "-5"; // a save under way
    WriteBytes(dir / dead, {1});
    WriteBytes(dir / living, {2});
    WriteBytes(dir / ("other.hstn.tmp" + std::to_string(gone) + "-1"), {3}); // another station's
    WriteBytes(dir / "s.hstn.tmp-notes", {4});                               // not of the pattern

    CStation station;
    station.SetSiteName("s");
    ASSERT_TRUE(station.Save(path));
    const auto names = Entries(dir.Path());
    EXPECT_EQ(std::count(names.begin(), names.end(), dead), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), living), 1);
    EXPECT_EQ(names.size(), 4u); // s.hstn, the living save's, the other station's, the notes
}

TEST(StationSave, KilledSavesLeaveNothingBehind)
{
    TempDir dir;
    const auto path = (dir / "s.hstn").string();
    CStation big;
    big.SetSiteName("s");
    for (int i = 0; i < 2000; ++i) // a few hundred kilobytes, so kills land inside the save
        big.AddCalcSetFromStation(CDateTime(40000.0 + i));
    const auto bytes = big.ToBytes();
    ASSERT_TRUE(ReplaceFileContents(path, bytes));

    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                ReplaceFileContents(path, bytes);
        }
        usleep(static_cast<useconds_t>(2000 + (round * 997) % 9000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        // Whatever instant the kill hit, the file is the old one or the new one, whole.
        EXPECT_EQ(ReadFileBytes(path).size(), bytes.size()) << round;
    }
    // The next save clears any name a kill left in the instant before a rename.
    ASSERT_TRUE(ReplaceFileContents(path, bytes));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"s.hstn"});
}
