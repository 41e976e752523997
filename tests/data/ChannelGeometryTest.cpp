#include "data/ChannelGeometry.h"
#include "data/NoData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace
{

CChannelGeometry MultiPoint(const std::vector<std::pair<double, double>>& points)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_MULTIPOINT);
    for (const auto& [y, z] : points) {
        g.AddPoint(y, z);
    }
    return g;
}

// A rectangle one metre wide and one metre deep, drawn as points.
CChannelGeometry PointRectangle()
{
    return MultiPoint({{0, 10000}, {0, 0}, {10000, 0}, {10000, 10000}});
}

TEST(ChannelGeometryTest, RectangularAreaIsCappedAtTheHeightButNotBelow)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_RECTANGULAR);
    g.SetRectangular(10000, 20000);
    g.SetZBottom(0);
    EXPECT_DOUBLE_EQ(g.GetArea(5000), 5000.0);
    EXPECT_DOUBLE_EQ(g.GetArea(30000), 20000.0);
    EXPECT_DOUBLE_EQ(g.GetArea(-100), -100.0);

    g.SetZBottom(1000);
    EXPECT_DOUBLE_EQ(g.GetArea(5000), 4000.0);
}

TEST(ChannelGeometryTest, TrapezoidalAreaWidensWithTheSlope)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_TRAPEZOIDAL);
    g.SetTrapezoidal(10000, 20000, 1.0);
    EXPECT_DOUBLE_EQ(g.GetArea(10000), 20000.0);
    EXPECT_DOUBLE_EQ(g.GetArea(50000), 20000 * (10000 + 20000) * 0.0001); // capped at the height

    g.SetTrapezoidal(10000, 20000, 2.0);
    g.SetZBottom(2000);
    EXPECT_DOUBLE_EQ(g.GetArea(12000), 10000 * (10000 + 5000) * 0.0001);

    g.SetTrapezoidal(10000, 20000, 0.0);
    EXPECT_EQ(g.GetArea(10000), NODATA);
    EXPECT_EQ(g.GetWidthAt(10000), NODATA);
}

TEST(ChannelGeometryTest, CircularAreaFollowsTheSegmentOfThePipe)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_CIRCULAR);
    g.SetDiameter(20000);
    const double half = 0.5 * std::numbers::pi * 10000.0 * 10000.0 * 0.0001;
    EXPECT_NEAR(g.GetArea(10000), half, 0.01);
    // Both branches meet in the middle.
    EXPECT_NEAR(g.GetArea(std::nextafter(10000.0, 0.0)), half, 0.01);
    EXPECT_DOUBLE_EQ(g.GetArea(20000), 31415.9265);
    EXPECT_DOUBLE_EQ(g.GetArea(25000), 31415.9265);
    EXPECT_NEAR(g.GetArea(0), 0.0, 1e-9);
    // A quarter of the diameter: segment with central angle 2*acos(0.5).
    const double t = 2.0 * std::acos(0.5);
    EXPECT_NEAR(g.GetArea(5000), 0.00005 * 1e8 * (t - std::sin(t)), 1e-6);
    // The upper branch is the full pipe less the dry segment on top.
    EXPECT_NEAR(g.GetArea(15000), 31415.9265 - g.GetArea(5000), 0.01);
}

TEST(ChannelGeometryTest, CircularOutsideThePipeHasNoData)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_CIRCULAR);
    g.SetDiameter(20000);
    EXPECT_EQ(g.GetArea(-1), NODATA);
    EXPECT_EQ(g.GetWidthAt(-1), NODATA);
    EXPECT_EQ(g.GetWidthAt(20001), NODATA);
    EXPECT_DOUBLE_EQ(g.GetWidthAt(10000), 20000.0);
    EXPECT_DOUBLE_EQ(g.GetWidthAt(0), 0.0);
    EXPECT_NEAR(g.GetWidthAt(5000), 2.0 * std::sqrt(1e8 - 25e6), 1e-6);
    EXPECT_NEAR(g.GetWidthAt(15000), g.GetWidthAt(5000), 1e-6);
}

TEST(ChannelGeometryTest, PolynomialAreaAndItsSlope)
{
    CChannelGeometry g;
    g.SetType(CHANNEL_POLYNOMIAL);
    g.SetPolynomial(0, 0, 1);
    EXPECT_DOUBLE_EQ(g.GetArea(1000), 100.0);
    g.SetPolynomial(2e6, 300, 0.5);
    EXPECT_DOUBLE_EQ(g.GetArea(2000), (0.5 * 4e6 + 300 * 2000 + 2e6) * 0.0001);
    // d/dz of A1 + A2 z + A3 z^2 is A2 + 2 A3 z, which the central difference gives exactly.
    EXPECT_NEAR(g.GetWidthAt(2000), 300 + 2 * 0.5 * 2000, 1e-6);
    EXPECT_EQ(g.GetPolynomial(1), 300.0);
    EXPECT_EQ(g.GetPolynomial(3), 0.0);
    EXPECT_EQ(g.GetPolynomial(-1), 0.0);
}

