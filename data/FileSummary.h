#pragma once
// The figures of one data file that the station keeps as its data summary, so that the
// station view need not reread every file: times of the first and last entries, the number
// of entries, the ensemble type, and the ranges of stage, mean velocity and flow. Ranges
// are in internal units; NODATA when never seen.
#include "data/DateTime.h"
#include "data/EnsembleList.h"
#include "data/NoData.h"

#include <cstdint>
#include <string>

class CDataSummary
{
  public:
    std::string m_strFileName; // without folder
    CDateTime m_dtStart;       // day 0 when the first entry has no time
    CDateTime m_dtStop;
    int32_t m_nEnsembles = 0;                     // entries, separators included
    int32_t m_nEnsembleType = ENSEMBLE_SEPARATOR; // 2 PD14, 3 PD0, 5 both, anything else unknown
    double m_dStageMin = NODATA;
    double m_dStageMax = NODATA;
    double m_dVelocityMin = NODATA;
    double m_dVelocityMax = NODATA;
    double m_dFlowMin = NODATA;
    double m_dFlowMax = NODATA;

    // "PD14", "PD0", "Mixed" or "Unknown".
    static const char* EnsembleTypeName(int32_t type);

    friend bool operator==(const CDataSummary&, const CDataSummary&) = default;
};

// The figures of a loaded list (m_strFileName left empty).
CDataSummary SummarizeList(const CEnsembleList& list);

// Loads the file and fills the figures; false, with summary untouched, when the file holds
// no valid ensemble. error (when given) says why a file could not be read at all.
bool SummarizeFile(const std::string& path, const CFlowSettingsTable& settings, CDataSummary& summary,
                   std::string* error = nullptr);
