#include "present/ContourMap.h"

#include "data/EnsembleList.h"
#include "data/Units.h"
#include "present/ProfileGraphs.h"

#include <algorithm>
#include <cmath>

namespace
{

// Entries averaged per column at most: enough to smooth noise, few enough to stay fast.
constexpr int kSamplesPerColumn = 16;

// The typical time between entries: the median of (up to a few thousand) steps between
// neighbouring time stamps; 0 when there are none.
double UsualInterval(const std::vector<double>& times, size_t n)
{
    std::vector<double> steps;
    const size_t stride = std::max<size_t>(1, n / 4000);
    for (size_t i = stride; i < n; i += stride) {
        const double a = times[i - 1], b = times[i];
        if (!IsNoData(a) && !IsNoData(b) && b > a)
            steps.push_back(b - a);
    }
    if (steps.empty())
        return 0;
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() / 2), steps.end());
    return steps[steps.size() / 2];
}

} // namespace

SContourGrid BuildContourGrid(const CEnsembleList& list, const std::vector<double>& times, double tMin,
                              double tMax, int columns, const CStation& station, const ViewUnits& units)
{
    SContourGrid grid;
    const size_t n = std::min(times.size(), list.GetCount());
    if (columns <= 0 || !(tMax >= tMin))
        return grid;
    const double span = tMax - tMin;
    auto columnOf = [&](double t) {
        if (IsNoData(t) || t < tMin || t > tMax)
            return -1;
        const int c = span > 0 ? static_cast<int>((t - tMin) / span * columns) : 0;
        return std::min(c, columns - 1);
    };
    // First pass: how many entries each column holds, and the most bins any entry has.
    std::vector<size_t> count(static_cast<size_t>(columns), 0);
    long first = -1;
    for (size_t i = 0; i < n; ++i) {
        const int c = columnOf(times[i]);
        if (c < 0)
            continue;
        ++count[static_cast<size_t>(c)];
        if (first < 0)
            first = static_cast<long>(i);
    }
    if (first < 0)
        return grid;
    // Second pass: an evenly spread few of each column's entries.
    std::vector<std::vector<size_t>> picks(static_cast<size_t>(columns));
    std::vector<size_t> seen(static_cast<size_t>(columns), 0);
    int bins = 0;
    for (size_t i = 0; i < n; ++i) {
        const int c = columnOf(times[i]);
        if (c < 0)
            continue;
        const size_t k = static_cast<size_t>(c);
        const size_t every = std::max<size_t>(1, count[k] / kSamplesPerColumn);
        if (seen[k]++ % every == 0 && picks[k].size() < kSamplesPerColumn) {
            picks[k].push_back(i);
            const double nb = list.GetValue(i, DATATYPE_VELOCITY_BINS);
            if (!IsNoData(nb))
                bins = std::max(bins, static_cast<int>(std::clamp(nb, 0.0, 255.0)));
        }
    }
    if (bins == 0)
        return grid;
    grid.m_nColumns = columns;
    grid.m_nRows = bins;
    grid.m_arrValues.assign(static_cast<size_t>(columns) * static_cast<size_t>(bins), NODATA);
    const int velocity = units[UNIT_KIND_VELOCITY];
    for (int c = 0; c < columns; ++c) {
        for (int b = 0; b < bins; ++b) {
            double sum = 0;
            int used = 0;
            for (size_t i : picks[static_cast<size_t>(c)]) {
                const double v = list.GetValue(i, DATATYPE_X_VELOCITY, 0, b);
                if (!IsNoData(v)) {
                    sum += ToDisplayUnits(v, velocity);
                    ++used;
                }
            }
            if (used) {
                const double mean = sum / used;
                grid.m_arrValues[static_cast<size_t>(c * bins + b)] = mean;
                grid.m_dMaxAbs = std::max(grid.m_dMaxAbs, std::fabs(mean));
            }
        }
    }
    // Fewer entries than columns: an entry's colour reaches on to the next entry, unless the
    // recording paused there (a gap longer than one and a half usual intervals stays empty).
    const double usual = UsualInterval(times, n);
    int filled = -1;
    std::vector<double> lastTime(static_cast<size_t>(columns), NODATA);
    for (size_t i = 0; i < n; ++i) {
        const int col = columnOf(times[i]);
        if (col >= 0 &&
            (IsNoData(lastTime[static_cast<size_t>(col)]) || times[i] > lastTime[static_cast<size_t>(col)]))
            lastTime[static_cast<size_t>(col)] = times[i];
    }
    for (int col = 0; col < columns; ++col) {
        if (!picks[static_cast<size_t>(col)].empty()) {
            filled = col;
            continue;
        }
        const double columnStart = tMin + span * col / columns;
        if (filled < 0 || !(usual > 0) || columnStart - lastTime[static_cast<size_t>(filled)] > 1.5 * usual)
            continue;
        std::copy_n(grid.m_arrValues.begin() + filled * bins, bins, grid.m_arrValues.begin() + col * bins);
    }
    // Distances with the settings in force at the first entry shown.
    const CBinLayout layout(station, times[static_cast<size_t>(first)]);
    const int length = units[UNIT_KIND_LENGTH];
    grid.m_dDistanceMin = ToDisplayUnits(layout.Start(0), length);
    grid.m_dDistanceMax = ToDisplayUnits(layout.End(bins - 1), length);
    return grid;
}

SRgb DivergingColor(double value, double maxAbs)
{
    static constexpr SRgb kLow{33, 102, 172}, kMid{247, 247, 247}, kHigh{178, 24, 43};
    const double t = maxAbs > 0 ? std::clamp(value / maxAbs, -1.0, 1.0) : 0.0;
    const SRgb& end = t < 0 ? kLow : kHigh;
    const double f = std::fabs(t);
    auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
    return {mix(kMid.r, end.r), mix(kMid.g, end.g), mix(kMid.b, end.b)};
}
