#pragma once
// A PD0 ensemble (first bytes 7F 7F): sections found through the section table, beam or
// X/Y velocities, a checksum.
#include "data/Ensemble.h"
#include "data/FlowSettings.h"

class CEnsembleReader;

class CPd0Ensemble : public CEnsemble
{
  public:
    // Copies the framed bytes, decodes them and computes the derived values with the
    // given (the station's own) settings.
    CPd0Ensemble(const CFlowSettings& settings, const CEnsembleReader& reader);
    CPd0Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size);

    double GetValue(int dataType, int beam, int bin) const override;
    int GetType() const override { return ENSEMBLE_PD0; }
    bool IsValid() const override;

    // Computes the derived values again, with a calculation set's settings.
    void Recompute(const CFlowSettings& settings) { ComputeDerived(settings); }
    void ComputeDerived(const CFlowSettings& settings);

    // Offset of a section (Pd0Section), -1 when absent.
    int GetSectionOffset(int section) const;
    int GetNumCells() const { return m_rec.m_nCells; }
    bool IsXY() const { return m_rec.m_bXY != 0; }
    int GetSign() const { return m_rec.GetSign(); }
};
