#include "present/ChannelPreview.h"

#include "data/ChannelGeometry.h"
#include "data/Units.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double kPi = 3.14159265358979323846;

// Where the water edge meets a bank at elevation z, walking the points from one end.
double EdgeAt(const CChannelGeometry& g, double z, bool fromLeft)
{
    const int n = g.GetNumPoints();
    for (int k = 1; k < n; ++k) {
        const int i = fromLeft ? k : n - k - 1;
        const int j = fromLeft ? k - 1 : n - k;
        const double zi = g.GetPointZ(i), zj = g.GetPointZ(j);
        if ((zj >= z && zi <= z) && zj != zi)
            return g.GetPointY(j) + (z - zj) * (g.GetPointY(i) - g.GetPointY(j)) / (zi - zj);
    }
    return fromLeft ? g.GetPointY(0) : g.GetPointY(n - 1);
}

// A length in display units without the conversion's last-bit noise, so that a 3 m wall
// ends on the axis end of 3 rather than just beyond it (where it would not be drawn).
double Display(double internal, int lengthUnit)
{
    return std::round(ToDisplayUnits(internal, lengthUnit) * 1e9) / 1e9;
}

} // namespace

void CChannelPreview::AddLine(int which, std::vector<double> xy, int lengthUnit)
{
    for (double& v : xy)
        v = Display(v, lengthUnit);
    Line line;
    line.xy = std::move(xy);
    switch (which) {
    case OUTLINE:
        line.r = 0, line.g = 0, line.b = 128;
        break;
    case BOTTOM:
        line.r = 139, line.g = 90, line.b = 43;
        break;
    default:
        break;
    }
    m_arrLines.push_back(std::move(line));
}

void CChannelPreview::Build(const CChannelGeometry& geometry, int mounting, int lengthUnit, double stage4mA,
                            double stage20mA)
{
    m_arrLines.clear();
    m_strMessage.clear();
    m_strXTitle.clear();
    m_strYTitle.clear();
    m_bCurve = false;
    m_nInstrumentSide = NONE;
    m_dInstrumentX = m_dInstrumentY = 0;
    if (geometry.GetType() == CHANNEL_POLYNOMIAL)
        BuildAreaCurve(geometry, lengthUnit, stage4mA, stage20mA);
    else
        BuildSection(geometry, mounting, lengthUnit);
}

void CChannelPreview::BuildAreaCurve(const CChannelGeometry& g, int lengthUnit, double stage4mA,
                                     double stage20mA)
{
    m_bCurve = true;
    const std::string unit = UnitAbbreviation(lengthUnit);
    m_strXTitle = "Area (sq " + unit + ")";
    m_strYTitle = "Height (" + unit + ")";
    const double start = std::max(0.0, stage4mA);
    const double stop = stage20mA > start ? stage20mA : start + 10000.0;
    constexpr int steps = 60;
    Line line;
    line.b = 128;
    for (int i = 0; i <= steps; ++i) {
        const double h = start + (stop - start) * i / steps;
        // The polynomial gives square tenths of a millimetre: convert the length twice.
        const double area = g.GetPolynomial(2) * h * h + g.GetPolynomial(1) * h + g.GetPolynomial(0);
        line.xy.push_back(ToDisplayUnits(ToDisplayUnits(area, lengthUnit), lengthUnit));
        line.xy.push_back(ToDisplayUnits(h, lengthUnit));
    }
    m_arrLines.push_back(std::move(line));
}

void CChannelPreview::BuildSection(const CChannelGeometry& g, int mounting, int lengthUnit)
{
    Extent e;
    bool drawn = false;
    switch (g.GetType()) {
    case CHANNEL_RECTANGULAR:
        drawn = AddRectangle(g, lengthUnit, e);
        break;
    case CHANNEL_TRAPEZOIDAL:
        drawn = AddTrapezoid(g, mounting, lengthUnit, e);
        break;
    case CHANNEL_CIRCULAR:
        drawn = AddCircle(g, lengthUnit, e);
        break;
    case CHANNEL_MULTIPOINT:
        drawn = AddMultiPoint(g, mounting, lengthUnit, e);
        break;
    default:
        break;
    }
    if (drawn)
        AddInstrument(g, mounting, lengthUnit, e);
}

