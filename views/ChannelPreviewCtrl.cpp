#include "views/ChannelPreviewCtrl.h"

#include "station/Station.h"
#include "views/ChannelPreview.h"

CChannelPreviewCtrl::CChannelPreviewCtrl(QWidget* parent) : CGraphCtrl(parent)
{
    ShowStation(nullptr);
}

void CChannelPreviewCtrl::ShowStation(const CStation* station)
{
    Reset();
    SetMargins(16, 16, 16, 16);
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
        if (preview.m_bCurve)
            SetMargins(16, 40, 56, 16);
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
    }
    update();
}
