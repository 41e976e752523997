#include "data/FormatValue.h"

#include "data/NoData.h"

#include <cmath>
#include <cstdio>

namespace
{

std::string Printf(const char* format, double value)
{
    char buffer[400]; // "%f" of the largest double needs 309 digits
    const int written = std::snprintf(buffer, sizeof buffer, format, value);
    if (written < 0) {
        return {};
    }
    return std::string(buffer,
                       static_cast<std::size_t>(written) < sizeof buffer ? written : sizeof buffer - 1);
}

} // namespace

std::string FormatValue(double value, bool compact)
{
    if (IsNoData(value)) {
        return {};
    }
    if (compact) {
        std::string text = Printf("%0.04f", value);
        // Drop at most three trailing zeros, so one decimal always stays.
        for (int i = 0; i < 3 && !text.empty() && text.back() == '0'; ++i) {
            text.pop_back();
        }
        return text;
    }
    if (value == 0.0) {
        return "0.00";
    }
    const double a = std::fabs(value);
    if (a < 0.1) {
        return Printf("%0.3f", value);
    }
    if (a < 100.0) {
        return Printf("%0.2f", value);
    }
    if (a < 1000.0) {
        return Printf("%0.1f", value);
    }
    // Whole numbers: add a half and cut toward zero (so -1500.7 shows as -1500). Printed from
    // the double so that values beyond the range of an int still come out right.
    return Printf("%.0f", std::trunc(value + 0.5));
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
