// Stage, index velocity, mean velocity, area and flow of one ensemble: the worked examples,
// the failure rules, and the choices for an unknown stage and a power model without a result.
#include "data/FlowChain.h"
#include "data/Pd0Ensemble.h"
#include "data/Pd14Ensemble.h"
#include "sim/EnsembleEncoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using Bytes = std::vector<uint8_t>;
const double COS20 = std::cos(0.34906585);

Bytes BeamPd0(std::vector<int16_t> v1, std::vector<int16_t> v2, bool xy = false, bool range = true)
{
    SPd0Values v;
    v.m_velocity1 = std::move(v1);
    v.m_velocity2 = std::move(v2);
    v.m_bXY = xy;
    v.m_bHasRange = range;
    v.m_nRange = 5000;
    return EncodePd0Ensemble(v);
}

CFlowSettings Bins(int first, int last, int mounting = MOUNTING_RIGHT)
{
    CFlowSettings s;
    s.m_nVelRangeStart = first;
    s.m_nVelRangeStop = last;
    s.m_nMounting = mounting;
    return s;
}

} // namespace

TEST(FlowChain, BeamIndexVelocityExamples)
{
    const Bytes e = BeamPd0({100, 200}, {100, 200});
    const CPd0Ensemble right(Bins(1, 2), e.data(), e.size());
    EXPECT_NEAR(right.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 140.95, 0.01);
    EXPECT_DOUBLE_EQ(right.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 150 * COS20);
    EXPECT_DOUBLE_EQ(right.GetValue(DATATYPE_VELOCITY, 0, 0), right.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0))
        << "default model: V = Vi";

    const CPd0Ensemble left(Bins(1, 2, MOUNTING_LEFT), e.data(), e.size());
    EXPECT_NEAR(left.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), -140.95, 0.01);

    const Bytes one = BeamPd0({-32768}, {300});
    EXPECT_NEAR(CPd0Ensemble(Bins(1, 1), one.data(), one.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0),
                281.91, 0.01);

    const Bytes none = BeamPd0({-32768, -32768}, {-32768, -32768});
    const CPd0Ensemble bad(Bins(1, 2), none.data(), none.size());
    EXPECT_EQ(bad.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), NODATA);
    EXPECT_EQ(bad.GetValue(DATATYPE_VELOCITY, 0, 0), NODATA);
    EXPECT_EQ(bad.GetValue(DATATYPE_FLOW, 0, 0), NODATA);
    EXPECT_EQ(bad.GetValue(DATATYPE_STAGE, 0, 0), 5000.0) << "the stage does not depend on the velocities";
    EXPECT_NE(bad.GetValue(DATATYPE_AREA, 0, 0), NODATA);
}

