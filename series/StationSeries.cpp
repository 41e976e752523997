#include "series/StationSeries.h"

#include "data/DataFiles.h"
#include "data/EnsembleList.h"
#include "data/Units.h"
#include "platform/Utf8Path.h"
#include "series/SeriesTime.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <algorithm>
#include <filesystem>

const char* QuantityName(SeriesQuantity q)
{
    switch (q) {
    case QUANTITY_STAGE:
        return "stage";
    case QUANTITY_VELOCITY:
        return "velocity";
    case QUANTITY_FLOW:
        return "flow";
    default:
        return "";
    }
}

int QuantityUnitKind(SeriesQuantity q)
{
    switch (q) {
    case QUANTITY_STAGE:
        return UNIT_KIND_LENGTH;
    case QUANTITY_VELOCITY:
        return UNIT_KIND_VELOCITY;
    case QUANTITY_FLOW:
        return UNIT_KIND_FLOW;
    default:
        return UNIT_KIND_NONE;
    }
}

const char* QualityName(SeriesQuality quality)
{
    switch (quality) {
    case QUALITY_GOOD:
        return "good";
    case QUALITY_MISSING:
        return "missing";
    case QUALITY_SUSPECT:
        return "suspect";
    }
    return "";
}

bool SSeriesSource::KnowsAnyRange() const
{
    return m_ownRange || std::any_of(m_setRanges.begin(), m_setRanges.end(),
                                     [](const auto& set) { return set.second.has_value(); });
}

std::optional<SIndexVelocityRange> SSeriesSource::RangeAt(double time) const
{
    if (IsNoData(time))
        return m_ownRange;
    const auto it = FindStartedBefore(m_setRanges.begin(), m_setRanges.end(), time,
                                      [](const auto& set) { return set.first; });
    return it == m_setRanges.end() ? m_ownRange : it->second;
}

SSeriesSource SeriesSourceOf(const CStation& station, const std::string& directory)
{
    SSeriesSource source;
    source.m_settings = FlowSettingsTableOf(station);
    source.m_ownRange = FittedIndexVelocityRange(station);
    for (int i = 0; i < station.GetCalcSetCount(); ++i) {
        const CCalcSet& set = station.GetCalcSet(i);
        source.m_setRanges.emplace_back(set.m_dtStart.m_dt, FittedIndexVelocityRange(set));
    }
    for (const std::string& name : ListDataFiles(directory))
        source.m_arrFiles.push_back(Utf8FromPath(PathFromUtf8(directory) / PathFromUtf8(name)));
    return source;
}

namespace
{

// The rows of one loaded file that lie in the span; entries without a time cannot be
// placed in a series and are left out.
void TakeRows(const CEnsembleList& list, const SSeriesSource& source, const SSeriesSpan& span, bool ranges,
              std::vector<SSeriesRow>& rows)
{
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const CEnsembleRef entry = list.GetAt(i);
        if (entry.IsSeparator())
            continue;
        const double time = entry.GetTime();
        if (IsNoData(time))
            continue;
        SSeriesRow row;
        row.m_nSeconds = StampToSeconds(time);
        if (!span.Contains(row.m_nSeconds))
            continue;
        const SEnsembleRecord& rec = entry.GetRecord();
        row.m_dNumber = entry.GetNumber();
        row.m_dValue[QUANTITY_STAGE] = rec.m_dStage;
        row.m_dValue[QUANTITY_VELOCITY] = rec.m_dMeanVelocity;
        row.m_dValue[QUANTITY_FLOW] = rec.m_dFlow;
        bool suspect = false;
        if (ranges && !IsNoData(rec.m_dIndexVelocity)) {
            const auto range = source.RangeAt(time);
            suspect = range && !range->Contains(rec.m_dIndexVelocity);
        }
        for (int q = 0; q < QUANTITY_COUNT; ++q) {
            if (IsNoData(row.m_dValue[q]))
                row.m_nQuality[q] = QUALITY_MISSING;
            else if (suspect && q != QUANTITY_STAGE) // the stage does not come from the rating
                row.m_nQuality[q] = QUALITY_SUSPECT;
            else
                row.m_nQuality[q] = QUALITY_GOOD;
        }
        rows.push_back(row);
    }
}

} // namespace

std::optional<CStationSeries> BuildSeries(const SSeriesSource& source, const SSeriesSpan& span,
                                          const SeriesProgress& progress)
{
    CStationSeries series;
    const bool ranges = source.KnowsAnyRange();
    const size_t total = source.m_arrFiles.size();
    for (size_t f = 0; f < total; ++f) {
        const std::string& path = source.m_arrFiles[f];
        CEnsembleList list;
        std::string error;
        if (list.Load(path, source.m_settings, &error) > 0) {
            ++series.m_nFilesRead;
            TakeRows(list, source, span, ranges, series.m_arrRows);
        } else if (!error.empty()) {
            series.m_arrProblems.push_back(path + ": " + error);
        }
        if (progress && !progress(f + 1, total))
            return std::nullopt;
    }

    // Files are read in name order, which need not be time order. Among rows of the same
    // time and number the one from the file read first is kept.
    auto& rows = series.m_arrRows;
    auto earlier = [](const SSeriesRow& a, const SSeriesRow& b) {
        return a.m_nSeconds != b.m_nSeconds ? a.m_nSeconds < b.m_nSeconds : a.m_dNumber < b.m_dNumber;
    };
    if (!std::is_sorted(rows.begin(), rows.end(), earlier))
        std::stable_sort(rows.begin(), rows.end(), earlier);
    const auto end = std::unique(rows.begin(), rows.end(), [](const SSeriesRow& a, const SSeriesRow& b) {
        return a.m_nSeconds == b.m_nSeconds && a.m_dNumber == b.m_dNumber;
    });
    series.m_nDuplicates = static_cast<size_t>(rows.end() - end);
    rows.erase(end, rows.end());
    series.m_nSampleInterval = MedianSpacing(rows);
    return series;
}

int64_t MedianSpacing(const std::vector<SSeriesRow>& rows)
{
    std::vector<int64_t> spacings;
    spacings.reserve(rows.size());
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i].m_nSeconds != rows[i - 1].m_nSeconds)
            spacings.push_back(rows[i].m_nSeconds - rows[i - 1].m_nSeconds);
    if (spacings.empty())
        return 0;
    const auto middle = spacings.begin() + static_cast<long>(spacings.size() / 2);
    std::nth_element(spacings.begin(), middle, spacings.end());
    return *middle;
}
