// The Calculation Settings dialog's grid and buttons, and the set dialog's form.
#include "present/CalcSettingsForm.h"
#include "present/CalcSetForm.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

CDateTime At(int hour, int minute = 0)
{
    return CDateTime::FromParts(2024, 5, 6, hour, minute, 0);
}

// Sets starting at 08:00, 09:00 and 10:00, added out of order.
CStation ThreeSets()
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    for (int hour : {10, 8, 9})
        station.AddCalcSetFromStation(At(hour));
    return station;
}

TEST(CalcSettingsForm, GridShowsEachSetSortedInTheStationsUnits)
{
    CStation station = ThreeSets();
    station.GetCalcSet(0).m_settings.m_dForcedStage = 0.0;
    station.GetCalcSet(1).m_settings.m_geometry.SetType(CHANNEL_CIRCULAR);
    const auto rows = CCalcSettingsForm::Fill(station);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], "2024/05/06 08:00:00");
    EXPECT_EQ(rows[2][0], "2024/05/06 10:00:00");
    EXPECT_EQ(rows[0][1], "Rectangular");
    EXPECT_EQ(rows[1][1], "Circular"); // the set's own channel
    EXPECT_EQ(rows[0][2], "1.00 m");   // WS 100 cm of the default list
    EXPECT_EQ(rows[0][3], "0.50 m");
    EXPECT_EQ(rows[0][4], "1 - 20");
    EXPECT_EQ(rows[0][5], "Linear Regression");
    EXPECT_EQ(rows[0][6], "0.00 m"); // zero is shown, yet counts as none
    EXPECT_EQ(rows[1][6], "N/A");
    EXPECT_EQ(CCalcSettingsForm::ColumnWidth(0), 130);
    EXPECT_STREQ(CCalcSettingsForm::ColumnTitle(6), "Forced Depth");
}

TEST(CalcSettingsForm, ASetEditedPastItsSuccessorMovesBehindIt)
{
    CStation station = ThreeSets();
    CCalcSettingsForm::Fill(station);
    std::vector<std::string> asked;
    const auto yes = [&asked](const std::string& q) {
        asked.push_back(q);
        return true;
    };
    EXPECT_TRUE(CCalcSettingsForm::EditSelected(station, 0, yes, [&station](CCalcSet& set) {
        CCalcSetForm form;
        form.Load(set, station);
        form.m_arrStart[3] = 9; // 08:00 -> 09:30
        form.m_arrStart[4] = 30;
        form.Save(set, station);
        return true;
    }));
    EXPECT_EQ(asked, std::vector<std::string>{CCalcSettingsForm::EDIT_WARNING});
    const auto rows = CCalcSettingsForm::Fill(station);
    EXPECT_EQ(rows[0][0], "2024/05/06 09:00:00");
    EXPECT_EQ(rows[1][0], "2024/05/06 09:30:00");
    EXPECT_EQ(rows[2][0], "2024/05/06 10:00:00");
}

TEST(CalcSettingsForm, WithoutASelectionNothingIsAskedOrChanged)
{
    CStation station = ThreeSets();
    int asked = 0, opened = 0;
    const auto ask = [&asked](const std::string&) { return ++asked, true; };
    const auto run = [&opened](CCalcSet&) { return ++opened, true; };
    EXPECT_FALSE(CCalcSettingsForm::EditSelected(station, -1, ask, run));
    EXPECT_FALSE(CCalcSettingsForm::RemoveSelected(station, -1, ask));
    EXPECT_FALSE(CCalcSettingsForm::RemoveSelected(station, 3, ask));
    EXPECT_EQ(asked + opened, 0);
    EXPECT_EQ(station.GetCalcSetCount(), 3);

    const auto no = [](const std::string& q) { return q != CCalcSettingsForm::REMOVE_WARNING; };
    EXPECT_FALSE(CCalcSettingsForm::RemoveSelected(station, 1, no));
    EXPECT_EQ(station.GetCalcSetCount(), 3);
    EXPECT_TRUE(CCalcSettingsForm::RemoveSelected(station, 1, ask));
    ASSERT_EQ(station.GetCalcSetCount(), 2);
    EXPECT_EQ(station.GetCalcSet(1).m_dtStart, At(10));
}

