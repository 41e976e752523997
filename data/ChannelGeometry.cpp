#include "data/ChannelGeometry.h"

#include "data/NoData.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{

// Square tenths of a millimetre to square centimetres, and half of it for triangles and
// trapezoids.
constexpr double kAreaScale = 0.0001;
constexpr double kHalfAreaScale = 0.00005;

} // namespace

void CChannelGeometry::SetType(int32_t type)
{
    m_nType = type;
    m_bModified = 1;
}

void CChannelGeometry::SetDiameter(double diameter)
{
    m_dDiameter = diameter;
    m_bModified = 1;
}

void CChannelGeometry::SetRectangular(double width, double height)
{
    m_dRectWidth = width;
    m_dRectHeight = height;
    m_bModified = 1;
}

void CChannelGeometry::SetTrapezoidal(double width, double height, double slope)
{
    m_dTrapWidth = width;
    m_dTrapHeight = height;
    m_dTrapSlope = slope;
    m_bModified = 1;
}

void CChannelGeometry::SetPolynomial(double a1, double a2, double a3)
{
    m_dPoly[0] = a1;
    m_dPoly[1] = a2;
    m_dPoly[2] = a3;
    m_bModified = 1;
}

void CChannelGeometry::SetZAdcp(double z)
{
    m_dZAdcp = z;
    m_bModified = 1;
}

void CChannelGeometry::SetYAdcp(double y)
{
    m_dYAdcp = y;
    m_bModified = 1;
}

void CChannelGeometry::SetZBottom(double z)
{
    m_dZBottom = z;
    m_bModified = 1;
}

void CChannelGeometry::AddPoint(double y, double z)
{
    const int n = std::clamp<int32_t>(m_nPoints, 0, MAX_POINTS);
    if (n >= MAX_POINTS) {
        return;
    }
    m_dPointY[n] = y;
    m_dPointZ[n] = z;
    m_nPoints = n + 1;
    m_bModified = 1;
}

void CChannelGeometry::ClearPoints()
{
    std::fill(std::begin(m_dPointY), std::end(m_dPointY), 0.0);
    std::fill(std::begin(m_dPointZ), std::end(m_dPointZ), 0.0);
    m_nPoints = 0;
}

double CChannelGeometry::GetPointY(int i) const
{
    return (i >= 0 && i < MAX_POINTS) ? m_dPointY[i] : 0.0;
}

double CChannelGeometry::GetPointZ(int i) const
{
    return (i >= 0 && i < MAX_POINTS) ? m_dPointZ[i] : 0.0;
}

double CChannelGeometry::GetPolynomial(int i) const
{
    return (i >= 0 && i < 3) ? m_dPoly[i] : 0.0;
}

namespace
{

// The count of points that may be read: a record read from a damaged file can carry any
// count, the arrays hold twenty.
int UsablePoints(int32_t count)
{
    return std::clamp<int32_t>(count, 0, CChannelGeometry::MAX_POINTS);
}

double RectangularArea(double h, double width, double height, double zBottom)
{
    if (h > height) {
        h = height;
    }
    return (h - zBottom) * width * kAreaScale;
}

double TrapezoidalArea(double h, double width, double height, double slope, double zBottom)
{
    if (slope == 0.0) {
        return NODATA;
    }
    if (h > height) {
        h = height;
    }
    const double d = h - zBottom;
    return d * 2.0 * (d / slope + width) * kHalfAreaScale;
}

double CircularArea(double h, double diameter)
{
    // Below the invert the segment formula leaves the domain of acos.
    if (h < 0.0) {
        return NODATA;
    }
    const double r = diameter * 0.5;
    if (h >= 2.0 * r) {
        return 0.000314159265 * r * r;
    }
    if (h >= r) {
        const double t = 2.0 * std::acos((h - r) / r);
        return (3.14159265 * r * r - 0.5 * r * r * (t - std::sin(t))) * kAreaScale;
    }
    const double t = 2.0 * std::acos((r - h) / r);
    return kHalfAreaScale * r * r * (t - std::sin(t));
}

} // namespace

// The points run from one bank across to the other; the first point bounds the water level
// and the water fills the single run of points below it that starts at the first point at or
// below the level. Edges are interpolated on the segments that cross the water line.
static double MultiPointArea(double h, int n, const double* y, const double* z)
{
    if (n < 3) {
        return NODATA;
    }
    if (h > z[0]) {
        h = z[0];
    }
    int left = 1;
    while (left < n && z[left] > h) {
        ++left;
    }
    if (left == n) {
        return 0.0; // nothing lies at or below the level: no water
    }
    // The right bank is the first point after the left one that reaches the level. Looking
    // from the left point itself would take a point that just touches the level for the bank
    // and count the segment before it negatively.
    int right = left + 1;
    while (right < n && z[right] < h) {
        ++right;
    }
    right -= 1;
    if (right >= n - 1) {
        right = n - 2;
    }

    double area = 0.0;
    const double leftDepth = h - z[left];
    if (leftDepth != 0.0) {
        const double yl = y[left] - (y[left] - y[left - 1]) * leftDepth / (z[left - 1] - z[left]);
        area += (y[left] - yl) * leftDepth * kHalfAreaScale;
    }
    for (int k = left; k < right; ++k) {
        area += (y[k + 1] - y[k]) * ((h - z[k]) + (h - z[k + 1])) * kHalfAreaScale;
    }
    const double rightDepth = h - z[right];
    if (rightDepth != 0.0) {
        const double rise = z[right + 1] - z[right];
        if (rise == 0.0) {
            // A flat last segment under water (a section open to the right) has no crossing to
            // interpolate: the water over it is counted whole, up to its last point.
            area += (y[right + 1] - y[right]) * 2.0 * rightDepth * kHalfAreaScale;
        } else {
            const double yr = (y[right + 1] - y[right]) * rightDepth / rise + y[right];
            area += (yr - y[right]) * rightDepth * kHalfAreaScale;
        }
    }
    return area;
}

