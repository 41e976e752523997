#include "views/ChannelPreviewCtrl.h"

#include "present/ChannelPreview.h"
#include "station/Station.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

CChannelPreviewCtrl::CChannelPreviewCtrl(QWidget* parent) : CGraphCtrl(parent)
{
    ShowStation(nullptr);
}

void CChannelPreviewCtrl::ShowStation(const CStation* station)
{
    Reset();
    SetMargins(16, 16, 16, 16);
    m_bHasXTitle = false;
    m_preview = CChannelPreview();
    if (station) {
        CChannelPreview& preview = m_preview;
        preview.Build(station->GetGeometry(), station->GetMounting(), station->GetStageUnits(),
                      station->GetStage4mA(), station->GetStage20mA());
        CGraphModel& model = Model();
        // A section is drawn true to shape (see FitSection); an area curve relates two
        // different quantities, so its axes keep their own scales and carry their titles.
        model.m_bIncludeZero = true;
        model.m_bXTickLabels = true;
        model.m_bDrawAxes = false;
        m_bHasXTitle = !preview.m_strXTitle.empty();
        SetXTitle(QString::fromStdString(preview.m_strXTitle));
        SetYTitle(QString::fromStdString(preview.m_strYTitle));
        SetMessage(QString::fromStdString(preview.m_strMessage));
        int series = 0;
        for (const auto& line : preview.m_arrLines) {
            if (series >= CGraphModel::MAX_SERIES)
                break;
            SetSeriesColor(line.r, line.g, line.b, series);
            for (size_t i = 0; i + 1 < line.xy.size(); i += 2)
                AddPoint(line.xy[i], line.xy[i + 1], series);
            ++series;
        }
        FitAspect();
    }
    update();
}

QRect CChannelPreviewCtrl::PlotArea() const
{
    const CGraphModel& model = Model();
    return QRect(model.m_nLeftMargin, model.m_nTopMargin,
                 width() - model.m_nLeftMargin - model.m_nRightMargin,
                 height() - model.m_nTopMargin - model.m_nBottomMargin);
}

QPolygon CChannelPreviewCtrl::InstrumentMark() const
{
    QPoint p;
    if (m_preview.m_nInstrumentSide == CChannelPreview::NONE || Model().m_bEmpty ||
        !DataToPixel(m_preview.m_dInstrumentX, m_preview.m_dInstrumentY, p))
        return {};
    // The base lies on the wall, floor or top the instrument is fixed to; the point looks
    // into the water.
    const int d = MARK_DEPTH, h = MARK_HALF_BASE;
    switch (m_preview.m_nInstrumentSide) {
    case CChannelPreview::LEFT:
        return QPolygon({QPoint(p.x(), p.y() - h), QPoint(p.x(), p.y() + h), QPoint(p.x() + d, p.y())});
    case CChannelPreview::RIGHT:
        return QPolygon({QPoint(p.x(), p.y() - h), QPoint(p.x(), p.y() + h), QPoint(p.x() - d, p.y())});
    case CChannelPreview::TOP:
        return QPolygon({QPoint(p.x() - h, p.y()), QPoint(p.x() + h, p.y()), QPoint(p.x(), p.y() + d)});
    case CChannelPreview::BOTTOM_SIDE:
        return QPolygon({QPoint(p.x() - h, p.y()), QPoint(p.x() + h, p.y()), QPoint(p.x(), p.y() - d)});
    default:
        return {};
    }
}

void CChannelPreviewCtrl::paintEvent(QPaintEvent* event)
{
    CGraphCtrl::paintEvent(event);
    const QPolygon mark = InstrumentMark();
    if (mark.isEmpty())
        return;
    QPainter dc(this);
    dc.setRenderHint(QPainter::Antialiasing);
    dc.setPen(QPen(QColor(120, 0, 0), 1));
    dc.setBrush(QColor(220, 0, 0));
    dc.drawPolygon(mark);
}

