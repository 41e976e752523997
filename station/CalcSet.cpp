#include "station/CalcSet.h"

#include "station/FieldArchive.h"

namespace
{

using Field = SField<CCalcSet>;
using C = CCalcSet;

const Field kFields[] = {
    {"m_dtStart", +[](C& c) -> CDateTime& { return c.m_dtStart; }},
    {"m_dBinSize", +[](C& c) -> double& { return c.m_dBinSize; }},
    {"m_dBlank", +[](C& c) -> double& { return c.m_dBlank; }},
    {"m_dForcedDepth", +[](C& c) -> double& { return c.m_settings.m_dForcedStage; }},
    {"m_nVelRangeStart", +[](C& c) -> int32_t& { return c.m_settings.m_nVelRangeStart; }},
    {"m_nVelRangeStop", +[](C& c) -> int32_t& { return c.m_settings.m_nVelRangeStop; }},
    {"m_nVelocityModel", +[](C& c) -> int32_t& { return c.m_settings.m_nVelocityModel; }},
    {"m_dModelCoef", +[](C& c) -> ModelCoefs& { return c.m_settings.m_dModelCoef; }},
    {"m_dCritVelocity", +[](C& c) -> double& { return c.m_settings.m_dCritVelocity; }},
    {"m_nMounting", +[](C& c) -> int32_t& { return c.m_settings.m_nMounting; }},
    {"m_pGeometry", +[](C& c) -> CChannelGeometry& { return c.m_settings.m_geometry; }},
};

} // namespace

std::span<const SField<CCalcSet>> CCalcSet::Fields()
{
    return kFields;
}

void CCalcSet::Serialize(CStationArchive& ar)
{
    SerializeFields<CCalcSet>(ar, *this, kFields);
}

double CCalcSet::BinOffset() const
{
    switch (m_settings.m_nMounting) {
    case MOUNTING_LEFT:
    case MOUNTING_RIGHT:
        return m_settings.m_geometry.GetYAdcp();
    case MOUNTING_BOTTOM:
        return m_settings.m_geometry.GetZAdcp();
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
