#include "present/SystemSettingsForm.h"

#include "data/Units.h"
#include "present/FormText.h"
#include "station/Station.h"

#include <algorithm>

namespace
{

int IndexOf(int code, int first, int count)
{
    return std::clamp(code - first, 0, count - 1);
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

std::string CSystemSettingsForm::TrimGroup(std::string group)
{
    if (!group.empty() && IsSeparator(group.front()))
        group.erase(0, 1);
    if (!group.empty() && IsSeparator(group.back()))
        group.pop_back();
    return group;
}

void CSystemSettingsForm::Load(const CStation& station)
{
    m_strSiteName = station.GetSiteName();
    m_strLocation = station.GetLocation();
    m_strGroup = station.GetGroup();
    // A code out of range in a hand-made file still selects something sensible.
    m_nStageIndex = IndexOf(station.GetStageUnits(), STAGE_FIRST, STAGE_COUNT);
    m_nVelocityIndex = IndexOf(station.GetVelocityUnits(), VELOCITY_FIRST, VELOCITY_COUNT);
    m_nFlowIndex = IndexOf(station.GetFlowUnits(), FLOW_FIRST, FLOW_COUNT);
    m_nVolumeIndex = IndexOf(station.GetVolumeUnits(), VOLUME_FIRST, VOLUME_COUNT);
    m_nTemperatureIndex = IndexOf(station.GetTemperatureUnits(), TEMPERATURE_FIRST, TEMPERATURE_COUNT);
    m_nPortIndex = std::clamp(station.GetComPort() - 1, 0, 7);

    const int flow = station.GetFlowUnits(), velocity = station.GetVelocityUnits(),
              stage = station.GetStageUnits();
    m_strFlow4mA = FormatFixed(ToDisplayUnits(station.GetFlow4mA(), flow), 3);
    m_strFlow20mA = FormatFixed(ToDisplayUnits(station.GetFlow20mA(), flow), 3);
    m_strVelocity4mA = FormatFixed(ToDisplayUnits(station.GetVelocity4mA(), velocity), 3);
    m_strVelocity20mA = FormatFixed(ToDisplayUnits(station.GetVelocity20mA(), velocity), 3);
    m_strStage4mA = FormatFixed(ToDisplayUnits(station.GetStage4mA(), stage), 3);
    m_strStage20mA = FormatFixed(ToDisplayUnits(station.GetStage20mA(), stage), 3);

    const double pulse = ToDisplayUnits(station.GetTotalizerPulse(), station.GetVolumeUnits());
    m_bPulseEvery = pulse > 0;
    m_bPulseEditEnabled = m_bPulseEvery;
    m_strPulse = m_bPulseEvery ? FormatFixed(pulse, 3) : "0.00";
    RefreshUnitLabels();
}

void CSystemSettingsForm::Save(CStation& station) const
{
    station.SetSiteName(m_strSiteName);
    station.SetGroup(TrimGroup(m_strGroup));
    station.SetLocation(m_strLocation);
    const int flow = m_nFlowIndex + FLOW_FIRST;
    station.SetFlowUnits(flow);
    station.SetAreaUnits(CStation::AreaUnitsForFlow(flow));
    const int velocity = m_nVelocityIndex + VELOCITY_FIRST;
    const int stage = m_nStageIndex + STAGE_FIRST;
    const int volume = m_nVolumeIndex + VOLUME_FIRST;
    station.SetVelocityUnits(velocity);
    station.SetStageUnits(stage);
    station.SetVolumeUnits(volume);
    station.SetTemperatureUnits(m_nTemperatureIndex + TEMPERATURE_FIRST);
    station.SetComPort(m_nPortIndex + 1);

    station.SetFlow4mA(ToInternalUnits(ReadNumber(m_strFlow4mA), flow));
    station.SetFlow20mA(ToInternalUnits(ReadNumber(m_strFlow20mA), flow));
    station.SetVelocity4mA(ToInternalUnits(ReadNumber(m_strVelocity4mA), velocity));
    station.SetVelocity20mA(ToInternalUnits(ReadNumber(m_strVelocity20mA), velocity));
    station.SetStage4mA(ToInternalUnits(ReadNumber(m_strStage4mA), stage));
    station.SetStage20mA(ToInternalUnits(ReadNumber(m_strStage20mA), stage));
    station.SetTotalizerPulse(m_bPulseEvery ? ToInternalUnits(ReadNumber(m_strPulse), volume) : 0.0);
}

void CSystemSettingsForm::RefreshUnitLabels()
{
    m_strFlowUnit = UnitAbbreviation(m_nFlowIndex + FLOW_FIRST);
    m_strVelocityUnit = UnitAbbreviation(m_nVelocityIndex + VELOCITY_FIRST);
    m_strStageUnit = UnitAbbreviation(m_nStageIndex + STAGE_FIRST);
    m_strVolumeUnit = UnitAbbreviation(m_nVolumeIndex + VOLUME_FIRST);
}

void CSystemSettingsForm::SetPulseEvery(bool ticked)
{
    m_bPulseEvery = ticked;
    m_bPulseEditEnabled = ticked;
}
