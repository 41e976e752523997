// The Velocity Model page's form: loading and saving with the profiling calculations, and
// its handlers.
#include "present/ProfilingForm.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

std::string Command(const CStation& station, const char* command)
{
    std::string value;
    return station.GetCommands().Find(command, value) ? value : "(none)";
}

// A new station in metres with a 10 m rectangular channel, instrument on the left bank.
CStation TenMetreChannel()
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.SetMounting(MOUNTING_LEFT);
    station.GetGeometry().SetRectangular(100000.0, 30480.0);
    return station;
}

TEST(ProfilingForm, ChoosingTwelveHundredKilohertzCalculatesTheCommands)
{
    CStation station = TenMetreChannel();
    CProfilingForm form;
    form.Load(station);
    EXPECT_EQ(form.m_nFrequencyIndex, 0);
    EXPECT_EQ(form.m_nIntervalIndex, 3); // "30 Sec." of a new station
    form.m_nFrequencyIndex = 2;          // "1200 KHz"
    form.FrequencyOrIntervalChanged(station);
    EXPECT_EQ(station.GetFrequency(), 3);
    EXPECT_EQ(Command(station, "WP"), "250");
    EXPECT_EQ(Command(station, "WF"), "50");
    EXPECT_EQ(Command(station, "WN"), "20");
    EXPECT_EQ(Command(station, "WS"), "50");
    EXPECT_EQ(Command(station, "TP"), "00:00.10");
    EXPECT_EQ(form.m_strBinSize, "0.50 (m)");
    EXPECT_EQ(form.m_strBlank, "0.50 (m)");
    EXPECT_EQ(form.m_strBins, "20");
    EXPECT_EQ(form.m_strPings, "250");
    // The velocity range follows: 94 % of 950 cm in 50 cm bins is 17 bins, less one.
    EXPECT_EQ(form.m_strVelStart, "1");
    EXPECT_EQ(form.m_strVelStop, "16");
    EXPECT_FALSE(form.m_bVelRangeEnabled);
}

TEST(ProfilingForm, CalculatedVelocityRangeFollowsTheCommandsJustWorkedOut)
{
    CStation station = TenMetreChannel();
    station.SetFrequency(3);
    station.GetGeometry().SetRectangular(60960.0, 30480.0);
    CProfilingForm form;
    form.Load(station);
    EXPECT_EQ(Command(station, "WS"), "29");
    EXPECT_EQ(form.m_strVelStop, "17");
    station.GetGeometry().SetRectangular(100000.0, 30480.0); // changed on the Channel page since
    form.Save(station);
    EXPECT_EQ(Command(station, "WS"), "50");
    EXPECT_EQ(station.GetVelRangeStop(), 16); // not the 17 still in the disabled edit
}

TEST(ProfilingForm, WithoutAutomaticCalculationTheCommandsStayAsTyped)
{
    CStation station = TenMetreChannel();
    station.SetAutoCalc(0);
    station.GetCommands().SetText("WS", "77");
    CProfilingForm form;
    form.Load(station);
    EXPECT_FALSE(form.m_bAutoCalc);
    EXPECT_FALSE(form.m_bOptimizeEnabled);
    form.m_nFrequencyIndex = 2;
    form.FrequencyOrIntervalChanged(station);
    EXPECT_EQ(Command(station, "WS"), "77");

    form.OptimizeClicked(station, 2); // ticks the automatic calculation again
    EXPECT_EQ(station.GetAutoCalc(), 1);
    EXPECT_EQ(station.GetOptimize(), 2);
    EXPECT_EQ(Command(station, "WN"), "30");
    EXPECT_EQ(Command(station, "WS"), "33"); // 950 cm / 28
    EXPECT_TRUE(form.m_bOptimizeEnabled);
}

TEST(ProfilingForm, MissingCommandsShowNotAvailable)
{
    CStation station;
    station.SetAutoCalc(0);
    CCommandList list;
    list.Clear();
    list.Add("CR", "1");
    station.SetCommands(list);
    CProfilingForm form;
    form.Load(station);
    EXPECT_EQ(form.m_strBinSize, "N/A");
    EXPECT_EQ(form.m_strBlank, "N/A");
    EXPECT_EQ(form.m_strBins, "N/A");
    EXPECT_EQ(form.m_strPings, "N/A");
    EXPECT_EQ(form.m_nIntervalIndex, 0); // no TE: the first entry
}

