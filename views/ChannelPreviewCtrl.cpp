#include "views/ChannelPreviewCtrl.h"

#include "present/ChannelPreview.h"
#include "station/Station.h"

#include <QFont>
#include <QFontMetrics>

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
    if (station) {
        CChannelPreview preview;
        preview.Build(station->GetGeometry(), station->GetMounting(), station->GetStageUnits(),
                      station->GetStage4mA(), station->GetStage20mA());
        CGraphModel& model = Model();
        // A section is drawn true to shape; an area curve relates two different quantities,
        // so its axes keep their own scales and carry their titles.
        model.m_bEqualScales = !preview.m_bCurve;
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
