// Whether a station loaded cleanly, for the callers that must not act on defaults read in
// place of a file: the status of each kind of load, the ignored tail, and files that are
// not files.
#include "station/Station.h"
#include "tests/support/NamedPipe.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::NamedPipe;
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
    const NamedPipe pipe(dir.Path(), "pipe.hstn");
    ASSERT_FALSE(pipe.Path().empty());
    CStation station;
    station.SetSiteName("kept");
    StationLoadReport report;
    // Would block for ever if the pipe were opened for reading.
    EXPECT_FALSE(station.Load(pipe.Path(), {}, &report));
    EXPECT_EQ(report.status, StationLoadStatus::CannotOpen);
    EXPECT_EQ(report.error, "is a named pipe, not a regular file");
    EXPECT_EQ(station.GetSiteName(), "kept");
    StationLoadReport folder;
    EXPECT_FALSE(station.Load(dir.Path().string(), {}, &folder));
    EXPECT_EQ(folder.error, "is a folder, not a file");
}
