// The seams that temporary-file cleanup and the site scan stand on: whether a process has
// ended, and what tells one folder from another whatever path reaches it.
#include "platform/FileIdentity.h"
#include "platform/Process.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileText;

TEST(Process, ThisProcessRunsAndAnIdNoProcessCanHaveIsNotCalledEnded)
{
    EXPECT_GT(CurrentProcessId(), 0u);
    EXPECT_FALSE(ProcessHasEnded(CurrentProcessId()));
    // Not certain either way: never taken for an ended process.
    EXPECT_FALSE(ProcessHasEnded(0));
    EXPECT_FALSE(ProcessHasEnded(uint64_t{1} << 40));
}

TEST(FileIdentity, OneFolderByTwoPathsIsOneAndTwoFoldersAreTwo)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "a" / "b");
    std::filesystem::create_directory(dir / "c");
    WriteFileText(dir / "a" / "f", "x");
    SFileIdentity a, again, c, file;
    ASSERT_TRUE(GetFileIdentity(dir / "a", a));
    ASSERT_TRUE(GetFileIdentity(dir / "a" / "b" / "..", again));
    ASSERT_TRUE(GetFileIdentity(dir / "c", c));
    ASSERT_TRUE(GetFileIdentity(dir / "a" / "f", file));
    EXPECT_EQ(a, again);
    EXPECT_NE(a, c);
    EXPECT_NE(a, file);
    SFileIdentity missing;
    EXPECT_FALSE(GetFileIdentity(dir / "none", missing));
}
