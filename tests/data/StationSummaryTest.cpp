// A station's data summaries: read from its own folder with its own settings and
// calculation sets, appended once per file that holds data.
#include "station/StationSummary.h"
#include "data/DateTime.h"
#include "sim/EnsembleEncoder.h"
#include "station/CalcSet.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

std::vector<uint8_t> Pd14File(std::initializer_list<int> minutes)
{
    std::vector<uint8_t> file;
    uint16_t number = 1;
    for (int minute : minutes) {
        SPd14Values v;
        v.m_nNumber = number++;
        v.m_nYear = 2005, v.m_nMonth = 12, v.m_nDay = 3, v.m_nHour = 14, v.m_nMinute = minute;
        v.m_velocityX = {200, 400};
        v.m_nRange = 10000 + 100 * minute;
        const auto e = EncodePd14Ensemble(v);
        file.insert(file.end(), e.begin(), e.end());
    }
    return file;
}

} // namespace

TEST(StationSummary, UpdateSummaryReadsTheStationFolder)
{
    testsupport::TempDir dir;
    CStation station;
    station.SetSiteName("Mill Race");
    station.SetFilePath((dir / "Mill Race.hstn").string());
    station.GetGeometry().SetZAdcp(500);
    station.SetModified(false);
    testsupport::WriteFileBytes(dir / "rt20051203.001", Pd14File({0, 1, 2}));
    testsupport::WriteFileBytes(dir / "empty.000", std::vector<uint8_t>(64, 0));

    EXPECT_FALSE(station.UpdateSummary("empty.000"));
    EXPECT_FALSE(station.UpdateSummary("missing.000"));
    EXPECT_EQ(station.GetSummaryCount(), 0);
    EXPECT_FALSE(station.IsModified());

    ASSERT_TRUE(station.UpdateSummary("rt20051203.001"));
    EXPECT_TRUE(station.IsModified());
    const CDataSummary* s = station.FindSummary("rt20051203.001");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_nEnsembles, 3);
    EXPECT_EQ(s->m_nEnsembleType, 2);
    EXPECT_EQ(s->m_dStageMin, 10500.0); // range + the instrument's height
    EXPECT_EQ(s->m_dStageMax, 10700.0);
    EXPECT_EQ(s->m_dtStart, CDateTime::FromParts(2005, 12, 3, 14, 0, 0));
    EXPECT_EQ(s->m_dtStop, CDateTime::FromParts(2005, 12, 3, 14, 2, 0));
    EXPECT_NEAR(s->m_dVelocityMax, 300.0, 1e-9);
}

TEST(StationSummary, CalculationSetsOfTheStationApply)
{
    testsupport::TempDir dir;
    CStation station;
    station.SetMounting(MOUNTING_LEFT); // left bank: velocities negative
    auto set = station.MakeCalcSet(CDateTime::FromParts(2005, 12, 3, 14, 1, 0));
    set->m_settings.m_nMounting = 2;
    set->m_settings.m_dForcedStage = 99999;
    station.AddCalcSet(std::move(set));
    testsupport::WriteFileBytes(dir / "a.000", Pd14File({0, 1, 2}));

    ASSERT_TRUE(SummarizeDataFile(station, dir.Path().string(), "a.000"));
    const CDataSummary& s = station.GetSummary(0);
    EXPECT_EQ(s.m_strFileName, "a.000");
    EXPECT_EQ(s.m_dStageMax, 99999.0) << "the set is in force for the ensemble after its start";
    EXPECT_EQ(s.m_dStageMin, 10000.0);
    EXPECT_NEAR(s.m_dVelocityMin, -300.0, 1e-9) << "own settings: left bank";
    EXPECT_NEAR(s.m_dVelocityMax, 300.0, 1e-9) << "the set's mounting";

    // The table finds the same set the station does, and none before the first.
    const CFlowSettingsTable settings = FlowSettingsTableOf(station);
    EXPECT_TRUE(settings.HasTimedSettings());
    EXPECT_EQ(settings.FindSettingsAt(CDateTime::FromParts(2005, 12, 3, 14, 1, 0).m_dt), nullptr);
    const CFlowSettings* found = settings.FindSettingsAt(CDateTime::FromParts(2005, 12, 3, 14, 1, 1).m_dt);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->m_dForcedStage, 99999.0);
    EXPECT_EQ(found->m_nStageUnits, station.GetStageUnits());
}
