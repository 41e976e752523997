#include "views/ContourCtrl.h"

#include "data/NoData.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace
{

QFont GraphFont(int pixelHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    return font;
}

QString BarLabel(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return QString::fromLatin1(text);
}

} // namespace

CContourCtrl::CContourCtrl(QWidget* parent) : CGraphCtrl(parent), m_dCursor(NODATA)
{
    SetMargins(10, 30, 52, 84);
}

void CContourCtrl::SetSource(GridSource source, double tMin, double tMax, const QString& distanceTitle,
                             const QString& barTitle)
{
    m_source = std::move(source);
    m_dTMin = tMin;
    m_dTMax = tMax;
    m_strBarTitle = barTitle;
    m_nGridColumns = -1;
    m_grid = SContourGrid{};
    Reset();
    SetMargins(10, 30, 52, 84);
    SetYTitle(distanceTitle);
    CGraphModel& m = Model();
    m.m_bTimeAxis = true;
    m.m_nMaxTicks = 5;
    m.m_bXTickLabels = m.m_bYTickLabels = true;
    m.m_bAutoX = m.m_bAutoY = false;
    m.m_bDrawAxes = false;
    update();
}

void CContourCtrl::SetCursorTime(double t)
{
    if (t == m_dCursor)
        return;
    m_dCursor = t;
    update();
}

const SContourGrid& CContourCtrl::EnsureGrid()
{
    const int columns = std::max(1, width() - Model().m_nLeftMargin - Model().m_nRightMargin);
    if (columns == m_nGridColumns || !m_source || !(m_dTMax >= m_dTMin))
        return m_grid;
    m_nGridColumns = columns;
    m_grid = m_source(columns);
    CGraphModel& m = Model();
    m.m_arrSeries[0].clear();
    m.m_bEmpty = m_grid.m_nRows == 0;
    m.m_dXMin = m_dTMin;
    m.m_dXMax = m_dTMax;
    m.m_dYMin = m_grid.m_dDistanceMin;
    m.m_dYMax = m_grid.m_dDistanceMax;
    m_image = QImage(std::max(1, m_grid.m_nColumns), std::max(1, m_grid.m_nRows), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    for (int c = 0; c < m_grid.m_nColumns; ++c) {
        for (int r = 0; r < m_grid.m_nRows; ++r) {
            const double v = m_grid.At(c, r);
            if (IsNoData(v))
                continue;
            const SRgb rgb = DivergingColor(v, m_grid.m_dMaxAbs);
            // The first bin is the nearest: at the bottom.
            m_image.setPixel(c, m_grid.m_nRows - 1 - r, qRgb(rgb.r, rgb.g, rgb.b));
        }
    }
    return m_grid;
}

void CContourCtrl::mousePressEvent(QMouseEvent* event)
{
    const CGraphModel& m = Model();
    const int plotWidth = width() - m.m_nLeftMargin - m.m_nRightMargin;
    if (event->button() != Qt::LeftButton || plotWidth <= 0 || !(m_dTMax >= m_dTMin))
        return;
    const double f = std::clamp((event->position().x() - m.m_nLeftMargin) / plotWidth, 0.0, 1.0);
    emit timeClicked(m_dTMin + f * (m_dTMax - m_dTMin));
}

void CContourCtrl::paintEvent(QPaintEvent* event)
{
    EnsureGrid();
    CGraphCtrl::paintEvent(event);
    QPainter dc(this);
    const QRect plot = PlotRect();
    if (m_grid.m_nRows > 0)
        dc.drawImage(plot, m_image);
    dc.setPen(QPen(Qt::black, 1));
    dc.drawRect(plot);
    if (!IsNoData(m_dCursor) && m_dTMax > m_dTMin && m_dCursor >= m_dTMin && m_dCursor <= m_dTMax) {
        const int x =
            plot.left() + static_cast<int>((m_dCursor - m_dTMin) / (m_dTMax - m_dTMin) * plot.width());
        dc.setPen(QPen(Qt::black, 1, Qt::DashLine));
        dc.drawLine(x, plot.top(), x, plot.bottom());
    }
    DrawColourBar(dc, plot);
}

void CContourCtrl::DrawColourBar(QPainter& dc, const QRect& plot)
{
    if (m_grid.m_nRows == 0)
        return;
    const QRect bar(plot.right() + 10, plot.top(), 12, plot.height());
    for (int y = 0; y <= bar.height(); ++y) {
        const double v = m_grid.m_dMaxAbs * (1.0 - 2.0 * y / std::max(1, bar.height()));
        const SRgb rgb = DivergingColor(v, m_grid.m_dMaxAbs);
        dc.setPen(QColor(rgb.r, rgb.g, rgb.b));
        dc.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    dc.setPen(Qt::black);
    dc.drawRect(bar);
    dc.setFont(GraphFont(11));
    const QFontMetrics fm = dc.fontMetrics();
    const int x = bar.right() + 3;
    dc.drawText(x, bar.top() + fm.ascent(), BarLabel(m_grid.m_dMaxAbs));
    if (bar.height() >= 3 * fm.height())
        dc.drawText(x, bar.center().y() + (fm.ascent() - fm.descent()) / 2, QStringLiteral("0"));
    dc.drawText(x, bar.bottom(), BarLabel(-m_grid.m_dMaxAbs));
    // The bar's title runs up the right edge.
    dc.save();
    dc.setFont(GraphFont(12));
    const QFontMetrics tfm = dc.fontMetrics();
    // Centred on the whole height, which the title may need beyond the bar's.
    dc.translate(width() - 2 - tfm.height(), height() / 2);
    dc.rotate(90);
    dc.drawText(QRect(-height() / 2, -tfm.height(), height(), tfm.height()),
                Qt::AlignHCenter | Qt::AlignBottom, m_strBarTitle);
    dc.restore();
}
