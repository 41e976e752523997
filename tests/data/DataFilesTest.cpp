// Which names are data files, and the numbering of live recording files.
#include "data/DataFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(DataFiles, NamesThatAreDataFiles)
{
    for (const char* name : {"a.123", "rt20051203.001", "PD0_A.000", "x.y.999"})
        EXPECT_TRUE(IsDataFileName(name)) << name;
    for (const char* name : {"a.12", ".123", "data.1234", "x.12a", "abc", "", "site.hstn", "a 123"})
        EXPECT_FALSE(IsDataFileName(name)) << name;
}

TEST(DataFiles, ListSkipsFoldersAndOtherFiles)
{
    testsupport::TempDir dir;
    for (const char* name : {"b.001", "a.000", "site.hstn", "site.log", "rt20051203.002"})
        testsupport::WriteFileText(dir / name, "x");
    std::filesystem::create_directory(dir / "old.003");
    EXPECT_EQ(ListDataFiles(dir.Path().string()),
              (std::vector<std::string>{"a.000", "b.001", "rt20051203.002"}));
    EXPECT_TRUE(ListDataFiles((dir / "nowhere").string()).empty());
}

TEST(DataFiles, RecordingFileTakesTheNextFreeNumber)
{
    testsupport::TempDir dir;
    const CDateTime day = CDateTime::FromParts(2005, 12, 3, 9, 30, 0);
    testsupport::WriteFileText(dir / "rt20051203.001", "keep");
    testsupport::WriteFileText(dir / "rt20051203.002", "keep");
    std::string path;
    {
        FilePtr f = OpenRecordingFile(dir.Path().string(), day, &path);
        ASSERT_TRUE(f);
        EXPECT_EQ(std::filesystem::path(path).filename(), "rt20051203.003");
    }
    EXPECT_EQ(testsupport::ReadFileText(dir / "rt20051203.001"), "keep");
    EXPECT_TRUE(std::filesystem::exists(dir / "rt20051203.003"));

    // A name taken by a folder is passed over rather than written through.
    std::filesystem::create_directory(dir / "rt20051203.004");
    FilePtr next = OpenRecordingFile(dir.Path().string(), day, &path);
    ASSERT_TRUE(next);
    EXPECT_EQ(std::filesystem::path(path).filename(), "rt20051203.005");
}

TEST(DataFiles, RecordingFileGivesUpAfterNinetyNine)
{
    testsupport::TempDir dir;
    const CDateTime day = CDateTime::FromParts(2005, 12, 3, 0, 0, 0);
    char name[32];
    for (int k = 1; k <= 99; ++k) {
        std::snprintf(name, sizeof name, "rt20051203.%03d", k);
        testsupport::WriteFileText(dir / name, "");
    }
    EXPECT_FALSE(OpenRecordingFile(dir.Path().string(), day));
    EXPECT_FALSE(OpenRecordingFile((dir / "no-such-folder").string(), day));
}
