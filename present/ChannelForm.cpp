#include "present/ChannelForm.h"

#include "data/ChannelGeometry.h"
#include "data/FlowSettings.h"
#include "data/FormatValue.h"
#include "data/Units.h"
#include "station/Station.h"

namespace
{

constexpr const char* kTypeTexts[] = {"Rectangular", "Circular", "Trapezoidal", "Multi-Point", "Polynomial"};
constexpr int kTypeCodes[] = {CHANNEL_RECTANGULAR, CHANNEL_CIRCULAR, CHANNEL_TRAPEZOIDAL, CHANNEL_MULTIPOINT,
                              CHANNEL_POLYNOMIAL};
constexpr const char* kMountingTexts[] = {"Left", "Right", "Bottom", "Top"};
constexpr int kMountingCodes[] = {MOUNTING_LEFT, MOUNTING_RIGHT, MOUNTING_BOTTOM, MOUNTING_TOP};

template <size_t N> int IndexOf(const int (&codes)[N], int code)
{
    for (size_t i = 0; i < N; ++i)
        if (codes[i] == code)
            return static_cast<int>(i);
    return -1;
}

} // namespace

const char* CChannelForm::TypeText(int button)
{
    return button >= 0 && button < TYPE_COUNT ? kTypeTexts[button] : "";
}

int CChannelForm::TypeCode(int button)
{
    return button >= 0 && button < TYPE_COUNT ? kTypeCodes[button] : 0;
}

const char* CChannelForm::MountingText(int button)
{
    return button >= 0 && button < MOUNTING_COUNT ? kMountingTexts[button] : "";
}

int CChannelForm::MountingCode(int button)
{
    return button >= 0 && button < MOUNTING_COUNT ? kMountingCodes[button] : 0;
}

void CChannelForm::Load(const CStation& station)
{
    const CChannelGeometry& g = station.GetGeometry();
    m_nType = g.GetType();
    m_nMounting = station.GetMounting();
    m_nUnit = station.GetStageUnits();
    m_strUnit = UnitAbbreviation(m_nUnit);
    m_nTypeButton = IndexOf(kTypeCodes, m_nType);
    m_nMountingButton = IndexOf(kMountingCodes, m_nMounting);
    const int unit = m_nUnit;
    const auto length = [unit](CNumberText& edit, double value) {
        edit.Show(value, FormatValue(ToDisplayUnits(value, unit)));
    };

    m_arrDimLabels = {};
    m_arrDimUnits = {};
    m_arrDimVisible = {};
    for (CNumberText& edit : m_arrDims)
        edit.Clear();
    m_bDimensionsVisible = true;
    m_bPointsVisible = false;
    m_bZBottomVisible = false;
    switch (m_nType) {
    case CHANNEL_CIRCULAR:
        m_arrDimVisible[1] = true;
        m_arrDimLabels[1] = "Diameter:";
        m_arrDimUnits[1] = m_strUnit;
        length(m_arrDims[1], g.GetDiameter());
        break;
    case CHANNEL_RECTANGULAR:
        m_arrDimVisible = {true, true, false};
        m_arrDimLabels = {"Width:", "Height:", ""};
        m_arrDimUnits = {m_strUnit, m_strUnit, ""};
        length(m_arrDims[0], g.GetRectWidth());
        length(m_arrDims[1], g.GetRectHeight());
        m_bZBottomVisible = true;
        break;
    case CHANNEL_TRAPEZOIDAL:
        m_arrDimVisible = {true, true, true};
        m_arrDimLabels = {"Width:", "Height:", "Slope:"};
        m_arrDimUnits = {m_strUnit, m_strUnit, ""};
        length(m_arrDims[0], g.GetTrapWidth());
        length(m_arrDims[1], g.GetTrapHeight());
        m_arrDims[2].Show(g.GetTrapSlope(), FormatValue(g.GetTrapSlope()));
        m_bZBottomVisible = true;
        break;
    case CHANNEL_POLYNOMIAL: {
        // A1 is an area: the length unit applies twice.
        m_arrDimVisible = {true, true, true};
        m_arrDimLabels = {"A1:", "A2:", "A3:"};
        m_arrDimUnits = {"sq " + m_strUnit, m_strUnit, ""};
        const double a1 = g.GetPolynomial(0), a2 = g.GetPolynomial(1), a3 = g.GetPolynomial(2);
        m_arrDims[0].Show(a1, FormatValue(ToDisplayUnits(ToDisplayUnits(a1, unit), unit), true));
        m_arrDims[1].Show(a2, FormatValue(ToDisplayUnits(a2, unit), true));
        m_arrDims[2].Show(a3, FormatValue(a3, true));
        break;
    }
    case CHANNEL_MULTIPOINT:
        m_bDimensionsVisible = false;
        m_bPointsVisible = true;
        break;
    default:
        break;
    }

    m_bZAdcpEnabled = m_nMounting != MOUNTING_TOP;
    if (m_bZAdcpEnabled)
        length(m_zAdcp, g.GetZAdcp());
    else
        m_zAdcp.Show(g.GetZAdcp(), "N/A");
    length(m_yAdcp, g.GetYAdcp());
    length(m_zBottom, g.GetZBottom());

    // Rows past the last point stay empty: an empty row reads as 0/0, the end of the list.
    for (int i = 0; i < POINT_ROWS; ++i) {
        if (i < g.GetNumPoints()) {
            length(m_arrPointY[i], g.GetPointY(i));
            length(m_arrPointZ[i], g.GetPointZ(i));
        } else {
            m_arrPointY[i].Clear();
            m_arrPointZ[i].Clear();
        }
    }
}

