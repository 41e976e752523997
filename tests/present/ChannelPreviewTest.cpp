// The channel cross-section picture: outlines in display units, where the instrument sits,
// the polynomial's area curve, the shapes that cannot be drawn, and how a section is fitted
// to a plot.
#include "present/ChannelPreview.h"

#include "data/ChannelGeometry.h"
#include "data/Units.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

// The bounding box of a line: min x, min y, max x, max y.
std::array<double, 4> Box(const CChannelPreview::Line& line)
{
    std::array<double, 4> b{1e300, 1e300, -1e300, -1e300};
    for (size_t i = 0; i + 1 < line.xy.size(); i += 2) {
        b[0] = std::min(b[0], line.xy[i]);
        b[1] = std::min(b[1], line.xy[i + 1]);
        b[2] = std::max(b[2], line.xy[i]);
        b[3] = std::max(b[3], line.xy[i + 1]);
    }
    return b;
}

TEST(ChannelPreview, RectangleInMetresWithTheInstrumentOnTheLeftWall)
{
    CChannelGeometry g;
    g.SetRectangular(60000, 30000);
    g.SetZAdcp(8000);
    CChannelPreview p;
    p.Build(g, 1, UNIT_METERS, 0, 0);
    ASSERT_EQ(p.m_arrLines.size(), 2u);
    EXPECT_EQ(p.m_arrLines[CChannelPreview::OUTLINE].xy, (std::vector<double>{0, 3, 0, 0, 6, 0, 6, 3}));
    EXPECT_EQ(p.m_nInstrumentSide, CChannelPreview::LEFT);
    EXPECT_DOUBLE_EQ(p.m_dInstrumentX, 0);
    EXPECT_DOUBLE_EQ(p.m_dInstrumentY, 0.8);
    EXPECT_TRUE(p.m_strMessage.empty());
}

TEST(ChannelPreview, MountingPlacesTheMark)
{
    CChannelGeometry g;
    g.SetRectangular(60000, 30000);
    g.SetZAdcp(8000);
    CChannelPreview right, bottom, top;
    right.Build(g, 2, UNIT_METERS, 0, 0);
    bottom.Build(g, 4, UNIT_METERS, 0, 0);
    top.Build(g, 3, UNIT_METERS, 0, 0);
    EXPECT_EQ(right.m_nInstrumentSide, CChannelPreview::RIGHT);
    EXPECT_DOUBLE_EQ(right.m_dInstrumentX, 6.0);
    EXPECT_DOUBLE_EQ(right.m_dInstrumentY, 0.8);
    EXPECT_EQ(bottom.m_nInstrumentSide, CChannelPreview::BOTTOM_SIDE);
    EXPECT_DOUBLE_EQ(bottom.m_dInstrumentX, 3.0);
    EXPECT_DOUBLE_EQ(bottom.m_dInstrumentY, 0.0);
    EXPECT_EQ(top.m_nInstrumentSide, CChannelPreview::TOP);
    EXPECT_DOUBLE_EQ(top.m_dInstrumentY, 3.0);
    CChannelPreview unknown;
    unknown.Build(g, 9, UNIT_METERS, 0, 0);
    EXPECT_EQ(unknown.m_nInstrumentSide, CChannelPreview::NONE); // no mark for an unknown mounting
    EXPECT_EQ(unknown.m_arrLines.size(), 2u);
}

TEST(ChannelPreview, TrapezoidWithFlatSlopeOnlySaysSo)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_TRAPEZOIDAL);
    g.SetTrapezoidal(10000, 20000, 0);
    CChannelPreview p;
    p.Build(g, 1, UNIT_METERS, 0, 0);
    EXPECT_EQ(p.m_strMessage, "Trapezoid - Invalid Slope");
    EXPECT_TRUE(p.m_arrLines.empty());

    g.SetTrapezoidal(10000, 20000, 2);
    p.Build(g, 1, UNIT_METERS, 0, 0);
    EXPECT_TRUE(p.m_strMessage.empty());
    // Banks rising 2 for every 1 across: 1 m out on each side at the top.
    EXPECT_EQ(p.m_arrLines[0].xy, (std::vector<double>{0, 2, 1, 0, 2, 0, 3, 2}));
}

TEST(ChannelPreview, CircleSpansTheDiameter)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_CIRCULAR);
    g.SetDiameter(15000);
    CChannelPreview p;
    p.Build(g, 4, UNIT_METERS, 0, 0);
    const auto b = Box(p.m_arrLines[0]);
    EXPECT_NEAR(b[0], 0, 1e-9);
    EXPECT_NEAR(b[2], 1.5, 1e-9);
    EXPECT_NEAR(b[1], 0, 1e-9);
    EXPECT_NEAR(b[3], 1.5, 1e-9);
}

TEST(ChannelPreview, MultiPointFollowsThePointsAndPutsTheBottomMarkMidFloor)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_MULTIPOINT);
    for (auto [y, z] : {std::pair{0.0, 10000.0}, {2000.0, 0.0}, {8000.0, 0.0}, {10000.0, 10000.0}})
        g.AddPoint(y, z);
    CChannelPreview p;
    p.Build(g, 4, UNIT_METERS, 0, 0);
    ASSERT_EQ(p.m_arrLines.size(), 2u);
    EXPECT_EQ(p.m_arrLines[0].xy, (std::vector<double>{0, 1, 0.2, 0, 0.8, 0, 1, 1}));
    EXPECT_NEAR(p.m_dInstrumentX, 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(p.m_dInstrumentY, 0);

    CChannelGeometry none;
    none.SetType(CHANNEL_MULTIPOINT);
    p.Build(none, 4, UNIT_METERS, 0, 0);
    EXPECT_TRUE(p.m_arrLines.empty());
}