TEST(CalcSettingsForm, CreateAddsOnOkAndDropsOnCancel)
{
    CStation station = ThreeSets();
    EXPECT_FALSE(CCalcSettingsForm::Create(
        station, [](CCalcSet&) { return false; }, At(7)));
    EXPECT_EQ(station.GetCalcSetCount(), 3);
    EXPECT_TRUE(CCalcSettingsForm::Create(
        station, [](CCalcSet&) { return true; }, At(7)));
    ASSERT_EQ(station.GetCalcSetCount(), 4);
    EXPECT_EQ(station.GetCalcSet(0).m_dtStart, At(7));
}

TEST(CalcSetForm, ShowsTheSetInTheStationsUnits)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.SetVelocityUnits(UNIT_CENTIMETERS_PER_SECOND);
    CCalcSet set = *station.MakeCalcSet(At(8, 15));
    set.m_settings.m_geometry.SetZAdcp(12340.0);
    set.m_settings.m_nVelocityModel = MODEL_COMPOUND;
    set.m_settings.m_dCritVelocity = 250.0;
    CCalcSetForm form;
    form.Load(set, station);
    EXPECT_EQ(form.m_arrStart, (CCalcSetForm::TimeParts{2024, 5, 6, 8, 15, 0}));
    EXPECT_EQ(form.m_binSize.m_strText, "1.000");
    EXPECT_EQ(form.m_blank.m_strText, "0.500");
    EXPECT_EQ(form.m_zAdcp.m_strText, "1.234");
    EXPECT_TRUE(form.m_bZAdcpEnabled);
    EXPECT_FALSE(form.m_bForceStage);
    EXPECT_FALSE(form.m_bForceStageEnabled);
    EXPECT_EQ(form.m_nModelIndex, 2);
    EXPECT_EQ(form.m_model.m_arrEdits[4].m_strText, "25.0"); // cm/s
    EXPECT_EQ(form.m_strUnit, "m");

    form.ForceStageClicked(true);
    EXPECT_EQ(form.m_forceStage.m_strText, "0.000");
    form.ForceStageClicked(false);
    EXPECT_EQ(form.m_forceStage.m_strText, "");

    set.m_settings.m_nMounting = MOUNTING_TOP;
    form.Load(set, station);
    EXPECT_FALSE(form.m_bZAdcpEnabled);
}

TEST(CalcSetForm, OkStoresTypedValuesKeepsUntouchedOnesAndClearsTheSummaries)
{
    CStation station; // feet: nothing survives a round trip through the edits exactly
    station.AddSummary(CDataSummary());
    CCalcSet set = *station.MakeCalcSet(CDateTime(45000.123456789));
    set.m_settings.m_dForcedStage = 30000.0;
    set.m_settings.m_nMounting = MOUNTING_TOP;
    set.m_settings.m_geometry.SetZAdcp(777.0);
    const CCalcSet before = set;
    station.SetModified(false);

    CCalcSetForm form;
    form.Load(set, station);
    EXPECT_TRUE(form.m_bForceStage);
    form.Save(set, station);
    EXPECT_EQ(set.m_settings.m_dForcedStage, 30000.0); // not 30000.0 rounded through "0.984"
    EXPECT_EQ(set.m_dBinSize, before.m_dBinSize);
    EXPECT_EQ(set.m_dtStart, before.m_dtStart);
    EXPECT_EQ(set.m_settings.m_geometry.GetZAdcp(), 777.0);
    EXPECT_EQ(station.GetSummaryCount(), 0);
    EXPECT_TRUE(station.IsModified());

    form.m_strVelStart = "2";
    form.m_strVelStop = "9 bins";
    form.m_binSize.m_strText = "1";
    form.ModelChanged(2); // compound: B4 and the critical velocity appear
    form.m_model.m_arrEdits[3].m_strText = "1.5";
    form.m_model.m_arrEdits[4].m_strText = "2"; // ft/s
    form.ForceStageClicked(false);
    form.Save(set, station);
    EXPECT_EQ(set.m_settings.m_nVelRangeStart, 2);
    EXPECT_EQ(set.m_settings.m_nVelRangeStop, 9);
    EXPECT_NEAR(set.m_dBinSize, 3048.0, 0.01);
    EXPECT_EQ(set.m_settings.m_nVelocityModel, MODEL_COMPOUND);
    EXPECT_EQ(set.m_settings.m_dModelCoef[3], 1.5);
    EXPECT_NEAR(set.m_settings.m_dCritVelocity, 609.6, 0.01);
    EXPECT_EQ(set.m_settings.m_dForcedStage, NODATA);
}

} // namespace