void CChannelForm::Store(CStation& station) const
{
    const int unit = m_nUnit;
    const auto fromUnit = [unit](double v) { return ToInternalUnits(v, unit); };
    const auto fromSquareUnit = [unit](double v) { return ToInternalUnits(ToInternalUnits(v, unit), unit); };
    CChannelGeometry& g = station.GetGeometry();
    if (m_nMounting != MOUNTING_TOP)
        g.SetZAdcp(m_zAdcp.Value(fromUnit));
    // The bin positions and the profiling range count from Y-ADCP, so what is typed for it
    // is kept like every other edit on the page.
    g.SetYAdcp(m_yAdcp.Value(fromUnit));
    switch (m_nType) {
    case CHANNEL_RECTANGULAR:
        g.SetZBottom(m_zBottom.Value(fromUnit));
        g.SetRectangular(m_arrDims[0].Value(fromUnit), m_arrDims[1].Value(fromUnit));
        break;
    case CHANNEL_TRAPEZOIDAL:
        g.SetZBottom(m_zBottom.Value(fromUnit));
        g.SetTrapezoidal(m_arrDims[0].Value(fromUnit), m_arrDims[1].Value(fromUnit), m_arrDims[2].Value());
        break;
    case CHANNEL_CIRCULAR:
        g.SetDiameter(m_arrDims[1].Value(fromUnit));
        break;
    case CHANNEL_POLYNOMIAL:
        g.SetPolynomial(m_arrDims[0].Value(fromSquareUnit), m_arrDims[1].Value(fromUnit),
                        m_arrDims[2].Value());
        break;
    case CHANNEL_MULTIPOINT:
        // A row reading 0 and 0 (an empty row reads so) ends the list: stored station
        // files and the operators' habit both take the 0/0 row as the end marker.
        g.ClearPoints();
        for (int i = 0; i < POINT_ROWS; ++i) {
            const double y = m_arrPointY[i].Value(fromUnit), z = m_arrPointZ[i].Value(fromUnit);
            if (y == 0.0 && z == 0.0)
                break;
            g.AddPoint(y, z);
        }
        g.SetModified(true);
        break;
    default:
        break;
    }
    station.SetModified(true);
}

void CChannelForm::SetType(CStation& station, int button)
{
    if (button < 0 || button >= TYPE_COUNT)
        return;
    station.GetGeometry().SetType(TypeCode(button));
    Load(station);
}

void CChannelForm::SetMounting(CStation& station, int button)
{
    if (button < 0 || button >= MOUNTING_COUNT)
        return;
    station.SetMounting(static_cast<Mounting>(MountingCode(button)));
    Load(station);
}
