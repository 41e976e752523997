// A constructed station end to end: a rectangular channel, a generated data file, reference
// measurements made from a known model plus known noise; the fit recovers the model, and
// applying it reaches the station file and the recomputed flows.
#include "data/EnsembleList.h"
#include "data/Units.h"
#include "rating/RatingApply.h"
#include "rating/RatingReport.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace
{

constexpr double kB1 = 0.05, kB2 = 0.9; // V = 0.05 + 0.9 Vi, in m/s
// Known noise on the measured mean velocity, m/s; its root mean square is about 0.012.
const double kNoise[] = {0.012,  -0.008, 0.015, -0.017, 0.004, 0.010,
                         -0.013, -0.002, 0.019, -0.011, 0.007, -0.016};

class RatingStation : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = m_temp.Path() / "Quay";
        std::filesystem::create_directories(m_dir);
        m_station.SetSiteName("Quay");
        m_station.SetStageUnits(UNIT_METERS);
        m_station.SetVelocityUnits(UNIT_METERS_PER_SECOND);
        m_station.SetFlowUnits(UNIT_CUBIC_METERS_PER_SECOND);
        m_station.SetAreaUnits(UNIT_SQUARE_METERS);
        m_station.SetMounting(MOUNTING_RIGHT);
        m_station.GetGeometry().SetType(CHANNEL_RECTANGULAR);
        m_station.GetGeometry().SetRectangular(60000.0, 40000.0); // 6 m by 4 m
        m_station.GetGeometry().SetZAdcp(5000.0);
        m_station.SetVelRangeStart(2);
        m_station.SetVelRangeStop(12);
        ASSERT_TRUE(m_station.Save((m_dir / "Quay.hstn").string()));

        SDataGenOptions o;
        o.m_nCount = 144; // one day of ten-minute ensembles from 3 December 2005
        o.m_dRangeMean = 15000.0, o.m_dRangeTide = 8000.0, o.m_dRangeSwell = 1000.0;
        o.m_dVelocityMean = 300.0, o.m_dVelocityTide = 700.0;
        ASSERT_TRUE(CDataGenerator(o).WriteFile((m_dir / "20051203.001").string()));

        // What the station recorded, as the data view computes it.
        CEnsembleList list;
        ASSERT_EQ(list.Load((m_dir / "20051203.001").string(), FlowSettingsTableOf(m_station)), 144);
        m_samples = CollectSamples(list);
        ASSERT_EQ(m_samples.size(), 144u);
    }

    // Twelve measurements of four minutes, each around one ensemble, every two hours.
    std::vector<SMeasurement> Measurements() const
    {
        std::vector<SMeasurement> rows;
        for (int i = 0; i < 12; ++i) {
            const SRecordedSample& s = m_samples[static_cast<size_t>(6 + 12 * i)];
            const double vi = ToDisplayUnits(s.m_dIndexVelocity, UNIT_METERS_PER_SECOND);
            const double v = kB1 + kB2 * vi + kNoise[i];
            const double area = m_station.GetGeometry().GetArea(s.m_dStage); // cm2
            SMeasurement m;
            m.m_strId = "Q" + std::to_string(i + 1);
            m.m_dStart = s.m_dTime - 2.0 / 1440.0;
            m.m_dEnd = s.m_dTime + 2.0 / 1440.0;
            m.m_dDischarge = ToInternalUnits(v, UNIT_METERS_PER_SECOND) * 0.1 * area;
            rows.push_back(m);
        }
        return rows;
    }

    testsupport::TempDir m_temp;
    std::filesystem::path m_dir;
    CStation m_station;
    std::vector<SRecordedSample> m_samples;
};

TEST_F(RatingStation, FitRecoversTheModelWithinTheNoise)
{
    const auto samples = LoadStationSamples(m_station, StationDataDirectory(m_station));
    ASSERT_EQ(samples.size(), 144u);
    const auto points = PairMeasurements(Measurements(), samples, FlowSettingsTableOf(m_station));
    for (const auto& p : points) {
        EXPECT_EQ(p.m_kind, PairKind::Within);
        EXPECT_EQ(p.m_nEnsembles, 1);
    }
    const SRatingFit fit = FitRating(RatingModel::Linear, points, {UNIT_METERS, UNIT_METERS_PER_SECOND});
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    // The estimate of the noise: the residual standard error comes out near its rms.
    double ss = 0.0;
    for (double e : kNoise)
        ss += e * e;
    const double rms = std::sqrt(ss / 12.0);
    EXPECT_GT(fit.m_dSe, 0.6 * rms);
    EXPECT_LT(fit.m_dSe, 1.4 * rms);
    // The known coefficients lie within their 95 % intervals, which are narrow.
    const auto& b1 = fit.m_coefficients[0];
    const auto& b2 = fit.m_coefficients[1];
    EXPECT_LE(b1.m_dLow, kB1);
    EXPECT_GE(b1.m_dHigh, kB1);
    EXPECT_LE(b2.m_dLow, kB2);
    EXPECT_GE(b2.m_dHigh, kB2);
    EXPECT_LT(b2.m_dStdErr, 0.02);
    EXPECT_GT(fit.m_dR2, 0.99);

    // The stage term finds nothing that is not there.
    const SRatingFit stage =
        FitRating(RatingModel::LinearStage, points, {UNIT_METERS, UNIT_METERS_PER_SECOND});
    ASSERT_TRUE(stage.m_bOk);
    EXPECT_LE(stage.m_coefficients[2].m_dLow, 0.0);
    EXPECT_GE(stage.m_coefficients[2].m_dHigh, 0.0);
    EXPECT_LT(stage.m_dAdjR2, stage.m_dR2);
}

