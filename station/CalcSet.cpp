#include "station/CalcSet.h"

#include "station/GeometryRecord.h"
#include "station/StationArchive.h"

CCalcSet::CCalcSet() : m_pGeometry(std::make_unique<CChannelGeometry>())
{
}

CCalcSet::CCalcSet(const CCalcSet& other)
    : m_dtStart(other.m_dtStart), m_dBinSize(other.m_dBinSize), m_dBlank(other.m_dBlank),
      m_dForcedDepth(other.m_dForcedDepth), m_nVelRangeStart(other.m_nVelRangeStart),
      m_nVelRangeStop(other.m_nVelRangeStop), m_nVelocityModel(other.m_nVelocityModel),
      m_dCritVelocity(other.m_dCritVelocity), m_nMounting(other.m_nMounting),
      m_pGeometry(std::make_unique<CChannelGeometry>(*other.m_pGeometry))
{
    for (int i = 0; i < 4; ++i)
        m_dModelCoef[i] = other.m_dModelCoef[i];
}

CCalcSet& CCalcSet::operator=(const CCalcSet& other)
{
    if (this != &other) {
        CCalcSet copy(other);
        *m_pGeometry = *copy.m_pGeometry;
        m_dtStart = copy.m_dtStart;
        m_dBinSize = copy.m_dBinSize;
        m_dBlank = copy.m_dBlank;
        m_dForcedDepth = copy.m_dForcedDepth;
        m_nVelRangeStart = copy.m_nVelRangeStart;
        m_nVelRangeStop = copy.m_nVelRangeStop;
        m_nVelocityModel = copy.m_nVelocityModel;
        for (int i = 0; i < 4; ++i)
            m_dModelCoef[i] = copy.m_dModelCoef[i];
        m_dCritVelocity = copy.m_dCritVelocity;
        m_nMounting = copy.m_nMounting;
    }
    return *this;
}

void CCalcSet::Serialize(CStationArchive& ar)
{
    ar.Date(m_dtStart);
    ar.Double(m_dBinSize);
    ar.Double(m_dBlank);
    ar.Double(m_dForcedDepth);
    ar.Int32(m_nVelRangeStart);
    ar.Int32(m_nVelRangeStop);
    ar.Int32(m_nVelocityModel);
    for (double& coef : m_dModelCoef)
        ar.Double(coef);
    ar.Double(m_dCritVelocity);
    ar.Int32(m_nMounting);
    SerializeGeometry(ar, *m_pGeometry);
}

double CCalcSet::BinOffset() const
{
    switch (m_nMounting) {
    case 1: // left
    case 2: // right
        return m_pGeometry->GetYAdcp();
    case 4: // bottom
        return m_pGeometry->GetZAdcp();
    default: // top: ranges are measured down from the instrument itself
        return 0.0;
    }
}

double CCalcSet::GetBinStart(int i) const
{
    return BinOffset() + m_dBlank + i * m_dBinSize;
}

double CCalcSet::GetBinCenter(int i) const
{
    return GetBinStart(i) + 0.5 * m_dBinSize;
}

double CCalcSet::GetBinEnd(int i) const
{
    return BinOffset() + m_dBlank + (i + 1) * m_dBinSize;
}