bool CChannelPreview::AddRectangle(const CChannelGeometry& g, int lengthUnit, Extent& e)
{
    const double w = g.GetRectWidth(), zb = g.GetZBottom(), top = g.GetRectHeight();
    AddLine(OUTLINE, {0, top, 0, zb, w, zb, w, top}, lengthUnit);
    AddLine(BOTTOM, {0, zb, w, zb}, lengthUnit);
    e = {0, w, zb, top, w / 2};
    return true;
}

bool CChannelPreview::AddTrapezoid(const CChannelGeometry& g, int mounting, int lengthUnit, Extent& e)
{
    const double slope = g.GetTrapSlope();
    if (slope == 0) {
        m_strMessage = "Trapezoid - Invalid Slope";
        return false;
    }
    const double w = g.GetTrapWidth(), zb = g.GetZBottom(), top = g.GetTrapHeight();
    const double run = std::fabs((top - zb) / slope);
    AddLine(OUTLINE, {0, top, run, zb, run + w, zb, 2 * run + w, top}, lengthUnit);
    AddLine(BOTTOM, {run, zb, run + w, zb}, lengthUnit);
    e = {0, 2 * run + w, zb, top, run + w / 2};
    // A wall-mounted instrument sits on the bank at its own elevation.
    if (mounting == 1 || mounting == 2) {
        const double out = std::clamp((g.GetZAdcp() - zb) / std::fabs(slope), 0.0, run);
        e.left = run - out;
        e.right = run + w + out;
    }
    return true;
}

bool CChannelPreview::AddCircle(const CChannelGeometry& g, int lengthUnit, Extent& e)
{
    const double r = g.GetDiameter() * 0.5;
    std::vector<double> circle;
    for (int deg = 0; deg <= 360; deg += 5) {
        const double a = deg * kPi / 180.0;
        circle.push_back(r + r * std::sin(a));
        circle.push_back(r - r * std::cos(a));
    }
    AddLine(OUTLINE, std::move(circle), lengthUnit);
    // The invert: a short stretch of the floor of the pipe.
    const double half = r * 0.25;
    AddLine(
        BOTTOM,
        {r - half, r - std::sqrt(r * r - half * half), r, 0, r + half, r - std::sqrt(r * r - half * half)},
        lengthUnit);
    e = {0, 2 * r, 0, 2 * r, r};
    return true;
}

bool CChannelPreview::AddMultiPoint(const CChannelGeometry& g, int mounting, int lengthUnit, Extent& e)
{
    const int n = g.GetNumPoints();
    if (n < 1)
        return false;
    std::vector<double> outline;
    double left = g.GetPointY(0), right = left;
    for (int i = 0; i < n; ++i) {
        outline.push_back(g.GetPointY(i));
        outline.push_back(g.GetPointZ(i));
        left = std::min(left, g.GetPointY(i));
        right = std::max(right, g.GetPointY(i));
    }
    AddLine(OUTLINE, std::move(outline), lengthUnit);
    const double lowest = g.GetLowestZ();
    const double mid = g.GetBottomMidY();
    // The flat run around the middle of the bottom, when the section has one.
    if (mid >= 0) {
        double from = mid, to = mid;
        for (int i = 0; i < n; ++i)
            if (g.GetPointZ(i) == lowest) {
                from = std::min(from, g.GetPointY(i));
                to = std::max(to, g.GetPointY(i));
            }
        AddLine(BOTTOM, {from, lowest, to, lowest}, lengthUnit);
    }
    e = {left, right, lowest, g.GetPointZ(0), mid >= 0 ? mid : (left + right) / 2};
    if (mounting == 1 || mounting == 2) {
        e.left = EdgeAt(g, g.GetZAdcp(), true);
        e.right = EdgeAt(g, g.GetZAdcp(), false);
    }
    return true;
}

