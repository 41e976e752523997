#pragma once
// The one number formatter for values already in display units.
#include <string>

// compact == false: the measurement form (decimals by magnitude, whole numbers from 1000 up).
// compact == true: four decimals less up to three trailing zeros, for coefficients in edits.
// NODATA gives an empty text in both forms.
std::string FormatValue(double value, bool compact = false);

// A field of a CSV line, quoted (quotes doubled) when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
