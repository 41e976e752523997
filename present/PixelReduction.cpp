#include "present/PixelReduction.h"

#include "data/NoData.h"

namespace
{

// The points of one run of a line inside one pixel column.
struct SColumnRun {
    bool open = false;
    int x = 0;
    int first = 0, last = 0, low = 0, high = 0;
    size_t lowAt = 0, highAt = 0; // order of the extremes, so they are drawn as the line met them
};

class CReducer
{
  public:
    explicit CReducer(SPixelPolylines& out) : m_out(out) {}

    void Add(int px, int py, size_t i)
    {
        if (m_run.open && m_run.x == px) {
            m_run.last = py;
            if (py < m_run.low) {
                m_run.low = py;
                m_run.lowAt = i;
            }
            if (py > m_run.high) {
                m_run.high = py;
                m_run.highAt = i;
            }
            return;
        }
        Flush();
        if (!m_inLine) {
            m_out.m_arrStarts.push_back(m_out.GetPointCount());
            m_inLine = true;
        }
        m_run = {true, px, py, py, py, py, i, i};
    }

    // Ends the current polyline: the next point starts a new one.
    void Break()
    {
        Flush();
        m_inLine = false;
    }

    void Flush()
    {
        if (!m_run.open)
            return;
        Put(m_run.first);
        if (m_run.lowAt <= m_run.highAt) {
            Put(m_run.low);
            Put(m_run.high);
        } else {
            Put(m_run.high);
            Put(m_run.low);
        }
        Put(m_run.last);
        m_run.open = false;
    }

  private:
    void Put(int py)
    {
        // Repeats add nothing to the drawing, except that a lone point keeps one entry.
        const size_t n = m_out.m_arrXY.size();
        const bool lineHasPoint =
            !m_out.m_arrStarts.empty() && m_out.GetPointCount() > m_out.m_arrStarts.back();
        if (lineHasPoint && m_out.m_arrXY[n - 2] == m_run.x && m_out.m_arrXY[n - 1] == py)
            return;
        m_out.m_arrXY.push_back(m_run.x);
        m_out.m_arrXY.push_back(py);
    }

    SPixelPolylines& m_out;
    SColumnRun m_run;
    bool m_inLine = false;
};

} // namespace

SPixelPolylines ReduceToPixels(const double* x, const double* y, size_t n, size_t stride,
                               const PixelMapper& map, NoDataPoints noData)
{
    SPixelPolylines out;
    CReducer reducer(out);
    for (size_t i = 0; i < n; ++i) {
        const double xi = x[i * stride], yi = y[i * stride];
        if (noData == NoDataPoints::Break && (IsNoData(xi) || IsNoData(yi))) {
            reducer.Break();
            continue;
        }
        int px = 0, py = 0;
        if (!map(xi, yi, px, py))
            continue;
        reducer.Add(px, py, i);
    }
    reducer.Flush();
    return out;
}
