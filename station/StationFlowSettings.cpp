#include "station/StationFlowSettings.h"

#include "station/CalcSet.h"
#include "station/Station.h"

CFlowSettings FlowSettingsOf(const CStation& station)
{
    CFlowSettings s;
    s.m_nMounting = station.GetMounting();
    s.m_geometry = station.GetGeometry();
    s.m_nVelocityModel = station.GetVelocityModel();
    for (int i = 0; i < 4; ++i)
        s.m_dModelCoef[i] = station.GetModelCoef(i);
    s.m_dCritVelocity = station.GetCritVelocity();
    s.m_nVelRangeStart = station.GetVelRangeStart();
    s.m_nVelRangeStop = station.GetVelRangeStop();
    s.m_dForcedStage = station.GetForcedDepth();
    s.m_nStageUnits = station.GetStageUnits();
    s.m_nVelocityUnits = station.GetVelocityUnits();
    return s;
}

CFlowSettings FlowSettingsOf(const CCalcSet& set, const CStation& station)
{
    CFlowSettings s;
    s.m_nMounting = set.m_nMounting;
    if (set.m_pGeometry)
        s.m_geometry = *set.m_pGeometry;
    s.m_nVelocityModel = set.m_nVelocityModel;
    for (int i = 0; i < 4; ++i)
        s.m_dModelCoef[i] = set.m_dModelCoef[i];
    s.m_dCritVelocity = set.m_dCritVelocity;
    s.m_nVelRangeStart = set.m_nVelRangeStart;
    s.m_nVelRangeStop = set.m_nVelRangeStop;
    s.m_dForcedStage = set.m_dForcedDepth;
    s.m_nStageUnits = station.GetStageUnits();
    s.m_nVelocityUnits = station.GetVelocityUnits();
    return s;
}

CStationFlowSettings::CStationFlowSettings(const CStation& station)
    : m_station(station), m_own(FlowSettingsOf(station))
{
    const int n = station.GetCalcSetCount();
    m_sets.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        m_sets.push_back(FlowSettingsOf(station.GetCalcSet(i), station));
}

const CFlowSettings* CStationFlowSettings::FindSettingsAt(double time) const
{
    const CCalcSet* set = m_station.FindCalcSet(time);
    if (!set)
        return nullptr;
    for (size_t i = 0; i < m_sets.size(); ++i) {
        if (&m_station.GetCalcSet(static_cast<int>(i)) == set)
            return &m_sets[i];
    }
    return nullptr;
}
