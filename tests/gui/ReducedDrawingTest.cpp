// A long series drawn from its reduction looks the same as drawn point by point: the
// reduction keeps every pixel a line through all the points would touch.
#include "tests/gui/GuiFixture.h"

#include "present/PixelReduction.h"
#include "views/GraphCtrl.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

namespace
{

QImage Blank()
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST_F(GuiTest, ReducedSeriesDrawsTheSamePixelsAsEveryPoint)
{
    // A noisy wave of 50,000 points over 400 columns, with a stretch that leaves the range.
    std::vector<double> xs, ys;
    for (int i = 0; i < 50000; ++i) {
        xs.push_back(i * 400.0 / 50000.0);
        const double y = 100 + 80 * std::sin(i / 900.0) + ((i * 7919) % 41) - 20;
        ys.push_back(i > 20000 && i < 20500 ? 1e6 : y);
    }
    auto map = [](double x, double y, int& px, int& py) {
        if (x < 0 || x >= 400 || y < 0 || y >= 200)
            return false;
        px = static_cast<int>(x);
        py = static_cast<int>(y);
        return true;
    };

    QImage every = Blank();
    {
        QPainter dc(&every);
        dc.setPen(QPen(Qt::black, 1));
        bool started = false;
        QPoint last;
        for (size_t i = 0; i < xs.size(); ++i) {
            int px = 0, py = 0;
            if (!map(xs[i], ys[i], px, py))
                continue;
            if (started)
                dc.drawLine(last, QPoint(px, py));
            started = true;
            last = QPoint(px, py);
        }
    }
    QImage reduced = Blank();
    const SPixelPolylines lines = ReduceToPixels(xs.data(), ys.data(), xs.size(), 1, map, NoDataPoints::Join);
    EXPECT_LT(lines.GetPointCount(), 4u * 400u);
    {
        QPainter dc(&reduced);
        dc.setPen(QPen(Qt::black, 1));
        DrawPolylines(dc, lines);
    }
    int differ = 0;
    for (int y = 0; y < every.height(); ++y)
        for (int x = 0; x < every.width(); ++x)
            if (every.pixel(x, y) != reduced.pixel(x, y))
                ++differ;
    EXPECT_EQ(differ, 0);
}

} // namespace
