#pragma once
// Hourly, daily and monthly figures of a series, as a yearbook publishes them: for each
// period and quantity the mean, minimum and maximum of the good values, their number, the
// share of the period they cover, and for flow the volume.
//
// Each good value stands for one sample interval (the median spacing of the time stamps):
// the coverage is count x interval / period, and the volume the sum of flow x interval, so
// a gap adds nothing and is never bridged by the values around it. Periods follow the
// instrument's clock; every period from the first value's to the last value's is listed,
// an empty one with count 0.
#include "series/SeriesExport.h"

#include <optional>
#include <string>
#include <vector>

enum StatsPeriod : int { PERIOD_HOUR, PERIOD_DAY, PERIOD_MONTH };

// "hour", "day", "month".
std::optional<StatsPeriod> ParseStatsPeriod(const std::string& text);

struct SQuantityStats {
    double m_dSum = 0.0; // of the good values in display units
    double m_dMin = 0.0;
    double m_dMax = 0.0;
    size_t m_nCount = 0;
    double m_dFlowSum = 0.0; // good flows in internal units, for the volume
};

struct SPeriodStats {
    int64_t m_nStart = 0;  // seconds of the instrument's clock
    int64_t m_nLength = 0; // seconds
    SQuantityStats m_q[QUANTITY_COUNT];
};

std::vector<SPeriodStats> ComputeStats(const CStationSeries& series, StatsPeriod period,
                                       const SSeriesExport& options);

// Coverage (0 to 1 for regular sampling) and volume in the volume unit.
double Coverage(const SQuantityStats& stats, int64_t interval, int64_t length);
double Volume(const SQuantityStats& stats, int64_t interval, int volumeUnit);

// The header block, the sample interval, then "period_start,quantity,mean,min,max,count,
// coverage,volume" and one row per period and chosen quantity.
void WriteStatsCsv(const CStationSeries& series, StatsPeriod period, const SSeriesExport& options,
                   CSeriesOutput& out);
