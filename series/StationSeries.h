#pragma once
// The computed series of one station over a span of time: every data file of the station
// (downloaded and recorded live) read with the settings in force at each ensemble's time,
// joined in time order, and the same ensemble found in two files (same time stamp, same
// number) kept once. Each row holds stage, mean velocity and flow in internal units with a
// quality code each.
//
// The work is split so that a window can run it off its own thread: SeriesSourceOf takes
// what is needed from the station (on the thread that owns it) into a plain value, and
// BuildSeries reads the files from that value alone.
#include "data/FlowSettingsTable.h"
#include "series/FittedRange.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CStation;

enum SeriesQuantity : int {
    QUANTITY_STAGE = 0,
    QUANTITY_VELOCITY = 1,
    QUANTITY_FLOW = 2,
    QUANTITY_COUNT = 3
};

// "stage", "velocity", "flow": the names on the command line and in the column titles.
const char* QuantityName(SeriesQuantity q);
// The unit kind a quantity is shown in (length, velocity, flow).
int QuantityUnitKind(SeriesQuantity q);

enum SeriesQuality : uint8_t {
    QUALITY_GOOD = 0,    // computed
    QUALITY_MISSING = 1, // no data: the row is kept with an empty value
    QUALITY_SUSPECT = 2, // computed from an index velocity outside the rating's fitted range
};
const char* QualityName(SeriesQuality quality); // "good", "missing", "suspect"

struct SSeriesRow {
    int64_t m_nSeconds = 0; // the instrument's clock, seconds since 1899-12-30 00:00
    double m_dNumber = 0.0; // the ensemble number
    double m_dValue[QUANTITY_COUNT] = {};
    uint8_t m_nQuality[QUANTITY_COUNT] = {};
};

// [from, to) in the instrument's clock; either end open.
struct SSeriesSpan {
    int64_t m_nFrom = std::numeric_limits<int64_t>::min();
    int64_t m_nTo = std::numeric_limits<int64_t>::max();

    bool Contains(int64_t seconds) const { return seconds >= m_nFrom && seconds < m_nTo; }
};

// Everything the build needs, taken from the station once.
struct SSeriesSource {
    CFlowSettingsTable m_settings;
    // The fitted range of the settings in force: the own settings', then one per calculation
    // set with the set's start (the table's order). Empty ranges mark nothing suspect.
    std::optional<SIndexVelocityRange> m_ownRange;
    std::vector<std::pair<double, std::optional<SIndexVelocityRange>>> m_setRanges;
    std::vector<std::string> m_arrFiles; // full paths, in name order

    bool KnowsAnyRange() const;
    // The fitted range in force at a time stamp, or none.
    std::optional<SIndexVelocityRange> RangeAt(double time) const;
};

// The station's settings and ranges, and the data files of its directory.
SSeriesSource SeriesSourceOf(const CStation& station, const std::string& directory);

class CStationSeries
{
  public:
    std::vector<SSeriesRow> m_arrRows;      // in time order
    int64_t m_nSampleInterval = 0;          // seconds: the median spacing of the time stamps
    size_t m_nFilesRead = 0;                // files that held at least one ensemble
    size_t m_nDuplicates = 0;               // ensembles found a second time and dropped
    std::vector<std::string> m_arrProblems; // files that could not be read, with the reason

    bool IsEmpty() const { return m_arrRows.empty(); }
};

// Told after each file (done of total); returns false to stop the build, which then
// returns nothing.
using SeriesProgress = std::function<bool(size_t done, size_t total)>;

std::optional<CStationSeries> BuildSeries(const SSeriesSource& source, const SSeriesSpan& span,
                                          const SeriesProgress& progress = {});

// The median of the spacings between successive distinct times, in seconds; 0 with fewer
// than two times.
int64_t MedianSpacing(const std::vector<SSeriesRow>& rows);
