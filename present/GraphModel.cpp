#include "present/GraphModel.h"

#include "data/DateTime.h"
#include "data/NoData.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace
{

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 60.0 * kSecond;
constexpr double kHour = 60.0 * kMinute;

// The time ladder, in days. Past the last rung the step grows by a year at a time.
constexpr double kTimeLadder[] = {kSecond,   30 * kSecond, kMinute,    5 * kMinute, 30 * kMinute, kHour,
                                  4 * kHour, 8 * kHour,    12 * kHour, 1.0,         2.0,          7.0,
                                  30.0,      60.0,         90.0,       180.0,       365.0};

// A runaway range (a huge span with a tiny step) must not hang the painter.
constexpr int kMaxTicks = 2000;

} // namespace

void CGraphModel::Reset()
{
    for (auto& series : m_arrSeries)
        series.clear();
    m_arrCells.clear();
    ResetRanges();
    m_nTopMargin = m_nBottomMargin = m_nLeftMargin = m_nRightMargin = 30;
    m_bAutoX = m_bAutoY = m_bAutoLevel = true;
    m_bTimeAxis = false;
    m_bAutoXStep = m_bAutoYStep = true;
    m_bEqualScales = m_bIncludeZero = false;
    m_bDrawAxes = true;
    m_bXTickLabels = m_bYTickLabels = m_bGrid = false;
    m_bTicksAtEnds = false;
    m_bEmpty = true;
    m_dXStep = m_dYStep = 5.0;
    m_nMaxTicks = 10;
}

void CGraphModel::ResetRanges()
{
    // Inverted so that the first point sets both ends.
    m_dXMax = m_dYMax = m_dLevelMax = std::numeric_limits<double>::lowest();
    m_dXMin = m_dYMin = m_dLevelMin = std::numeric_limits<double>::max();
}

void CGraphModel::AddPoint(double x, double y, int series)
{
    if (series < 0 || series >= MAX_SERIES)
        return;
    m_arrSeries[series].push_back(x);
    m_arrSeries[series].push_back(y);
    ExtendRange(x, y);
    m_bEmpty = false;
}

void CGraphModel::AddCell(double x1, double y1, double x2, double y2, double level)
{
    m_arrCells.insert(m_arrCells.end(), {x1, y1, x2, y2, level});
    ExtendRange(x1, y1);
    ExtendLevel(level);
    ExtendRange(x2, y2);
}

void CGraphModel::SetAutoScale(bool on)
{
    m_bAutoX = m_bAutoY = m_bAutoLevel = m_bAutoXStep = m_bAutoYStep = on;
    if (on)
        RecomputeRanges();
}

void CGraphModel::SetYStep(double step)
{
    if (step > 0) {
        m_dYStep = step;
        m_bAutoYStep = false;
    }
}

void CGraphModel::SetXStep(double step)
{
    if (step > 0) {
        m_dXStep = step;
        m_bAutoXStep = false;
    }
}

void CGraphModel::SetMargins(int top, int bottom, int left, int right)
{
    if (top > 0 && bottom > 0 && left > 0 && right > 0) {
        m_nTopMargin = top;
        m_nBottomMargin = bottom;
        m_nLeftMargin = left;
        m_nRightMargin = right;
    }
}

