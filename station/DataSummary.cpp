#include "station/DataSummary.h"

#include "station/StationArchive.h"

const char* CDataSummary::EnsembleTypeName(int32_t type)
{
    switch (type) {
    case 2:
        return "PD14";
    case 3:
        return "PD0";
    case 5:
        return "Mixed";
    default:
        return "Unknown";
    }
}

void CDataSummary::Serialize(CStationArchive& ar)
{
    ar.Text(m_strFileName);
    ar.Date(m_dtStart);
    ar.Date(m_dtStop);
    ar.Int32(m_nEnsembles);
    ar.Int32(m_nEnsembleType);
    ar.Double(m_dStageMin);
    ar.Double(m_dStageMax);
    ar.Double(m_dVelocityMin);
    ar.Double(m_dVelocityMax);
    ar.Double(m_dFlowMin);
    ar.Double(m_dFlowMax);
}
