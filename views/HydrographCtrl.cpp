#include "views/HydrographCtrl.h"

#include "data/NoData.h"
#include "present/Hydrograph.h"
#include "present/PixelReduction.h"
#include "views/GraphCtrl.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace
{

QFont GraphFont(int pixelHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    return font;
}

QColor SeriesColor(int s)
{
    const CHydrograph::SColor c = CHydrograph::Color(static_cast<CHydrograph::Series>(s));
    return QColor(c.r, c.g, c.b);
}

// Dark enough to read as text on white: the pure green of the stage curve is not.
QColor LabelColor(int s)
{
    return SeriesColor(s).darker(s == CHydrograph::STAGE ? 160 : 110);
}

} // namespace

CHydrographCtrl::CHydrographCtrl(QWidget* parent) : QWidget(parent), m_dCursor(NODATA)
{
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (CGraphModel& axis : m_arrAxes)
        axis.SetMargins(40, 30, 60, 60);
}

void CHydrographCtrl::SetHydrograph(const CHydrograph* hydrograph)
{
    m_pHydrograph = hydrograph;
    for (int s = 0; s < 3; ++s) {
        CGraphModel& axis = m_arrAxes[static_cast<size_t>(s)];
        if (hydrograph) {
            // The ranges, flags and margins; the values stay in the hydrograph's columns.
            axis = hydrograph->Axis(static_cast<CHydrograph::Series>(s));
        } else {
            axis.Reset();
            axis.SetMargins(40, 30, 60, 60);
        }
    }
    m_cache = QPixmap();
    update();
}

void CHydrographCtrl::SetCursorTime(double t)
{
    if (t == m_dCursor)
        return;
    m_dCursor = t;
    update();
}

QRect CHydrographCtrl::PlotRect() const
{
    const CGraphModel& a = m_arrAxes[0];
    return QRect(QPoint(a.m_nLeftMargin, a.m_nTopMargin),
                 QPoint(width() - a.m_nRightMargin, height() - a.m_nBottomMargin));
}

double CHydrographCtrl::TimeAtPixel(int x) const
{
    const CGraphModel& a = m_arrAxes[0];
    if (!a.HasXRange())
        return NODATA;
    const int plotWidth = width() - a.m_nLeftMargin - a.m_nRightMargin;
    if (plotWidth <= 0)
        return a.m_dXMin;
    const double f = std::clamp(static_cast<double>(x - a.m_nLeftMargin) / plotWidth, 0.0, 1.0);
    return a.m_dXMin + f * (a.m_dXMax - a.m_dXMin);
}

void CHydrographCtrl::resizeEvent(QResizeEvent*)
{
    m_cache = QPixmap();
}

void CHydrographCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const double t = TimeAtPixel(event->position().toPoint().x());
    if (!IsNoData(t))
        emit timeClicked(t);
}

void CHydrographCtrl::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.size() != size() * ratio) {
        m_cache = QPixmap(size() * ratio);
        m_cache.setDevicePixelRatio(ratio);
        QPainter dc(&m_cache);
        Render(dc);
    }
    QPainter dc(this);
    dc.drawPixmap(0, 0, m_cache);
    const CGraphModel& a = m_arrAxes[0];
    int px = 0, py = 0;
    if (!IsNoData(m_dCursor) && a.HasXRange() && a.HasYRange() &&
        a.DataToPixel(m_dCursor, (a.m_dYMin + a.m_dYMax) / 2, width(), height(), px, py)) {
        const QRect plot = PlotRect();
        dc.setPen(QPen(Qt::black, 1, Qt::DashLine));
        dc.drawLine(px, plot.top(), px, plot.bottom());
    } else if (!IsNoData(m_dCursor) && a.HasXRange() && !a.HasYRange()) {
        // No value at all: the time axis still places the cursor.
        const double f = (m_dCursor - a.m_dXMin) / std::max(1e-12, a.m_dXMax - a.m_dXMin);
        if (f >= 0 && f <= 1) {
            const QRect plot = PlotRect();
            const int x =
                a.m_nLeftMargin + static_cast<int>(f * (width() - a.m_nLeftMargin - a.m_nRightMargin));
            dc.setPen(QPen(Qt::black, 1, Qt::DashLine));
            dc.drawLine(x, plot.top(), x, plot.bottom());
        }
    }
}

