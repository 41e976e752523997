#pragma once
// The seam for the "suspect" quality code: the range of index velocities that a rating was
// fitted on. A value computed from an index velocity outside that range is an
// extrapolation of the rating, and the export marks it suspect.
//
// Calculation sets do not record the range their rating was fitted on yet, and neither
// does the station for its own settings; until they do these answer nothing and no value
// is suspect. Filling them in is all the series needs.
#include <optional>

class CCalcSet;
class CStation;

struct SIndexVelocityRange {
    double m_dMin = 0.0; // millimetres per second
    double m_dMax = 0.0;

    bool Contains(double indexVelocity) const { return indexVelocity >= m_dMin && indexVelocity <= m_dMax; }
};

// The fitted range of a calculation set's rating, when the set knows it.
std::optional<SIndexVelocityRange> FittedIndexVelocityRange(const CCalcSet& set);
// The same for the station's own settings (in force before its first calculation set).
std::optional<SIndexVelocityRange> FittedIndexVelocityRange(const CStation& station);
