#include "platform/Utf8Path.h"

#include "tests/support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

// A name outside ASCII survives the trip to the file system and back, and the file made under
// it is found again by the same UTF-8 name.
TEST(Utf8PathTest, NonAsciiNamesRoundTripThroughTheFileSystem)
{
    testsupport::TempDir dir;
    const std::string name = "Br\xC3\xBC"
                             "cke \xE2\x80\x93 Pegel \xE6\xB0\xB4.hstn"; // "Brücke – Pegel 水.hstn"
    const std::string folder = Utf8FromPath(dir.Path());
    const std::string full = folder + "/" + name;
    {
        std::ofstream out(PathFromUtf8(full), std::ios::binary);
        out << "x";
        ASSERT_TRUE(out.good());
    }
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        found = found || Utf8FromPath(entry.path().filename()) == name;
    EXPECT_TRUE(found);
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(full).filename()), name);
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(full)));
}