TEST(ProfilingForm, ForcedDepthIsShownInTheStageUnitAndZeroMeansNone)
{
    CStation station = TenMetreChannel();
    station.SetForcedDepth(0.0);
    CProfilingForm form;
    form.Load(station);
    EXPECT_FALSE(form.m_bForcedDepth);
    EXPECT_EQ(form.m_forcedDepth.m_strText, "");
    form.ForcedDepthClicked(true);
    EXPECT_EQ(form.m_forcedDepth.m_strText, "0.00");
    form.m_forcedDepth.m_strText = "1.25";
    form.Save(station);
    EXPECT_NEAR(station.GetForcedDepth(), 12500.0, 1e-9);
    form.Load(station);
    EXPECT_EQ(form.m_forcedDepth.m_strText, "1.25");
    form.ForcedDepthClicked(false);
    form.Save(station);
    EXPECT_EQ(station.GetForcedDepth(), NODATA);
}

TEST(ProfilingForm, ModelGroupByTypeAndNothingTypedIsLostWhenTheTypeChanges)
{
    CStation station = TenMetreChannel();
    station.SetVelocityUnits(UNIT_METERS_PER_SECOND);
    CProfilingForm form;
    form.Load(station);
    EXPECT_EQ(form.m_model.m_arrLabels[2], "B3");
    EXPECT_FALSE(form.m_model.m_arrVisible[3]);
    EXPECT_EQ(form.m_model.m_arrEdits[1].m_strText, "1.0");

    form.m_model.m_arrEdits[0].m_strText = "0.25";
    form.ForcedDepthClicked(true);
    form.m_forcedDepth.m_strText = "2";
    form.ModelChanged(station, 2); // compound
    EXPECT_EQ(station.GetVelocityModel(), MODEL_COMPOUND);
    EXPECT_EQ(station.GetModelCoef(0), 0.25);
    EXPECT_NEAR(station.GetForcedDepth(), 20000.0, 1e-9);
    EXPECT_EQ(form.m_forcedDepth.m_strText, "2.00");
    EXPECT_EQ(form.m_model.m_arrLabels[4], "Crit. Vel.");
    EXPECT_TRUE(form.m_model.m_bUnitVisible);
    EXPECT_EQ(form.m_model.m_strUnit, "m/s");

    form.m_model.m_arrEdits[4].m_strText = "0.5"; // m/s
    form.Save(station);
    EXPECT_NEAR(station.GetCritVelocity(), 500.0, 1e-9);
    form.ModelChanged(station, 1); // power: a and B only
    EXPECT_EQ(form.m_model.m_arrLabels[0], "a");
    EXPECT_FALSE(form.m_model.m_arrVisible[2]);
    form.m_model.m_arrEdits[1].m_strText = "0.9";
    form.Save(station);
    EXPECT_EQ(station.GetModelCoef(1), 0.9);
    EXPECT_NEAR(station.GetCritVelocity(), 500.0, 1e-9); // hidden: left alone
}

TEST(ProfilingForm, ManualVelocityRangeIsReadFromTheEdits)
{
    CStation station = TenMetreChannel();
    CProfilingForm form;
    form.Load(station);
    form.AutoVelRangeClicked(station, false);
    EXPECT_TRUE(form.m_bVelRangeEnabled);
    form.m_strVelStart = "3";
    form.m_strVelStop = "7.9";
    form.Save(station);
    EXPECT_EQ(station.GetVelRangeStart(), 3);
    EXPECT_EQ(station.GetVelRangeStop(), 7);
    form.AutoVelRangeClicked(station, true);
    EXPECT_EQ(station.GetVelRangeStart(), 1);
    EXPECT_EQ(form.m_strVelStart, "1");
}

TEST(ProfilingForm, EditCommandsKeepsTheListOnOkAndPutsItBackOnCancel)
{
    CStation station = TenMetreChannel();
    CProfilingForm form;
    form.Load(station);
    const CCommandList before = station.GetCommands();
    const bool ok = form.EditCommands(station, [](CStation& s) {
        s.GetCommands().SetText("WS", "999");
        return false;
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(station.GetCommands() == before);

    EXPECT_TRUE(form.EditCommands(station, [](CStation& s) {
        s.GetCommands().SetText("WN", "12");
        return true;
    }));
    EXPECT_EQ(Command(station, "WN"), "12");
    EXPECT_EQ(form.m_strBins, "12"); // the results show the list as it is now
}

} // namespace
