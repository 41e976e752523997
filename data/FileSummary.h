#pragma once
// The figures of one data file that the station keeps as its data summary: times of the
// first and last entries, the number of entries, the ensemble type, and the ranges of
// stage, mean velocity and flow.
#include "data/EnsembleList.h"
#include "data/NoData.h"

#include <string>

struct SFileSummary {
    std::string m_strFileName; // without folder
    double m_dtStart = 0.0;    // 0.0 when the first entry has no time
    double m_dtStop = 0.0;
    int m_nEnsembles = 0;                     // entries, separators included
    int m_nEnsembleType = ENSEMBLE_SEPARATOR; // 2 PD14, 3 PD0, 5 both
    double m_dStageMin = NODATA;
    double m_dStageMax = NODATA;
    double m_dVelocityMin = NODATA;
    double m_dVelocityMax = NODATA;
    double m_dFlowMin = NODATA;
    double m_dFlowMax = NODATA;
};

// The figures of a loaded list (m_strFileName left empty).
SFileSummary SummarizeList(const CEnsembleList& list);

// Loads the file and fills the figures; false, with summary untouched, when the file holds
// no valid ensemble.
bool SummarizeFile(const std::string& path, const IFlowSettingsSource& settings, SFileSummary& summary);