void CGraphModel::ExtendRange(double x, double y)
{
    // Numeric ranges get a tenth of slack on the side that grows; a time axis does not.
    if (m_bAutoX && !IsNoData(x)) {
        if (x < m_dXMin)
            m_dXMin = m_bTimeAxis ? x : (x >= 0 ? 0.9 * x : 1.1 * x);
        if (x > m_dXMax)
            m_dXMax = m_bTimeAxis ? x : (x >= 0 ? 1.1 * x : 0.9 * x);
    }
    if (m_bAutoY && !IsNoData(y)) {
        if (y < m_dYMin)
            m_dYMin = y >= 0 ? 0.9 * y : 1.1 * y;
        if (y > m_dYMax)
            m_dYMax = y >= 0 ? 1.1 * y : 0.9 * y;
    }
    if (m_bIncludeZero) {
        if (m_dXMin > 0 && HasXRange())
            m_dXMin = 0;
        else if (m_dYMin > 0 && HasYRange())
            m_dYMin = 0;
    }
    // Until both ranges hold a value their spans are meaningless (and would push the
    // other maximum to infinity), so equal scales wait for both.
    if (m_bEqualScales && HasXRange() && HasYRange()) {
        const double dx = m_dXMax - m_dXMin;
        const double dy = m_dYMax - m_dYMin;
        if (dx < dy)
            m_dXMax += dy - dx;
        else if (dx > dy)
            m_dYMax += dx - dy;
    }
}

void CGraphModel::ExtendLevel(double level)
{
    if (!m_bAutoLevel || IsNoData(level))
        return;
    if (level < m_dLevelMin)
        m_dLevelMin = level;
    if (level > m_dLevelMax)
        m_dLevelMax = level;
}

void CGraphModel::RecomputeRanges()
{
    ResetRanges();
    for (const auto& series : m_arrSeries)
        for (size_t i = 0; i + 1 < series.size(); i += 2)
            ExtendRange(series[i], series[i + 1]);
    for (size_t i = 0; i + 4 < m_arrCells.size(); i += 5) {
        ExtendRange(m_arrCells[i], m_arrCells[i + 1]);
        ExtendLevel(m_arrCells[i + 4]);
        ExtendRange(m_arrCells[i + 2], m_arrCells[i + 3]);
    }
}

double CGraphModel::NiceStep(double min, double max) const
{
    const double range = max - min;
    // An unset or inverted range has no sensible step; 1 keeps the tick loops finite.
    if (range == 0 || !(range > 0) || !std::isfinite(range))
        return 1.0;
    const double n = m_nMaxTicks;
    double step = 1.0;
    if (n < range / step) {
        static constexpr double ladder[] = {1, 5, 10, 25, 50, 100};
        int rung = 0;
        for (int i = 0; i < 1000 && range / step > n; ++i) {
            if (rung < 5)
                step = ladder[++rung];
            else
                step *= 10;
        }
    } else if (n > range / step) {
        static constexpr double ladder[] = {1, 0.5, 0.25, 0.1};
        int rung = 0;
        for (int i = 0; i < 1000 && range / step < 2; ++i) {
            if (rung < 3)
                step = ladder[++rung];
            else
                step /= 10;
        }
    }
    if (range / step < 2)
        step /= 4;
    return step;
}

double CGraphModel::TimeStep(double min, double max)
{
    const double range = max - min;
    if (range == 0 || !(range > 0) || !std::isfinite(range))
        return 1.0;
    const size_t rungs = sizeof(kTimeLadder) / sizeof(kTimeLadder[0]);
    size_t rung = 0;
    double step = kTimeLadder[0];
    // A span of centuries still ends: the year-by-year climb is bounded.
    // The tolerance keeps a span of exactly ten rungs (five minutes at 30 s) on its rung
    // despite rounding in the day fractions.
    for (int i = 0; i < 100000 && range / step > 10 * (1 + 1e-9); ++i) {
        if (rung + 1 < rungs)
            step = kTimeLadder[++rung];
        else
            step += 365.0;
    }
    return step;
}

void CGraphModel::ComputeSteps()
{
    if (m_bAutoYStep)
        m_dYStep = NiceStep(m_dYMin, m_dYMax);
    if (m_bAutoXStep)
        m_dXStep = m_bTimeAxis ? TimeStep(m_dXMin, m_dXMax) : NiceStep(m_dXMin, m_dXMax);
}

