#include "flowcomputer/FlowComputerSettings.h"

#include "station/Station.h"

#include <cstdint>

namespace
{

bool InRange(double value, double low, double high)
{
    return value >= low && value <= high;
}

} // namespace

CFlowComputerSettings::CFlowComputerSettings(const CStation& station)
    : m_dTCF(station.GetTCF()), m_dBadDataOutput(station.GetBadDataOutput()),
      m_dNoDataOutput(station.GetNoDataOutput()), m_nTimeout(station.GetTimeout()),
      m_dPulseTime(station.GetPulseTime()), m_nBadReadings(station.GetBadReadings()),
      m_dBigStep(station.GetBigStep()), m_dZeroScreen(station.GetZeroScreen())
{
}

void CFlowComputerSettings::StoreTo(CStation& station) const
{
    station.SetBadDataOutput(m_dBadDataOutput);
    station.SetNoDataOutput(m_dNoDataOutput);
    station.SetBigStep(m_dBigStep);
    station.SetZeroScreen(m_dZeroScreen);
    station.SetTCF(m_dTCF);
    // Both counts passed the check before they get here, so 16 bits hold them exactly.
    station.SetTimeout(static_cast<uint16_t>(m_nTimeout));
    station.SetPulseTime(m_dPulseTime);
    station.SetBadReadings(static_cast<uint16_t>(m_nBadReadings));
}

void CFlowComputerSettings::RestoreDefaults()
{
    m_dTCF = 1.0;
    m_dBadDataOutput = 3.95;
    m_dNoDataOutput = 3.9;
    m_nTimeout = 1200;
    m_dPulseTime = 0.05;
    m_nBadReadings = 2;
    m_dBigStep = 0.1;
    m_dZeroScreen = 0.025;
}

bool CFlowComputerSettings::Validate(std::string& errors) const
{
    const size_t before = errors.size();
    if (!InRange(m_dTCF, 0.0, 1.0))
        errors += "TCF must be between 0.0 and 1.0\r\n";
    if (!InRange(m_dBadDataOutput, 0.0, 4.0))
        errors += "Bad data output must be between 0.0 and 4.0\r\n";
    if (!InRange(m_dNoDataOutput, 0.0, 4.0))
        errors += "No data output must be between 0.0 and 4.0\r\n";
    if (m_nTimeout < 300 || m_nTimeout > 3600)
        errors += "Timeout must be between 300 and 3600 seconds\r\n";
    if (!InRange(m_dPulseTime, 0.01, 0.1))
        errors += "Pulse time must be between 0.01 and 0.1 seconds\r\n";
    if (!InRange(m_dZeroScreen, 0.0, 0.1))
        errors += "Zero screen value must be between 0.0 and 0.1\r\n";
    if (!InRange(m_dBigStep, 0.0, 1.0))
        errors += "The big step value must be between 0.0 and 1.0\r\n";
    if (m_nBadReadings < 1 || m_nBadReadings > 10)
        errors += "Bad readings must be between 1 and 10\r\n";
    return errors.size() == before;
}
