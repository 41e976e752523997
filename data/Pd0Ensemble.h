#pragma once
// A PD0 ensemble (first bytes 7F 7F): sections found through the section table, beam or
// X/Y velocities, a checksum.
#include "data/Ensemble.h"
#include "data/EnsembleFormat.h"

class CPd0Ensemble : public CEnsemble
{
  public:
    CPd0Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size)
        : CEnsemble(*EnsembleFormatOf(ENSEMBLE_PD0), settings, bytes, size)
    {
    }

    // Offset of a section (Pd0Section), -1 when absent.
    int GetSectionOffset(int section) const
    {
        const SEnsembleRecord& rec = GetRecord();
        if (section < 0 || section >= PD0_SECTION_COUNT || rec.m_nSection[section] == 0)
            return -1;
        return rec.m_nSection[section];
    }
    int GetNumCells() const { return GetRecord().m_nCells; }
    bool IsXY() const { return GetRecord().m_bXY != 0; }
};
