// Text conversion between the file's code page and UTF-8.
#include "station/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\xE9"), "\xE2\x82\xAC\xC5\xB8\xC3\xA9"); // € Ÿ é
}

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xAD"
                           "b"),
              "a?b");                                 // CJK character
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?"); // outside the BMP
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");         // U+0080 has no byte
    EXPECT_EQ(Utf8ToCp1252("x\xFFy"), "x?y");         // not UTF-8
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");             // cut short
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");        // overlong slash stays out
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");   // encoded surrogate
    EXPECT_EQ(Utf16ToCp1252({'a', 0xD83D, 0xDE00, 0x00FC, 0xDC00}), "a?\xFC?");
}
