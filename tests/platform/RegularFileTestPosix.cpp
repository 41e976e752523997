#include "platform/RegularFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TEST(RegularFile, AnUnreadableFileGivesTheSystemsReason)
{
    // Root reads anything, so this only means something without it.
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads a file without read permission";
    TempDir dir;
    WriteFileBytes(dir / "secret", {1});
    chmod((dir / "secret").c_str(), 0);
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_FALSE(ReadRegularFile((dir / "secret").string(), bytes, reason));
    EXPECT_EQ(reason, "Permission denied");
}