void CChannelPreview::AddInstrument(const CChannelGeometry& g, int mounting, int lengthUnit, const Extent& e)
{
    // On the wall at Z-ADCP for horizontal mounting, on the floor or under the top for
    // vertical mounting (across at Y-ADCP when it is set).
    const double z = g.GetZAdcp();
    const double across = g.GetYAdcp() > 0 ? e.left + g.GetYAdcp() : e.middle;
    double x = 0, y = 0;
    switch (mounting) {
    case 1:
        x = e.left, y = z, m_nInstrumentSide = LEFT;
        break;
    case 2:
        x = e.right, y = z, m_nInstrumentSide = RIGHT;
        break;
    case 3:
        x = across, y = e.top, m_nInstrumentSide = TOP;
        break;
    case 4:
        x = across, y = e.bottom, m_nInstrumentSide = BOTTOM_SIDE;
        break;
    default:
        return;
    }
    m_dInstrumentX = Display(x, lengthUnit);
    m_dInstrumentY = Display(y, lengthUnit);
}

bool CChannelPreview::Bounds(double& xMin, double& yMin, double& xMax, double& yMax) const
{
    bool any = false;
    for (const Line& line : m_arrLines)
        for (size_t i = 0; i + 1 < line.xy.size(); i += 2) {
            const double x = line.xy[i], y = line.xy[i + 1];
            if (!any) {
                xMin = xMax = x;
                yMin = yMax = y;
                any = true;
            }
            xMin = std::min(xMin, x), xMax = std::max(xMax, x);
            yMin = std::min(yMin, y), yMax = std::max(yMax, y);
        }
    if (any && m_nInstrumentSide != NONE) {
        xMin = std::min(xMin, m_dInstrumentX), xMax = std::max(xMax, m_dInstrumentX);
        yMin = std::min(yMin, m_dInstrumentY), yMax = std::max(yMax, m_dInstrumentY);
    }
    return any;
}

double CChannelPreview::RoundStep(double span, int maxSteps)
{
    if (!(span > 0) || !std::isfinite(span) || maxSteps < 1)
        return 1.0;
    double power = std::pow(10.0, std::floor(std::log10(span / maxSteps)));
    for (int i = 0; i < 4; ++i, power *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (span / (m * power) <= maxSteps * (1 + 1e-9))
                return m * power;
    return power;
}

CChannelPreview::Fit CChannelPreview::AxisEnds(double xMin, double xMax, double yMin, double yMax,
                                               int maxSteps)
{
    Fit fit;
    fit.step = RoundStep(std::max(xMax - xMin, yMax - yMin), maxSteps);
    // A hair of tolerance keeps an end that is a multiple already (3.0000000001) on it.
    const double s = fit.step, eps = 1e-9;
    fit.xMin = std::floor(xMin / s + eps) * s;
    fit.xMax = std::ceil(xMax / s - eps) * s;
    fit.yMin = std::floor(yMin / s + eps) * s;
    fit.yMax = std::ceil(yMax / s - eps) * s;
    if (fit.xMax <= fit.xMin)
        fit.xMax = fit.xMin + s;
    if (fit.yMax <= fit.yMin)
        fit.yMax = fit.yMin + s;
    return fit;
}

void CChannelPreview::Place(Fit& fit, int areaLeft, int areaTop, int areaWidth, int areaHeight)
{
    const double xSpan = fit.xMax - fit.xMin, ySpan = fit.yMax - fit.yMin;
    if (areaWidth <= 0 || areaHeight <= 0 || !(xSpan > 0) || !(ySpan > 0)) {
        fit.left = areaLeft, fit.top = areaTop, fit.width = std::max(0, areaWidth),
        fit.height = std::max(0, areaHeight);
        return;
    }
    const double perUnit = std::min(areaWidth / xSpan, areaHeight / ySpan);
    fit.width = std::clamp(static_cast<int>(std::lround(xSpan * perUnit)), 1, areaWidth);
    fit.height = std::clamp(static_cast<int>(std::lround(ySpan * perUnit)), 1, areaHeight);
    fit.left = areaLeft + (areaWidth - fit.width) / 2;
    fit.top = areaTop + (areaHeight - fit.height) / 2;
}
