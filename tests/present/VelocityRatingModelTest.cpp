// The Velocity Rating window's presenter: the table as imported and corrected, the model
// choice, the plots and applying the fit.
#include "present/VelocityRatingModel.h"
#include "data/DateTime.h"
#include "data/Units.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

double At(int hour, int minute)
{
    return CDateTime::FromParts(2005, 12, 3, hour, minute, 0).m_dt;
}

class VelocityRatingModel : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_station.SetSiteName("Lock");
        m_station.SetStageUnits(UNIT_METERS);
        m_station.SetVelocityUnits(UNIT_METERS_PER_SECOND);
        m_station.SetFlowUnits(UNIT_CUBIC_METERS_PER_SECOND);
        m_station.SetAreaUnits(UNIT_SQUARE_METERS);
        m_station.GetGeometry().SetType(CHANNEL_RECTANGULAR);
        m_station.GetGeometry().SetRectangular(100000.0, 50000.0); // 10 m wide
        ASSERT_TRUE(m_station.Save((m_temp / "Lock.hstn").string()));
        // Hourly ensembles, index velocity 0.1 m/s more each hour, stage 2 m throughout:
        // the area is 20 m2 at every measurement.
        std::vector<SRecordedSample> samples;
        for (int h = 0; h < 12; ++h)
            samples.push_back({At(h, 0), 100.0 * (h + 1), 20000.0});
        m_model.Open(&m_station, samples);
    }

    // Eight measurements of V = 0.05 + 0.9 Vi around the hours 1 to 8 (line 2 onwards), then
    // whatever extra rows are given.
    std::string Csv(const std::string& extra = {}) const
    {
        std::string text = "id,start,end,discharge,exclude,comment\n";
        for (int h = 1; h <= 8; ++h) {
            const double v = 0.05 + 0.9 * 0.1 * (h + 1) + (h % 2 ? 0.002 : -0.002);
            char row[160];
            std::snprintf(row, sizeof row, "Q%d,2005-12-03 %02d:55:00,2005-12-03 %02d:05:00,%.6f,0,\n", h,
                          h - 1, h, v * 20.0);
            text += row;
        }
        return text + extra;
    }

    bool Import(const std::string& text)
    {
        testsupport::WriteFileText(m_temp / "m.csv", text);
        return m_model.Import((m_temp / "m.csv").string());
    }

    testsupport::TempDir m_temp;
    CStation m_station;
    CVelocityRatingModel m_model;
};

TEST_F(VelocityRatingModel, BadRowsWaitForCorrectionInTheTable)
{
    ASSERT_TRUE(Import(Csv("Q9,2005-12-03 09:55:00,2005-12-03 09:05:00,1.9,0,typo\n")));
    ASSERT_EQ(m_model.GetRowCount(), 9);
    EXPECT_EQ(m_model.Problems(), std::vector<std::string>{"row 9 (line 10): the end is before the start"});
    EXPECT_FALSE(m_model.Fit().m_bOk);
    EXPECT_FALSE(m_model.CanApply());
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_PAIRED), "bad row");
    EXPECT_EQ(m_model.Report().rfind("The fit waits until every row is good:\n", 0), 0u);
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_COMMENT), "typo");

    m_model.SetCell(8, CVelocityRatingModel::COL_END, "2005-12-03 10:05:00");
    EXPECT_TRUE(m_model.Problems().empty());
    ASSERT_TRUE(m_model.Fit().m_bOk) << m_model.Fit().m_strError;
    EXPECT_EQ(m_model.Fit().m_nN, 9);
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_PAIRED), "within (1)");
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_INDEX_VELOCITY), "1.1"); // the 10:00 ensemble
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_AREA), "20");
    EXPECT_EQ(m_model.GetCell(0, CVelocityRatingModel::COL_MEASURED), "0.232");
    EXPECT_EQ(m_model.ColumnTitle(CVelocityRatingModel::COL_DISCHARGE), "Discharge (cu m/s)");
    EXPECT_EQ(m_model.ColumnTitle(CVelocityRatingModel::COL_RESIDUAL), "Residual (m/s)");
}

TEST_F(VelocityRatingModel, ImportProblemsKeepTheRows)
{
    ASSERT_TRUE(Import(Csv()));
    EXPECT_FALSE(Import("id,start,stop,discharge\n"));
    EXPECT_EQ(m_model.GetRowCount(), 8);
    ASSERT_FALSE(m_model.Problems().empty());
    EXPECT_EQ(m_model.Problems()[0], "line 1: unknown column \"stop\"");
    EXPECT_FALSE(m_model.Import((m_temp / "missing.csv").string()));
    EXPECT_NE(m_model.Problems()[0].find("cannot read"), std::string::npos);
}

