// The System page's form: what it shows for a station and what it stores back.
#include "present/SystemSettingsForm.h"

#include "data/Units.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

TEST(SystemSettingsForm, GroupLosesOneSeparatorAtEachEnd)
{
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\North\\"), "North");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\"), "");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\\\North"), "\\North");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("/A/B/"), "A/B");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup(""), "");
}

TEST(SystemSettingsForm, LoadShowsDisplayUnitsAndTheTotalizer)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    EXPECT_EQ(form.m_strStage20mA, "100.000"); // 100 ft
    EXPECT_EQ(form.m_strFlow20mA, "100.000");  // 100 million gallons per day
    EXPECT_EQ(form.m_nFlowIndex, 1);
    EXPECT_TRUE(form.m_bPulseEvery);
    EXPECT_EQ(form.m_strPulse, "10.000");
    EXPECT_EQ(form.m_strStageUnit, UnitAbbreviation(UNIT_FEET));

    station.SetTotalizerPulse(0.0);
    form.Load(station);
    EXPECT_FALSE(form.m_bPulseEvery);
    EXPECT_FALSE(form.m_bPulseEditEnabled);
    EXPECT_EQ(form.m_strPulse, "0.00");
}

TEST(SystemSettingsForm, ChangingAUnitReadsTheSameNumberInTheNewUnit)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    form.m_nStageIndex = UNIT_METERS - CSystemSettingsForm::STAGE_FIRST;
    form.Save(station);
    EXPECT_NEAR(station.GetStage20mA(), 1000000.0, 1e-6); // 100 m, not 100 ft
    EXPECT_EQ(station.GetStageUnits(), UNIT_METERS);
}

TEST(SystemSettingsForm, FlowUnitSetsTheAreaUnitAndUntickedPulseStoresZero)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    form.m_nFlowIndex = UNIT_CUBIC_FEET_PER_SECOND - CSystemSettingsForm::FLOW_FIRST;
    form.SetPulseEvery(false);
    form.m_strPulse = "55";
    form.Save(station);
    EXPECT_EQ(station.GetAreaUnits(), 117);
    EXPECT_EQ(station.GetTotalizerPulse(), 0.0);
    form.m_nFlowIndex = UNIT_LITERS_PER_SECOND - CSystemSettingsForm::FLOW_FIRST;
    form.Save(station);
    EXPECT_EQ(station.GetAreaUnits(), 118);
    EXPECT_TRUE(station.IsModified());
}

} // namespace