TEST_F(RatingStation, UnpairedMeasurementIsLeftOut)
{
    auto rows = Measurements();
    SMeasurement late = rows.back();
    late.m_strId = "late";
    late.m_dStart = m_samples.back().m_dTime + 1.0; // a day after the recording ends
    late.m_dEnd = late.m_dStart + 0.01;
    rows.push_back(late);
    const auto points = PairMeasurements(rows, m_samples, FlowSettingsTableOf(m_station));
    EXPECT_EQ(points.back().m_kind, PairKind::None);
    const SRatingAnalysis a = AnalyseRating(points, {RatingModel::Linear},
                                            {UNIT_METERS, UNIT_METERS_PER_SECOND, UNIT_SQUARE_METERS, 113});
    ASSERT_TRUE(a.m_fits[0].m_bOk);
    EXPECT_EQ(a.m_fits[0].m_nN, 12);
    const std::string report = FormatRatingReport(a, "Quay");
    EXPECT_NE(
        report.find("Measurements: 13 (12 paired, 0 with the nearest ensemble, 1 unpaired, 0 excluded)"),
        std::string::npos)
        << report;
    EXPECT_NE(report.find("late      none"), std::string::npos) << report;
}

TEST_F(RatingStation, ApplyAsCalcSetRecomputesFlowsAfterItsStart)
{
    const auto points = PairMeasurements(Measurements(), m_samples, FlowSettingsTableOf(m_station));
    const SRatingFit fit = FitRating(RatingModel::Linear, points, {UNIT_METERS, UNIT_METERS_PER_SECOND});
    ASSERT_TRUE(fit.m_bOk);
    const CDateTime from(m_samples[72].m_dTime);
    std::string error;
    ASSERT_TRUE(ApplyRatingAsCalcSet(m_station, fit, from, error)) << error;

    // What the file now holds.
    CStation saved;
    ASSERT_TRUE(saved.Load((m_dir / "Quay.hstn").string()));
    ASSERT_EQ(saved.GetCalcSetCount(), 1);
    EXPECT_EQ(saved.FindCalcSet(from), nullptr); // strictly after its start
    const CCalcSet* set = saved.FindCalcSet(m_samples[73].m_dTime);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->m_settings.m_nVelocityModel, MODEL_LINEAR);
    EXPECT_DOUBLE_EQ(set->m_settings.m_dModelCoef[0], fit.m_dModelCoef[0]);
    EXPECT_DOUBLE_EQ(set->m_settings.m_dModelCoef[1], fit.m_dModelCoef[1]);
    // The station's geometry, bins and mounting come along.
    EXPECT_EQ(set->m_settings.m_geometry.m_nType, CHANNEL_RECTANGULAR);
    EXPECT_EQ(set->m_settings.m_nVelRangeStart, 2);
    EXPECT_EQ(set->m_settings.m_nVelRangeStop, 12);
    EXPECT_EQ(set->m_settings.m_nMounting, MOUNTING_RIGHT);

    CEnsembleList list;
    ASSERT_EQ(list.Load((m_dir / "20051203.001").string(), FlowSettingsTableOf(saved)), 144);
    for (size_t i : {size_t{10}, size_t{72}, size_t{73}, size_t{140}}) {
        const double vi = list.GetValue(i, DATATYPE_INDEX_VELOCITY);
        const double v = list.GetValue(i, DATATYPE_VELOCITY);
        const double area = list.GetValue(i, DATATYPE_AREA);
        if (i <= 72) {
            EXPECT_DOUBLE_EQ(v, vi) << i; // the default model, V = Vi
        } else {
            const double expected = 1000.0 * (fit.m_dModelCoef[0] + fit.m_dModelCoef[1] * vi / 1000.0);
            EXPECT_NEAR(v, expected, 1e-6) << i;
        }
        EXPECT_NEAR(list.GetValue(i, DATATYPE_FLOW), v * 0.1 * area, 1e-6 * std::fabs(v * area) + 1e-9);
    }
    EXPECT_EQ(saved.GetSummaryCount(), 0);
}

TEST_F(RatingStation, ApplyAsStationModelAndRefusals)
{
    const auto points = PairMeasurements(Measurements(), m_samples, FlowSettingsTableOf(m_station));
    const SRatingFit fit = FitRating(RatingModel::Compound, points, {UNIT_METERS, UNIT_METERS_PER_SECOND});
    ASSERT_TRUE(fit.m_bOk) << fit.m_strError;
    std::string error;
    ASSERT_TRUE(ApplyRatingAsStationModel(m_station, fit, error)) << error;
    CStation saved;
    ASSERT_TRUE(saved.Load((m_dir / "Quay.hstn").string()));
    EXPECT_EQ(saved.GetVelocityModel(), MODEL_COMPOUND);
    EXPECT_DOUBLE_EQ(saved.GetModelCoef(3), fit.m_dModelCoef[3]);
    EXPECT_DOUBLE_EQ(saved.GetCritVelocity(), fit.m_dCritVelocity);
    EXPECT_EQ(saved.GetCalcSetCount(), 0);
    CEnsembleList list;
    ASSERT_EQ(list.Load((m_dir / "20051203.001").string(), FlowSettingsTableOf(saved)), 144);
    const double vi = list.GetValue(5, DATATYPE_INDEX_VELOCITY);
    EXPECT_DOUBLE_EQ(list.GetValue(5, DATATYPE_VELOCITY), fit.RatedVelocity(vi, NODATA));

    SRatingFit failed;
    failed.m_strError = "Power: 2 usable measurements, at least 3 needed";
    EXPECT_FALSE(ApplyRatingAsCalcSet(m_station, failed, CDateTime(38700.0), error));
    EXPECT_EQ(error, failed.m_strError);
    EXPECT_EQ(m_station.GetCalcSetCount(), 0);
}

} // namespace
