#include "settings/Profiling.h"

#include "data/NoData.h"
#include "settings/ProfilingTables.h"
#include "station/Station.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace
{

constexpr int kMaxPings = 250;
// The ensemble needs about four seconds besides its pings.
constexpr double kEnsembleOverheadSec = 4.0;

// Without an optimisation choice from the table.
constexpr int kFallbackBins = 25;
constexpr int kFallbackBinCm = 100;

// Command values that are missing from the list.
constexpr int kMissingWsForRange = 25;
constexpr int kMissingWnForRange = 1;
constexpr double kMissingBinSize = 10000.0;
constexpr double kMissingBlank = 5000.0;

// A double cut toward zero into an int; a channel read from a damaged file can make these
// figures arbitrarily large, and the conversion of an out-of-range double is undefined.
int TruncateToInt(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (value <= lo) {
        return std::numeric_limits<int>::min();
    }
    if (value >= hi) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

bool FindCommandInt(const CStation& station, const char* command, int& value)
{
    std::string parameter;
    if (!station.GetCommands().Find(command, parameter)) {
        return false;
    }
    value = CommandValueToInt(parameter);
    return true;
}

// The usable acoustic path in tenths of a millimetre: the path across (or down through) the
// channel less the blank and the instrument's distance from the edge.
double ProfilingRange(double path, int blankCm, double yAdcp)
{
    // A path the geometry cannot give (outside a pipe) counts as none.
    if (IsNoData(path) || !std::isfinite(path)) {
        path = 0.0;
    }
    return path - (100.0 * blankCm + yAdcp);
}

double ProfilingPath(const CStation& station)
{
    const CChannelGeometry& geometry = station.GetGeometry();
    const int mounting = station.GetMounting();
    if (mounting == MOUNTING_TOP || mounting == MOUNTING_BOTTOM) {
        if (geometry.GetType() == CHANNEL_POLYNOMIAL) {
            return station.GetStage20mA();
        }
        return geometry.GetDepthFigure();
    }
    return geometry.GetWidthAt(geometry.GetZAdcp());
}

double BinOffset(const CStation& station)
{
    switch (station.GetMounting()) {
    case MOUNTING_LEFT:
    case MOUNTING_RIGHT:
        return station.GetGeometry().GetYAdcp();
    case MOUNTING_BOTTOM:
        return station.GetGeometry().GetZAdcp();
    default: // top: distances count from the instrument
        return 0.0;
    }
}

double BinSizeForPositions(const CStation& station)
{
    int ws = 0;
    return FindCommandInt(station, "WS", ws) ? 100.0 * ws : kMissingBinSize;
}

double BlankForPositions(const CStation& station)
{
    int wf = 0;
    return FindCommandInt(station, "WF", wf) ? 100.0 * wf : kMissingBlank;
}

} // namespace

int CommandValueToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value <= std::numeric_limits<int>::max()) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

int GetDefaultBlank(const CStation& station)
{
    return GetFrequencyInfo(station.GetFrequency()).blankCm;
}

int GetSampleIntervalSec(const CStation& station)
{
    std::string te;
    if (!station.GetCommands().Find("TE", te)) {
        return 0;
    }
    const int index = FindSampleInterval(te);
    return index < 0 ? 0 : SampleIntervalTable()[static_cast<std::size_t>(index)].seconds;
}

void CalcProfilingSettings(CStation& station)
{
    const FrequencyInfo& frequency = GetFrequencyInfo(station.GetFrequency());
    const double range =
        ProfilingRange(ProfilingPath(station), frequency.blankCm, station.GetGeometry().GetYAdcp());
    const double rangeCm = 0.01 * range;

    int bins = kFallbackBins;
    int binSize = kFallbackBinCm;
    if (const OptimizeInfo* optimize = FindOptimizeInfo(station.GetOptimize())) {
        bins = optimize->bins;
        binSize = TruncateToInt(rangeCm / optimize->divisor);
    }

    // Outside the table the interval reads as 0 seconds and the ping count would come out
    // negative; the instrument must never be sent that, so WP keeps what it has.
    const int seconds = GetSampleIntervalSec(station);
    int pings = 0;
    if (seconds > 0) {
        pings = TruncateToInt((seconds - kEnsembleOverheadSec) / frequency.pingSeconds);
        if (pings > kMaxPings) {
            pings = kMaxPings;
        }
    }

    if (binSize < frequency.minBinCm) {
        binSize = frequency.minBinCm;
    }
    if (binSize > frequency.maxBinCm) {
        binSize = frequency.maxBinCm;
    }

    const CCommandList before = station.GetCommands();
    CCommandList& commands = station.GetCommands();
    commands.SetText("TP", frequency.pingTimeText);
    commands.SetInt("WF", frequency.blankCm);
    if (pings > 0) {
        commands.SetInt("WP", pings);
    }
    commands.SetInt("WN", bins);
    commands.SetInt("WS", binSize);
    if (!(commands == before)) {
        station.SetModified(true);
    }
}

void CalcVelocityRange(CStation& station)
{
    const int blank = GetDefaultBlank(station);
    int binSize = kMissingWsForRange;
    FindCommandInt(station, "WS", binSize);
    int bins = kMissingWnForRange;
    FindCommandInt(station, "WN", bins);

    const CChannelGeometry& geometry = station.GetGeometry();
    const double range = ProfilingRange(geometry.GetWidthAt(geometry.GetZAdcp()), blank, geometry.GetYAdcp());

    const int start = 1;
    // Without a usable bin size there is no bin to reach beyond the first.
    int stop = start;
    if (binSize > 0) {
        stop = TruncateToInt(0.0094 * range / binSize);
        stop = stop == std::numeric_limits<int>::min() ? stop : stop - 1;
    }
    if (stop > bins) {
        stop = bins;
    }
    if (stop < start) {
        stop = start;
    }
    if (station.GetVelRangeStart() != start) {
        station.SetVelRangeStart(start);
    }
    if (station.GetVelRangeStop() != stop) {
        station.SetVelRangeStop(stop);
    }
}

double GetBinStart(const CStation& station, int bin)
{
    const double binSize = BinSizeForPositions(station);
    return BinOffset(station) + BlankForPositions(station) + bin * binSize;
}

double GetBinCenter(const CStation& station, int bin)
{
    const double binSize = BinSizeForPositions(station);
    return BinOffset(station) + BlankForPositions(station) + bin * binSize + 0.5 * binSize;
}

double GetBinEnd(const CStation& station, int bin)
{
    const double binSize = BinSizeForPositions(station);
    return BinOffset(station) + BlankForPositions(station) + (bin + 1.0) * binSize;
}
