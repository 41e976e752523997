#include "station/StationFlowSettings.h"

#include "station/CalcSet.h"
#include "station/Station.h"

namespace
{

// The station's settings or a set's, in the station's display units (a set stores none).
CFlowSettings InStationUnits(CFlowSettings settings, const CStation& station)
{
    settings.m_nStageUnits = station.GetStageUnits();
    settings.m_nVelocityUnits = station.GetVelocityUnits();
    return settings;
}

} // namespace

CFlowSettings FlowSettingsOf(const CStation& station)
{
    return InStationUnits(station.GetFlowSettings(), station);
}

CFlowSettings FlowSettingsOf(const CCalcSet& set, const CStation& station)
{
    return InStationUnits(set.m_settings, station);
}

CFlowSettingsTable FlowSettingsTableOf(const CStation& station)
{
    CFlowSettingsTable table(FlowSettingsOf(station));
    for (int i = 0; i < station.GetCalcSetCount(); ++i) {
        const CCalcSet& set = station.GetCalcSet(i);
        table.AddSet(set.m_dtStart.m_dt, FlowSettingsOf(set, station));
    }
    return table;
}
