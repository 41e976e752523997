#include "station/GraphPrefs.h"

#include "station/StationArchive.h"

namespace
{
int Set(int32_t flag)
{
    return flag != 0 ? 1 : 0;
}
} // namespace

void CGraphPrefs::RestoreDefaults()
{
    m_bTabular = 1;
    m_bQVD = 1;
    m_bWhisker = 1;
    m_bContours = 1;
    m_bBinVelocities = 0;
    m_bVectors = 1;
    m_bAmplitude = 1;
    m_bCorrelation = 1;
    m_bSpare = 0;
    m_arrDataTypes = {1, 2, 3, 4, 5, 6, 7, 8};
}

int CGraphPrefs::GetBeamGraphCount() const
{
    return Set(m_bBinVelocities) + Set(m_bVectors) + Set(m_bAmplitude) + Set(m_bCorrelation);
}

int CGraphPrefs::GetGraphPaneCount() const
{
    return (GetBeamGraphCount() != 0 ? 1 : 0) + Set(m_bQVD) + Set(m_bWhisker);
}

void CGraphPrefs::Serialize(CStationArchive& ar)
{
    // Correlation is stored before amplitude.
    ar.Int32(m_bTabular);
    ar.Int32(m_bQVD);
    ar.Int32(m_bWhisker);
    ar.Int32(m_bContours);
    ar.Int32(m_bBinVelocities);
    ar.Int32(m_bVectors);
    ar.Int32(m_bCorrelation);
    ar.Int32(m_bAmplitude);
    ar.Int32(m_bSpare);
    size_t count = m_arrDataTypes.size();
    ar.PlainCount(count, 2);
    if (ar.IsLoading())
        m_arrDataTypes.assign(count, 0);
    for (auto& code : m_arrDataTypes)
        ar.UInt16(code);
}