TEST(ChannelGeometryTest, MultiPointRectangle)
{
    const CChannelGeometry g = PointRectangle();
    EXPECT_DOUBLE_EQ(g.GetArea(5000), 5000.0);
    EXPECT_DOUBLE_EQ(g.GetArea(12000), 10000.0);
    EXPECT_DOUBLE_EQ(g.GetArea(0), 0.0);
    EXPECT_DOUBLE_EQ(g.GetWidthAt(5000), 10000.0);
}

TEST(ChannelGeometryTest, MultiPointSlopingBanksInterpolateTheWaterEdges)
{
    // A V one metre across at the top, the water half way up: a triangle 0.5 m wide, 0.5 m deep.
    const CChannelGeometry v = MultiPoint({{0, 10000}, {5000, 0}, {10000, 10000}});
    EXPECT_DOUBLE_EQ(v.GetArea(5000), 0.5 * 5000 * 5000 * 0.0001);
    EXPECT_DOUBLE_EQ(v.GetWidthAt(5000), 5000.0);

    // A trapezoid drawn as points must agree with the trapezoidal type.
    const CChannelGeometry points = MultiPoint({{0, 20000}, {10000, 0}, {20000, 0}, {30000, 20000}});
    CChannelGeometry trap;
    trap.SetType(CHANNEL_TRAPEZOIDAL);
    trap.SetTrapezoidal(10000, 20000, 2.0);
    EXPECT_NEAR(points.GetArea(8000), trap.GetArea(8000), 1e-9);
    EXPECT_NEAR(points.GetWidthAt(8000), trap.GetWidthAt(8000), 1e-9);
}

TEST(ChannelGeometryTest, MultiPointWaterFillsOnlyTheFirstBasin)
{
    // Two basins split by a ridge at 0.5 m; with the water below the ridge only the left one
    // counts.
    const CChannelGeometry w = MultiPoint(
        {{0, 10000}, {0, 0}, {5000, 0}, {5000, 5000}, {6000, 5000}, {6000, 0}, {10000, 0}, {10000, 10000}});
    EXPECT_DOUBLE_EQ(w.GetArea(4000), 5000 * 4000 * 0.0001);
}

TEST(ChannelGeometryTest, MultiPointLevelTouchingAPointGivesNoNegativeArea)
{
    const CChannelGeometry v = MultiPoint({{0, 10000}, {5000, 0}, {10000, 10000}});
    EXPECT_DOUBLE_EQ(v.GetArea(0), 0.0);
    // A level exactly on a point of the bed, below the banks.
    const CChannelGeometry w = MultiPoint({{0, 10000}, {2000, 2000}, {4000, 0}, {10000, 10000}});
    EXPECT_GT(w.GetArea(2000), 0.0);
    EXPECT_DOUBLE_EQ(w.GetArea(2000), MultiPoint({{0, 10000}, {2000, 2000}, {4000, 0}, {10000, 10000}})
                                          .GetArea(std::nextafter(2000.0, 3000.0)));
}

TEST(ChannelGeometryTest, MultiPointDegenerateSectionsStayFinite)
{
    // Fewer than three points: no area.
    EXPECT_EQ(MultiPoint({{0, 10000}, {0, 0}}).GetArea(5000), NODATA);
    // No point at or below the level from the second point on: no water.
    EXPECT_DOUBLE_EQ(MultiPoint({{0, 0}, {5000, 8000}, {10000, 9000}}).GetArea(-500), 0.0);
    // A section open to the right whose last segment is flat under water, and a flat top.
    const double open = MultiPoint({{0, 10000}, {0, 0}, {10000, 0}}).GetArea(5000);
    EXPECT_TRUE(std::isfinite(open));
    EXPECT_DOUBLE_EQ(open, 5000.0);
    const double flatTop = MultiPoint({{0, 10000}, {100, 10000}, {200, 0}, {300, 10000}}).GetArea(20000);
    EXPECT_TRUE(std::isfinite(flatTop));
    EXPECT_DOUBLE_EQ(flatTop, 0.5 * 200 * 10000 * 0.0001);
    // Width with too few points does not read outside the points.
    EXPECT_EQ(MultiPoint({}).GetWidthAt(100), 0.0);
    EXPECT_EQ(MultiPoint({{0, 5}}).GetWidthAt(100), 0.0);
}

TEST(ChannelGeometryTest, ADamagedPointCountNeverReadsPastTheArrays)
{
    CChannelGeometry g = PointRectangle();
    g.m_nPoints = 1000;
    EXPECT_TRUE(std::isfinite(g.GetArea(5000)));
    EXPECT_TRUE(std::isfinite(g.GetWidthAt(5000)));
    EXPECT_TRUE(std::isfinite(g.GetDepthFigure()));
    g.m_nPoints = -5;
    EXPECT_EQ(g.GetArea(5000), NODATA);
    EXPECT_EQ(g.GetDepthFigure(), 0.0);
    g.AddPoint(1, 2);
    EXPECT_EQ(g.GetNumPoints(), 1);
    EXPECT_EQ(g.GetPointZ(0), 2.0);
}

