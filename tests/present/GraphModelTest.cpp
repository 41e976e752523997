// The arithmetic behind every graph: ranges that follow the data, tick steps, tick
// positions, label formats and the data-to-pixel mapping.
#include "present/GraphModel.h"

#include "data/DateTime.h"
#include "data/NoData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kHour = 1.0 / 24.0;

TEST(GraphRanges, SinglePointWidensByATenthOnEachSide)
{
    CGraphModel g;
    g.AddPoint(10, 10, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 9);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 11);
    CGraphModel n;
    n.AddPoint(-10, -10, 0);
    EXPECT_DOUBLE_EQ(n.m_dXMin, -11);
    EXPECT_DOUBLE_EQ(n.m_dXMax, -9);
    EXPECT_DOUBLE_EQ(n.m_dYMin, -11);
    EXPECT_DOUBLE_EQ(n.m_dYMax, -9);
}

TEST(GraphRanges, TimeAxisTakesTheValuesAsTheyAre)
{
    CGraphModel g;
    g.m_bTimeAxis = true;
    g.AddPoint(40000.25, 5, 0);
    g.AddPoint(40000.75, 6, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 40000.25);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 40000.75);
    EXPECT_DOUBLE_EQ(g.m_dYMax, 6.6); // the Y axis is never a time axis
}

TEST(GraphRanges, NoDataNeverWidensButIsKeptForDrawing)
{
    CGraphModel g;
    g.AddPoint(1, 1, 0);
    g.AddPoint(NODATA, NODATA, 0);
    g.AddPoint(2, NODATA, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 0.9);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 2.2);
    EXPECT_DOUBLE_EQ(g.m_dYMin, 0.9);
    EXPECT_DOUBLE_EQ(g.m_dYMax, 1.1);
    EXPECT_EQ(g.m_arrSeries[0].size(), 6u);
}

TEST(GraphRanges, SeriesOutsideTheSixteenAreIgnored)
{
    CGraphModel g;
    g.AddPoint(1, 1, 16);
    g.AddPoint(1, 1, -1);
    EXPECT_TRUE(g.m_bEmpty);
    EXPECT_FALSE(g.HasXRange());
}

TEST(GraphRanges, EqualScalesRaiseTheShorterMaximum)
{
    CGraphModel g;
    g.m_bAutoX = g.m_bAutoY = false;
    g.m_dXMin = 0, g.m_dXMax = 10, g.m_dYMin = 0, g.m_dYMax = 4;
    g.m_bEqualScales = true;
    g.ExtendRange(5, 2);
    EXPECT_DOUBLE_EQ(g.m_dYMax, 10);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 10);

    g.m_dYMax = 30;
    g.ExtendRange(5, 2);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 30);
}

TEST(GraphRanges, EqualScalesWaitUntilBothAxesHaveData)
{
    CGraphModel g;
    g.m_bEqualScales = true;
    g.AddPoint(10, NODATA, 0);
    EXPECT_FALSE(g.HasYRange());
    EXPECT_TRUE(std::isfinite(g.m_dXMax));
    g.AddPoint(10, 2, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMax - g.m_dXMin, g.m_dYMax - g.m_dYMin);
}

TEST(GraphRanges, IncludeZeroMovesOneMinimumPerPoint)
{
    CGraphModel g;
    g.m_bIncludeZero = true;
    g.AddPoint(10, 10, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 0);
    EXPECT_DOUBLE_EQ(g.m_dYMin, 9);
    g.AddPoint(10, 10, 0);
    EXPECT_DOUBLE_EQ(g.m_dYMin, 0);
}

TEST(GraphRanges, CellsExtendRangesAndLevels)
{
    CGraphModel g;
    g.AddCell(1, 2, 3, 4, 200);
    g.AddCell(1, 2, 3, 4, 50);
    g.AddCell(1, 2, 3, 4, NODATA);
    EXPECT_DOUBLE_EQ(g.m_dLevelMin, 50);
    EXPECT_DOUBLE_EQ(g.m_dLevelMax, 200);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 0.9);
    EXPECT_DOUBLE_EQ(g.m_dYMax, 4.4);
}

