#pragma once
// The picture of a channel cross-section, in display units, as lines for the graph control:
// the outline of the section, its bottom and the instrument as a small mark placed by its
// mounting; or, for a polynomial section, its area curve. Plain data so that the shapes can
// be checked without a screen.
#include <string>
#include <vector>

class CChannelGeometry;

class CChannelPreview
{
  public:
    struct Line {
        std::vector<double> xy; // x0, y0, x1, y1, ...
        int r = 0, g = 0, b = 0;
    };

    // The width of the instrument mark in tenths of a millimetre (0.15 m).
    static constexpr double MARK_SIZE = 1500.0;
    static constexpr int OUTLINE = 0, BOTTOM = 1, INSTRUMENT = 2;

    // lengthUnit: the station's stage display unit. stage4mA / stage20mA (internal units)
    // bound the polynomial's area curve.
    void Build(const CChannelGeometry& geometry, int mounting, int lengthUnit, double stage4mA,
               double stage20mA);

    std::vector<Line> m_arrLines;
    std::string m_strMessage; // a shape that cannot be drawn says why
    std::string m_strXTitle, m_strYTitle;
    bool m_bCurve = false; // an area curve rather than a section

  private:
    // The horizontal extent of a section and its floor and top elevations, which place the
    // instrument mark.
    struct Extent {
        double left = 0, right = 0, bottom = 0, top = 0, middle = 0;
    };

    void AddLine(int which, std::vector<double> xy, int lengthUnit);
    void BuildSection(const CChannelGeometry& geometry, int mounting, int lengthUnit);
    // One per shape; false when the shape cannot be drawn (and then has no mark).
    bool AddRectangle(const CChannelGeometry& geometry, int lengthUnit, Extent& extent);
    bool AddTrapezoid(const CChannelGeometry& geometry, int mounting, int lengthUnit, Extent& extent);
    bool AddCircle(const CChannelGeometry& geometry, int lengthUnit, Extent& extent);
    bool AddMultiPoint(const CChannelGeometry& geometry, int mounting, int lengthUnit, Extent& extent);
    void AddInstrument(const CChannelGeometry& geometry, int mounting, int lengthUnit, const Extent& extent);
    void BuildAreaCurve(const CChannelGeometry& geometry, int lengthUnit, double stage4mA, double stage20mA);
};
