#pragma once
// The picture of a channel cross-section, in display units, as lines for the graph control:
// the outline of the section and its bottom, and the point where the instrument sits with
// the side it is mounted on; or, for a polynomial section, its area curve. Also where a
// section goes in a plot: round axis ends, one step for both axes, equal scales, centred.
// Plain data so that the shapes and the fit can be checked without a screen.
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

    static constexpr int OUTLINE = 0, BOTTOM = 1;
    // The side of the section the instrument is mounted on; the mark points away from it.
    enum Side { NONE, LEFT, RIGHT, TOP, BOTTOM_SIDE };

    // Axis ends and steps of a section's plot, and the rectangle it takes in the area
    // offered (pixels).
    struct Fit {
        double xMin = 0, xMax = 1, yMin = 0, yMax = 1, step = 1;
        int left = 0, top = 0, width = 0, height = 0;
    };
    // The round step (1, 2 or 5 times a power of ten) that cuts the larger span into at most
    // `maxSteps` steps.
    static double RoundStep(double span, int maxSteps);
    // Axis ends of the section's bounding box: each end the nearest multiple of the step at
    // or beyond the box, so that both ends are round and labelled.
    static Fit AxisEnds(double xMin, double xMax, double yMin, double yMax, int maxSteps = 7);
    // Places axes with these ends in the area at equal scales (a metre across as many pixels
    // as a metre up), as large as the area allows, centred in it.
    static void Place(Fit& fit, int areaLeft, int areaTop, int areaWidth, int areaHeight);
    // The bounding box of every line: min x, min y, max x, max y; false when there are none.
    bool Bounds(double& xMin, double& yMin, double& xMax, double& yMax) const;

    // lengthUnit: the station's stage display unit. stage4mA / stage20mA (internal units)
    // bound the polynomial's area curve.
    void Build(const CChannelGeometry& geometry, int mounting, int lengthUnit, double stage4mA,
               double stage20mA);

    std::vector<Line> m_arrLines;
    std::string m_strMessage; // a shape that cannot be drawn says why
    std::string m_strXTitle, m_strYTitle;
    bool m_bCurve = false; // an area curve rather than a section
    // Where the instrument sits (display units), on the side it is mounted on; NONE for no mark.
    Side m_nInstrumentSide = NONE;
    double m_dInstrumentX = 0, m_dInstrumentY = 0;

  private:
    // The horizontal extent of a section and its floor and top elevations, which place the
    // instrument.
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