TEST(FlowChain, XYUsesXOnly)
{
    const Bytes noX = BeamPd0({-32768, -32768}, {50, 60}, true);
    EXPECT_EQ(CPd0Ensemble(Bins(1, 2), noX.data(), noX.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0),
              NODATA);
    const Bytes xy = BeamPd0({10, 30}, {500, 600}, true);
    EXPECT_EQ(CPd0Ensemble(Bins(1, 2), xy.data(), xy.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 20.0);
}

TEST(FlowChain, BinRangeIsClampedToTheEnsemble)
{
    const Bytes e = BeamPd0({10, 20, 30}, {10, 20, 30}, true);
    EXPECT_EQ(CPd0Ensemble(Bins(-5, 2), e.data(), e.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 15.0);
    EXPECT_EQ(CPd0Ensemble(Bins(2, 99), e.data(), e.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 25.0);
    EXPECT_EQ(CPd0Ensemble(Bins(4, 9), e.data(), e.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), NODATA);

    SPd14Values v;
    v.m_velocityX = {10, -32768, 40};
    const Bytes p = EncodePd14Ensemble(v);
    EXPECT_EQ(CPd14Ensemble(Bins(1, 20), p.data(), p.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 25.0);
    EXPECT_EQ(
        CPd14Ensemble(Bins(1, 20, MOUNTING_LEFT), p.data(), p.size()).GetValue(DATATYPE_INDEX_VELOCITY, 0, 0),
        -25.0);
}

TEST(FlowChain, CompoundModelSwitchesAboveTheCriticalVelocity)
{
    CFlowSettings s;
    s.m_nVelocityModel = MODEL_COMPOUND;
    s.m_dModelCoef[0] = 1, s.m_dModelCoef[1] = 2, s.m_dModelCoef[2] = 3, s.m_dModelCoef[3] = 4;
    s.m_dCritVelocity = 500;
    EXPECT_DOUBLE_EQ(ComputeMeanVelocity(500.0, NODATA, s), 1 + 2 * 500.0);
    EXPECT_DOUBLE_EQ(ComputeMeanVelocity(500.001, NODATA, s), 3 + 4 * 500.001);
}

TEST(FlowChain, LinearModelInDisplayUnits)
{
    CFlowSettings s;
    s.m_dModelCoef[0] = 0, s.m_dModelCoef[1] = 1, s.m_dModelCoef[2] = 0.1;
    s.m_nStageUnits = 101;    // feet
    s.m_nVelocityUnits = 107; // feet per second
    const double oneFootPerSecond = 1 / 0.00328084;
    EXPECT_NEAR(ComputeMeanVelocity(oneFootPerSecond, 30480, s), 609.6, 0.01);

    // An unknown stage: with a stage term there is no mean velocity; without one there is.
    EXPECT_EQ(ComputeMeanVelocity(oneFootPerSecond, NODATA, s), NODATA);
    s.m_dModelCoef[2] = 0;
    s.m_dModelCoef[0] = 0.5;
    EXPECT_NEAR(ComputeMeanVelocity(oneFootPerSecond, NODATA, s), 1.5 / 0.00328084, 1e-9);
}

TEST(FlowChain, PowerModelWithoutARealResultIsNoData)
{
    CFlowSettings s;
    s.m_nVelocityModel = MODEL_POWER;
    s.m_dModelCoef[0] = 2;
    s.m_dModelCoef[1] = 0.5;
    EXPECT_DOUBLE_EQ(ComputeMeanVelocity(400, NODATA, s), 40.0);
    EXPECT_EQ(ComputeMeanVelocity(-400, NODATA, s), NODATA);
    s.m_dModelCoef[1] = -1;
    EXPECT_EQ(ComputeMeanVelocity(0.0, NODATA, s), NODATA) << "division by zero gives infinity";
    s.m_dModelCoef[1] = 2;
    EXPECT_DOUBLE_EQ(ComputeMeanVelocity(-3, NODATA, s), 18.0) << "whole exponents take negatives";
    s.m_nVelocityModel = 9;
    EXPECT_EQ(ComputeMeanVelocity(-3, NODATA, s), -3.0) << "an unknown model passes Vi through";
}

TEST(FlowChain, ForcedStageAndFlow)
{
    CFlowSettings s;
    s.m_dForcedStage = 30480;
    s.m_geometry.SetType(CHANNEL_RECTANGULAR);
    s.m_geometry.SetRectangular(10000, 100000);
    s.m_geometry.SetZBottom(0);
    const Bytes noRange = BeamPd0({100}, {100}, true, false);
    const CPd0Ensemble e(s, noRange.data(), noRange.size());
    EXPECT_EQ(e.GetValue(DATATYPE_RANGE, 0, 0), NODATA);
    EXPECT_EQ(e.GetValue(DATATYPE_STAGE, 0, 0), 30480.0);
    EXPECT_NE(e.GetValue(DATATYPE_FLOW, 0, 0), NODATA);

    // Without a forced stage and without a range: velocities but no stage, area or flow.
    s.m_dForcedStage = 0;
    const CPd0Ensemble unknown(s, noRange.data(), noRange.size());
    EXPECT_EQ(unknown.GetValue(DATATYPE_STAGE, 0, 0), NODATA);
    EXPECT_EQ(unknown.GetValue(DATATYPE_AREA, 0, 0), NODATA);
    EXPECT_EQ(unknown.GetValue(DATATYPE_FLOW, 0, 0), NODATA);
    EXPECT_NEAR(unknown.GetValue(DATATYPE_VELOCITY, 0, 0), 100.0, 1e-9);
}

TEST(FlowChain, RectangularChannelFlowExample)
{
    // Stage 5000 from a range of 5000 and the instrument at Z 0; mean velocity 1000 mm/s.
    CFlowSettings s;
    s.m_geometry.SetType(CHANNEL_RECTANGULAR);
    s.m_geometry.SetRectangular(10000, 100000);
    s.m_geometry.SetZBottom(0);
    s.m_geometry.SetZAdcp(0);
    const Bytes e = BeamPd0({1000}, {0}, true);
    const CPd0Ensemble p(s, e.data(), e.size());
    EXPECT_EQ(p.GetValue(DATATYPE_STAGE, 0, 0), 5000.0);
    EXPECT_DOUBLE_EQ(p.GetValue(DATATYPE_AREA, 0, 0), 5000.0);
    EXPECT_DOUBLE_EQ(p.GetValue(DATATYPE_FLOW, 0, 0), 500000.0);

    // The instrument's height is added to the range.
    s.m_geometry.SetZAdcp(1000);
    EXPECT_EQ(CPd0Ensemble(s, e.data(), e.size()).GetValue(DATATYPE_STAGE, 0, 0), 6000.0);
}

TEST(FlowChain, RecomputeReplacesEveryDerivedValue)
{
    const Bytes e = BeamPd0({100, 200}, {100, 200}, true);
    CPd0Ensemble p(Bins(1, 2), e.data(), e.size());
    EXPECT_EQ(p.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), 150.0);
    CFlowSettings set = Bins(2, 2, MOUNTING_LEFT);
    set.m_dForcedStage = 1234;
    p.Recompute(set);
    EXPECT_EQ(p.GetValue(DATATYPE_INDEX_VELOCITY, 0, 0), -200.0);
    EXPECT_EQ(p.GetValue(DATATYPE_STAGE, 0, 0), 1234.0);
    EXPECT_EQ(p.GetValue(DATATYPE_X_VELOCITY, 0, 0), -100.0) << "the set's mounting signs the bins too";
}