TEST(ChannelGeometryTest, NoDataStageAndUnknownTypes)
{
    CChannelGeometry g;
    EXPECT_EQ(g.GetArea(NODATA), NODATA);
    g.SetType(99);
    EXPECT_EQ(g.GetArea(1000), NODATA);
    EXPECT_EQ(g.GetWidthAt(1000), 0.0);
    EXPECT_EQ(g.GetDepthFigure(), 0.0);
    EXPECT_STREQ(CChannelGeometry::TypeName(99), "Unknown");
    EXPECT_STREQ(CChannelGeometry::TypeName(CHANNEL_MULTIPOINT), "Multi-point");
    EXPECT_STREQ(CChannelGeometry::TypeName(CHANNEL_CIRCULAR), "Circular");
}

TEST(ChannelGeometryTest, DepthFigurePerType)
{
    CChannelGeometry g;
    g.SetRectangular(10000, 23000);
    g.SetTrapezoidal(10000, 17000, 1);
    g.SetDiameter(9000);
    g.SetType(CHANNEL_RECTANGULAR);
    EXPECT_EQ(g.GetDepthFigure(), 23000.0);
    g.SetType(CHANNEL_TRAPEZOIDAL);
    EXPECT_EQ(g.GetDepthFigure(), 17000.0);
    g.SetType(CHANNEL_CIRCULAR);
    EXPECT_EQ(g.GetDepthFigure(), 9000.0);
    g.SetType(CHANNEL_POLYNOMIAL);
    EXPECT_EQ(g.GetDepthFigure(), 0.0);
    g.SetType(CHANNEL_MULTIPOINT);
    EXPECT_EQ(g.GetDepthFigure(), 0.0);
    // Highest point less the lowest, wherever they lie.
    EXPECT_EQ(MultiPoint({{0, 9000}, {100, -2000}, {200, 12000}, {300, 500}}).GetDepthFigure(), 14000.0);
}

TEST(ChannelGeometryTest, PreviewShapeQueries)
{
    EXPECT_EQ(CChannelGeometry().GetLowestZ(), 0.0);
    EXPECT_EQ(CChannelGeometry().GetBottomMidY(), -1.0);
    const CChannelGeometry g = PointRectangle();
    EXPECT_EQ(g.GetLowestZ(), 0.0);
    EXPECT_EQ(g.GetBottomMidY(), 5000.0);
    const CChannelGeometry v = MultiPoint({{0, 9000}, {3000, 1000}, {6000, -500}, {9000, 9000}});
    EXPECT_EQ(v.GetLowestZ(), -500.0);
    EXPECT_EQ(v.GetBottomMidY(), 6000.0); // the first point lower than the one before and not above the next
    const CChannelGeometry flat =
        MultiPoint({{0, 9000}, {1000, 4000}, {2000, 4000}, {3000, 4000}, {4000, 2000}, {5000, 9000}});
    EXPECT_EQ(flat.GetBottomMidY(), 2000.0); // mid of the first flat run, not the deepest point
    // A bed that only falls has no flat bottom.
    EXPECT_EQ(MultiPoint({{0, 9000}, {3000, 5000}, {6000, 1000}}).GetBottomMidY(), -1.0);
}

TEST(ChannelGeometryTest, PointsStopAtTwentyAndClearZeroesThem)
{
    CChannelGeometry g;
    for (int i = 0; i < 25; ++i) {
        g.AddPoint(i, 100 + i);
    }
    EXPECT_EQ(g.GetNumPoints(), CChannelGeometry::MAX_POINTS);
    EXPECT_EQ(g.GetPointY(19), 19.0);
    EXPECT_EQ(g.GetPointY(20), 0.0);

    g.SetModified(false);
    g.ClearPoints();
    EXPECT_EQ(g.GetNumPoints(), 0);
    EXPECT_EQ(g.GetPointZ(7), 0.0);
    EXPECT_FALSE(g.IsModified());
}

TEST(ChannelGeometryTest, SettersMarkTheRecordAndCopiesKeepTheMark)
{
    const auto marks = [](void (*change)(CChannelGeometry&)) {
        CChannelGeometry g;
        change(g);
        return g.IsModified();
    };
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetType(CHANNEL_CIRCULAR); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetDiameter(1); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetRectangular(1, 2); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetTrapezoidal(1, 2, 3); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetPolynomial(1, 2, 3); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetZAdcp(1); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetYAdcp(1); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.SetZBottom(1); }));
    EXPECT_TRUE(marks([](CChannelGeometry& g) { g.AddPoint(1, 1); }));
    EXPECT_FALSE(CChannelGeometry().IsModified());

    CChannelGeometry g;
    g.SetZAdcp(1234);
    const CChannelGeometry copy(g);
    EXPECT_TRUE(copy.IsModified());
    EXPECT_EQ(copy.GetZAdcp(), 1234.0);
}

} // namespace
