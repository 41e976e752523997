#pragma once
// A PD14 ensemble (first bytes 8F 8F): fixed fields and X/Y velocities, no checksum.
#include "data/Ensemble.h"
#include "data/EnsembleFormat.h"

class CPd14Ensemble : public CEnsemble
{
  public:
    CPd14Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size)
        : CEnsemble(*EnsembleFormatOf(ENSEMBLE_PD14), settings, bytes, size)
    {
    }

    int GetNumBins() const { return GetRecord().m_nCells; }
};
