#pragma once
// The decoded facts of one ensemble, small and fixed in size, with a pointer to the
// ensemble's own bytes. A loaded list keeps one of these per entry next to the file's bytes,
// and the ensemble classes keep one beside their copy of the bytes; values that are cheap to
// read again (times, numbers, pitch, roll, the bins) are decoded from the bytes on demand.
#include "data/DataTypes.h"
#include "data/NoData.h"

#include <cstdint>

enum EnsembleType : uint8_t {
    ENSEMBLE_SEPARATOR = 1, // an empty record: every value is no data
    ENSEMBLE_PD14 = 2,
    ENSEMBLE_PD0 = 3,
    ENSEMBLE_MIXED = 5, // only as a summary's ensemble type
};

// The PD0 sections this program reads, as indices of SEnsembleRecord::m_nSection.
enum Pd0Section : int {
    PD0_FIXED_LEADER = 0,
    PD0_VARIABLE_LEADER,
    PD0_VELOCITY,
    PD0_CORRELATION,
    PD0_AMPLITUDE,
    PD0_RANGE,
    PD0_SECTION_COUNT
};

struct SEnsembleRecord {
    const uint8_t* m_pBytes = nullptr;
    // Derived values (stage, index velocity, mean velocity, area, flow), internal units.
    double m_dStage = NODATA;
    double m_dIndexVelocity = NODATA;
    double m_dMeanVelocity = NODATA;
    double m_dArea = NODATA;
    double m_dFlow = NODATA;
    uint16_t m_nSize = 0;
    uint8_t m_nType : 4 = ENSEMBLE_SEPARATOR;
    uint8_t m_bXY : 1 = 0;   // PD0 coordinate flag: the velocity section holds X and Y
    uint8_t m_bLeft : 1 = 0; // velocity sign -1 (mounted on the left bank)
    uint8_t m_nCells = 0;    // PD0: cells of the fixed leader; PD14: bins
    // PD0 section offsets from the start of the ensemble; 0 when absent (offset 0 holds
    // the header, never a section).
    uint16_t m_nSection[PD0_SECTION_COUNT] = {};

    int GetSign() const { return m_bLeft ? -1 : 1; }

    // The derived values by data type, the same for every format; false for any other type.
    bool GetDerived(DataType dataType, double& value) const
    {
        switch (dataType) {
        case DATATYPE_STAGE:
            value = m_dStage;
            return true;
        case DATATYPE_INDEX_VELOCITY:
            value = m_dIndexVelocity;
            return true;
        case DATATYPE_VELOCITY:
            value = m_dMeanVelocity;
            return true;
        case DATATYPE_AREA:
            value = m_dArea;
            return true;
        case DATATYPE_FLOW:
            value = m_dFlow;
            return true;
        default:
            return false;
        }
    }
};

static_assert(sizeof(SEnsembleRecord) <= 64, "a loaded list keeps one record per ensemble");
