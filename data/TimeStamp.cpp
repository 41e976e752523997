#include "data/TimeStamp.h"

#include "data/DateTime.h"
#include "data/NoData.h"
#include "data/Units.h"

double MakeTimeStamp(int year, int month, int day, int hour, int minute, int second)
{
    if (!IsPlausibleDateTime(year, month, day, hour, minute, second))
        return NODATA;
    const CDateTime dt = CDateTime::FromParts(year, month, day, hour, minute, second);
    return dt.IsValid() ? dt.m_dt : NODATA;
}
