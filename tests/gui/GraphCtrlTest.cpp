// The graph widget as painted: what an empty control shows, and the channel preview keeping
// true shapes on a plot that is wider than high.
#include "tests/gui/GuiFixture.h"

#include "views/ChannelPreviewCtrl.h"
#include "views/GraphCtrl.h"

#include "data/Units.h"

#include <QImage>
#include <QPolygon>

#include <algorithm>

namespace
{

// Pixels that are not the white background, inside a rectangle of the image.
int InkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != QColor(255, 255, 255))
                ++ink;
    return ink;
}

class GraphCtrlTest : public GuiTest
{
};

TEST_F(GraphCtrlTest, EmptyControlDrawsOnlyBackgroundAndTitles)
{
    CGraphCtrl graph;
    graph.resize(240, 180);
    graph.SetTitle("Stage");
    graph.Model().m_bXTickLabels = true;
    graph.Model().m_bGrid = true;
    const QImage empty = graph.grab().toImage();
    EXPECT_GT(InkIn(empty, QRect(30, 0, 180, 28)), 0);   // the title
    EXPECT_EQ(InkIn(empty, QRect(30, 31, 180, 118)), 0); // no axes, grid or series
    EXPECT_EQ(InkIn(empty, QRect(0, 150, 240, 30)), 0);  // no tick labels

    graph.AddPoint(1, 1, 0);
    graph.AddPoint(9, 5, 0);
    const QImage full = graph.grab().toImage();
    EXPECT_GT(InkIn(full, QRect(30, 31, 180, 118)), 0);
    EXPECT_GT(InkIn(full, QRect(0, 150, 240, 30)), 0);
}

TEST_F(GraphCtrlTest, PreviewKeepsAPipeRoundOnAWidePlot)
{
    CStation station;
    station.GetGeometry().SetType(CHANNEL_CIRCULAR);
    station.GetGeometry().SetDiameter(20000);
    CChannelPreviewCtrl preview;
    preview.resize(420, 200);
    preview.show();
    preview.ShowStation(&station);
    const double d = 20000 * 0.000328084; // the diameter in feet
    QPoint left, right, bottom, top;
    ASSERT_TRUE(preview.DataToPixel(0, d / 2, left));
    ASSERT_TRUE(preview.DataToPixel(d, d / 2, right));
    ASSERT_TRUE(preview.DataToPixel(d / 2, 0, bottom));
    ASSERT_TRUE(preview.DataToPixel(d / 2, d, top));
    EXPECT_NEAR(right.x() - left.x(), bottom.y() - top.y(), 2);

    preview.resize(200, 420); // and on a tall one
    ASSERT_TRUE(preview.DataToPixel(0, d / 2, left));
    ASSERT_TRUE(preview.DataToPixel(d, d / 2, right));
    ASSERT_TRUE(preview.DataToPixel(d / 2, 0, bottom));
    ASSERT_TRUE(preview.DataToPixel(d / 2, d, top));
    EXPECT_NEAR(right.x() - left.x(), bottom.y() - top.y(), 2);
}

TEST_F(GraphCtrlTest, PreviewOfAFlatTrapezoidOnlyExplains)
{
    CStation station;
    station.GetGeometry().SetType(CHANNEL_TRAPEZOIDAL);
    station.GetGeometry().SetTrapezoidal(10000, 10000, 0);
    CChannelPreviewCtrl preview;
    preview.resize(300, 200);
    preview.ShowStation(&station);
    EXPECT_EQ(preview.Message(), "Trapezoid - Invalid Slope");
    EXPECT_TRUE(preview.Model().m_bEmpty);
    preview.ShowStation(nullptr);
    EXPECT_TRUE(preview.Message().isEmpty());
}

TEST_F(GraphCtrlTest, PreviewFitsTheSectionWithLabelledRoundEndsAndAClearMark)
{
    // A 3 m deep, 6 m wide metric channel, the instrument on the left wall at 0.8 m.
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.GetGeometry().SetRectangular(60000, 30000);
    station.GetGeometry().SetZAdcp(8000);
    station.SetMounting(MOUNTING_LEFT);
    CChannelPreviewCtrl preview;
    preview.resize(420, 220);
    preview.show();
    preview.ShowStation(&station);
    const CGraphModel& model = preview.Model();
    EXPECT_DOUBLE_EQ(model.m_dYMax, 3); // not the width
    EXPECT_DOUBLE_EQ(model.m_dXMax, 6);
    EXPECT_EQ(model.YTicks().front(), 0);
    EXPECT_EQ(model.YTicks().back(), 3);
    EXPECT_EQ(model.XLabel(model.XTicks().front()), "0");
    EXPECT_EQ(model.XLabel(model.XTicks().back()), "6");

    // The section fills the plot one way and is centred the other, at equal scales.
    const QRect plot = preview.PlotArea();
    QPoint origin, farCorner;
    ASSERT_TRUE(preview.DataToPixel(0, 0, origin));
    ASSERT_TRUE(preview.DataToPixel(6, 3, farCorner));
    EXPECT_NEAR((farCorner.x() - origin.x()) / 6.0, (origin.y() - farCorner.y()) / 3.0, 1.0);
    const int freeAcross = preview.width() - plot.width(), freeUp = preview.height() - plot.height();
    EXPECT_LT(std::min(freeAcross, freeUp), 60); // it takes most of the control one way
    EXPECT_NEAR(plot.left() - (preview.width() - plot.right()), 0, 40); // and sits in the middle

    // The mark: a triangle about 8 pixels deep with its base on the left wall, painted red.
    const QPolygon mark = preview.InstrumentMark();
    ASSERT_EQ(mark.size(), 3);
    QPoint wall;
    ASSERT_TRUE(preview.DataToPixel(0, 0.8, wall));
    EXPECT_EQ(mark[0].x(), wall.x());
    EXPECT_EQ(mark[1].x(), wall.x());
    EXPECT_GE(mark.boundingRect().width(), 8);
    EXPECT_GE(mark.boundingRect().height(), 8);
    const QImage image = preview.grab().toImage();
    int red = 0;
    for (int y = wall.y() - 6; y <= wall.y() + 6; ++y)
        for (int x = wall.x(); x <= wall.x() + 10; ++x)
            if (image.pixelColor(x, y).red() > 180 && image.pixelColor(x, y).green() < 80)
                ++red;
    EXPECT_GE(red, 25);

    // Mounted on the right: the mark sits on the right wall and points left.
    station.SetMounting(MOUNTING_RIGHT);
    preview.ShowStation(&station);
    ASSERT_TRUE(preview.DataToPixel(6, 0.8, wall));
    const QPolygon right = preview.InstrumentMark();
    ASSERT_EQ(right.size(), 3);
    EXPECT_EQ(right[0].x(), wall.x());
    EXPECT_LT(right[2].x(), wall.x());
}

} // namespace
