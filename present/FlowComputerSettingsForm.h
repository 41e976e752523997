#pragma once
// The "Flow Computer Settings" dialog without its window: its own copy of the eight values,
// the texts of its edits, the message of a failed check, and the three figures it derives
// from the values (the smoothing time constant, and the big step and zero screen as flows).
//
// The dialog holds one of these, fills it from the station when it opens and stores it
// back only when the values pass the check.
#include "flowcomputer/FlowComputerSettings.h"

#include <array>
#include <string>

class CFlowComputerSettingsForm : public CFlowComputerSettings
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

    using CFlowComputerSettings::CFlowComputerSettings;

    // The texts of the edits, in the measurement form of displayed numbers (Timeout and
    // Bad Readings too: 5 shows as "5.00").
    Edits WriteEdits() const;
    // Reads the edits back: the leading decimal number of each text, or its leading whole
    // number for Timeout and Bad Readings ("5.00" and "5.9" read as 5); 0 when the text
    // does not start with a number.
    void ReadEdits(const Edits& edits);

    // OK: reads the edits and checks them. False, with the whole text of the message box,
    // when any value is out of bounds; the values then hold what was typed.
    bool Accept(const Edits& edits, std::string& message);

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
};
