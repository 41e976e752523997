#include "data/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

struct Parts {
    int year, month, day, hour, minute, second;
};

Parts PartsOf(const CDateTime& dt)
{
    Parts p{};
    EXPECT_TRUE(dt.GetParts(p.year, p.month, p.day, p.hour, p.minute, p.second));
    return p;
}

void ExpectParts(const CDateTime& dt, Parts expected)
{
    const Parts p = PartsOf(dt);
    EXPECT_EQ(p.year, expected.year);
    EXPECT_EQ(p.month, expected.month);
    EXPECT_EQ(p.day, expected.day);
    EXPECT_EQ(p.hour, expected.hour);
    EXPECT_EQ(p.minute, expected.minute);
    EXPECT_EQ(p.second, expected.second);
}

TEST(DateTimeTest, DayCountsMatchTheWindowsOnes)
{
    EXPECT_EQ(CDateTime::FromParts(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(CDateTime::FromParts(1900, 1, 1, 0, 0, 0).m_dt, 2.0);
    EXPECT_EQ(CDateTime::FromParts(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
    EXPECT_EQ(CDateTime::FromParts(2025, 1, 1, 0, 0, 0).m_dt, 45658.0);
    EXPECT_EQ(CDateTime::FromParts(100, 1, 1, 0, 0, 0).m_dt, -657434.0);
    EXPECT_EQ(CDateTime::FromParts(9999, 12, 31, 0, 0, 0).m_dt, 2958465.0);
    EXPECT_DOUBLE_EQ(CDateTime::FromParts(2000, 1, 1, 18, 0, 0).m_dt, 36526.75);
}

TEST(DateTimeTest, BeforeDayZeroTheTimeCountsForwardFromMidnight)
{
    // -1.25 is 29 December 1899 at 06:00, not 28 December at 18:00.
    EXPECT_DOUBLE_EQ(CDateTime::FromParts(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    ExpectParts(CDateTime(-1.25), {1899, 12, 29, 6, 0, 0});
    ExpectParts(CDateTime(-0.5), {1899, 12, 30, 12, 0, 0});
    ExpectParts(CDateTime(-657434.5), {100, 1, 1, 12, 0, 0});
}

TEST(DateTimeTest, PartsRoundTripThroughTheDayCount)
{
    const Parts samples[] = {{2024, 2, 29, 23, 59, 59},
                             {1900, 3, 1, 0, 0, 1},
                             {1850, 7, 4, 13, 14, 15},
                             {2026, 12, 8, 19, 19, 0},
                             {9999, 12, 31, 23, 59, 59}};
    for (const Parts& s : samples) {
        const CDateTime dt = CDateTime::FromParts(s.year, s.month, s.day, s.hour, s.minute, s.second);
        ASSERT_TRUE(dt.IsValid());
        ExpectParts(dt, s);
    }
}

TEST(DateTimeTest, PartsRoundToTheNearestSecond)
{
    const double base = CDateTime::FromParts(2000, 1, 1, 23, 59, 59).m_dt;
    ExpectParts(CDateTime(base + 0.6 / 86400.0), {2000, 1, 2, 0, 0, 0});
    ExpectParts(CDateTime(base + 0.4 / 86400.0), {2000, 1, 1, 23, 59, 59});
}

TEST(DateTimeTest, OutOfRangePartsGiveAnInvalidStamp)
{
    EXPECT_FALSE(CDateTime::FromParts(1900, 2, 29, 0, 0, 0).IsValid()); // 1900 was no leap year
    EXPECT_TRUE(CDateTime::FromParts(2000, 2, 29, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 4, 31, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 13, 1, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 0, 1, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 1, 0, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 1, 1, 24, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 1, 1, 0, 60, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 1, 1, 0, 0, 60).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(99, 12, 31, 0, 0, 0).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(10000, 1, 1, 0, 0, 0).IsValid());
}

TEST(DateTimeTest, StampsOutsideTheCalendarHaveNoParts)
{
    int y, mo, d, h, mi, s;
    EXPECT_FALSE(CDateTime(2958466.0).GetParts(y, mo, d, h, mi, s));
    EXPECT_FALSE(CDateTime(-657435.0).GetParts(y, mo, d, h, mi, s));
    EXPECT_FALSE(CDateTime(1e300).GetParts(y, mo, d, h, mi, s));
    EXPECT_FALSE(CDateTime(std::numeric_limits<double>::quiet_NaN()).GetParts(y, mo, d, h, mi, s));
    EXPECT_FALSE(CDateTime(36526.0, CDateTime::invalid).GetParts(y, mo, d, h, mi, s));
    EXPECT_FALSE(CDateTime(36526.0, CDateTime::null).GetParts(y, mo, d, h, mi, s));
}

TEST(DateTimeTest, FormatsLikeStrftime)
{
    const CDateTime dt = CDateTime::FromParts(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(dt.Format(), "2024/03/05 07:08:09");
    EXPECT_EQ(dt.Format("%Y%m%d"), "20240305");
    EXPECT_EQ(dt.Format("%A %j"), "Tuesday 065");
    EXPECT_EQ(CDateTime::FromParts(1899, 12, 29, 6, 0, 0).Format("%a %Y-%m-%d %H:%M"),
              "Fri 1899-12-29 06:00");
    EXPECT_EQ(dt.Format(""), "");
}

TEST(DateTimeTest, AnInvalidStampFormatsAsEmptyText)
{
    EXPECT_EQ(CDateTime(36526.0, CDateTime::invalid).Format(), "");
    EXPECT_EQ(CDateTime(1e12).Format(), "");
}

TEST(DateTimeTest, NowIsAValidStampOfThisCentury)
{
    const CDateTime now = CDateTime::Now();
    ASSERT_TRUE(now.IsValid());
    EXPECT_GT(now.m_dt, CDateTime::FromParts(2020, 1, 1, 0, 0, 0).m_dt);
    EXPECT_LT(now.m_dt, CDateTime::FromParts(2100, 1, 1, 0, 0, 0).m_dt);
}

} // namespace
