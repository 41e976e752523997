#pragma once
// The eight Flow Computer settings of a station as the "Flow Computer Settings" dialog
// edits them: its own copy of the values, the texts of its edits, "Restore Defaults",
// the bounds check run on OK, and the three figures the dialog derives from the values
// (the smoothing time constant, and the big step and zero screen as flows).
//
// The dialog holds one of these, fills it from the station when it opens and stores it
// back only when the values pass the check.
#include <array>
#include <cstdint>
#include <string>

class CStation;

class CFlowComputerSettings
{
  public:
    // The edits of the dialog, in the order the check reports them.
    enum EField {
        TCF,
        BadDataOutput,
        NoDataOutput,
        Timeout,
        PulseTime,
        ZeroScreen,
        BigStep,
        BadReadings,
        FIELD_COUNT
    };
    using Edits = std::array<std::string, FIELD_COUNT>;

    // Header of the message shown when the check fails; one space and the failed lines
    // follow it.
    static constexpr const char* ERROR_HEADER =
        "Error, the settings are not permitted, the following errors must be fixed:\r\n";

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

    // The texts of the edits, in the measurement form of displayed numbers (Timeout and
    // Bad Readings too: 5 shows as "5.00").
    Edits WriteEdits() const;
    // Reads the edits back: the leading decimal number of each text, or its leading whole
    // number for Timeout and Bad Readings ("5.00" and "5.9" read as 5); 0 when the text
    // does not start with a number.
    void ReadEdits(const Edits& edits);

    // The bounds check: true when every value is in range; otherwise one line per failed
    // value is appended to `errors`, in field order.
    bool Validate(std::string& errors) const;
    // The whole text of the message box for the failed lines of Validate.
    static std::string ErrorMessage(const std::string& errors);

    // "TC:" display: the smoothing time constant for a sample interval in seconds, e.g.
    // "18.79 sec."; "Undefined" unless 0 < TCF < 1.
    std::string TimeConstantText(double sampleIntervalSec) const;
    std::string TimeConstantText(const CStation& station) const;
    // Big Step and Zero Screen as a share of the 4-20 mA flow span, in the station's flow
    // unit: "100.0 (l/s)".
    std::string BigStepText(const CStation& station) const;
    std::string ZeroScreenText(const CStation& station) const;
    // The same for a span in internal units and a flow unit code.
    static std::string SpanShareText(double proportion, double flow4mA, double flow20mA, int flowUnits);

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
