// Files a user names are read only when they are regular files: a pipe must not block the
// open, a folder or device must not be read as data, and an absurd size must not be allocated.
#include "platform/RegularFile.h"
#include "tests/support/NamedPipe.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::NamedPipe;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

#ifdef _WIN32
const char* const NULL_DEVICE = "NUL";
#else
const char* const NULL_DEVICE = "/dev/null";
#endif

} // namespace

TEST(RegularFile, OtherKindsAreNamedBeforeAnythingIsOpened)
{
    TempDir dir;
    const NamedPipe pipe(dir.Path(), "pipe");
    ASSERT_FALSE(pipe.Path().empty());
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(RegularFileProblem(pipe.Path()), "is a named pipe, not a regular file");
    EXPECT_EQ(RegularFileProblem((dir / "folder").string()), "is a folder, not a file");
    EXPECT_EQ(RegularFileProblem(NULL_DEVICE), "is a device, not a regular file");
    EXPECT_EQ(RegularFileProblem((dir / "missing").string()), "No such file or directory");
    EXPECT_EQ(RegularFileProblem((dir / "missing" / "deeper").string()), "No such file or directory");

    // No writer ever comes to the pipe: a blocking open would never return.
    std::string reason;
    CRegularFile file;
    EXPECT_FALSE(file.Open(pipe.Path(), reason));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(reason, "is a named pipe, not a regular file");
    std::vector<uint8_t> bytes{1};
    EXPECT_FALSE(ReadRegularFile((dir / "folder").string(), bytes, reason));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(reason, "is a folder, not a file");
    EXPECT_FALSE(ReadRegularFile(NULL_DEVICE, bytes, reason));
    EXPECT_EQ(reason, "is a device, not a regular file");
}

TEST(RegularFile, ALinkToARegularFileIsThatFile)
{
    TempDir dir;
    WriteFileBytes(dir / "file", {1, 2, 3});
    std::error_code ec;
    std::filesystem::create_symlink(dir / "file", dir / "link", ec);
    if (ec)
        GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_EQ(RegularFileProblem((dir / "link").string()), "");
    ASSERT_TRUE(ReadRegularFile((dir / "link").string(), bytes, reason)) << reason;
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(RegularFile, ReadsInPiecesAndKnowsItsSize)
{
    TempDir dir;
    std::vector<unsigned char> content(100000);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<unsigned char>(i * 7);
    WriteFileBytes(dir / "data", content);
    CRegularFile file;
    std::string reason;
    ASSERT_TRUE(file.Open((dir / "data").string(), reason)) << reason;
    uint64_t size = 0;
    ASSERT_TRUE(file.Size(size, reason));
    EXPECT_EQ(size, content.size());
    std::vector<unsigned char> read;
    unsigned char buffer[4096];
    for (int64_t n; (n = file.Read(buffer, sizeof buffer, reason)) != 0;) {
        ASSERT_GT(n, 0) << reason;
        read.insert(read.end(), buffer, buffer + n);
    }
    EXPECT_EQ(read, content);
    EXPECT_EQ(file.Read(buffer, sizeof buffer, reason), 0); // the end stays the end
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

TEST(RegularFile, SizeLimit)
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
}
