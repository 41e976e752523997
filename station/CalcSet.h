#pragma once
// A calculation set: the profiling and flow settings in force for data recorded after its
// start time. Data recorded before a reprogramming, a recalibration or a move is still
// computed with the settings it was recorded under.
#include "data/ChannelGeometry.h"
#include "data/DateTime.h"
#include "data/NoData.h"

#include <cstdint>
#include <memory>

class CStationArchive;

class CCalcSet
{
  public:
    CCalcSet();
    CCalcSet(const CCalcSet& other); // deep: the geometry is copied too
    CCalcSet& operator=(const CCalcSet& other);
    virtual ~CCalcSet() = default;

    virtual void Serialize(CStationArchive& ar);

    // Bin positions along the beam, in tenths of a millimetre, bin i counted from 0:
    // measured from the instrument's Y position for side mounting, from its Z position for
    // bottom mounting, from 0 for top mounting.
    double GetBinStart(int i) const;
    double GetBinCenter(int i) const;
    double GetBinEnd(int i) const;

    CDateTime m_dtStart;
    double m_dBinSize = 0.0;
    double m_dBlank = 0.0;
    double m_dForcedDepth = NODATA; // 0 or below: none
    int32_t m_nVelRangeStart = 1;
    int32_t m_nVelRangeStop = 20;
    int32_t m_nVelocityModel = 1;
    double m_dModelCoef[4] = {0.0, 1.0, 0.0, 0.0};
    double m_dCritVelocity = 0.0;
    int32_t m_nMounting = 2;
    std::unique_ptr<CChannelGeometry> m_pGeometry; // never null

    static constexpr unsigned RECORD_SIZE = 516;

  private:
    double BinOffset() const;
};
