#include "data/SeriesFormat.h"

#include "data/DateTime.h"
#include "data/NoData.h"
#include "data/Units.h"

#include <cmath>
#include <cstdio>

std::string FormatSeriesValue(double value, DataType dataType, const ViewUnits& units)
{
    const int kind = UnitKindOfDataType(dataType);
    if (kind >= 0 && kind < static_cast<int>(units.size()))
        value = ToDisplayUnits(value, units[static_cast<size_t>(kind)]);
    if (!IsNoData(value) && std::isfinite(value)) {
        if (dataType == DATATYPE_NUMBER) {
            char text[32];
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(std::trunc(value)));
            return text;
        }
        if (dataType == DATATYPE_DATETIME)
            return CDateTime(value).Format("%Y/%m/%d %H:%M:%S");
    }
    return FormatValue(value, false);
}

std::string SeriesColumnTitle(DataType dataType, const ViewUnits& units)
{
    std::string title = DataTypeName(dataType);
    const int kind = UnitKindOfDataType(dataType);
    if (kind >= 0 && kind < static_cast<int>(units.size()))
        title += " (" + UnitAbbreviation(units[static_cast<size_t>(kind)]) + ")";
    return title;
}
