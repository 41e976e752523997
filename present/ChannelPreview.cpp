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

} // namespace

void CChannelPreview::AddLine(int which, std::vector<double> xy, int lengthUnit)
{
    for (double& v : xy)
        v = ToDisplayUnits(v, lengthUnit);
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
        line.r = 220, line.g = 0, line.b = 0;
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
    // A square mark on the wall at Z-ADCP for horizontal mounting, on the floor or under the
    // top for vertical mounting (across at Y-ADCP when it is set).
    const double m = MARK_SIZE, z = g.GetZAdcp();
    const double across = g.GetYAdcp() > 0 ? e.left + g.GetYAdcp() : e.middle;
    double x0 = 0, y0 = 0;
    switch (mounting) {
    case 1:
        x0 = e.left, y0 = z - m / 2;
        break;
    case 2:
        x0 = e.right - m, y0 = z - m / 2;
        break;
    case 3:
        x0 = across - m / 2, y0 = e.top - m;
        break;
    case 4:
        x0 = across - m / 2, y0 = e.bottom;
        break;
    default:
        return;
    }
    AddLine(INSTRUMENT, {x0, y0, x0 + m, y0, x0 + m, y0 + m, x0, y0 + m, x0, y0}, lengthUnit);
}
