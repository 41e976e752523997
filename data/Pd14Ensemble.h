#pragma once
// A PD14 ensemble (first bytes 8F 8F): fixed fields and X/Y velocities, no checksum.
#include "data/Ensemble.h"
#include "data/FlowSettings.h"

class CEnsembleReader;

class CPd14Ensemble : public CEnsemble
{
  public:
    CPd14Ensemble(const CFlowSettings& settings, const CEnsembleReader& reader);
    CPd14Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size);

    double GetValue(int dataType, int beam, int bin) const override;
    int GetType() const override { return ENSEMBLE_PD14; }
    bool IsValid() const override;

    void Recompute(const CFlowSettings& settings) { ComputeDerived(settings); }
    void ComputeDerived(const CFlowSettings& settings);

    int GetNumBins() const { return m_rec.m_nCells; }
    int GetSign() const { return m_rec.GetSign(); }
};
