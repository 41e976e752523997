// Calculation sets: ordering, the lookup by time, and sets made from the station.
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{

constexpr double kDay = 45000.0;
constexpr double kHour = 1.0 / 24;

std::unique_ptr<CCalcSet> SetAt(double hours, int tag)
{
    auto set = std::make_unique<CCalcSet>();
    set->m_dtStart = CDateTime(kDay + hours * kHour);
    set->m_settings.m_nVelRangeStart = tag; // tells the sets apart
    return set;
}

int TagAt(const CStation& station, double hours)
{
    const CCalcSet* set = station.FindCalcSet(kDay + hours * kHour);
    return set ? set->m_settings.m_nVelRangeStart : -1;
}

} // namespace

TEST(CalcSets, AddedOutOfOrderAreSortedAndLookedUpStrictlyBefore)
{
    CStation station{CDateTime(1.0)};
    station.AddCalcSet(SetAt(10, 10));
    station.AddCalcSet(SetAt(8, 8));
    station.AddCalcSet(SetAt(9, 9));
    ASSERT_EQ(station.GetCalcSetCount(), 3);
    EXPECT_EQ(station.GetCalcSet(0).m_settings.m_nVelRangeStart, 8);
    EXPECT_EQ(station.GetCalcSet(1).m_settings.m_nVelRangeStart, 9);
    EXPECT_EQ(station.GetCalcSet(2).m_settings.m_nVelRangeStart, 10);

    EXPECT_EQ(TagAt(station, 9.5), 9);
    EXPECT_EQ(TagAt(station, 7), -1);
    EXPECT_EQ(TagAt(station, 9), 8); // a set does not apply at its own start time
    EXPECT_EQ(TagAt(station, 8), -1);
    EXPECT_EQ(TagAt(station, 48), 10);
}

