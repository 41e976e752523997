#include "station/GeometryRecord.h"

#include "data/ChannelGeometry.h"
#include "station/StationArchive.h"

void SerializeGeometry(CStationArchive& ar, CChannelGeometry& geometry)
{
    ar.Int32(geometry.m_nType);
    ar.Double(geometry.m_dDiameter);
    ar.Double(geometry.m_dRectWidth);
    ar.Double(geometry.m_dRectHeight);
    ar.Double(geometry.m_dTrapWidth);
    ar.Double(geometry.m_dTrapHeight);
    ar.Double(geometry.m_dTrapSlope);
    // The point count is kept as found; the geometry's own code bounds its use to the
    // twenty slots.
    ar.Int32(geometry.m_nPoints);
    for (int i = 0; i < CChannelGeometry::MAX_POINTS; ++i) {
        ar.Double(geometry.m_dPointY[i]);
        ar.Double(geometry.m_dPointZ[i]);
    }
    ar.Double(geometry.m_dPoly[0]);
    ar.Double(geometry.m_dPoly[1]);
    ar.Double(geometry.m_dPoly[2]);
    ar.Double(geometry.m_dZAdcp);
    ar.Double(geometry.m_dYAdcp);
    ar.Double(geometry.m_dZBottom);
}
