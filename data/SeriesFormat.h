#pragma once
// Texts of series values for table cells and column titles, in a view's display units.
#include "data/DataTypes.h"

#include <array>
#include <string>

// Six unit codes indexed by unit kind: length, velocity, flow, volume, temperature, area.
using ViewUnits = std::array<int, 6>;

// "Number" as a whole number, "Date/Time" as "%Y/%m/%d %H:%M:%S", everything else in the
// measurement form after conversion to the view unit of its kind; no data gives "".
std::string FormatSeriesValue(double value, DataType dataType, const ViewUnits& units);

// The data type's name, with " (" + short unit name + ")" when it has a unit kind.
std::string SeriesColumnTitle(DataType dataType, const ViewUnits& units);