TEST(GraphRanges, AutoScaleRebuildsFromAllData)
{
    CGraphModel g;
    g.AddPoint(10, 10, 0);
    g.AddPoint(20, 30, 3);
    g.m_bIncludeZero = true;
    g.SetAutoScale(true);
    EXPECT_DOUBLE_EQ(g.m_dXMin, 0);
    EXPECT_DOUBLE_EQ(g.m_dYMin, 0);
    EXPECT_DOUBLE_EQ(g.m_dXMax, 22);
    EXPECT_DOUBLE_EQ(g.m_dYMax, 33);
}

TEST(GraphSteps, NiceStepGrowsAlongOneFiveTen)
{
    CGraphModel g;
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 73), 10);
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 30), 5);
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 240), 25);
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 7300), 1000);
    EXPECT_DOUBLE_EQ(g.NiceStep(5, 5), 1);
    g.m_nMaxTicks = 5;
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 73), 25);
}

TEST(GraphSteps, NiceStepShrinksAlongHalfQuarterTenth)
{
    CGraphModel g;
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 0.3), 0.1);
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 1.5), 0.5);
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 0.003), 0.001);
    // Between 2 and N ticks at step 1 the step stays.
    EXPECT_DOUBLE_EQ(g.NiceStep(0, 4), 1);
}

TEST(GraphSteps, InvertedOrUnsetRangeGivesAUsableStep)
{
    CGraphModel g;
    EXPECT_DOUBLE_EQ(g.NiceStep(10, 0), 1);
    EXPECT_DOUBLE_EQ(g.NiceStep(g.m_dXMin, g.m_dXMax), 1); // the empty control's ranges
    EXPECT_DOUBLE_EQ(CGraphModel::TimeStep(2, 1), 1);
}

TEST(GraphSteps, TimeLadder)
{
    EXPECT_NEAR(CGraphModel::TimeStep(0, 3 * kHour), 30 * kMinute, 1e-12);
    EXPECT_NEAR(CGraphModel::TimeStep(0, 5 * kMinute), 30.0 / 86400, 1e-12);
    EXPECT_NEAR(CGraphModel::TimeStep(0, 5.0 / 86400), 1.0 / 86400, 1e-12);
    EXPECT_NEAR(CGraphModel::TimeStep(0, 3), 8 * kHour, 1e-12);
    EXPECT_DOUBLE_EQ(CGraphModel::TimeStep(0, 15), 2.0);
    EXPECT_DOUBLE_EQ(CGraphModel::TimeStep(0, 100), 30.0);
    EXPECT_DOUBLE_EQ(CGraphModel::TimeStep(0, 7000), 730.0); // a year at a time past 365 days
    EXPECT_DOUBLE_EQ(CGraphModel::TimeStep(7, 7), 1.0);
}

TEST(GraphSteps, OnlyAutomaticStepsAreRecomputed)
{
    CGraphModel g;
    g.AddPoint(0, 0, 0);
    g.AddPoint(73, 0.3, 0);
    g.SetYStep(2);
    g.ComputeSteps();
    EXPECT_DOUBLE_EQ(g.m_dYStep, 2);
    EXPECT_DOUBLE_EQ(g.m_dXStep, 10); // range 0 .. 80.3
    g.SetYStep(-1);
    EXPECT_DOUBLE_EQ(g.m_dYStep, 2);
}

TEST(GraphTicks, XTicksAreMultiplesOfTheStep)
{
    CGraphModel g;
    g.m_dXMin = 3, g.m_dXMax = 17, g.m_dXStep = 5;
    EXPECT_EQ(g.XTicks(), (std::vector<double>{5, 10, 15}));
    g.m_dXMin = -12, g.m_dXMax = 7;
    EXPECT_EQ(g.XTicks(), (std::vector<double>{-5, -10, 0, 5}));
}

TEST(GraphTicks, YTicksCountFromTheMinimumAboveZero)
{
    CGraphModel g;
    g.m_dYMin = 3, g.m_dYMax = 17, g.m_dYStep = 5;
    EXPECT_EQ(g.YTicks(), (std::vector<double>{8, 13}));
    g.m_dYMin = -7;
    EXPECT_EQ(g.YTicks(), (std::vector<double>{-5, 0, 5, 10, 15}));
}

TEST(GraphTicks, HugeSpanWithTinyStepStaysBounded)
{
    CGraphModel g;
    g.m_dXMin = 0, g.m_dXMax = 1e9, g.m_dXStep = 1e-3;
    EXPECT_LE(g.XTicks().size(), 2000u);
}

