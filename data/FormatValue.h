#pragma once
// The one number formatter for values already in display units.
#include <string>

// compact == false: the measurement form (decimals by magnitude, whole numbers from 1000 up).
// compact == true: four decimals less up to three trailing zeros, for coefficients in edits.
// NODATA gives an empty text in both forms.
std::string FormatValue(double value, bool compact = false);