TEST_F(VelocityRatingModel, ExcludingAndChoosingTheModel)
{
    ASSERT_TRUE(Import(Csv("far,2005-12-04 09:00:00,2005-12-04 09:10:00,2.0,0,\n")));
    ASSERT_TRUE(m_model.Fit().m_bOk);
    EXPECT_EQ(m_model.Fit().m_nN, 8);
    EXPECT_EQ(m_model.GetCell(8, CVelocityRatingModel::COL_PAIRED), "none");
    EXPECT_NEAR(m_model.Fit().m_dModelCoef[0], 0.05, 0.005);
    EXPECT_NEAR(m_model.Fit().m_dModelCoef[1], 0.9, 0.01);

    m_model.SetExcluded(2, true);
    EXPECT_TRUE(m_model.IsExcluded(2));
    EXPECT_EQ(m_model.Fit().m_nN, 7);
    auto plot = m_model.Plot();
    EXPECT_EQ(plot.m_fitted.size(), 7u);
    ASSERT_EQ(plot.m_excluded.size(), 1u);
    EXPECT_NEAR(plot.m_excluded[0].first, 0.4, 1e-12);
    // The excluded row still shows its residual.
    EXPECT_FALSE(m_model.GetCell(2, CVelocityRatingModel::COL_RESIDUAL).empty());
    EXPECT_EQ(plot.m_excludedResiduals.size(), 1u);
    EXPECT_EQ(plot.m_residuals.size(), 7u);
    ASSERT_EQ(plot.m_zero.size(), 2u);
    EXPECT_EQ(plot.m_zero[0].second, 0.0);
    // Residuals by the hour from the first measurement's middle; Q3 (excluded) is two hours on.
    EXPECT_EQ(plot.m_strTimeTitle, "Hours from 2005/12/03 01:00:00");
    EXPECT_NEAR(plot.m_excludedResiduals[0].first, 2.0, 1e-6);
    EXPECT_NEAR(plot.m_zero[1].first, 7.0, 1e-6);

    // The curve runs over the fitted index velocities, 0.2 to 0.9 m/s, on the fitted line.
    const SRatingFit& fit = m_model.Fit();
    ASSERT_FALSE(plot.m_curve.empty());
    EXPECT_NEAR(plot.m_curve.front().first, 0.2, 1e-12);
    EXPECT_NEAR(plot.m_curve.back().first, 0.9, 1e-12);
    EXPECT_NEAR(plot.m_curve.back().second, fit.m_dModelCoef[0] + fit.m_dModelCoef[1] * 0.9, 1e-9);

    m_model.SetModel(RatingModel::Power);
    EXPECT_EQ(m_model.Fit().m_model, RatingModel::Power);
    EXPECT_NE(m_model.Report().find("Power: V = a x Vi^B"), std::string::npos);
    m_model.SetModel(RatingModel::Compound);
    ASSERT_TRUE(m_model.Fit().m_bOk) << m_model.Fit().m_strError;
    // The compound curve is drawn with its step at Vc.
    const double vc = ToDisplayUnits(m_model.Fit().m_dCritVelocity, UNIT_METERS_PER_SECOND);
    int atVc = 0;
    for (const auto& [x, y] : m_model.Plot().m_curve)
        atVc += std::fabs(x - vc) < 1e-9;
    EXPECT_EQ(atVc, 2);
    EXPECT_EQ(CVelocityRatingModel::ModelTitles().size(), 4u);
}

TEST_F(VelocityRatingModel, AddRemoveAndExport)
{
    m_model.AddRow();
    EXPECT_EQ(m_model.GetRowCount(), 1);
    EXPECT_FALSE(m_model.Problems().empty());
    EXPECT_EQ(m_model.Problems()[0], "row 1: the id is missing");
    m_model.RemoveRow(0);
    EXPECT_TRUE(m_model.Problems().empty());
    EXPECT_EQ(m_model.Report().rfind("Import a measurements file", 0), 0u);

    ASSERT_TRUE(Import(Csv()));
    m_model.SetExcluded(0, true);
    std::string error;
    ASSERT_TRUE(m_model.Export((m_temp / "out.csv").string(), error)) << error;
    CVelocityRatingModel again;
    again.Open(&m_station, std::vector<SRecordedSample>{});
    ASSERT_TRUE(again.Import((m_temp / "out.csv").string()));
    EXPECT_EQ(again.GetRowCount(), 8);
    EXPECT_TRUE(again.IsExcluded(0));
    EXPECT_EQ(again.GetCell(3, CVelocityRatingModel::COL_START), "2005-12-03 03:55:00");
}

TEST_F(VelocityRatingModel, ApplyFromADateOrAsTheStationModel)
{
    ASSERT_TRUE(Import(Csv()));
    EXPECT_DOUBLE_EQ(m_model.DefaultApplyStart(), CDateTime::FromParts(2005, 12, 3, 0, 55, 0).m_dt);
    std::string message;
    ASSERT_TRUE(m_model.ApplyFrom(At(4, 0), message)) << message;
    EXPECT_EQ(message, "Added a calculation set from 2005/12/03 04:00:00 with the Linear model.");
    CStation saved;
    ASSERT_TRUE(saved.Load((m_temp / "Lock.hstn").string()));
    ASSERT_NE(saved.FindCalcSet(At(4, 1)), nullptr);
    EXPECT_EQ(saved.FindCalcSet(At(4, 0)), nullptr);
    EXPECT_DOUBLE_EQ(saved.FindCalcSet(At(4, 1))->m_settings.m_dModelCoef[1], m_model.Fit().m_dModelCoef[1]);

    m_model.SetModel(RatingModel::Power);
    ASSERT_TRUE(m_model.ApplyAsStationModel(message)) << message;
    ASSERT_TRUE(saved.Load((m_temp / "Lock.hstn").string()));
    EXPECT_EQ(saved.GetVelocityModel(), MODEL_POWER);

    // A caller that commits the station itself gets the change in memory only.
    const auto before = testsupport::ReadFileBytes(m_temp / "Lock.hstn");
    m_model.SetSaveOnApply(false);
    ASSERT_TRUE(m_model.ApplyFrom(At(6, 0), message)) << message;
    EXPECT_EQ(m_station.GetCalcSetCount(), 2);
    EXPECT_EQ(testsupport::ReadFileBytes(m_temp / "Lock.hstn"), before);

    m_model.SetCell(0, CVelocityRatingModel::COL_DISCHARGE, "lots");
    EXPECT_FALSE(m_model.ApplyFrom(At(5, 0), message));
    EXPECT_EQ(m_station.GetCalcSetCount(), 2);
}

} // namespace