void CChannelPreviewCtrl::FitSection()
{
    CGraphModel& model = Model();
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    if (!m_preview.Bounds(xMin, yMin, xMax, yMax))
        return;
    // The ends and the step follow from the section alone; the labels they give set the
    // margins, and what is left holds the section at equal scales, centred.
    CChannelPreview::Fit fit = CChannelPreview::AxisEnds(xMin, xMax, yMin, yMax);
    model.m_bAutoX = model.m_bAutoY = model.m_bAutoXStep = model.m_bAutoYStep = false;
    model.m_bEqualScales = false;
    model.m_bTicksAtEnds = true;
    model.m_dXMin = fit.xMin, model.m_dXMax = fit.xMax;
    model.m_dYMin = fit.yMin, model.m_dYMax = fit.yMax;
    model.m_dXStep = model.m_dYStep = fit.step;

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    const QFontMetrics fm(font);
    int widestY = 0, widestX = 0;
    for (double y : model.YTicks())
        widestY = std::max(widestY, fm.horizontalAdvance(QString::fromStdString(model.YLabel(y))));
    for (double x : model.XTicks())
        widestX = std::max(widestX, fm.horizontalAdvance(QString::fromStdString(model.XLabel(x))));
    // Room for the y labels on the left, the x labels below, and half a label beyond the
    // last tick of each axis, which is labelled too.
    const int left = std::max(12, widestY + 6);
    const int bottom = fm.height() + 6;
    const int right = std::max(12, widestX / 2 + 4);
    const int top = std::max(12, fm.height() / 2 + 4);
    CChannelPreview::Place(fit, left, top, width() - left - right, height() - top - bottom);
    model.m_nLeftMargin = std::max(1, fit.left);
    model.m_nTopMargin = std::max(1, fit.top);
    model.m_nRightMargin = std::max(1, width() - fit.left - fit.width);
    model.m_nBottomMargin = std::max(1, height() - fit.top - fit.height);
}

void CChannelPreviewCtrl::FitLabelMargins()
{
    // The drawing keeps 16 pixels of margin, widened on the left and at the bottom just
    // enough for the tick labels, so that no label is cut at the edge of the control.
    CGraphModel& model = Model();
    model.ComputeSteps();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    const QFontMetrics fm(font);
    int widest = 0;
    for (double y : model.YTicks())
        widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(model.YLabel(y))));
    const int left = std::max(16, widest + 6 + (m_bHasXTitle ? fm.height() + 2 : 0));
    const int bottom = std::max(16, fm.height() + 4 + (m_bHasXTitle ? fm.height() : 0));
    SetMargins(model.m_nTopMargin, bottom, left, model.m_nRightMargin);
}

void CChannelPreviewCtrl::resizeEvent(QResizeEvent* event)
{
    CGraphCtrl::resizeEvent(event);
    FitAspect();
}

void CChannelPreviewCtrl::FitAspect()
{
    CGraphModel& model = Model();
    if (model.m_bEmpty)
        return;
    if (!m_preview.m_bCurve) {
        FitSection();
        return;
    }
    // Equal spans on both axes give a true shape only on a square plot. The drawing is
    // wider than high, so the shorter axis is stretched until a metre across takes as many
    // pixels as a metre up, and a pipe stays round.
    // The labels set the margins and the margins the stretch, which may change the labels:
    // a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        const int leftBefore = model.m_nLeftMargin, bottomBefore = model.m_nBottomMargin;
        model.RecomputeRanges();
        if (!model.m_bEqualScales || !model.HasXRange() || !model.HasYRange()) {
            FitLabelMargins();
            return;
        }
        const double plotW = width() - model.m_nLeftMargin - model.m_nRightMargin;
        const double plotH = height() - model.m_nTopMargin - model.m_nBottomMargin;
        const double xSpan = model.m_dXMax - model.m_dXMin, ySpan = model.m_dYMax - model.m_dYMin;
        if (plotW <= 0 || plotH <= 0 || xSpan <= 0 || ySpan <= 0)
            return;
        if (xSpan / plotW < ySpan / plotH)
            model.m_dXMax = model.m_dXMin + ySpan * plotW / plotH;
        else
            model.m_dYMax = model.m_dYMin + xSpan * plotH / plotW;
        FitLabelMargins();
        if (model.m_nLeftMargin == leftBefore && model.m_nBottomMargin == bottomBefore)
            return;
    }
}
