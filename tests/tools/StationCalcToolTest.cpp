// tidewell-tool station calc: the automatic profiling values of a station file, printed and
// never written back.
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

using testsupport::RunCommand;

namespace
{

// The output without its layout; none of the expected texts holds white space.
std::string Compact(const std::string& json)
{
    std::string out;
    for (char c : json) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return out;
}

TEST(StationCalcTool, DefaultStationGetsItsProfilingValues)
{
    testsupport::TempDir dir;
    const auto file = dir / "site.hstn";
    ASSERT_EQ(RunCommand(Tool() + " station new --site Site " + Quote(file)).status, 0);
    const auto before = testsupport::ReadFileBytes(file);

    const auto result = RunCommand(Tool() + " station calc " + Quote(file));
    ASSERT_EQ(result.status, 0) << result.err;
    // 300 kHz, 6.096 m wide, 30 s: 409 cm of range over 19 bins is below the smallest bin.
    EXPECT_EQ(Compact(result.out),
              R"({"commands":[["CR","1"],["WP","26"],["WF","200"],["WN","20"],["WS","100"],)"
              R"(["TP","00:01.00"],["TE","00003000"],["VP","3"],["EZ","1101101"],["EX","01010"],)"
              R"(["ES","0"],["CF","11110"],["CT","1"],["MR","1"],["PD","14"]],)"
              R"("m_nVelRangeStart":1,"m_nVelRangeStop":2})");
    EXPECT_EQ(testsupport::ReadFileBytes(file), before);
}

TEST(StationCalcTool, CalculatesEvenWhenTheAutomaticFlagsAreOff)
{
    testsupport::TempDir dir;
    const auto file = dir / "river.hstn";
    CStation station(CDateTime(45000.0));
    station.SetSiteName("River");
    station.SetFrequency(3);
    station.SetMounting(MOUNTING_LEFT);
    station.SetAutoCalc(0);
    station.SetAutoVelRange(0);
    station.SetVelRangeStart(5);
    station.SetVelRangeStop(6);
    station.GetGeometry().SetRectangular(100000, 30000);
    ASSERT_TRUE(station.Save(file.string()));
    const auto before = testsupport::ReadFileBytes(file);

    const auto result = RunCommand(Tool() + " station calc " + Quote(file));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string out = Compact(result.out);
    EXPECT_NE(out.find(R"(["WP","250"],["WF","50"],["WN","20"],["WS","50"],["TP","00:00.10"])"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(R"("m_nVelRangeStart":1,"m_nVelRangeStop":16})"), std::string::npos) << out;
    EXPECT_EQ(testsupport::ReadFileBytes(file), before);
}

TEST(StationCalcTool, FailuresAndWrongUsage)
{
    testsupport::TempDir dir;
    const auto missing = RunCommand(Tool() + " station calc " + Quote(dir / "none.hstn"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_FALSE(missing.err.empty());

    EXPECT_EQ(RunCommand(Tool() + " station calc").status, 2);
    EXPECT_EQ(RunCommand(Tool() + " station calc a.hstn b.hstn").status, 2);
}

} // namespace
