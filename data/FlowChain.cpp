#include "data/FlowChain.h"

#include "data/Pd0Format.h"
#include "data/Pd14Format.h"
#include "data/Units.h"

#include <cmath>

namespace
{

// Beam velocities lie 20 degrees off the axis of the channel.
const double BEAM_FACTOR = std::cos(0.34906585);

double Finite(double v)
{
    return std::isfinite(v) ? v : NODATA;
}

// Mean of the values 1 and 2 of the bins first..last (from 1), each times the sign,
// skipping bad values. Returns the counts through n1, n2.
template <typename Velocity>
void SumBins(Velocity velocity, int first, int last, int sign, double& sum1, int& n1, double& sum2, int& n2)
{
    for (int bin = first; bin <= last; ++bin) {
        const int v1 = velocity(bin - 1, 1);
        const int v2 = velocity(bin - 1, 2);
        if (v1 != -32768) {
            sum1 += v1 * sign;
            ++n1;
        }
        if (v2 != -32768) {
            sum2 += v2 * sign;
            ++n2;
        }
    }
}

double IndexVelocityPd0(const SEnsembleRecord& rec, int first, int last, int sign)
{
    double sum1 = 0, sum2 = 0;
    int n1 = 0, n2 = 0;
    SumBins([&](int bin, int value) { return CPd0Format::GetVelocity(rec, bin, value); }, first, last, sign,
            sum1, n1, sum2, n2);
    if (rec.m_bXY)
        return n1 > 0 ? sum1 / n1 : NODATA; // X is along the channel; Y plays no part
    if (n1 > 0 && n2 > 0)
        return (sum1 / n1 + sum2 / n2) * 0.5 * BEAM_FACTOR;
    if (n1 > 0)
        return sum1 / n1 * BEAM_FACTOR;
    if (n2 > 0)
        return sum2 / n2 * BEAM_FACTOR;
    return NODATA;
}

double IndexVelocityPd14(const SEnsembleRecord& rec, int first, int last, int sign)
{
    double sum = 0;
    int n = 0;
    for (int bin = first; bin <= last; ++bin) {
        const int v = CPd14Format::GetVelocity(rec, bin - 1, 1);
        if (v != -32768) {
            sum += v * sign;
            ++n;
        }
    }
    return n > 0 ? sum / n : NODATA;
}

} // namespace

double ComputeMeanVelocity(double vi, double stage, const CFlowSettings& s)
{
    if (IsNoData(vi))
        return NODATA;
    const double* c = s.m_dModelCoef;
    switch (s.m_nVelocityModel) {
    case MODEL_LINEAR: {
        // An unknown stage must never enter the arithmetic as the marker; without a stage
        // term (B3 = 0) the model does not need it.
        double stageTerm = 0.0;
        if (c[2] != 0.0) {
            if (IsNoData(stage))
                return NODATA;
            stageTerm = c[2] * ToDisplayUnits(stage, s.m_nStageUnits);
        }
        const double viDisplay = ToDisplayUnits(vi, s.m_nVelocityUnits);
        return Finite(ToInternalUnits((stageTerm + c[1]) * viDisplay + c[0], s.m_nVelocityUnits));
    }
    case MODEL_POWER:
        // A negative index velocity with a fractional exponent has no real result: NaN.
        return Finite(c[0] * std::pow(vi, c[1]));
    case MODEL_COMPOUND:
        return Finite(vi <= s.m_dCritVelocity ? c[0] + c[1] * vi : c[2] + c[3] * vi);
    default:
        return vi;
    }
}

void ComputeDerived(SEnsembleRecord& rec, const CFlowSettings& s)
{
    const int sign = s.m_nMounting == MOUNTING_LEFT ? -1 : 1;
    rec.m_bLeft = sign < 0 ? 1 : 0;
    rec.m_dStage = rec.m_dIndexVelocity = rec.m_dMeanVelocity = rec.m_dArea = rec.m_dFlow = NODATA;
    if (rec.m_nType != ENSEMBLE_PD0 && rec.m_nType != ENSEMBLE_PD14)
        return;

    if (s.m_dForcedStage > 0) {
        rec.m_dStage = s.m_dForcedStage;
    } else {
        const double range =
            rec.m_nType == ENSEMBLE_PD0 ? CPd0Format::GetRange(rec) : CPd14Format::GetRange(rec);
        if (!IsNoData(range))
            rec.m_dStage = Finite(range + s.m_geometry.GetZAdcp());
    }

    const int first = s.m_nVelRangeStart < 1 ? 1 : s.m_nVelRangeStart;
    const int last = s.m_nVelRangeStop > rec.m_nCells ? rec.m_nCells : s.m_nVelRangeStop;
    rec.m_dIndexVelocity = rec.m_nType == ENSEMBLE_PD0 ? IndexVelocityPd0(rec, first, last, sign)
                                                       : IndexVelocityPd14(rec, first, last, sign);
    rec.m_dMeanVelocity = ComputeMeanVelocity(rec.m_dIndexVelocity, rec.m_dStage, s);

    if (!IsNoData(rec.m_dStage))
        rec.m_dArea = Finite(s.m_geometry.GetArea(rec.m_dStage));
    if (!IsNoData(rec.m_dArea) && !IsNoData(rec.m_dMeanVelocity))
        rec.m_dFlow = Finite(rec.m_dMeanVelocity * 0.1 * rec.m_dArea);
}
