#pragma once
// A calculation set: the profiling and flow settings in force for data recorded after its
// start time. Data recorded before a reprogramming, a recalibration or a move is still
// computed with the settings it was recorded under.
#include "data/DateTime.h"
#include "data/FlowSettings.h"
#include "station/FieldTable.h"

#include <cstddef>
#include <cstdint>
#include <span>

class CStationArchive;

class CCalcSet
{
  public:
    void Serialize(CStationArchive& ar);
    // The stored fields in their stored order.
    static std::span<const SField<CCalcSet>> Fields();

    // Bin positions along the beam, in tenths of a millimetre, bin i counted from 0:
    // measured from the instrument's Y position for side mounting, from its Z position for
    // bottom mounting, from 0 for top mounting.
    double GetBinStart(int i) const;
    double GetBinCenter(int i) const;
    double GetBinEnd(int i) const;

    CDateTime m_dtStart;
    double m_dBinSize = 0.0;
    double m_dBlank = 0.0;
    // Mounting, geometry, model, velocity range and forced depth (m_dForcedStage: 0 or below
    // is none). The display units are not stored with a set: the station's apply.
    CFlowSettings m_settings;

    static constexpr unsigned RECORD_SIZE = 516;

  private:
    double BinOffset() const;
};

constexpr size_t MinStoredSize(const CCalcSet*)
{
    return CCalcSet::RECORD_SIZE;
}
