// How every dialog reads a typed number, and the edits that give back what they showed.
#include "present/FormText.h"

#include <climits>

#include <gtest/gtest.h>

namespace
{

TEST(FormText, NumbersAreReadFromTheirLeadingPart)
{
    EXPECT_DOUBLE_EQ(ReadNumber("12.5 ft"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber("  -.5"), -0.5);
    EXPECT_DOUBLE_EQ(ReadNumber("1e3x"), 1000.0);
    EXPECT_DOUBLE_EQ(ReadNumber("2e"), 2.0); // an exponent without digits is not part of it
    EXPECT_DOUBLE_EQ(ReadNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("."), 0.0);
    // Not numbers an operator types: they read as no number at all.
    EXPECT_DOUBLE_EQ(ReadNumber("inf"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("nan"), 0.0);
    EXPECT_DOUBLE_EQ(ReadNumber("0x10"), 0.0);
}

TEST(FormText, WholeNumbersStopAtThePointAndHoldAtTheEnds)
{
    EXPECT_EQ(ReadInteger("5.00"), 5);
    EXPECT_EQ(ReadInteger("10.9"), 10);
    EXPECT_EQ(ReadInteger(" -7 bins"), -7);
    EXPECT_EQ(ReadInteger("x5"), 0);
    EXPECT_EQ(ReadInteger("99999999999999999999999"), LONG_MAX);
    EXPECT_EQ(ReadInt("99999999999"), INT_MAX);
    EXPECT_EQ(ReadInt("-99999999999"), INT_MIN);
    EXPECT_TRUE(IsBlank(" \t"));
    EXPECT_FALSE(IsBlank(" 0"));
}

TEST(FormText, AnUntouchedEditGivesBackTheExactValueItShowed)
{
    const auto fromFeet = [](double v) { return v / 0.000328084; };
    CNumberText edit;
    edit.Show(60960.0, "20.00"); // 20 ft, rounded on the way to the screen
    EXPECT_TRUE(edit.IsUntouched());
    EXPECT_EQ(edit.Value(fromFeet), 60960.0);
    edit.m_strText = "20.00 "; // any change at all counts as typed
    EXPECT_EQ(edit.Value(fromFeet), 20.0 / 0.000328084);
    edit.m_strText = "20.00";
    EXPECT_EQ(edit.Value(fromFeet), 60960.0);
    edit.Clear();
    EXPECT_FALSE(edit.IsUntouched());
    EXPECT_EQ(edit.Value(fromFeet), 0.0);
}

} // namespace
