// Damaged station files and failed saves: nothing crashes, nothing is allocated by a count
// a file cannot back, and a save that fails leaves the old file as it was.
#include "station/FileReplace.h"
#include "station/Station.h"
#include "station/StationArchive.h"
#include "tests/station/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

std::vector<uint8_t> FullStation()
{
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("Weir");
    CDataSummary summary;
    summary.m_strFileName = "a.001";
    station.AddSummary(summary);
    station.AddCalcSetFromStation(CDateTime(45001.0));
    return station.ToBytes();
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    WriteFileBytes(path, {bytes.begin(), bytes.end()});
}

void PutI32(std::vector<uint8_t>& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// Offsets in the file of FullStation(): site name "Weir" makes the texts 7 bytes.
constexpr size_t kSummaryCountAt = 4 + 7 + 136 + 424 + 57;

} // namespace

TEST(StationFileDamage, EveryTruncationFailsAndLeavesTheRecordAlone)
{
    const auto bytes = FullStation();
    // Every possible cut, straight through the archive.
    for (size_t length = 0; length < bytes.size(); ++length) {
        CStation station{CDateTime(1.0)};
        CStationArchive ar(std::span<const uint8_t>(bytes.data(), length));
        EXPECT_THROW(station.Serialize(ar), CArchiveError) << "length " << length;
    }

    // And a few through Load, which must report the failure and keep the record.
    TempDir dir;
    const auto path = (dir / "cut.hstn").string();
    for (size_t length : {size_t{0}, size_t{3}, size_t{300}, bytes.size() - 1}) {
        WriteBytes(path, {bytes.begin(), bytes.begin() + static_cast<long>(length)});
        CStation station{CDateTime(1.0)};
        station.SetSiteName("before");
        station.SetModified(false);
        StationLoadReport report;
        ASSERT_FALSE(station.Load(path, {}, &report)) << "length " << length;
        EXPECT_FALSE(report.error.empty());
        EXPECT_FALSE(report.cannotOpen);
        EXPECT_EQ(station.GetSiteName(), "before");
        EXPECT_EQ(station.GetFilePath(), "");
        EXPECT_FALSE(station.IsModified());
    }
    WriteBytes(path, bytes);
    CStation whole{CDateTime(1.0)};
    EXPECT_TRUE(whole.Load(path));
    EXPECT_EQ(whole.GetSiteName(), "Weir");
}

TEST(StationFileDamage, CountsBeyondTheFileFailCleanly)
{
    TempDir dir;
    const auto path = (dir / "count.hstn").string();
    const auto good = FullStation();

    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    };
    // Command list count sits after the summary record (a.001: 6 + 80) and fields 27..29.
    const size_t commandCountAt = kSummaryCountAt + 4 + 86 + 12;
    const size_t prefsCountAt = commandCountAt + 2 + 108 + 36;
    const size_t setCountAt = prefsCountAt + 4 + 16 + 52 + 4;
    const Case cases[] = {
        {"summaries", kSummaryCountAt, 0x7FFFFFFF},
        {"summaries (negative)", kSummaryCountAt, 0xFFFFFFFF},
        {"summaries (two, one present)", kSummaryCountAt, 2},
        {"graph data types", prefsCountAt, 0x40000000},
        {"calculation sets", setCountAt, 1000000},
        {"site name length", 4, 0xFFFFFFFF}, // 0xFF, 0xFFFF, then a huge 32-bit length
    };
    for (const auto& c : cases) {
        auto bytes = good;
        PutI32(bytes, c.at, c.value);
        WriteBytes(path, bytes);
        CStation station{CDateTime(1.0)};
        StationLoadReport report;
        EXPECT_FALSE(station.Load(path, {}, &report)) << c.what;
        EXPECT_FALSE(report.error.empty()) << c.what;
    }

    // The command list's compact count: 0xFFFF then a 32-bit count.
    auto bytes = good;
    bytes[commandCountAt] = 0xFF;
    bytes[commandCountAt + 1] = 0xFF;
    bytes.insert(bytes.begin() + static_cast<long>(commandCountAt) + 2, {0xFF, 0xFF, 0xFF, 0x7F});
    WriteBytes(path, bytes);
    CStation station{CDateTime(1.0)};
    EXPECT_FALSE(station.Load(path));

    // A text whose 16-bit form claims more characters than there are bytes.
    bytes = good;
    bytes.erase(bytes.begin() + 4, bytes.begin() + 9); // the site name "Weir"
    bytes.insert(bytes.begin() + 4, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    WriteBytes(path, bytes);
    EXPECT_FALSE(station.Load(path));
}

TEST(StationFileDamage, FolderOrMissingFileIsNotAStation)
{
    TempDir dir;
    CStation station{CDateTime(1.0)};
    StationLoadReport report;
    EXPECT_FALSE(station.Load((dir / "missing.hstn").string(), {}, &report));
    EXPECT_TRUE(report.cannotOpen);
    EXPECT_FALSE(station.Load(dir.Path().string()));
}

TEST(StationSave, ReplacesTheFileAndLeavesNoTemporaryBehind)
{
    TempDir dir;
    const auto path = (dir / "s.hstn").string();
    WriteBytes(path, {1, 2, 3});
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("s");
    ASSERT_TRUE(station.Save(path));
    EXPECT_EQ(ReadFileBytes(path).size(), station.ToBytes().size());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_FALSE(station.IsModified());
}

TEST(StationSave, AFailedWriteLeavesTheOldFileIntact)
{
    TempDir dir;
    const auto path = (dir / "s.hstn").string();
    const std::vector<uint8_t> old = {9, 8, 7, 6};
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("s");

    // A device that refuses every write, standing in for a full disk.
    if (std::filesystem::exists("/dev/full")) {
        WriteBytes(path, old);
        StationSaveOptions full;
        full.tempPath = "/dev/full";
        EXPECT_FALSE(station.Save(path, full));
        EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(old.begin(), old.end()));
        EXPECT_TRUE(std::filesystem::exists("/dev/full"));
        EXPECT_TRUE(station.IsModified());
        EXPECT_EQ(station.GetFilePath(), "");
    }

    // A folder where the temporary file would go.
    WriteBytes(path, old);
    StationSaveOptions folder;
    folder.tempPath = (dir / "blocked").string();
    std::filesystem::create_directory(folder.tempPath);
    EXPECT_FALSE(station.Save(path, folder));
    EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(old.begin(), old.end()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.tempPath));

    // A target folder that does not exist.
    EXPECT_FALSE(station.Save((dir / "nowhere" / "s.hstn").string()));
    EXPECT_FALSE(station.Save(""));
}

TEST(StationSave, ATargetThatIsAFolderIsNotReplaced)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "s.hstn");
    std::filesystem::path inside = dir / "s.hstn" / "keep";
    WriteBytes(inside, {1});
    EXPECT_FALSE(ReplaceFileContents((dir / "s.hstn").string(), std::vector<uint8_t>{1, 2}));
    EXPECT_TRUE(std::filesystem::exists(inside));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