TEST(ChannelPreview, PolynomialDrawsAreaAgainstHeightOverTheOutputRange)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_POLYNOMIAL);
    g.SetPolynomial(0, 0, 1); // area = h squared
    CChannelPreview p;
    p.Build(g, 1, UNIT_METERS, -5000, 20000);
    EXPECT_TRUE(p.m_bCurve);
    EXPECT_EQ(p.m_strXTitle, "Area (sq m)");
    EXPECT_EQ(p.m_strYTitle, "Height (m)");
    ASSERT_EQ(p.m_arrLines.size(), 1u);
    const auto& xy = p.m_arrLines[0].xy;
    EXPECT_DOUBLE_EQ(xy[1], 0.0); // a negative 4 mA stage starts at 0
    EXPECT_DOUBLE_EQ(xy[xy.size() - 1], 2.0);
    EXPECT_NEAR(xy[xy.size() - 2], 4.0, 1e-9); // 2 m squared

    // A 20 mA stage not above the start: one metre of curve.
    p.Build(g, 1, UNIT_METERS, 5000, 3000);
    EXPECT_DOUBLE_EQ(p.m_arrLines[0].xy.back(), 1.5);
}

TEST(ChannelPreviewFit, AxesEndAtRoundValuesJustBeyondTheSection)
{
    // A 3 m deep, 6 m wide channel: the stage axis ends at 3, not at the width.
    CChannelPreview::Fit f = CChannelPreview::AxisEnds(0, 6, 0, 3);
    EXPECT_DOUBLE_EQ(f.step, 1);
    EXPECT_DOUBLE_EQ(f.xMin, 0);
    EXPECT_DOUBLE_EQ(f.xMax, 6);
    EXPECT_DOUBLE_EQ(f.yMin, 0);
    EXPECT_DOUBLE_EQ(f.yMax, 3);

    f = CChannelPreview::AxisEnds(0, 1.5, 0, 1.5); // a 1.5 m pipe
    EXPECT_DOUBLE_EQ(f.step, 0.5);
    EXPECT_DOUBLE_EQ(f.yMax, 1.5);

    // A surveyed section off the round values: the ends are the multiples at or beyond it.
    f = CChannelPreview::AxisEnds(0.3, 4.7, -0.2, 2.9);
    EXPECT_DOUBLE_EQ(f.step, 1);
    EXPECT_DOUBLE_EQ(f.xMin, 0);
    EXPECT_DOUBLE_EQ(f.xMax, 5);
    EXPECT_DOUBLE_EQ(f.yMin, -1);
    EXPECT_DOUBLE_EQ(f.yMax, 3);

    // Feet: 10 ft by 32.8 ft.
    f = CChannelPreview::AxisEnds(0, 32.8084, 0, 9.84252);
    EXPECT_DOUBLE_EQ(f.step, 5);
    EXPECT_DOUBLE_EQ(f.xMax, 35);
    EXPECT_DOUBLE_EQ(f.yMax, 10);

    EXPECT_DOUBLE_EQ(CChannelPreview::RoundStep(0, 6), 1);
    EXPECT_DOUBLE_EQ(CChannelPreview::RoundStep(12, 6), 2);
    EXPECT_DOUBLE_EQ(CChannelPreview::RoundStep(0.03, 6), 0.005);
}

TEST(ChannelPreviewFit, EqualScalesCentredInTheArea)
{
    CChannelPreview::Fit f = CChannelPreview::AxisEnds(0, 6, 0, 3);
    CChannelPreview::Place(f, 40, 10, 600, 200); // wider than the section: centred across
    EXPECT_EQ(f.height, 200);
    EXPECT_EQ(f.width, 400);
    EXPECT_EQ(f.left, 40 + 100);
    EXPECT_EQ(f.top, 10);

    CChannelPreview::Place(f, 0, 0, 300, 400); // taller: centred up and down
    EXPECT_EQ(f.width, 300);
    EXPECT_EQ(f.height, 150);
    EXPECT_EQ(f.top, 125);

    CChannelPreview::Place(f, 5, 5, 0, 100); // no room: nothing to divide by
    EXPECT_EQ(f.width, 0);
}

TEST(ChannelPreviewFit, BoundsTakeTheInstrumentIn)
{
    CChannelGeometry g;
    g.SetRectangular(60000, 30000);
    g.SetZAdcp(35000); // above the top of the walls
    CChannelPreview p;
    p.Build(g, 1, UNIT_METERS, 0, 0);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_TRUE(p.Bounds(x0, y0, x1, y1));
    EXPECT_DOUBLE_EQ(x1, 6);
    EXPECT_DOUBLE_EQ(y1, 3.5);
    CChannelPreview none;
    EXPECT_FALSE(none.Bounds(x0, y0, x1, y1));
}

} // namespace
