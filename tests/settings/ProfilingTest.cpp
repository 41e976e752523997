#include "settings/Profiling.h"
#include "settings/ProfilingTables.h"
#include "station/Station.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// A fresh station with a fixed creation time, so nothing depends on the clock.
CStation MakeStation(int frequency, int mounting, double channelWidth, int optimize = 3)
{
    CStation station(CDateTime(45000.0));
    station.SetFrequency(frequency);
    station.SetMounting(static_cast<Mounting>(mounting));
    station.SetOptimize(optimize);
    CChannelGeometry& geometry = station.GetGeometry();
    geometry.SetType(CHANNEL_RECTANGULAR);
    geometry.SetRectangular(channelWidth, 30000);
    geometry.SetYAdcp(0);
    geometry.SetZAdcp(0);
    return station;
}

std::string Command(const CStation& station, const char* command)
{
    std::string value;
    return station.GetCommands().Find(command, value) ? value : "<missing>";
}

void SetInterval(CStation& station, const char* te)
{
    station.GetCommands().SetText("TE", te);
}

TEST(ProfilingTest, WorkedExampleOfTheBalancedSetting)
{
    // 1200 kHz, left mounting, a 10 m rectangle, balance, 30-second interval.
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    SetInterval(station, "00003000");
    station.SetModified(false);
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "TP"), "00:00.10");
    EXPECT_EQ(Command(station, "WF"), "50");
    EXPECT_EQ(Command(station, "WP"), "250");
    EXPECT_EQ(Command(station, "WN"), "20");
    EXPECT_EQ(Command(station, "WS"), "50");
    EXPECT_TRUE(station.IsModified());

    // The values replace the pairs where they stand; nothing is appended.
    CCommandList expected;
    expected.SetText("TP", "00:00.10");
    expected.SetInt("WF", 50);
    expected.SetInt("WP", 250);
    expected.SetInt("WN", 20);
    expected.SetInt("WS", 50);
    EXPECT_EQ(station.GetCommands(), expected);
}

TEST(ProfilingTest, PingsPerEnsembleFollowTheIntervalAndPingTime)
{
    CStation slow = MakeStation(1, MOUNTING_LEFT, 100000);
    SetInterval(slow, "00001000"); // 10 s at 1 s per ping, less 4 s
    CalcProfilingSettings(slow);
    EXPECT_EQ(Command(slow, "WP"), "6");

    CStation fast = MakeStation(3, MOUNTING_LEFT, 100000);
    SetInterval(fast, "00150000"); // 15 min
    CalcProfilingSettings(fast);
    EXPECT_EQ(Command(fast, "WP"), "250");

    CStation mid = MakeStation(2, MOUNTING_LEFT, 100000);
    SetInterval(mid, "00002000"); // (20 - 4) / 0.4 = 40
    CalcProfilingSettings(mid);
    EXPECT_EQ(Command(mid, "WP"), "40");

    for (int frequency = 1; frequency <= 3; ++frequency) {
        CStation hour = MakeStation(frequency, MOUNTING_LEFT, 100000);
        SetInterval(hour, "01000000");
        EXPECT_EQ(GetSampleIntervalSec(hour), 3600);
        CalcProfilingSettings(hour);
        EXPECT_EQ(Command(hour, "WP"), "250") << frequency;
    }
}

TEST(ProfilingTest, AnIntervalOutsideTheTableLeavesThePingCount)
{
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    SetInterval(station, "00004500");
    EXPECT_EQ(GetSampleIntervalSec(station), 0);
    station.GetCommands().SetInt("WP", 17);
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "WP"), "17");
    EXPECT_EQ(Command(station, "WS"), "50"); // the rest is still worked out

    station.GetCommands().Clear();
    EXPECT_EQ(GetSampleIntervalSec(station), 0);
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "WP"), "<missing>");
}

TEST(ProfilingTest, EveryTableIntervalIsRecognisedExactly)
{
    CStation station = MakeStation(1, MOUNTING_LEFT, 100000);
    const int seconds[] = {10, 15, 20, 30, 60, 120, 150, 300, 450, 600, 900, 1200, 1800, 3600};
    ASSERT_EQ(SampleIntervalTable().size(), std::size(seconds));
    for (std::size_t i = 0; i < std::size(seconds); ++i) {
        SetInterval(station, SampleIntervalTable()[i].teValue);
        EXPECT_EQ(GetSampleIntervalSec(station), seconds[i]) << SampleIntervalTable()[i].comboText;
    }
    SetInterval(station, " 00003000");
    EXPECT_EQ(GetSampleIntervalSec(station), 0);
    EXPECT_EQ(FindSampleInterval("00023000"), 6);
    EXPECT_EQ(FindSampleInterval("0001000"), -1);
}

