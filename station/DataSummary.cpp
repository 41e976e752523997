#include "station/DataSummary.h"

#include "station/FieldArchive.h"

namespace
{

using Field = SField<CDataSummary>;
using S = CDataSummary;

const Field kFields[] = {
    {"m_strFileName", +[](S& s) -> std::string& { return s.m_strFileName; }},
    {"m_dtStart", +[](S& s) -> CDateTime& { return s.m_dtStart; }},
    {"m_dtStop", +[](S& s) -> CDateTime& { return s.m_dtStop; }},
    {"m_nEnsembles", +[](S& s) -> int32_t& { return s.m_nEnsembles; }},
    {"m_nEnsembleType", +[](S& s) -> int32_t& { return s.m_nEnsembleType; }},
    {"m_dStageMin", +[](S& s) -> double& { return s.m_dStageMin; }},
    {"m_dStageMax", +[](S& s) -> double& { return s.m_dStageMax; }},
    {"m_dVelocityMin", +[](S& s) -> double& { return s.m_dVelocityMin; }},
    {"m_dVelocityMax", +[](S& s) -> double& { return s.m_dVelocityMax; }},
    {"m_dFlowMin", +[](S& s) -> double& { return s.m_dFlowMin; }},
    {"m_dFlowMax", +[](S& s) -> double& { return s.m_dFlowMax; }},
};

} // namespace

std::span<const SField<CDataSummary>> DataSummaryFields()
{
    return kFields;
}

void SerializeDataSummary(CStationArchive& ar, CDataSummary& summary)
{
    SerializeFields<CDataSummary>(ar, summary, kFields);
}