double CChannelGeometry::GetArea(double stage) const
{
    if (IsNoData(stage)) {
        return NODATA;
    }
    switch (m_nType) {
    case CHANNEL_RECTANGULAR:
        return RectangularArea(stage, m_dRectWidth, m_dRectHeight, m_dZBottom);
    case CHANNEL_TRAPEZOIDAL:
        return TrapezoidalArea(stage, m_dTrapWidth, m_dTrapHeight, m_dTrapSlope, m_dZBottom);
    case CHANNEL_CIRCULAR:
        return CircularArea(stage, m_dDiameter);
    case CHANNEL_POLYNOMIAL:
        return (m_dPoly[2] * stage * stage + m_dPoly[1] * stage + m_dPoly[0]) * kAreaScale;
    case CHANNEL_MULTIPOINT:
        return MultiPointArea(stage, UsablePoints(m_nPoints), m_dPointY, m_dPointZ);
    default:
        return NODATA;
    }
}

// Where the section wall crosses elevation zc between points a and b. A flat segment has no
// crossing of its own; it gives the point on the bank side.
static double CrossingY(const double* y, const double* z, int a, int b, double zc, double flatY)
{
    const double rise = z[b] - z[a];
    if (rise == 0.0) {
        return flatY;
    }
    return y[a] + (zc - z[a]) * (y[b] - y[a]) / rise;
}

static double MultiPointWidth(double zc, int n, const double* y, const double* z)
{
    if (n < 2) {
        return 0.0;
    }
    int i = 1;
    while (i < n && z[i] > zc) {
        ++i;
    }
    const double leftEdge = i < n ? CrossingY(y, z, i - 1, i, zc, y[i - 1]) : -1.0;

    int j = n - 1;
    while (j >= 2 && z[j - 1] > zc) {
        --j;
    }
    const double rightEdge = j == 1 ? -1.0 : CrossingY(y, z, j - 1, j, zc, y[j]);
    return rightEdge - leftEdge;
}

double CChannelGeometry::GetWidthAt(double z) const
{
    if (IsNoData(z)) {
        return NODATA;
    }
    switch (m_nType) {
    case CHANNEL_RECTANGULAR:
        return m_dRectWidth;
    case CHANNEL_CIRCULAR: {
        // Outside the pipe there is no chord to measure.
        if (z < 0.0 || z > m_dDiameter) {
            return NODATA;
        }
        const double r = m_dDiameter * 0.5;
        const double t = z <= r ? z : 2.0 * r - z;
        const double square = 0.25 * m_dDiameter * m_dDiameter - (r - t) * (r - t);
        return 2.0 * std::sqrt(std::max(square, 0.0));
    }
    case CHANNEL_TRAPEZOIDAL:
        if (m_dTrapSlope == 0.0) {
            return NODATA;
        }
        return 2.0 * z / m_dTrapSlope + m_dTrapWidth;
    case CHANNEL_MULTIPOINT:
        return MultiPointWidth(z, UsablePoints(m_nPoints), m_dPointY, m_dPointZ);
    case CHANNEL_POLYNOMIAL: {
        const double above = m_dPoly[0] + m_dPoly[1] * (z + 5.0) + m_dPoly[2] * (z + 5.0) * (z + 5.0);
        const double below = m_dPoly[0] + m_dPoly[1] * (z - 5.0) + m_dPoly[2] * (z - 5.0) * (z - 5.0);
        return (above - below) / 10.0;
    }
    default:
        return 0.0;
    }
}

double CChannelGeometry::GetDepthFigure() const
{
    switch (m_nType) {
    case CHANNEL_RECTANGULAR:
        return m_dRectHeight;
    case CHANNEL_CIRCULAR:
        return m_dDiameter;
    case CHANNEL_TRAPEZOIDAL:
        return m_dTrapHeight;
    case CHANNEL_MULTIPOINT: {
        // The vertical extent of the points: from the lowest to the highest.
        const int n = UsablePoints(m_nPoints);
        if (n == 0) {
            return 0.0;
        }
        const auto [lowest, highest] = std::minmax_element(m_dPointZ, m_dPointZ + n);
        return *highest - *lowest;
    }
    default:
        return 0.0;
    }
}

double CChannelGeometry::GetLowestZ() const
{
    const int n = UsablePoints(m_nPoints);
    if (n == 0) {
        return 0.0;
    }
    return *std::min_element(m_dPointZ, m_dPointZ + n);
}

double CChannelGeometry::GetBottomMidY() const
{
    const int n = UsablePoints(m_nPoints);
    for (int i = 1; i <= n - 2; ++i) {
        if (m_dPointZ[i - 1] > m_dPointZ[i] && m_dPointZ[i] <= m_dPointZ[i + 1]) {
            int last = i;
            while (last + 1 < n && m_dPointZ[last + 1] == m_dPointZ[i]) {
                ++last;
            }
            return (m_dPointY[i] + m_dPointY[last]) * 0.5;
        }
    }
    return -1.0;
}

const char* CChannelGeometry::TypeName(int32_t type)
{
    switch (type) {
    case CHANNEL_MULTIPOINT:
        return "Multi-point";
    case CHANNEL_RECTANGULAR:
        return "Rectangular";
    case CHANNEL_TRAPEZOIDAL:
        return "Trapezoidal";
    case CHANNEL_POLYNOMIAL:
        return "Polynomial";
    case CHANNEL_CIRCULAR:
        return "Circular";
    default:
        return "Unknown";
    }
}
