#pragma once
// The channel geometry of a station (or of a calculation set): channel type, dimensions,
// points or coefficients, and the instrument's position. All lengths in tenths of a
// millimetre, areas in square centimetres.
#include <cstdint>

enum ChannelType : int32_t {
    CHANNEL_MULTIPOINT = 20,
    CHANNEL_RECTANGULAR = 21,
    CHANNEL_TRAPEZOIDAL = 22,
    CHANNEL_POLYNOMIAL = 23,
    CHANNEL_CIRCULAR = 24,
};

class CChannelGeometry
{
  public:
    static constexpr int MAX_POINTS = 20;

    CChannelGeometry() = default;
    CChannelGeometry(const CChannelGeometry&) = default; // copies m_bModified too
    CChannelGeometry& operator=(const CChannelGeometry&) = default;
    virtual ~CChannelGeometry() = default;

    // Setters: each sets m_bModified.
    void SetType(int32_t type);
    void SetDiameter(double diameter);
    void SetRectangular(double width, double height);
    void SetTrapezoidal(double width, double height, double slope);
    void SetPolynomial(double a1, double a2, double a3);
    void SetZAdcp(double z);
    void SetYAdcp(double y);
    void SetZBottom(double z);
    void AddPoint(double y, double z); // ignored once MAX_POINTS are held
    void ClearPoints();                // zeroes every point and the count; leaves m_bModified
    void SetModified(bool modified) { m_bModified = modified ? 1 : 0; }

    ChannelType GetType() const { return static_cast<ChannelType>(m_nType); }
    double GetDiameter() const { return m_dDiameter; }
    double GetRectWidth() const { return m_dRectWidth; }
    double GetRectHeight() const { return m_dRectHeight; }
    double GetTrapWidth() const { return m_dTrapWidth; }
    double GetTrapHeight() const { return m_dTrapHeight; }
    double GetTrapSlope() const { return m_dTrapSlope; }
    int32_t GetNumPoints() const { return m_nPoints; }
    double GetPointY(int i) const;
    double GetPointZ(int i) const;
    double GetPolynomial(int i) const; // A1, A2, A3 for 0, 1, 2; 0.0 otherwise
    double GetZAdcp() const { return m_dZAdcp; }
    double GetYAdcp() const { return m_dYAdcp; }
    double GetZBottom() const { return m_dZBottom; }
    bool IsModified() const { return m_bModified != 0; }

    // Wetted area in square centimetres at the given stage, or NODATA.
    double GetArea(double stage) const;
    // Width of the section at elevation z.
    double GetWidthAt(double z) const;
    // The vertical extent of the section used for vertical mounting.
    double GetDepthFigure() const;
    // Preview shape queries: the lowest Z of the points (0.0 without points), and the Y
    // midway across the first flat bottom (-1.0 when there is none).
    double GetLowestZ() const;
    double GetBottomMidY() const;

    // The name shown for a channel type: "Multi-point", "Rectangular", ..., "Unknown".
    static const char* TypeName(int32_t type);

    // Fields, in stored order (the station file keeps each point as a Y, Z pair).
    int32_t m_nType = CHANNEL_RECTANGULAR;
    double m_dDiameter = 60960.0;
    double m_dRectWidth = 60960.0;
    double m_dRectHeight = 30480.0;
    double m_dTrapWidth = 60960.0;
    double m_dTrapHeight = 30480.0;
    double m_dTrapSlope = 2.0;
    int32_t m_nPoints = 0;
    double m_dPointY[MAX_POINTS] = {};
    double m_dPointZ[MAX_POINTS] = {};
    double m_dPoly[3] = {};
    double m_dZAdcp = 0.0;
    double m_dYAdcp = 0.0;
    double m_dZBottom = 0.0;
    int32_t m_bModified = 0; // not stored
};
