#include "data/FormatValue.h"
#include "data/NoData.h"

#include <gtest/gtest.h>

namespace
{

TEST(FormatValueTest, MeasurementFormPicksDecimalsByMagnitude)
{
    EXPECT_EQ(FormatValue(0.0), "0.00");
    EXPECT_EQ(FormatValue(-0.0), "0.00");
    EXPECT_EQ(FormatValue(0.05), "0.050");
    EXPECT_EQ(FormatValue(0.0999), "0.100");
    EXPECT_EQ(FormatValue(0.1), "0.10");
    EXPECT_EQ(FormatValue(-0.0001), "-0.000");
    EXPECT_EQ(FormatValue(12.345), "12.35"); // 12.345 is stored just above
    EXPECT_EQ(FormatValue(99.999), "100.00");
    EXPECT_EQ(FormatValue(100.0), "100.0");
    EXPECT_EQ(FormatValue(-999.96), "-1000.0");
    EXPECT_EQ(FormatValue(1000.0), "1000");
    EXPECT_EQ(FormatValue(1000.4), "1000");
    EXPECT_EQ(FormatValue(1000.5), "1001");
    EXPECT_EQ(FormatValue(-1500.7), "-1500");
    EXPECT_EQ(FormatValue(-1500.2), "-1499");
}

TEST(FormatValueTest, LargeValuesDoNotOverflow)
{
    EXPECT_EQ(FormatValue(3e9), "3000000000");
    EXPECT_EQ(FormatValue(-5e12), "-4999999999999");
}

TEST(FormatValueTest, CompactFormKeepsOneDecimal)
{
    EXPECT_EQ(FormatValue(3.0, true), "3.0");
    EXPECT_EQ(FormatValue(2.0, true), "2.0");
    EXPECT_EQ(FormatValue(0.0, true), "0.0");
    EXPECT_EQ(FormatValue(1.25, true), "1.25");
    EXPECT_EQ(FormatValue(0.12346, true), "0.1235");
    EXPECT_EQ(FormatValue(-0.5, true), "-0.5");
    EXPECT_EQ(FormatValue(100.0, true), "100.0"); // zeros before the point stay
    EXPECT_EQ(FormatValue(1234567.1, true), "1234567.1");
}

TEST(FormatValueTest, NoDataIsAnEmptyText)
{
    EXPECT_EQ(FormatValue(NODATA), "");
    EXPECT_EQ(FormatValue(NODATA, true), "");
}

} // namespace
