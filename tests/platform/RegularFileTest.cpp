// Files a user names are read only when they are regular files: a pipe must not block the
// open, a folder or device must not be read as data, and an absurd size must not be allocated.
#include "platform/RegularFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TEST(RegularFile, OtherKindsAreNamedBeforeAnythingIsOpened)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(RegularFileProblem((dir / "pipe").string()), "is a named pipe, not a regular file");
    EXPECT_EQ(RegularFileProblem((dir / "folder").string()), "is a folder, not a file");
    EXPECT_EQ(RegularFileProblem("/dev/null"), "is a device, not a regular file");
    EXPECT_EQ(RegularFileProblem((dir / "missing").string()), "No such file or directory");

    // No writer ever comes to the pipe: a blocking open would never return.
    std::string reason;
    EXPECT_EQ(OpenRegularFileForReading((dir / "pipe").string(), reason), -1);
    EXPECT_EQ(reason, "is a named pipe, not a regular file");
    std::vector<uint8_t> bytes{1};
    EXPECT_FALSE(ReadRegularFile((dir / "folder").string(), bytes, reason));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(reason, "is a folder, not a file");

    // A link to a regular file is that file.
    WriteFileBytes(dir / "file", {1, 2, 3});
    std::filesystem::create_symlink(dir / "file", dir / "link");
    EXPECT_EQ(RegularFileProblem((dir / "link").string()), "");
    ASSERT_TRUE(ReadRegularFile((dir / "link").string(), bytes, reason)) << reason;
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(RegularFile, SizeLimitAndUnreadableFiles)
{
    TempDir dir;
    WriteFileBytes(dir / "ten", std::vector<unsigned char>(10, 7));
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_TRUE(ReadRegularFile((dir / "ten").string(), bytes, reason, 10));
    EXPECT_EQ(bytes.size(), 10u);
    EXPECT_FALSE(ReadRegularFile((dir / "ten").string(), bytes, reason, 9));
    EXPECT_NE(reason.find("too large (10 bytes)"), std::string::npos) << reason;
    EXPECT_TRUE(bytes.empty());
    EXPECT_GT(LargestFileInMemory(), uint64_t{1} << 20);

    // Permission is the system's reason (root reads anything, so only check without it).
    WriteFileBytes(dir / "secret", {1});
    chmod((dir / "secret").c_str(), 0);
    if (geteuid() != 0) {
        EXPECT_FALSE(ReadRegularFile((dir / "secret").string(), bytes, reason));
        EXPECT_EQ(reason, "Permission denied");
    }
}