TEST(ProfilingTest, OptimisationChoosesBinsAndDivisor)
{
    // A 2800 cm profiling range at 1200 kHz (blank 50 cm).
    CStation resolution = MakeStation(3, MOUNTING_RIGHT, 285000, 2);
    CalcProfilingSettings(resolution);
    EXPECT_EQ(Command(resolution, "WS"), "100"); // 2800 / 28, not / 29
    EXPECT_EQ(Command(resolution, "WN"), "30");

    CStation precision = MakeStation(3, MOUNTING_RIGHT, 285000, 1);
    CalcProfilingSettings(precision);
    EXPECT_EQ(Command(precision, "WS"), "311"); // 2800 / 9 = 311.1
    EXPECT_EQ(Command(precision, "WN"), "10");

    CStation other = MakeStation(3, MOUNTING_RIGHT, 285000, 7);
    CalcProfilingSettings(other);
    EXPECT_EQ(Command(other, "WS"), "100");
    EXPECT_EQ(Command(other, "WN"), "25");
}

TEST(ProfilingTest, BinSizeIsClampedToTheFrequency)
{
    // Range shorter than the blank: negative, so the smallest bin.
    CStation narrow = MakeStation(1, MOUNTING_LEFT, 15000);
    narrow.GetGeometry().SetYAdcp(1000);
    CalcProfilingSettings(narrow);
    EXPECT_EQ(Command(narrow, "WS"), "100");
    CalcVelocityRange(narrow);
    EXPECT_EQ(narrow.GetVelRangeStart(), 1);
    EXPECT_EQ(narrow.GetVelRangeStop(), 1);

    CStation wide = MakeStation(3, MOUNTING_LEFT, 1e7);
    CalcProfilingSettings(wide);
    EXPECT_EQ(Command(wide, "WS"), "400");

    // The Y of the instrument shortens the range: 100000 - 5000 - 19000 = 760 cm / 19 = 40.
    CStation offset = MakeStation(3, MOUNTING_LEFT, 100000);
    offset.GetGeometry().SetYAdcp(19000);
    CalcProfilingSettings(offset);
    EXPECT_EQ(Command(offset, "WS"), "40");

    // A geometry of absurd size from a damaged file must not overflow the conversion.
    CStation huge = MakeStation(2, MOUNTING_LEFT, 1e300);
    CalcProfilingSettings(huge);
    EXPECT_EQ(Command(huge, "WS"), "800");
}

TEST(ProfilingTest, VerticalMountingProfilesDownTheDepth)
{
    // Top and bottom use the depth figure: the height of a rectangle, not its width.
    CStation station = MakeStation(3, MOUNTING_TOP, 100000);
    station.GetGeometry().SetRectangular(100000, 43000); // (43000 - 5000) / 100 / 19 = 20
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "WS"), "20");

    station.SetMounting(MOUNTING_BOTTOM);
    station.GetGeometry().SetType(CHANNEL_CIRCULAR);
    station.GetGeometry().SetDiameter(62000); // (62000 - 5000) / 100 / 19 = 30
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "WS"), "30");

    // A polynomial section has no depth figure; the 20 mA stage stands in.
    station.GetGeometry().SetType(CHANNEL_POLYNOMIAL);
    station.SetStage20mA(81000); // (81000 - 5000) / 100 / 19 = 40
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "WS"), "40");
}

TEST(ProfilingTest, MissingCommandsAreAppendedInOrder)
{
    CStation station = MakeStation(2, MOUNTING_LEFT, 100000);
    station.GetCommands().Clear();
    station.GetCommands().Add("TE", "00010000");
    CalcProfilingSettings(station);
    std::string command, parameter;
    const char* expected[][2] = {{"TE", "00010000"}, {"TP", "00:00.40"}, {"WF", "100"},
                                 {"WP", "140"},      {"WN", "20"},       {"WS", "100"}};
    ASSERT_EQ(station.GetCommands().Count(), 6);
    for (int i = 0; i < 6; ++i) {
        station.GetCommands().Get(i, command, parameter);
        EXPECT_EQ(command, expected[i][0]);
        EXPECT_EQ(parameter, expected[i][1]);
    }
}

TEST(ProfilingTest, UnknownFrequencyTakesThe600kHzNumbers)
{
    CStation station = MakeStation(9, MOUNTING_LEFT, 100000);
    EXPECT_EQ(GetDefaultBlank(station), 100);
    CalcProfilingSettings(station);
    EXPECT_EQ(Command(station, "TP"), "");
    EXPECT_EQ(Command(station, "WF"), "100");
    EXPECT_EQ(Command(station, "WP"), "65"); // (30 - 4) / 0.4
    EXPECT_EQ(GetDefaultBlank(MakeStation(1, 1, 1)), 200);
    EXPECT_EQ(GetDefaultBlank(MakeStation(3, 1, 1)), 50);
}

