#include "present/FlowComputerSettingsForm.h"

#include "data/FormatValue.h"
#include "data/Units.h"
#include "present/FormText.h"
#include "settings/Profiling.h"
#include "station/Station.h"

#include <cmath>

namespace
{

// The measurement form; a figure no number can show (an absurd entry multiplied up)
// shows as undefined rather than as "inf".
std::string FormatFigure(double value)
{
    if (!std::isfinite(value))
        return "Undefined";
    return FormatValue(value, false);
}

} // namespace

CFlowComputerSettingsForm::Edits CFlowComputerSettingsForm::WriteEdits() const
{
    Edits edits;
    edits[TCF] = FormatFigure(m_dTCF);
    edits[BadDataOutput] = FormatFigure(m_dBadDataOutput);
    edits[NoDataOutput] = FormatFigure(m_dNoDataOutput);
    edits[Timeout] = FormatFigure(static_cast<double>(m_nTimeout));
    edits[PulseTime] = FormatFigure(m_dPulseTime);
    edits[ZeroScreen] = FormatFigure(m_dZeroScreen);
    edits[BigStep] = FormatFigure(m_dBigStep);
    edits[BadReadings] = FormatFigure(static_cast<double>(m_nBadReadings));
    return edits;
}

void CFlowComputerSettingsForm::ReadEdits(const Edits& edits)
{
    m_dTCF = ReadNumber(edits[TCF]);
    m_dBadDataOutput = ReadNumber(edits[BadDataOutput]);
    m_dNoDataOutput = ReadNumber(edits[NoDataOutput]);
    m_nTimeout = ReadInteger(edits[Timeout]);
    m_dPulseTime = ReadNumber(edits[PulseTime]);
    m_dZeroScreen = ReadNumber(edits[ZeroScreen]);
    m_dBigStep = ReadNumber(edits[BigStep]);
    m_nBadReadings = ReadInteger(edits[BadReadings]);
}

bool CFlowComputerSettingsForm::Accept(const Edits& edits, std::string& message)
{
    ReadEdits(edits);
    std::string errors;
    if (Validate(errors)) {
        message.clear();
        return true;
    }
    message = ErrorMessage(errors);
    return false;
}

std::string CFlowComputerSettingsForm::ErrorMessage(const std::string& errors)
{
    return std::string(ERROR_HEADER) + " " + errors;
}

std::string CFlowComputerSettingsForm::TimeConstantText(double sampleIntervalSec) const
{
    if (!(m_dTCF > 0.0 && m_dTCF < 1.0))
        return "Undefined";
    const double tc = (sampleIntervalSec * -0.434152) / std::log(1.0 - m_dTCF);
    return FormatFigure(tc) + " sec.";
}

std::string CFlowComputerSettingsForm::TimeConstantText(const CStation& station) const
{
    return TimeConstantText(GetSampleIntervalSec(station));
}

std::string CFlowComputerSettingsForm::SpanShareText(double proportion, double flow4mA, double flow20mA,
                                                     int flowUnits)
{
    const double amount = ToDisplayUnits((flow20mA - flow4mA) * proportion, flowUnits);
    return FormatFigure(amount) + " (" + UnitAbbreviation(flowUnits) + ")";
}

std::string CFlowComputerSettingsForm::BigStepText(const CStation& station) const
{
    return SpanShareText(m_dBigStep, station.GetFlow4mA(), station.GetFlow20mA(), station.GetFlowUnits());
}

std::string CFlowComputerSettingsForm::ZeroScreenText(const CStation& station) const
{
    return SpanShareText(m_dZeroScreen, station.GetFlow4mA(), station.GetFlow20mA(), station.GetFlowUnits());
}
