#include "views/GraphCtrl.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace
{

Qt::PenStyle ToQtPenStyle(int style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

QFont GraphFont(int pixelHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

CGraphCtrl::CGraphCtrl(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Reset();
}

void CGraphCtrl::Reset()
{
    m_model.Reset();
    m_styles.fill(SeriesStyle{});
    m_strTitle.clear();
    m_strXTitle.clear();
    m_strYTitle.clear();
    m_strMessage.clear();
    m_crBackground = QColor(255, 255, 255);
    m_crAxes = QColor(0, 0, 0);
    m_crGrid = QColor(128, 128, 128);
    m_nGridPenStyle = 2;
    m_nTitleFontHeight = 20;
    m_nAxisTitleFontHeight = 12;
    m_nTickFontHeight = 13;
    m_nMarkerSize = 4;
}

void CGraphCtrl::SetSeriesColor(int r, int g, int b, int series)
{
    if (series >= 0 && series < CGraphModel::MAX_SERIES)
        m_styles[series].color = QColor(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

void CGraphCtrl::SetSeriesMarker(bool marker, int series)
{
    if (series >= 0 && series < CGraphModel::MAX_SERIES)
        m_styles[series].marker = marker;
}

void CGraphCtrl::SetSeriesPenStyle(int style, int series)
{
    if (series >= 0 && series < CGraphModel::MAX_SERIES)
        m_styles[series].penStyle = style;
}

void CGraphCtrl::SetSeriesName(const QString& name, int series)
{
    if (series >= 0 && series < CGraphModel::MAX_SERIES)
        m_styles[series].name = name;
}

bool CGraphCtrl::DataToPixel(double x, double y, QPoint& pixel) const
{
    int px = 0, py = 0;
    if (!m_model.DataToPixel(x, y, width(), height(), px, py))
        return false;
    pixel = QPoint(px, py);
    return true;
}

QRect CGraphCtrl::PlotRect() const
{
    return QRect(QPoint(m_model.m_nLeftMargin, m_model.m_nTopMargin),
                 QPoint(width() - m_model.m_nRightMargin, height() - m_model.m_nBottomMargin));
}

void CGraphCtrl::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    dc.fillRect(rect(), m_crBackground);
    DrawCells(dc);
    const bool hasData = !m_model.m_bEmpty;
    if (hasData) {
        m_model.ComputeSteps();
        if (m_model.m_bGrid)
            DrawGrid(dc);
        for (int s = 0; s < CGraphModel::MAX_SERIES; ++s)
            if (m_model.m_arrSeries[s].size() > 1)
                DrawSeries(dc, s);
    }
    DrawFrame(dc);
    if (hasData && (m_model.m_bXTickLabels || m_model.m_bYTickLabels))
        DrawTickLabels(dc);
    if (hasData && m_model.m_bDrawAxes)
        DrawAxes(dc);
    if (!m_strMessage.isEmpty()) {
        dc.setPen(m_crAxes);
        dc.setFont(GraphFont(m_nTickFontHeight));
        dc.drawText(PlotRect(), Qt::AlignCenter | Qt::TextWordWrap, m_strMessage);
    }
    DrawTitles(dc);
    DrawKey(dc);
}

void CGraphCtrl::DrawCells(QPainter& dc)
{
    const auto& cells = m_model.m_arrCells;
    for (size_t i = 0; i + 4 < cells.size(); i += 5) {
        QPoint a, b;
        if (!DataToPixel(cells[i], cells[i + 1], a) || !DataToPixel(cells[i + 2], cells[i + 3], b))
            continue;
        const int g = std::clamp(static_cast<int>(cells[i + 4]), 0, 255);
        dc.fillRect(QRect(a, b).normalized(), QColor(g, g, g));
    }
}

void CGraphCtrl::DrawGrid(QPainter& dc)
{
    const QRect plot = PlotRect();
    dc.setPen(QPen(m_crGrid, 1, ToQtPenStyle(m_nGridPenStyle)));
    const double yMid = (m_model.m_dYMin + m_model.m_dYMax) / 2;
    const double xMid = (m_model.m_dXMin + m_model.m_dXMax) / 2;
    QPoint p;
    for (double x : m_model.XTicks())
        if (DataToPixel(x, yMid, p))
            dc.drawLine(p.x(), plot.top(), p.x(), plot.bottom());
    for (double y : m_model.YTicks())
        if (DataToPixel(xMid, y, p))
            dc.drawLine(plot.left(), p.y(), plot.right(), p.y());
}

void CGraphCtrl::DrawSeries(QPainter& dc, int series)
{
    const SeriesStyle& style = m_styles[series];
    dc.setPen(QPen(style.color, 1, ToQtPenStyle(style.penStyle)));
    const int half = std::max(2, m_nMarkerSize / 2);
    const auto& values = m_model.m_arrSeries[series];
    // A series with many more points than the plot has pixel columns is first reduced to
    // what the pixels can show; markers need every point, so a marked series never is.
    const size_t points = values.size() / 2;
    if (!style.marker && points > 4 * static_cast<size_t>(std::max(1, width()))) {
        const SPixelPolylines lines = ReduceToPixels(
            values.data(), values.data() + 1, points, 2,
            [this](double x, double y, int& px, int& py) {
                QPoint p;
                if (!DataToPixel(x, y, p))
                    return false;
                px = p.x();
                py = p.y();
                return true;
            },
            NoDataPoints::Join);
        DrawPolylines(dc, lines);
        return;
    }
    bool started = false;
    QPoint last;
    for (size_t i = 0; i + 1 < values.size(); i += 2) {
        QPoint p;
        // Points that do not map are skipped: the line joins their mapped neighbours.
        if (!DataToPixel(values[i], values[i + 1], p))
            continue;
        if (started)
            dc.drawLine(last, p);
        started = true;
        last = p;
        if (style.marker)
            dc.fillRect(QRect(p.x() - half, p.y() - half, 2 * half, 2 * half), style.color);
    }
}

void DrawPolylines(QPainter& dc, const SPixelPolylines& lines)
{
    // Segment by segment, as DrawSeries draws a short series, so that both leave the same
    // pixels (a polyline joins and caps its segments differently).
    for (size_t k = 0; k < lines.GetLineCount(); ++k) {
        const size_t first = lines.Start(k), end = lines.End(k);
        QPoint last(lines.m_arrXY[2 * first], lines.m_arrXY[2 * first + 1]);
        if (end - first == 1)
            dc.drawPoint(last);
        for (size_t i = first + 1; i < end; ++i) {
            const QPoint p(lines.m_arrXY[2 * i], lines.m_arrXY[2 * i + 1]);
            dc.drawLine(last, p);
            last = p;
        }
    }
}

void CGraphCtrl::DrawFrame(QPainter& dc)
{
    // The plot area includes its far edges (DataToPixel puts the maxima there), so the
    // bands stop one pixel short of them and a section's floor or wall stays visible.
    const int w = width(), h = height();
    const int bottom = std::max(0, m_model.m_nBottomMargin - 1);
    const int right = std::max(0, m_model.m_nRightMargin - 1);
    dc.fillRect(0, 0, w, m_model.m_nTopMargin, m_crBackground);
    dc.fillRect(0, h - bottom, w, bottom, m_crBackground);
    dc.fillRect(0, 0, m_model.m_nLeftMargin, h, m_crBackground);
    dc.fillRect(w - right, 0, right, h, m_crBackground);
}

void CGraphCtrl::DrawTickLabels(QPainter& dc)
{
    const QRect plot = PlotRect();
    dc.setPen(m_crAxes);
    dc.setFont(GraphFont(m_nTickFontHeight));
    const QFontMetrics fm = dc.fontMetrics();
    const double yMid = (m_model.m_dYMin + m_model.m_dYMax) / 2;
    const double xMid = (m_model.m_dXMin + m_model.m_dXMax) / 2;
    QPoint p;
    // A label that would run into the one drawn before it is left out: a crowded axis keeps
    // every other label readable rather than all of them overprinted.
    if (m_model.m_bXTickLabels) {
        int lastRight = std::numeric_limits<int>::min() / 2, lastLeft = std::numeric_limits<int>::max() / 2;
        for (double x : m_model.XTicks()) {
            if (!DataToPixel(x, yMid, p))
                continue;
            const QString text = QString::fromStdString(m_model.XLabel(x));
            const int w = fm.horizontalAdvance(text);
            const int left = p.x() - w / 2;
            // Either way along the axis (a mirrored graph runs right to left).
            if (left < lastRight + 4 && left + w > lastLeft - 4)
                continue;
            dc.drawText(left, plot.bottom() + 2 + fm.ascent(), text);
            lastRight = left + w;
            lastLeft = left;
        }
    }
    const std::vector<double> yTicks = m_model.YTicks();
    int lastY = std::numeric_limits<int>::max() / 2;
    for (double y : yTicks) {
        if (!DataToPixel(xMid, y, p))
            continue;
        if (std::abs(p.y() - lastY) < fm.height())
            continue;
        lastY = p.y();
        const QString text = QString::fromStdString(m_model.YLabel(y));
        const int w = fm.horizontalAdvance(text);
        int baseline = p.y() + (fm.ascent() - fm.descent()) / 2;
        // A label at the bottom corner sits above it, clear of the first x label below.
        if (m_model.m_bTicksAtEnds && m_model.m_bXTickLabels && y == yTicks.front())
            baseline = std::min(baseline, p.y() - 1);
        dc.drawText(plot.left() - 2 - w, baseline, text);
    }
}

void CGraphCtrl::DrawAxes(QPainter& dc)
{
    const QRect plot = PlotRect();
    dc.setPen(QPen(m_crAxes, 1, Qt::SolidLine));
    QPoint p;
    const double yMid = (m_model.m_dYMin + m_model.m_dYMax) / 2;
    const double xMid = (m_model.m_dXMin + m_model.m_dXMax) / 2;
    int x = plot.left();
    if (m_model.m_dXMin <= 0) {
        if (!DataToPixel(0, yMid, p))
            return;
        x = p.x();
    }
    dc.drawLine(x, plot.top(), x, plot.bottom());
    int y = plot.bottom();
    if (m_model.m_dYMin <= 0) {
        if (!DataToPixel(xMid, 0, p))
            return;
        y = p.y();
    }
    dc.drawLine(plot.left(), y, plot.right(), y);
}

void CGraphCtrl::DrawTitles(QPainter& dc)
{
    const QRect plot = PlotRect();
    dc.setPen(m_crAxes);
    if (!m_strTitle.isEmpty()) {
        dc.setFont(GraphFont(m_nTitleFontHeight));
        const QFontMetrics fm = dc.fontMetrics();
        dc.drawText(QRect(plot.left(), 2, plot.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                    m_strTitle);
    }
    dc.setFont(GraphFont(m_nAxisTitleFontHeight));
    const QFontMetrics fm = dc.fontMetrics();
    if (!m_strXTitle.isEmpty())
        dc.drawText(QRect(plot.left(), height() - 2 - fm.height(), plot.width(), fm.height()),
                    Qt::AlignHCenter | Qt::AlignBottom, m_strXTitle);
    if (!m_strYTitle.isEmpty()) {
        dc.save();
        dc.translate(2, plot.center().y());
        dc.rotate(-90);
        dc.drawText(QRect(-plot.height() / 2, 0, plot.height(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                    m_strYTitle);
        dc.restore();
    }
}

void CGraphCtrl::DrawKey(QPainter& dc)
{
    // One entry per named series that has points, right to left from the plot's top right.
    const QRect plot = PlotRect();
    dc.setFont(GraphFont(m_nAxisTitleFontHeight));
    const QFontMetrics fm = dc.fontMetrics();
    int right = plot.right() - 4;
    const int y = plot.top() + 3;
    for (int s = CGraphModel::MAX_SERIES - 1; s >= 0; --s) {
        const SeriesStyle& style = m_styles[s];
        if (style.name.isEmpty() || m_model.m_arrSeries[s].empty())
            continue;
        const int w = fm.horizontalAdvance(style.name);
        const QRect box(right - w - 16, y, w + 16, fm.height());
        dc.fillRect(box, m_crBackground);
        dc.setPen(QPen(style.color, 2));
        dc.drawLine(box.left() + 1, box.center().y(), box.left() + 11, box.center().y());
        dc.setPen(m_crAxes);
        dc.drawText(box.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, style.name);
        right = box.left() - 6;
    }
}