TEST(CalcSets, EqualStartTimesKeepTheirOrderAndEditsResort)
{
    CStation station{CDateTime(1.0)};
    station.AddCalcSet(SetAt(5, 1));
    station.AddCalcSet(SetAt(5, 2));
    station.AddCalcSet(SetAt(1, 0));
    station.AddCalcSet(SetAt(5, 3));
    ASSERT_EQ(station.GetCalcSetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(station.GetCalcSet(i).m_settings.m_nVelRangeStart, i);
    // The latest of equal sets is the one found after their start.
    EXPECT_EQ(TagAt(station, 6), 3);

    // A start moved after its follower goes behind it on the next sort.
    station.GetCalcSet(1).m_dtStart = CDateTime(kDay + 7 * kHour);
    station.SortCalcSets();
    EXPECT_EQ(station.GetCalcSet(0).m_settings.m_nVelRangeStart, 0);
    EXPECT_EQ(station.GetCalcSet(1).m_settings.m_nVelRangeStart, 2);
    EXPECT_EQ(station.GetCalcSet(2).m_settings.m_nVelRangeStart, 3);
    EXPECT_EQ(station.GetCalcSet(3).m_settings.m_nVelRangeStart, 1);
}

TEST(CalcSets, ANonNumberStartFromADamagedFileSortsFirst)
{
    CStation station{CDateTime(1.0)};
    station.AddCalcSet(SetAt(3, 3));
    auto odd = std::make_unique<CCalcSet>();
    odd->m_dtStart = CDateTime(std::numeric_limits<double>::quiet_NaN());
    odd->m_settings.m_nVelRangeStart = 0;
    station.AddCalcSet(std::move(odd));
    station.AddCalcSet(SetAt(1, 1));
    ASSERT_EQ(station.GetCalcSetCount(), 3);
    EXPECT_EQ(station.GetCalcSet(0).m_settings.m_nVelRangeStart, 0);
    EXPECT_EQ(station.GetCalcSet(1).m_settings.m_nVelRangeStart, 1);
    EXPECT_EQ(station.GetCalcSet(2).m_settings.m_nVelRangeStart, 3);
    EXPECT_EQ(TagAt(station, 2), 1);
}

TEST(CalcSets, RemoveAndClearReachTheFile)
{
    CStation station{CDateTime(1.0)};
    station.AddCalcSet(SetAt(1, 1));
    station.AddCalcSet(SetAt(2, 2));
    station.SetModified(false);
    station.RemoveCalcSet(5); // no such set
    EXPECT_EQ(station.GetCalcSetCount(), 2);
    EXPECT_FALSE(station.IsModified());
    station.RemoveCalcSet(0);
    ASSERT_EQ(station.GetCalcSetCount(), 1);
    EXPECT_EQ(station.GetCalcSet(0).m_settings.m_nVelRangeStart, 2);
    EXPECT_TRUE(station.IsModified());
    station.SetModified(false);
    station.ClearCalcSets();
    EXPECT_EQ(station.GetCalcSetCount(), 0);
    EXPECT_TRUE(station.IsModified());
}

TEST(CalcSets, MadeFromTheStationTakeBlankAndBinSizeFromTheCommands)
{
    CStation station{CDateTime(1.0)};
    station.SetVelocityModel(MODEL_POWER);
    station.SetModelCoef(0.5, 1);
    station.SetCritVelocity(12.0);
    station.SetVelRangeStart(2);
    station.SetVelRangeStop(9);
    station.SetMounting(MOUNTING_TOP);
    station.SetForcedDepth(1234.0);
    station.GetGeometry().m_dZAdcp = 77.0;
    station.GetCommands().SetText("WF", "35.9 cm");
    station.GetCommands().SetText("WS", " 20");

    station.AddCalcSetFromStation(CDateTime(kDay));
    ASSERT_EQ(station.GetCalcSetCount(), 1);
    const CCalcSet& set = station.GetCalcSet(0);
    EXPECT_EQ(set.m_dtStart, CDateTime(kDay));
    EXPECT_EQ(set.m_dBlank, 3500.0); // truncated to whole centimetres
    EXPECT_EQ(set.m_dBinSize, 2000.0);
    EXPECT_EQ(set.m_settings.m_nVelocityModel, 2);
    EXPECT_EQ(set.m_settings.m_dModelCoef[1], 0.5);
    EXPECT_EQ(set.m_settings.m_dCritVelocity, 12.0);
    EXPECT_EQ(set.m_settings.m_nVelRangeStart, 2);
    EXPECT_EQ(set.m_settings.m_nVelRangeStop, 9);
    EXPECT_EQ(set.m_settings.m_nMounting, 3);
    EXPECT_EQ(set.m_settings.m_dForcedStage, 1234.0);
    EXPECT_EQ(set.m_settings.m_geometry.m_dZAdcp, 77.0);
    // The set holds its own geometry.
    station.GetGeometry().m_dZAdcp = 1.0;
    EXPECT_EQ(set.m_settings.m_geometry.m_dZAdcp, 77.0);

    station.GetCommands().SetText("WF", "abc"); // no leading number reads as 0
    EXPECT_EQ(station.MakeCalcSet(CDateTime(kDay))->m_dBlank, 0.0);
    station.GetCommands().SetText("WF", "1e300"); // kept within range, not undefined
    EXPECT_EQ(station.MakeCalcSet(CDateTime(kDay))->m_dBlank, 100.0 * 2147483647);
}

TEST(CalcSets, WithoutCommandsBlankFollowsTheFrequency)
{
    CStation station{CDateTime(1.0)};
    station.GetCommands().Clear();
    const std::pair<int, double> cases[] = {{1, 20000.0}, {2, 10000.0}, {3, 5000.0}, {7, 10000.0}};
    for (const auto& [frequency, blank] : cases) {
        station.SetFrequency(frequency);
        auto set = station.MakeCalcSet(CDateTime(kDay));
        EXPECT_EQ(set->m_dBlank, blank) << frequency;
        EXPECT_EQ(set->m_dBinSize, 10000.0);
    }
}

TEST(CalcSets, BinPositionsFollowTheMounting)
{
    CCalcSet set;
    set.m_dBlank = 500.0;
    set.m_dBinSize = 1000.0;
    set.m_settings.m_geometry.m_dYAdcp = 30.0;
    set.m_settings.m_geometry.m_dZAdcp = 70.0;
    const std::pair<int, double> offsets[] = {{1, 30.0}, {2, 30.0}, {3, 0.0}, {4, 70.0}};
    for (const auto& [mounting, offset] : offsets) {
        set.m_settings.m_nMounting = mounting;
        EXPECT_EQ(set.GetBinStart(2), offset + 2500.0) << mounting;
        EXPECT_EQ(set.GetBinCenter(2), offset + 3000.0) << mounting;
        EXPECT_EQ(set.GetBinEnd(2), offset + 3500.0) << mounting;
    }
}

TEST(CalcSets, CopiesAreDeep)
{
    CCalcSet a;
    a.m_settings.m_geometry.m_dDiameter = 5.0;
    a.m_settings.m_dModelCoef[2] = 3.0;
    CCalcSet b(a);
    b.m_settings.m_geometry.m_dDiameter = 6.0;
    EXPECT_EQ(a.m_settings.m_geometry.m_dDiameter, 5.0);
    EXPECT_EQ(b.m_settings.m_dModelCoef[2], 3.0);
    CCalcSet c;
    c = b;
    b.m_settings.m_geometry.m_dDiameter = 7.0;
    EXPECT_EQ(c.m_settings.m_geometry.m_dDiameter, 6.0);
}

TEST(CalcSets, TheLoadTableFindsTheSetTheStationFinds)
{
    CStation station{CDateTime(1.0)};
    station.SetStageUnits(UNIT_METERS);
    station.AddCalcSet(SetAt(5, 1));
    station.AddCalcSet(SetAt(5, 2));
    station.AddCalcSet(SetAt(2, 3));
    auto odd = std::make_unique<CCalcSet>();
    odd->m_dtStart = CDateTime(std::numeric_limits<double>::quiet_NaN());
    odd->m_settings.m_nVelRangeStart = 4;
    station.AddCalcSet(std::move(odd));

    const CFlowSettingsTable table = FlowSettingsTableOf(station);
    ASSERT_TRUE(table.HasTimedSettings());
    for (double hours : {-1.0, 1.0, 2.0, 2.0001, 4.0, 5.0, 5.0001, 100.0}) {
        const double t = kDay + hours * kHour;
        const CFlowSettings* found = table.FindSettingsAt(t);
        const int tag = TagAt(station, hours);
        EXPECT_EQ(found ? found->m_nVelRangeStart : -1, tag) << hours;
        EXPECT_EQ(&table.GetSettingsAt(t), found ? found : &table.GetOwnSettings()) << hours;
        if (found) {
            EXPECT_EQ(found->m_nStageUnits, UNIT_METERS) << "a set is in the station's display units";
        }
    }
    // A time of no data never picks a set, even one that started before it.
    station.GetCalcSet(0).m_dtStart = CDateTime(-40000.0);
    const CFlowSettingsTable early = FlowSettingsTableOf(station);
    EXPECT_NE(early.FindSettingsAt(NODATA), nullptr);
    EXPECT_EQ(&early.GetSettingsAt(NODATA), &early.GetOwnSettings());
}
