#include "present/FlowComputerSettingsForm.h"

#include "data/FormatValue.h"
#include "data/Units.h"
#include "settings/Profiling.h"
#include "station/Station.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace
{

size_t SkipSpaces(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

size_t SkipDigits(const std::string& text, size_t i)
{
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

// Only plain decimal notation counts; "inf", "nan" and hexadecimal are not numbers an
// operator types into these edits.
double ParseLeadingNumber(const std::string& text)
{
    size_t begin = SkipSpaces(text);
    size_t i = begin;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t mantissa = i;
    i = SkipDigits(text, i);
    size_t digits = i - mantissa;
    if (i < text.size() && text[i] == '.') {
        size_t fraction = i + 1;
        i = SkipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        size_t end = SkipDigits(text, exponent);
        if (end > exponent)
            i = end;
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + mantissa, text.data() + i, value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is 0; too large to hold is past every bound anyway.
        const bool tiny = std::abs(value) < 1.0;
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
    }
    (void)ptr;
    return negative ? -value : value;
}

long ParseLeadingInteger(const std::string& text)
{
    size_t i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t end = SkipDigits(text, i);
    if (end == i)
        return 0;
    unsigned long magnitude = 0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + end, magnitude);
    (void)ptr;
    if (ec == std::errc::result_out_of_range || magnitude > static_cast<unsigned long>(LONG_MAX))
        return negative ? LONG_MIN : LONG_MAX;
    const long value = static_cast<long>(magnitude);
    return negative ? -value : value;
}

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
    m_dTCF = ParseLeadingNumber(edits[TCF]);
    m_dBadDataOutput = ParseLeadingNumber(edits[BadDataOutput]);
    m_dNoDataOutput = ParseLeadingNumber(edits[NoDataOutput]);
    m_nTimeout = ParseLeadingInteger(edits[Timeout]);
    m_dPulseTime = ParseLeadingNumber(edits[PulseTime]);
    m_dZeroScreen = ParseLeadingNumber(edits[ZeroScreen]);
    m_dBigStep = ParseLeadingNumber(edits[BigStep]);
    m_nBadReadings = ParseLeadingInteger(edits[BadReadings]);
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
