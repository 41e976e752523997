#pragma once
// The summary of one recorded data file, cached in the station so that the station view
// need not reread every file. Ranges are in internal units; NODATA when never seen.
#include "data/DateTime.h"
#include "data/NoData.h"

#include <cstdint>
#include <string>

class CStationArchive;

class CDataSummary
{
  public:
    CDataSummary() = default;
    CDataSummary(const CDataSummary&) = default;
    CDataSummary& operator=(const CDataSummary&) = default;
    virtual ~CDataSummary() = default;

    virtual void Serialize(CStationArchive& ar);

    // "PD14", "PD0", "Mixed" or "Unknown".
    static const char* EnsembleTypeName(int32_t type);

    std::string m_strFileName; // without folder
    CDateTime m_dtStart;
    CDateTime m_dtStop;
    int32_t m_nEnsembles = 0;
    int32_t m_nEnsembleType = 1; // 2 PD14, 3 PD0, 5 mixed, anything else unknown
    double m_dStageMin = NODATA;
    double m_dStageMax = NODATA;
    double m_dVelocityMin = NODATA;
    double m_dVelocityMax = NODATA;
    double m_dFlowMin = NODATA;
    double m_dFlowMax = NODATA;

    friend bool operator==(const CDataSummary&, const CDataSummary&) = default;
};
