// The channel cross-section picture: outlines in display units, the instrument mark, the
// polynomial's area curve and the shapes that cannot be drawn.
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
    ASSERT_EQ(p.m_arrLines.size(), 3u);
    EXPECT_EQ(p.m_arrLines[CChannelPreview::OUTLINE].xy, (std::vector<double>{0, 3, 0, 0, 6, 0, 6, 3}));
    const auto mark = Box(p.m_arrLines[CChannelPreview::INSTRUMENT]);
    EXPECT_DOUBLE_EQ(mark[0], 0);
    EXPECT_DOUBLE_EQ(mark[2], 0.15);
    EXPECT_DOUBLE_EQ((mark[1] + mark[3]) / 2, 0.8);
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
    EXPECT_DOUBLE_EQ(Box(right.m_arrLines[2])[2], 6.0);
    EXPECT_DOUBLE_EQ(Box(bottom.m_arrLines[2])[1], 0.0);
    EXPECT_DOUBLE_EQ((Box(bottom.m_arrLines[2])[0] + Box(bottom.m_arrLines[2])[2]) / 2, 3.0);
    EXPECT_DOUBLE_EQ(Box(top.m_arrLines[2])[3], 3.0);
    CChannelPreview unknown;
    unknown.Build(g, 9, UNIT_METERS, 0, 0);
    EXPECT_EQ(unknown.m_arrLines.size(), 2u); // no mark for an unknown mounting
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
    ASSERT_EQ(p.m_arrLines.size(), 3u);
    EXPECT_EQ(p.m_arrLines[0].xy, (std::vector<double>{0, 1, 0.2, 0, 0.8, 0, 1, 1}));
    const auto mark = Box(p.m_arrLines[2]);
    EXPECT_NEAR((mark[0] + mark[2]) / 2, 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(mark[1], 0);

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

} // namespace