std::vector<double> CGraphModel::Ticks(double min, double max, double step, bool multiplesFromMin) const
{
    std::vector<double> ticks;
    if (!(step > 0) || !(max >= min))
        return ticks;
    for (double t = -step; t > min && ticks.size() < kMaxTicks; t -= step)
        ticks.push_back(t);
    double t = 0;
    if (min >= 0)
        t = multiplesFromMin ? (std::trunc(min / step) + 1) * step : min + step;
    for (int i = 0; t < max && i < kMaxTicks; ++i, t += step)
        ticks.push_back(t);
    return ticks;
}

std::vector<double> CGraphModel::TicksFromEnd(double min, double max, double step)
{
    std::vector<double> ticks;
    if (!(step > 0) || !(max >= min))
        return ticks;
    // Counted from the minimum rather than summed, so that no rounding creeps in; the last
    // one is the maximum itself, which maps onto the plot's edge.
    const double tolerance = step * 1e-6;
    for (int k = 0; k < kMaxTicks; ++k) {
        const double t = min + k * step;
        if (t > max + tolerance)
            break;
        ticks.push_back(t > max - tolerance ? max : t);
        if (t > max - tolerance)
            break;
    }
    return ticks;
}

std::vector<double> CGraphModel::XTicks() const
{
    if (m_bTicksAtEnds)
        return TicksFromEnd(m_dXMin, m_dXMax, m_dXStep);
    return Ticks(m_dXMin, m_dXMax, m_dXStep, true);
}

std::vector<double> CGraphModel::YTicks() const
{
    if (m_bTicksAtEnds)
        return TicksFromEnd(m_dYMin, m_dYMax, m_dYStep);
    // Y ticks of an axis that starts above zero sit at the minimum plus whole steps.
    return Ticks(m_dYMin, m_dYMax, m_dYStep, false);
}

const char* CGraphModel::NumericLabelFormat(double step)
{
    if (step < 0.5)
        return "%.3f";
    if (step < 1)
        return "%.2f";
    return "%.0f";
}

const char* CGraphModel::TimeLabelFormat(double stepDays)
{
    if (stepDays < kMinute)
        return "%Mm:%Ss";
    if (stepDays < kHour)
        return "%H:%M";
    return "%m/%d/%y";
}

static std::string FormatNumber(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Ticks at round multiples of a 1-2-5 step need no more decimals than the step has.
static const char* RoundTickFormat(double step)
{
    if (step >= 1 - 1e-9)
        return "%.0f";
    if (step >= 0.1 - 1e-12)
        return "%.1f";
    if (step >= 0.01 - 1e-12)
        return "%.2f";
    return "%.3f";
}

std::string CGraphModel::XLabel(double x) const
{
    if (m_bTimeAxis)
        return CDateTime(x).Format(TimeLabelFormat(m_dXStep));
    return FormatNumber(m_bTicksAtEnds ? RoundTickFormat(m_dXStep) : NumericLabelFormat(m_dXStep), x);
}

std::string CGraphModel::YLabel(double y) const
{
    return FormatNumber(m_bTicksAtEnds ? RoundTickFormat(m_dYStep) : NumericLabelFormat(m_dYStep), y);
}

bool CGraphModel::DataToPixel(double x, double y, int clientWidth, int clientHeight, int& px, int& py) const
{
    if (x < m_dXMin || x > m_dXMax || y < m_dYMin || y > m_dYMax)
        return false;
    const int plotWidth = clientWidth - m_nLeftMargin - m_nRightMargin;
    const int plotHeight = clientHeight - m_nTopMargin - m_nBottomMargin;
    // A single-valued range maps everything onto its lower edge rather than dividing by 0.
    const double xSpan = m_dXMax - m_dXMin;
    const double ySpan = m_dYMax - m_dYMin;
    const double fx = xSpan > 0 ? (x - m_dXMin) / xSpan : 0.0;
    const double fy = ySpan > 0 ? (y - m_dYMin) / ySpan : 0.0;
    px = m_nLeftMargin + static_cast<int>(fx * plotWidth);
    py = m_nTopMargin + plotHeight - static_cast<int>(fy * plotHeight);
    return true;
}
