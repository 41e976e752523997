// Whether a station loaded cleanly, for the callers that must not act on defaults read in
// place of a file: the status of each kind of load, the ignored tail, and files that are
// not files. And saves killed part way, which must leave no temporary file behind.
#include "station/FileReplace.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

std::vector<uint8_t> WeirBytes()
{
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("Weir");
    return station.ToBytes();
}

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

TEST(StationLoadStatus, EachKindOfLoadSaysWhetherItWasClean)
{
    TempDir dir;
    const auto good = WeirBytes();
    auto future = good;
    future[0] = 3;
    WriteBytes(dir / "good.hstn", good);
    WriteBytes(dir / "future.hstn", future);
    WriteBytes(dir / "cut.hstn", {good.begin(), good.begin() + 20});

    CStation station;
    StationLoadReport clean;
    ASSERT_TRUE(station.Load((dir / "good.hstn").string(), {}, &clean));
    EXPECT_TRUE(clean.LoadedCleanly());
    EXPECT_TRUE(station.LoadedCleanly());
    EXPECT_EQ(clean.status, StationLoadStatus::Clean);
    EXPECT_TRUE(clean.messages.empty());
    EXPECT_EQ(clean.Problem(), "");

    StationLoadReport unknown;
    ASSERT_TRUE(station.Load((dir / "future.hstn").string(), {}, &unknown)); // as defaults
    EXPECT_FALSE(unknown.LoadedCleanly());
    EXPECT_EQ(unknown.status, StationLoadStatus::UnknownVersion);
    EXPECT_EQ(unknown.Problem(), "Error, station file has invalid version number.");

    EXPECT_FALSE(station.LoadedCleanly()); // the record itself remembers
    ASSERT_TRUE(station.Save((dir / "elsewhere.hstn").string()));
    EXPECT_TRUE(station.LoadedCleanly());

    StationLoadReport cut;
    EXPECT_FALSE(station.Load((dir / "cut.hstn").string(), {}, &cut));
    EXPECT_FALSE(cut.LoadedCleanly());
    EXPECT_EQ(cut.status, StationLoadStatus::Damaged);
    EXPECT_NE(cut.Problem(), "");

    StationLoadReport missing;
    EXPECT_FALSE(station.Load((dir / "missing.hstn").string(), {}, &missing));
    EXPECT_EQ(missing.status, StationLoadStatus::CannotOpen);
    EXPECT_TRUE(missing.cannotOpen);
    EXPECT_EQ(missing.Problem(), "No such file or directory");
}

TEST(StationLoadStatus, BytesAfterTheLastFieldAreCountedInAWarning)
{
    TempDir dir;
    auto bytes = WeirBytes();
    bytes.insert(bytes.end(), {0xAA, 0xBB, 0xCC, 0xDD, 0xEE});
    WriteBytes(dir / "tail.hstn", bytes);
    CStation station;
    StationLoadReport report;
    ASSERT_TRUE(station.Load((dir / "tail.hstn").string(), {}, &report));
    EXPECT_TRUE(report.LoadedCleanly()); // every field is there
    EXPECT_EQ(report.ignoredBytes, 5u);
    EXPECT_EQ(
        report.messages,
        std::vector<std::string>{"Warning, 5 bytes after the last field of the station file were ignored."});
    EXPECT_EQ(station.GetSiteName(), "Weir");

    bytes.resize(bytes.size() - 4);
    WriteBytes(dir / "one.hstn", bytes);
    StationLoadReport one;
    ASSERT_TRUE(station.Load((dir / "one.hstn").string(), {}, &one));
    EXPECT_EQ(one.messages, std::vector<std::string>{
                                "Warning, 1 byte after the last field of the station file was ignored."});
}

TEST(StationLoadStatus, PipesAndFoldersAreNotOpenedAsStations)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.hstn").c_str(), 0600), 0);
    CStation station;
    station.SetSiteName("kept");
    StationLoadReport report;
    // Would block for ever if the pipe were opened for reading.
    EXPECT_FALSE(station.Load((dir / "pipe.hstn").string(), {}, &report));
    EXPECT_EQ(report.status, StationLoadStatus::CannotOpen);
    EXPECT_EQ(report.error, "is a named pipe, not a regular file");
    EXPECT_EQ(station.GetSiteName(), "kept");
    StationLoadReport folder;
    EXPECT_FALSE(station.Load(dir.Path().string(), {}, &folder));
    EXPECT_EQ(folder.error, "is a folder, not a file");
}

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
