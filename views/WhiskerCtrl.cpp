#include "views/WhiskerCtrl.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

CWhiskerCtrl::CWhiskerCtrl(QWidget* parent) : CGraphCtrl(parent)
{
    SetWhiskers(SWhiskerGraph{}, QString());
}

void CWhiskerCtrl::SetWhiskers(const SWhiskerGraph& graph, const QString& lengthUnit)
{
    m_graph = graph;
    Reset();
    CGraphModel& m = Model();
    SetSeriesColor(255, 0, 0, 0);
    // Room under the plot for the distance labels and their title.
    SetMargins(15, 34, 15, 15);
    m.m_bAutoX = m.m_bAutoY = false;
    // The distances are labelled here rather than by the control, which would label the
    // vertical axis too: its units are only the whiskers' scale.
    m.m_bXTickLabels = m.m_bYTickLabels = false;
    m.m_nMaxTicks = 8;
    for (size_t i = 0; i + 1 < graph.m_arrPath.size(); i += 2)
        AddPoint(graph.m_arrPath[i], graph.m_arrPath[i + 1], 0);
    m.m_dXMin = 0;
    m.m_dXMax = graph.m_dPathLength > 0 ? graph.m_dPathLength : 1.0;
    m.m_dYMin = SWhiskerGraph::Y_MIN;
    m.m_dYMax = SWhiskerGraph::Y_MAX;
    // Only the path line's axis: a vertical axis would stand on the bank, meaning nothing.
    m.m_bDrawAxes = false;
    SetXTitle(lengthUnit.isEmpty() ? QString()
                                   : QStringLiteral("Distance along the path (%1)").arg(lengthUnit));
    update();
}

bool CWhiskerCtrl::DataToPixel(double x, double y, QPoint& pixel) const
{
    if (!CGraphCtrl::DataToPixel(x, y, pixel))
        return false;
    if (m_graph.m_nSide == 3) {
        const CGraphModel& m = Model();
        const int plotWidth = width() - m.m_nLeftMargin - m.m_nRightMargin;
        pixel.setX(2 * m.m_nLeftMargin + plotWidth - pixel.x());
    }
    return true;
}

QPointF CWhiskerCtrl::MapUnchecked(double x, double y) const
{
    const CGraphModel& m = Model();
    const double plotWidth = width() - m.m_nLeftMargin - m.m_nRightMargin;
    const double plotHeight = height() - m.m_nTopMargin - m.m_nBottomMargin;
    double fx = (x - m.m_dXMin) / (m.m_dXMax - m.m_dXMin);
    if (m_graph.m_nSide == 3)
        fx = 1 - fx;
    const double fy = (y - m.m_dYMin) / (m.m_dYMax - m.m_dYMin);
    return {m.m_nLeftMargin + fx * plotWidth, m.m_nTopMargin + plotHeight - fy * plotHeight};
}

void CWhiskerCtrl::DrawDistanceLabels(QPainter& dc)
{
    CGraphModel& m = Model();
    if (m.m_bEmpty)
        return;
    m.ComputeSteps();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    dc.setFont(font);
    dc.setPen(Qt::black);
    const QFontMetrics fm = dc.fontMetrics();
    const QRect plot = PlotRect();
    for (double x : m.XTicks()) {
        QPoint p;
        if (!DataToPixel(x, 0, p))
            continue;
        const QString text = QString::fromStdString(m.XLabel(x));
        dc.drawLine(p.x(), plot.bottom(), p.x(), plot.bottom() - 3);
        dc.drawText(p.x() - fm.horizontalAdvance(text) / 2, plot.bottom() + 2 + fm.ascent(), text);
    }
}

void CWhiskerCtrl::paintEvent(QPaintEvent* event)
{
    CGraphCtrl::paintEvent(event);
    QPainter dc(this);
    DrawDistanceLabels(dc);
    dc.setRenderHint(QPainter::Antialiasing);
    dc.setClipRect(PlotRect().adjusted(0, 0, 1, 1));
    const QColor color(0, 0, 160);
    for (const SWhisker& whisker : m_graph.m_arrWhiskers) {
        double x = 0, y = 0;
        const QPointF from = MapUnchecked(whisker.m_dCenter, 0);
        dc.setPen(Qt::NoPen);
        dc.setBrush(color);
        dc.drawEllipse(from, 2.0, 2.0);
        if (!m_graph.Tip(whisker, x, y))
            continue;
        const QPointF to = MapUnchecked(x, y);
        dc.setPen(QPen(color, 1.5));
        dc.drawLine(from, to);
        // A small head at the far end shows which way the water goes.
        const QPointF d = to - from;
        const double len = std::hypot(d.x(), d.y());
        if (len < 6)
            continue;
        const QPointF u = d / len, n(-u.y(), u.x());
        QPainterPath head;
        head.moveTo(to);
        head.lineTo(to - 6 * u + 3 * n);
        head.lineTo(to - 6 * u - 3 * n);
        head.closeSubpath();
        dc.fillPath(head, color);
    }
}
