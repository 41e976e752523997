#include "present/StationInfoModel.h"

#include "data/ChannelGeometry.h"
#include "data/NoData.h"
#include "data/Units.h"
#include "present/StationAppModel.h"
#include "station/DataSummary.h"
#include "station/Station.h"

#include <algorithm>

void CStationInfoModel::ShowStation(const CStation* station, const std::string& loadProblem)
{
    for (bool& enabled : m_bEnabled)
        enabled = false;
    for (std::string& reason : m_strDisabledReason)
        reason.clear();
    m_arrFiles.clear();
    m_nSelected = -1;
    ClearSummary();
    if (!station) {
        m_strSiteName = "No Station Loaded";
        m_strLocation = m_strCreated = m_strOrientation = "N/A";
        m_strCaption.clear();
        m_nPortIndex = 0;
        return;
    }
    m_strSiteName = station->GetSiteName();
    m_strLocation = station->GetLocation();
    m_strCreated = station->GetCreated().Format("%Y/%m/%d %H:%M:%S");
    m_strOrientation = OrientationText(station->GetMounting(), m_strOrientation);
    m_strCaption = GeometryCaption(station->GetGeometry().GetType(), station->GetStageUnits());
    m_nPortIndex = std::clamp(station->GetComPort() - 1, 0, 7);
    m_strTitle = "Station Information - " + station->GetSiteName();
    for (bool& enabled : m_bEnabled)
        enabled = true;
    const std::string blocked = stationapp::ProgramBlockedReason(loadProblem);
    if (!blocked.empty())
        for (Button b : {PROGRAM_VELUNIT, PROGRAM_FLOWCOMPUTER}) {
            m_bEnabled[b] = false;
            m_strDisabledReason[b] = blocked;
        }
}

void CStationInfoModel::ClearSummary()
{
    m_strStart.clear();
    m_strStop.clear();
    m_strEnsembles.clear();
    m_strStageRange.clear();
    m_strVelocityRange.clear();
    m_strFlowRange.clear();
    m_strEnsembleType.clear();
}

void CStationInfoModel::SetDataFiles(std::vector<std::string> names, int previousSelection)
{
    // By name, which for the instrument's date names is by date.
    m_arrFiles = std::move(names);
    std::sort(m_arrFiles.begin(), m_arrFiles.end());
    m_nSelected = -1;
    if (m_arrFiles.empty())
        return;
    // A previous entry other than the first is kept; beyond the new end nothing is selected.
    if (previousSelection > 0)
        m_nSelected = previousSelection < static_cast<int>(m_arrFiles.size()) ? previousSelection : -1;
    else
        m_nSelected = 0;
    m_bEnabled[VIEW_DATA] = true;
}

void CStationInfoModel::ShowDataSummary(const CStation& station)
{
    ClearSummary();
    if (m_nSelected < 0 || m_nSelected >= static_cast<int>(m_arrFiles.size()))
        return;
    const CDataSummary* summary = station.FindSummary(m_arrFiles[static_cast<size_t>(m_nSelected)]);
    if (!summary) {
        m_strStart = m_strStop = m_strEnsembles = m_strStageRange = m_strVelocityRange = m_strFlowRange =
            m_strEnsembleType = "Not Available";
        return;
    }
    m_strStart = summary->m_dtStart.Format("%Y/%m/%d %H:%M:%S");
    m_strStop = summary->m_dtStop.Format("%Y/%m/%d %H:%M:%S");
    m_strEnsembles = std::to_string(summary->m_nEnsembles);
    m_strEnsembleType = EnsembleTypeText(summary->m_nEnsembleType);
    m_strStageRange = RangeText(summary->m_dStageMin, summary->m_dStageMax, station.GetStageUnits());
    m_strVelocityRange =
        RangeText(summary->m_dVelocityMin, summary->m_dVelocityMax, station.GetVelocityUnits());
    m_strFlowRange = RangeText(summary->m_dFlowMin, summary->m_dFlowMax, station.GetFlowUnits());
}

std::string CStationInfoModel::OrientationText(int mounting, const std::string& previous)
{
    switch (mounting) {
    case 1:
        return "Left - Horizontal";
    case 2:
        return "Right - Horizontal";
    case 3:
        return "Top - Vertical";
    case 4:
        return "Bottom - Vertical";
    default:
        return previous;
    }
}

std::string CStationInfoModel::GeometryCaption(int channelType, int stageUnit)
{
    const std::string unit = UnitName(stageUnit);
    switch (channelType) {
    case CHANNEL_RECTANGULAR:
        return "Rectangular - Units in " + unit;
    case CHANNEL_CIRCULAR:
        return "Circular - Units in " + unit;
    case CHANNEL_MULTIPOINT:
        return "Multi-Point - Units in " + unit;
    case CHANNEL_POLYNOMIAL:
        return "Polynomial - Units in " + unit;
    case CHANNEL_TRAPEZOIDAL:
        return "Trapezoidal - Units in " + unit;
    default:
        return unit;
    }
}

std::string CStationInfoModel::RangeText(double min, double max, int unit)
{
    const std::string name = UnitAbbreviation(unit);
    const bool noMin = IsNoData(min), noMax = IsNoData(max);
    if (noMin && noMax)
        return "Not Available";
    if (noMin)
        return FormatValue(ToDisplayUnits(max, unit)) + " " + name;
    if (noMax)
        return FormatValue(ToDisplayUnits(min, unit)) + " " + name;
    return FormatValue(ToDisplayUnits(min, unit)) + " - " + FormatValue(ToDisplayUnits(max, unit)) + " " +
           name;
}

std::string CStationInfoModel::EnsembleTypeText(int type)
{
    return CDataSummary::EnsembleTypeName(type);
}
