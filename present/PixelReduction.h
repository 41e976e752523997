#pragma once
// Long series drawn fast: a series of a million points becomes the few points per pixel
// column that a line through all of them would touch (where it enters the column, its
// lowest and highest point there, where it leaves), so the drawing looks the same at a
// fraction of the cost. The mapping to pixels is the graph's own; nothing here changes
// ranges, ticks or labels.
#include <cstddef>
#include <functional>
#include <vector>

struct SPixelPolylines {
    std::vector<int> m_arrXY;        // x0, y0, x1, y1, ... of every polyline, one after another
    std::vector<size_t> m_arrStarts; // the point index where each polyline starts

    size_t GetPointCount() const { return m_arrXY.size() / 2; }
    size_t GetLineCount() const { return m_arrStarts.size(); }
    // Points of polyline k: [Start(k), End(k)).
    size_t Start(size_t k) const { return m_arrStarts[k]; }
    size_t End(size_t k) const { return k + 1 < m_arrStarts.size() ? m_arrStarts[k + 1] : GetPointCount(); }
};

// Maps a data point to a pixel; false when it does not map.
using PixelMapper = std::function<bool(double x, double y, int& px, int& py)>;

enum class NoDataPoints {
    Join,  // a point that does not map is skipped and its neighbours are joined
    Break, // a no-data x or y ends the line there (a gap); other unmapped points are joined
};

// Reduces n points read at x[i * stride], y[i * stride].
SPixelPolylines ReduceToPixels(const double* x, const double* y, size_t n, size_t stride,
                               const PixelMapper& map, NoDataPoints noData);
