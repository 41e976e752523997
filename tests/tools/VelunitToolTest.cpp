// tidewell-tool velunit against the simulated unit inside the tool ("sim:velunit"), as a
// support engineer would script a station visit.
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"
#include "tests/tools/VelunitSimProcess.h"

#include <gtest/gtest.h>

using testsupport::RunCommand;

namespace
{

TEST(VelunitTool, VisitAnsweredNoAndYes)
{
    testsupport::TempDir dir;
    const std::string station = "'" + (dir / "Mill Race.hstn").string() + "'";
    ASSERT_EQ(RunCommand(Tool() + " station new --site 'Mill Race' " + station).status, 0);

    // The simulated unit answers with another ID; No (the default) restarts it and fails.
    auto no = RunCommand(Tool() + " velunit connect --station " + station + " --port sim:velunit");
    EXPECT_EQ(no.status, 1);
    EXPECT_NE(no.out.find("Connected to velunit..."), std::string::npos);
    EXPECT_NE(no.out.find("do not match, would you like to adjust the station file? [No]"),
              std::string::npos);
    EXPECT_NE(no.out.find("are you sure you want to continue? [No]"), std::string::npos);
    EXPECT_NE(no.err.find("ID differs"), std::string::npos);

    // Yes adjusts the station's frequency, programs the unit and keeps the calculation set.
    auto yes = RunCommand(Tool() + " velunit program --station " + station + " --port sim:velunit --yes");
    EXPECT_EQ(yes.status, 0) << yes.out << yes.err;
    EXPECT_NE(yes.out.find("Sent Command: PD 14"), std::string::npos);
    EXPECT_NE(yes.out.find("Station file saved"), std::string::npos);
    auto shown = RunCommand(Tool() + " station show " + station);
    ASSERT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("\"m_nFrequency\": 3"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("\"m_arrCalcSets\": []"), std::string::npos);

    const std::string log = testsupport::ReadFileText(dir / "Mill Race.log");
    EXPECT_NE(log.find("-----Program ("), std::string::npos);
    EXPECT_NE(log.find("MN Mill_Race\r\n>"), std::string::npos);

    auto usage = RunCommand(Tool() + " velunit sleep --station " + station);
    EXPECT_EQ(usage.status, 2);
    auto missing = RunCommand(Tool() + " velunit sleep --station " + station + " --port /dev/no-such-port");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

TEST(VelunitTool, SimulatorNamedLikeTheStationConnectsWithoutAnIdQuestion)
{
    testsupport::TempDir dir;
    CSimProcess sim("--site 'River One'", dir);
    if (sim.Device().empty())
        GTEST_SKIP() << "velunit-sim is not built";
    const std::string station = "'" + (dir / "River One.hstn").string() + "'";
    ASSERT_EQ(RunCommand(Tool() + " station new --site 'River One' " + station).status, 0);
    const auto r = RunCommand("timeout 60 " + Tool() + " velunit connect --station " + station + " --port " +
                              sim.Device());
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Site Name: River_One"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("the connected meter has ID"), std::string::npos) << r.out;
}

} // namespace