TEST(GraphLabels, NumericFormatsFollowTheStep)
{
    EXPECT_STREQ(CGraphModel::NumericLabelFormat(0.1), "%.3f");
    EXPECT_STREQ(CGraphModel::NumericLabelFormat(0.5), "%.2f");
    EXPECT_STREQ(CGraphModel::NumericLabelFormat(0.99), "%.2f");
    EXPECT_STREQ(CGraphModel::NumericLabelFormat(1), "%.0f");
    CGraphModel g;
    g.m_dXStep = 0.1;
    g.m_dYStep = 10;
    EXPECT_EQ(g.XLabel(0.25), "0.250");
    EXPECT_EQ(g.YLabel(40), "40");
}

TEST(GraphLabels, TimeFormatsFollowTheStep)
{
    EXPECT_STREQ(CGraphModel::TimeLabelFormat(30.0 / 86400), "%Mm:%Ss");
    EXPECT_STREQ(CGraphModel::TimeLabelFormat(30 * kMinute), "%H:%M");
    EXPECT_STREQ(CGraphModel::TimeLabelFormat(kHour), "%m/%d/%y");
    CGraphModel g;
    g.m_bTimeAxis = true;
    const double t = CDateTime::FromParts(2006, 1, 2, 13, 45, 30).m_dt;
    g.m_dXStep = 30 * kMinute;
    EXPECT_EQ(g.XLabel(t), "13:45");
    g.m_dXStep = 30.0 / 86400;
    EXPECT_EQ(g.XLabel(t), "45m:30s");
    g.m_dXStep = 1;
    EXPECT_EQ(g.XLabel(t), "01/02/06");
}

TEST(GraphPixels, MapsTheRangeOntoThePlotArea)
{
    CGraphModel g;
    g.m_dXMin = 0, g.m_dXMax = 100, g.m_dYMin = 0, g.m_dYMax = 10;
    int px = 0, py = 0;
    // Client 260 x 160 with 30-pixel margins: a 200 x 100 plot area.
    ASSERT_TRUE(g.DataToPixel(0, 0, 260, 160, px, py));
    EXPECT_EQ(px, 30);
    EXPECT_EQ(py, 130);
    ASSERT_TRUE(g.DataToPixel(100, 10, 260, 160, px, py));
    EXPECT_EQ(px, 230);
    EXPECT_EQ(py, 30);
    ASSERT_TRUE(g.DataToPixel(33.3, 3.33, 260, 160, px, py));
    EXPECT_EQ(px, 96); // 30 + int(66.6)
    EXPECT_EQ(py, 97); // 30 + 100 - int(33.3)
    EXPECT_FALSE(g.DataToPixel(100.5, 5, 260, 160, px, py));
    EXPECT_FALSE(g.DataToPixel(50, -0.1, 260, 160, px, py));
    EXPECT_FALSE(g.DataToPixel(NODATA, 5, 260, 160, px, py));
}

TEST(GraphPixels, MarginsApplyOnlyWhenAllArePositive)
{
    CGraphModel g;
    g.SetMargins(10, 20, 0, 5);
    EXPECT_EQ(g.m_nLeftMargin, 30);
    g.SetMargins(10, 20, 40, 5);
    EXPECT_EQ(g.m_nTopMargin, 10);
    EXPECT_EQ(g.m_nLeftMargin, 40);
}

TEST(GraphTicks, TicksAtEndsIncludeBothEndsAndShowNoSpareDecimals)
{
    CGraphModel g;
    g.m_bTicksAtEnds = true;
    g.m_dXMin = 0, g.m_dXMax = 6, g.m_dXStep = 1;
    g.m_dYMin = -0.5, g.m_dYMax = 1.5, g.m_dYStep = 0.5;
    EXPECT_EQ(g.XTicks(), (std::vector<double>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(g.YTicks(), (std::vector<double>{-0.5, 0, 0.5, 1, 1.5}));
    EXPECT_EQ(g.XLabel(0), "0");
    EXPECT_EQ(g.XLabel(6), "6");
    EXPECT_EQ(g.YLabel(1.5), "1.5");
    // Rounding in the sum never pushes the last tick past the end (where it would not map).
    g.m_dYMin = 0, g.m_dYMax = 0.3, g.m_dYStep = 0.1;
    const auto y = g.YTicks();
    ASSERT_EQ(y.size(), 4u);
    EXPECT_EQ(y.back(), 0.3);
    EXPECT_EQ(g.YLabel(y[1]), "0.1");
}

} // namespace
