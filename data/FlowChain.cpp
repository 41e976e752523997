#include "data/FlowChain.h"

#include "data/EnsembleFormat.h"
#include "data/Units.h"

#include <cmath>

namespace
{

double Finite(double v)
{
    return std::isfinite(v) ? v : NODATA;
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
    ComputeDerived(rec, EnsembleFormatOf(rec.m_nType), s);
}

void ComputeDerived(SEnsembleRecord& rec, const SEnsembleFormat* format, const CFlowSettings& s)
{
    const int sign = s.m_nMounting == MOUNTING_LEFT ? -1 : 1;
    rec.m_bLeft = sign < 0 ? 1 : 0;
    rec.m_dStage = rec.m_dIndexVelocity = rec.m_dMeanVelocity = rec.m_dArea = rec.m_dFlow = NODATA;
    if (!format)
        return;

    if (s.m_dForcedStage > 0) {
        rec.m_dStage = s.m_dForcedStage;
    } else {
        const double range = format->GetRange(rec);
        if (!IsNoData(range))
            rec.m_dStage = Finite(range + s.m_geometry.GetZAdcp());
    }

    const int first = s.m_nVelRangeStart < 1 ? 1 : s.m_nVelRangeStart;
    const int last = s.m_nVelRangeStop > rec.m_nCells ? rec.m_nCells : s.m_nVelRangeStop;
    rec.m_dIndexVelocity = format->IndexVelocity(rec, first, last, sign);
    rec.m_dMeanVelocity = ComputeMeanVelocity(rec.m_dIndexVelocity, rec.m_dStage, s);

    if (!IsNoData(rec.m_dStage))
        rec.m_dArea = Finite(s.m_geometry.GetArea(rec.m_dStage));
    if (!IsNoData(rec.m_dArea) && !IsNoData(rec.m_dMeanVelocity))
        rec.m_dFlow = Finite(rec.m_dMeanVelocity * 0.1 * rec.m_dArea);
}
