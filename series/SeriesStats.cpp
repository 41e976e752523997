#include "series/SeriesStats.h"

#include "data/Units.h"
#include "series/SeriesTime.h"

namespace
{

int64_t FloorTo(int64_t seconds, int64_t step)
{
    const int64_t q = seconds / step - ((seconds % step != 0) && seconds < 0);
    return q * step;
}

int64_t PeriodStart(int64_t seconds, StatsPeriod period)
{
    switch (period) {
    case PERIOD_HOUR:
        return FloorTo(seconds, 3600);
    case PERIOD_DAY:
        return FloorTo(seconds, 86400);
    case PERIOD_MONTH:
    default: {
        SCivilTime t = CivilFromSeconds(seconds);
        t.day = 1;
        t.hour = t.minute = t.second = 0;
        return SecondsFromCivil(t);
    }
    }
}

int64_t NextPeriod(int64_t start, StatsPeriod period)
{
    switch (period) {
    case PERIOD_HOUR:
        return start + 3600;
    case PERIOD_DAY:
        return start + 86400;
    case PERIOD_MONTH:
    default: {
        SCivilTime t = CivilFromSeconds(start);
        if (++t.month > 12) {
            t.month = 1;
            ++t.year;
        }
        return SecondsFromCivil(t);
    }
    }
}

} // namespace

std::optional<StatsPeriod> ParseStatsPeriod(const std::string& text)
{
    if (text == "hour")
        return PERIOD_HOUR;
    if (text == "day")
        return PERIOD_DAY;
    if (text == "month")
        return PERIOD_MONTH;
    return std::nullopt;
}

std::vector<SPeriodStats> ComputeStats(const CStationSeries& series, StatsPeriod period,
                                       const SSeriesExport& options)
{
    std::vector<SPeriodStats> periods;
    const auto& rows = series.m_arrRows;
    if (rows.empty())
        return periods;
    SPeriodStats current;
    current.m_nStart = PeriodStart(rows.front().m_nSeconds, period);
    int64_t next = NextPeriod(current.m_nStart, period);
    current.m_nLength = next - current.m_nStart;
    for (const SSeriesRow& row : rows) {
        while (row.m_nSeconds >= next) {
            periods.push_back(current);
            current = SPeriodStats{};
            current.m_nStart = next;
            next = NextPeriod(next, period);
            current.m_nLength = next - current.m_nStart;
        }
        for (int q = 0; q < QUANTITY_COUNT; ++q) {
            if (row.m_nQuality[q] != QUALITY_GOOD)
                continue;
            SQuantityStats& s = current.m_q[q];
            const double v = ToDisplayUnits(row.m_dValue[q], options.m_nUnits[q]);
            if (s.m_nCount == 0 || v < s.m_dMin)
                s.m_dMin = v;
            if (s.m_nCount == 0 || v > s.m_dMax)
                s.m_dMax = v;
            s.m_dSum += v;
            ++s.m_nCount;
            if (q == QUANTITY_FLOW)
                s.m_dFlowSum += row.m_dValue[q];
        }
    }
    periods.push_back(current);
    return periods;
}

double Coverage(const SQuantityStats& stats, int64_t interval, int64_t length)
{
    return length > 0 ? static_cast<double>(stats.m_nCount) * static_cast<double>(interval) /
                            static_cast<double>(length)
                      : 0.0;
}

double Volume(const SQuantityStats& stats, int64_t interval, int volumeUnit)
{
    // Flow is held in cubic centimetres per second, volume in cubic metres.
    const double cubicMetres = stats.m_dFlowSum * static_cast<double>(interval) * 1e-6;
    return ToDisplayUnits(cubicMetres, volumeUnit);
}

void WriteStatsCsv(const CStationSeries& series, StatsPeriod period, const SSeriesExport& options,
                   CSeriesOutput& out)
{
    WriteCsvHeaderBlock(out, options, true);
    out.Write("# sample interval: " + std::to_string(series.m_nSampleInterval) + " s\n");
    out.Write("period_start,quantity,mean,min,max,count,coverage,volume\n");
    const std::string offset = FormatUtcOffset(options.m_nUtcOffset);
    char time[32];
    for (const SPeriodStats& p : ComputeStats(series, period, options)) {
        for (int q = 0; q < QUANTITY_COUNT; ++q) {
            if (!options.m_bQuantity[q])
                continue;
            const SQuantityStats& s = p.m_q[q];
            out.Write(time, FormatIsoTime(p.m_nStart, offset.data(), offset.size(), time));
            out.Put(',');
            out.Write(QuantityName(static_cast<SeriesQuantity>(q)));
            out.Put(',');
            if (s.m_nCount > 0) {
                out.WriteNumber(s.m_dSum / static_cast<double>(s.m_nCount));
                out.Put(',');
                out.WriteNumber(s.m_dMin);
                out.Put(',');
                out.WriteNumber(s.m_dMax);
            } else {
                out.Write(",,");
            }
            out.Put(',');
            out.Write(std::to_string(s.m_nCount));
            out.Put(',');
            out.WriteNumber(Coverage(s, series.m_nSampleInterval, p.m_nLength));
            out.Put(',');
            if (q == QUANTITY_FLOW && s.m_nCount > 0)
                out.WriteNumber(Volume(s, series.m_nSampleInterval, options.m_nVolumeUnits));
            out.Put('\n');
        }
    }
}
