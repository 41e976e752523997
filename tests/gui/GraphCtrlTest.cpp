// The graph widget as painted: what an empty control shows, and the channel preview keeping
// true shapes on a plot that is wider than high.
#include "tests/gui/GuiFixture.h"

#include "views/ChannelPreviewCtrl.h"
#include "views/GraphCtrl.h"

#include <QImage>

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

} // namespace
