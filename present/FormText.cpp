#include "present/FormText.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
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

} // namespace

double ReadNumber(const std::string& text)
{
    size_t i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t mantissa = i;
    i = SkipDigits(text, i);
    size_t digits = i - mantissa;
    if (i < text.size() && text[i] == '.') {
        const size_t fraction = i + 1;
        i = SkipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const size_t end = SkipDigits(text, exponent);
        if (end > exponent)
            i = end;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data() + mantissa, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold is 0; too large to hold is past every bound anyway.
        value = std::abs(value) < 1.0 ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

long ReadInteger(const std::string& text)
{
    size_t i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t end = SkipDigits(text, i);
    if (end == i)
        return 0;
    unsigned long magnitude = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + end, magnitude);
    if (result.ec == std::errc::result_out_of_range || magnitude > static_cast<unsigned long>(LONG_MAX))
        return negative ? LONG_MIN : LONG_MAX;
    const long value = static_cast<long>(magnitude);
    return negative ? -value : value;
}

int ReadInt(const std::string& text)
{
    const long value = ReadInteger(text);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool IsBlank(const std::string& text)
{
    return SkipSpaces(text) == text.size();
}

std::string FormatFixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%0.*f", decimals, value);
    return text;
}

void CNumberText::Show(double value, const std::string& text)
{
    m_strText = m_strShown = text;
    m_dShown = value;
    m_bShown = true;
}

void CNumberText::Clear()
{
    m_strText.clear();
    m_strShown.clear();
    m_dShown = 0.0;
    m_bShown = false;
}

double CNumberText::Value(const std::function<double(double)>& toInternal) const
{
    if (IsUntouched())
        return m_dShown;
    const double typed = ReadNumber(m_strText);
    return toInternal ? toInternal(typed) : typed;
}