void CHydrographCtrl::Render(QPainter& dc)
{
    const QRect plot = PlotRect();
    const int w = width(), h = height();
    dc.fillRect(rect(), Qt::white);
    const bool hasData = m_pHydrograph && m_pHydrograph->GetCount() > 0 && m_arrAxes[0].HasXRange();
    for (CGraphModel& axis : m_arrAxes)
        axis.ComputeSteps();

    if (hasData) {
        // Grid at the time ticks and at the stage ticks.
        const CGraphModel& stage = m_arrAxes[CHydrograph::STAGE];
        dc.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
        int px = 0, py = 0;
        const double yMid = (stage.m_dYMin + stage.m_dYMax) / 2;
        if (stage.HasYRange()) {
            for (double x : stage.XTicks())
                if (stage.DataToPixel(x, yMid, w, h, px, py))
                    dc.drawLine(px, plot.top(), px, plot.bottom());
            const double xMid = (stage.m_dXMin + stage.m_dXMax) / 2;
            for (double y : stage.YTicks())
                if (stage.DataToPixel(xMid, y, w, h, px, py))
                    dc.drawLine(plot.left(), py, plot.right(), py);
        }
        dc.setClipRect(plot.adjusted(0, 0, 1, 1));
        for (int s = 0; s < 3; ++s) {
            const CGraphModel& axis = m_arrAxes[static_cast<size_t>(s)];
            if (!axis.HasYRange())
                continue;
            const auto& values = m_pHydrograph->Values(static_cast<CHydrograph::Series>(s));
            const SPixelPolylines lines = ReduceToPixels(
                m_pHydrograph->Times().data(), values.data(), values.size(), 1,
                [&](double x, double y, int& qx, int& qy) { return axis.DataToPixel(x, y, w, h, qx, qy); },
                NoDataPoints::Break);
            dc.setPen(QPen(SeriesColor(s), 1));
            DrawPolylines(dc, lines);
        }
        dc.setClipping(false);
    }

    // Frame of the plot area.
    dc.setPen(QPen(Qt::black, 1));
    dc.drawRect(plot);

    dc.setFont(GraphFont(13));
    const QFontMetrics fm = dc.fontMetrics();
    if (hasData) {
        const CGraphModel& timeAxis = m_arrAxes[0];
        dc.setPen(Qt::black);
        int lastRight = -1000;
        for (double x : timeAxis.XTicks()) {
            const double f = (x - timeAxis.m_dXMin) / std::max(1e-12, timeAxis.m_dXMax - timeAxis.m_dXMin);
            if (f < 0 || f > 1)
                continue;
            const int px =
                plot.left() + static_cast<int>(f * (w - timeAxis.m_nLeftMargin - timeAxis.m_nRightMargin));
            const QString text = QString::fromStdString(timeAxis.XLabel(x));
            const int tw = fm.horizontalAdvance(text);
            // A label that would run into the previous one is left out.
            if (px - tw / 2 < lastRight + 6)
                continue;
            dc.drawText(px - tw / 2, plot.bottom() + 2 + fm.ascent(), text);
            lastRight = px + tw / 2;
        }
        // Value labels: stage outside the left edge, velocity outside the right edge, flow
        // inside the right edge on a white ground.
        for (int s = 0; s < 3; ++s) {
            const CGraphModel& axis = m_arrAxes[static_cast<size_t>(s)];
            if (!axis.HasYRange())
                continue;
            dc.setPen(LabelColor(s));
            const double xMid = (axis.m_dXMin + axis.m_dXMax) / 2;
            int px = 0, py = 0;
            for (double y : axis.YTicks()) {
                if (!axis.DataToPixel(xMid, y, w, h, px, py))
                    continue;
                const QString text = QString::fromStdString(axis.YLabel(y));
                const int tw = fm.horizontalAdvance(text);
                const int baseline = py + (fm.ascent() - fm.descent()) / 2;
                if (s == CHydrograph::STAGE) {
                    dc.drawText(plot.left() - 4 - tw, baseline, text);
                } else if (s == CHydrograph::VELOCITY) {
                    dc.drawText(plot.right() + 4, baseline, text);
                } else {
                    const QRect box(plot.right() - 4 - tw, baseline - fm.ascent(), tw + 2, fm.height());
                    dc.fillRect(box, Qt::white);
                    dc.drawText(box.left() + 1, baseline, text);
                }
            }
        }
    }

    // The three axis titles across the top, each in its series' colour.
    if (m_pHydrograph) {
        dc.setFont(GraphFont(12));
        const QFontMetrics tfm = dc.fontMetrics();
        const int gap = 24;
        int total = 0;
        for (int s = 0; s < 3; ++s)
            total += 14 +
                     tfm.horizontalAdvance(
                         QString::fromStdString(m_pHydrograph->Title(static_cast<CHydrograph::Series>(s)))) +
                     (s ? gap : 0);
        int x = plot.left() + std::max(0, (plot.width() - total) / 2);
        const int y = (m_arrAxes[0].m_nTopMargin - tfm.height()) / 2;
        for (int s = 0; s < 3; ++s) {
            const QString title =
                QString::fromStdString(m_pHydrograph->Title(static_cast<CHydrograph::Series>(s)));
            dc.setPen(QPen(SeriesColor(s), 2));
            dc.drawLine(x, y + tfm.height() / 2, x + 10, y + tfm.height() / 2);
            dc.setPen(LabelColor(s));
            dc.drawText(x + 14, y + tfm.ascent(), title);
            x += 14 + tfm.horizontalAdvance(title) + gap;
        }
    }
}