TEST(ProfilingTest, VelocityRangeReachesNinetyFourPercentOfTheRange)
{
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    station.GetCommands().SetInt("WS", 50);
    station.GetCommands().SetInt("WN", 20);
    station.SetVelRangeStart(4);
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStart(), 1);
    EXPECT_EQ(station.GetVelRangeStop(), 16); // 0.0094 * 95000 / 50 = 17.86 -> 17, less 1

    station.GetCommands().SetInt("WN", 10);
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStop(), 10);

    // Vertical mounting still uses the width across.
    station.SetMounting(MOUNTING_TOP);
    station.GetCommands().SetInt("WN", 20);
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStop(), 16);
}

TEST(ProfilingTest, VelocityRangeFallbacks)
{
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    // No WS: bins of 25 cm; no WN: one bin.
    station.GetCommands().Clear();
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStop(), 1);
    station.GetCommands().SetInt("WN", 100);
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStop(), 34); // 0.0094 * 95000 / 25 = 35.72 -> 35, less 1

    // A bin size of zero, without digits or negative: only the start bin.
    for (const char* ws : {"0", "abc", "", "-50"}) {
        station.GetCommands().SetText("WS", ws);
        station.SetVelRangeStop(9);
        CalcVelocityRange(station);
        EXPECT_EQ(station.GetVelRangeStop(), 1) << ws;
    }
    // Leading digits count, the rest of the text does not.
    station.GetCommands().SetText("WS", " 50cm");
    CalcVelocityRange(station);
    EXPECT_EQ(station.GetVelRangeStop(), 16);
}

TEST(ProfilingTest, BinPositionsByMounting)
{
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    station.GetCommands().SetInt("WF", 50);
    station.GetCommands().SetInt("WS", 50);
    station.GetGeometry().SetYAdcp(2000);
    station.GetGeometry().SetZAdcp(700);
    EXPECT_DOUBLE_EQ(GetBinStart(station, 0), 7000.0);
    EXPECT_DOUBLE_EQ(GetBinCenter(station, 2), 19500.0);
    EXPECT_DOUBLE_EQ(GetBinEnd(station, 2), 22000.0);
    station.SetMounting(MOUNTING_RIGHT);
    EXPECT_DOUBLE_EQ(GetBinStart(station, 1), 12000.0);
    station.SetMounting(MOUNTING_BOTTOM);
    EXPECT_DOUBLE_EQ(GetBinStart(station, 1), 10700.0);
    station.SetMounting(MOUNTING_TOP);
    EXPECT_DOUBLE_EQ(GetBinStart(station, 1), 10000.0);

    // Missing commands: 100 cm bins and a 50 cm blank.
    station.GetCommands().Clear();
    EXPECT_DOUBLE_EQ(GetBinStart(station, 1), 15000.0);
    EXPECT_DOUBLE_EQ(GetBinEnd(station, 1), 25000.0);

    // A WS without a number: every bin collapses onto the blank.
    station.GetCommands().SetText("WS", "x");
    station.GetCommands().SetInt("WF", 20);
    for (int bin : {0, 5}) {
        EXPECT_DOUBLE_EQ(GetBinStart(station, bin), 2000.0);
        EXPECT_DOUBLE_EQ(GetBinEnd(station, bin), 2000.0);
    }
}

TEST(ProfilingTest, CommandValuesReadTheirLeadingInteger)
{
    EXPECT_EQ(CommandValueToInt("25"), 25);
    EXPECT_EQ(CommandValueToInt("  7 bins"), 7);
    EXPECT_EQ(CommandValueToInt("+3"), 3);
    EXPECT_EQ(CommandValueToInt("-12"), -12);
    EXPECT_EQ(CommandValueToInt("12.9"), 12);
    EXPECT_EQ(CommandValueToInt("bins"), 0);
    EXPECT_EQ(CommandValueToInt(""), 0);
    EXPECT_EQ(CommandValueToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(CommandValueToInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(ProfilingTest, RecalculatingUnchangedSettingsLeavesTheStationUnmodified)
{
    CStation station = MakeStation(3, MOUNTING_LEFT, 100000);
    CalcProfilingSettings(station);
    CalcVelocityRange(station);
    station.SetModified(false);
    CalcProfilingSettings(station);
    CalcVelocityRange(station);
    EXPECT_FALSE(station.IsModified());
}

} // namespace
