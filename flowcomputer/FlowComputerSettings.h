#pragma once
// The eight Flow Computer settings of a station: the values, those of a new station and
// those "Restore Defaults" loads, the bounds check, and the way back into the station. What
// the "Flow Computer Settings" dialog shows of them is CFlowComputerSettingsForm's.
#include <string>

class CStation;

class CFlowComputerSettings
{
  public:
    // The values of a new station.
    CFlowComputerSettings() = default;
    explicit CFlowComputerSettings(const CStation& station);

    // Stores the values into the station (each setter marks it modified), in the order
    // the dialog has always stored them: Bad Data Output, No Data Output, Big Step,
    // Zero Screen, TCF, Timeout, Pulse Time, Bad Readings.
    void StoreTo(CStation& station) const;

    // The values the "Restore Defaults" button loads. They are not those of a new station
    // for No Data Output, Bad Readings and Zero Screen.
    void RestoreDefaults();

    // The bounds check: true when every value is in range; otherwise one line per failed
    // value is appended to `errors`, in the order of the dialog's edits.
    bool Validate(std::string& errors) const;

    // The values. The two counts are held wider than the station's 16 bits so that a typed
    // 65836 is checked as what was typed, and not as the 300 that 16 bits would make of it.
    double m_dTCF = 1.0;
    double m_dBadDataOutput = 3.95;
    double m_dNoDataOutput = 3.65;
    long m_nTimeout = 1200;
    double m_dPulseTime = 0.05;
    long m_nBadReadings = 5;
    double m_dBigStep = 0.1;
    double m_dZeroScreen = 0.0;
};
