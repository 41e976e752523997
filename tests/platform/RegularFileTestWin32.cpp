// The Win32 side of reading a user's file: names beyond the system's code page, and a file
// that another program holds open without sharing it.
#include "platform/RegularFile.h"
#include "platform/Utf8Path.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TEST(RegularFileWin32, NamesOutsideTheCodePageAreReadByTheirUtf8Name)
{
    TempDir dir;
    const std::string name = "Pegel \xE6\xB0\xB4 \xCE\xA9.000"; // "Pegel 水 Ω.000"
    const std::string path = Utf8FromPath(dir.Path()) + "\\" + name;
    WriteFileBytes(PathFromUtf8(path), {4, 5, 6});
    EXPECT_EQ(RegularFileProblem(path), "");
    std::vector<uint8_t> bytes;
    std::string reason;
    ASSERT_TRUE(ReadRegularFile(path, bytes, reason)) << reason;
    EXPECT_EQ(bytes, (std::vector<uint8_t>{4, 5, 6}));
}

TEST(RegularFileWin32, AFileHeldWithoutSharingIsRefusedWithTheReason)
{
    TempDir dir;
    WriteFileBytes(dir / "held.hstn", {1, 2});
    const HANDLE held = CreateFileW((dir / "held.hstn").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_FALSE(ReadRegularFile((dir / "held.hstn").string(), bytes, reason));
    EXPECT_EQ(reason, "Permission denied");
    CloseHandle(held);
    EXPECT_TRUE(ReadRegularFile((dir / "held.hstn").string(), bytes, reason)) << reason;
}
