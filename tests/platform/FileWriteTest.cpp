// A file written through CAtomicFile is the old one or the new one, never a mix, and no
// temporary file outlives the write, whichever way it ends.
#include "platform/FileWrite.h"
#include "platform/Utf8Path.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

namespace
{

int EntriesIn(const std::filesystem::path& folder)
{
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder))
        ++entries;
    return entries;
}

} // namespace

TEST(AtomicFile, CommitPutsTheNewFileInPlaceAndAnAbandonedOneLeavesNothing)
{
    TempDir dir;
    const std::string path = Utf8FromPath(dir / "out.csv");
    std::string reason;
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Create(path, reason)) << reason;
        ASSERT_TRUE(file.Write("first", 5, reason)) << reason;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.csv")); // not under its name before the end
        ASSERT_TRUE(file.Commit(reason)) << reason;
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ(ReadFileText(dir / "out.csv"), "first");

    {
        CAtomicFile file;
        ASSERT_TRUE(file.Create(path, reason));
        ASSERT_TRUE(file.Write("second, longer", 14, reason));
        ASSERT_TRUE(file.Commit(reason)) << reason;
    }
    EXPECT_EQ(ReadFileText(dir / "out.csv"), "second, longer");

    {
        CAtomicFile stopped; // dropped part way, as a stopped export is
        ASSERT_TRUE(stopped.Create(path, reason));
        ASSERT_TRUE(stopped.Write("third", 5, reason));
        EXPECT_EQ(EntriesIn(dir.Path()), 2);
    }
    CAtomicFile abandoned;
    ASSERT_TRUE(abandoned.Create(path, reason));
    abandoned.Abandon();
    EXPECT_FALSE(abandoned.IsOpen());
    EXPECT_EQ(ReadFileText(dir / "out.csv"), "second, longer");
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(AtomicFile, FailuresSayWhyAndLeaveTheOldFile)
{
    TempDir dir;
    std::string reason;
    CAtomicFile file;
    EXPECT_FALSE(file.Create(Utf8FromPath(dir / "missing" / "out.csv"), reason));
    EXPECT_EQ(reason, "No such file or directory");

    // A folder in the target's place is never replaced.
    std::filesystem::create_directory(dir / "taken");
    WriteFileText(dir / "taken" / "inside", "x");
    ASSERT_TRUE(file.Create(Utf8FromPath(dir / "taken"), reason)) << reason;
    ASSERT_TRUE(file.Write("new", 3, reason));
    EXPECT_FALSE(file.Commit(reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(AtomicFile, TemporaryNamesFollowThePatternThatStaleFilesAreKnownBy)
{
    const std::string a = CAtomicFile::FreshTempName("s.hstn");
    ASSERT_EQ(a.compare(0, 10, "s.hstn.tmp"), 0) << a;
    const std::string rest = a.substr(10);
    const auto dash = rest.find('-');
    ASSERT_NE(dash, std::string::npos) << a;
    EXPECT_GT(dash, 0u);
    EXPECT_EQ(rest.find_first_not_of("0123456789-"), std::string::npos) << a;
    EXPECT_NE(a, CAtomicFile::FreshTempName("s.hstn")); // two saves at once do not collide
}

TEST(FolderOfPath, TheFolderPartByTheSystemsSeparators)
{
    EXPECT_EQ(FolderOfPath("name.hstn"), ".");
    EXPECT_EQ(FolderOfPath("/name.hstn"), "/");
    EXPECT_EQ(FolderOfPath("/site/Weir/name.hstn"), "/site/Weir");
#ifdef _WIN32
    EXPECT_EQ(FolderOfPath("C:\\site\\Weir\\name.hstn"), "C:\\site\\Weir");
    EXPECT_EQ(FolderOfPath("C:\\name.hstn"), "C:\\");
    EXPECT_EQ(FolderOfPath("C:\\site/name.hstn"), "C:\\site");
#else
    EXPECT_EQ(FolderOfPath("/site\\Weir/a\\b"), "/site\\Weir"); // a backslash is part of a name
#endif
}
