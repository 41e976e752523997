#pragma once
// The settings in force for the flow of an ensemble, as one plain value: a station and a
// calculation set each produce one. Lengths in tenths of a millimetre, velocities in
// millimetres per second; the two display units are those of the station, in which the
// linear model is evaluated.
#include "data/ChannelGeometry.h"
#include "data/NoData.h"

#include <cstdint>

enum VelocityModel : int32_t {
    MODEL_LINEAR = 1,   // V = B1 + (B2 + B3 H) Vi, in display units
    MODEL_POWER = 2,    // V = a Vi^B, in mm/s
    MODEL_COMPOUND = 3, // V = B1 + B2 Vi up to Vc, B3 + B4 Vi above, in mm/s
};

enum Mounting : int32_t {
    MOUNTING_LEFT = 1,
    MOUNTING_RIGHT = 2,
    MOUNTING_TOP = 3,
    MOUNTING_BOTTOM = 4,
};

struct CFlowSettings {
    int32_t m_nMounting = MOUNTING_RIGHT;
    CChannelGeometry m_geometry;
    int32_t m_nVelocityModel = MODEL_LINEAR;
    double m_dModelCoef[4] = {0.0, 1.0, 0.0, 0.0};
    double m_dCritVelocity = 0.0;
    int32_t m_nVelRangeStart = 1; // bins from 1, inclusive
    int32_t m_nVelRangeStop = 20;
    double m_dForcedStage = NODATA; // used as the stage when above 0
    int32_t m_nStageUnits = 101;
    int32_t m_nVelocityUnits = 107;
};
