// tidewell-tool station show / new / resave, run as a script would run them.
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

using testsupport::ReadFileBytes;
using testsupport::RunCommand;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

// The output with every space and line break removed, so values can be searched for
// whatever the layout.
std::string Compact(std::string text)
{
    std::erase_if(text, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    return text;
}

// A station whose every stored field differs from its default.
CStation DistinctStation()
{
    CStation s{CDateTime(45123.75)};
    s.SetSiteName("Weir\xC3\xA9");
    s.SetLocation("Upstream");
    s.SetGroup("North");
    s.SetFlowUnits(113);
    s.SetVelocityUnits(108);
    s.SetStageUnits(103);
    s.SetVolumeUnits(121);
    s.SetTemperatureUnits(131);
    s.SetAreaUnits(118);
    s.SetFlow4mA(1.5);
    s.SetFlow20mA(0.1);
    s.SetStage4mA(2.5);
    s.SetStage20mA(3.5);
    s.SetVelocity4mA(4.5);
    s.SetVelocity20mA(5.5);
    s.SetTotalizerPulse(6.5);
    s.SetAutoVelRange(0);
    s.SetVelRangeStart(4);
    s.SetVelRangeStop(14);
    s.SetVelocityModel(MODEL_COMPOUND);
    for (int i = 0; i < 4; ++i)
        s.SetModelCoef(10.0 + i, i);
    s.SetCritVelocity(7.25);
    auto& g = s.GetGeometry();
    g.m_nType = CHANNEL_POLYNOMIAL;
    g.m_dDiameter = 11.0;
    g.m_dRectWidth = 12.0;
    g.m_dRectHeight = 13.0;
    g.m_dTrapWidth = 14.0;
    g.m_dTrapHeight = 15.0;
    g.m_dTrapSlope = 16.0;
    g.m_nPoints = 2;
    for (int i = 0; i < CChannelGeometry::MAX_POINTS; ++i) {
        g.m_dPointY[i] = i + 0.5;
        g.m_dPointZ[i] = -i;
    }
    g.m_dPoly[0] = 17.0;
    g.m_dPoly[1] = 18.0;
    g.m_dPoly[2] = 19.0;
    g.m_dZAdcp = 20.0;
    g.m_dYAdcp = 21.0;
    g.m_dZBottom = 22.0;
    s.SetForcedDepth(23.0);
    s.SetReserved1(24.0);
    s.SetReserved2(25.0);
    s.SetMounting(MOUNTING_BOTTOM);
    s.SetReservedDate(CDateTime(26.5, 1));
    s.SetComPort(7);
    s.SetReservedFlag(0);
    CDataSummary summary;
    summary.m_strFileName = "20060101.001";
    summary.m_dtStart = CDateTime(38718.25);
    summary.m_nEnsembles = 96;
    summary.m_nEnsembleType = 3;
    summary.m_dFlowMax = 123456.5;
    s.AddSummary(summary);
    s.SetFrequency(2);
    s.SetOptimize(1);
    s.GetCommands().SetText("WN", "33");
    s.SetAutoCalc(0);
    s.GetGraphPrefs().m_bSpare = 1;
    s.GetGraphPrefs().m_arrDataTypes = {9, 3};
    s.SetTCF(27.0);
    s.SetBadDataOutput(28.0);
    s.SetNoDataOutput(29.0);
    s.SetTimeout(30);
    s.SetPulseTime(31.0);
    s.SetBadReadings(32);
    s.SetBigStep(33.0);
    s.SetZeroScreen(34.0);
    s.SetTimeZoneOffset(-3);
    s.AddCalcSetFromStation(CDateTime(45200.5));
    return s;
}

} // namespace

TEST(StationTool, ShowPrintsEveryStoredField)
{
    TempDir dir;
    CStation station = DistinctStation();
    ASSERT_TRUE(station.Save((dir / "w.hstn").string()));
    const auto result = RunCommand(Tool() + " station show " + Quote(dir / "w.hstn"));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string out = Compact(result.out);

    const char* expected[] = {
        "{\"m_nVersion\":2,\"m_strSiteName\":\"Weir\xC3\xA9\",\"m_strLocation\":\"Upstream\",\"m_strGroup\":"
        "\"North\"",
        "\"m_nFlowUnits\":113,\"m_nVelocityUnits\":108,\"m_nStageUnits\":103,\"m_nVolumeUnits\":121,"
        "\"m_nTemperatureUnits\":131,\"m_nAreaUnits\":118",
        "\"m_dFlow4mA\":1.5,\"m_dFlow20mA\":0.1,\"m_dStage4mA\":2.5,\"m_dStage20mA\":3.5,\"m_dVelocity4mA\":"
        "4.5,"
        "\"m_dVelocity20mA\":5.5,\"m_dTotalizerPulse\":6.5",
        "\"m_bAutoVelRange\":0,\"m_nVelRangeStart\":4,\"m_nVelRangeStop\":14,\"m_nVelocityModel\":3,"
        "\"m_dModelCoef\":[10,11,12,13],\"m_dCritVelocity\":7.25",
        "\"m_pGeometry\":{\"m_nType\":23,\"m_dDiameter\":11,\"m_dRectWidth\":12,\"m_dRectHeight\":13,"
        "\"m_dTrapWidth\":14,\"m_dTrapHeight\":15,\"m_dTrapSlope\":16,\"m_nPoints\":2,"
        "\"m_dPointY\":[0.5,1.5,2.5,3.5,4.5,5.5,6.5,7.5,8.5,9.5,10.5,11.5,12.5,13.5,14.5,15.5,16.5,17.5,18.5,"
        "19.5],"
        "\"m_dPointZ\":[0,-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,-11,-12,-13,-14,-15,-16,-17,-18,-19],"
        "\"m_dPoly\":[17,18,19],\"m_dZAdcp\":20,\"m_dYAdcp\":21,\"m_dZBottom\":22}",
        "\"m_dForcedDepth\":23,\"m_dReserved1\":24,\"m_dReserved2\":25,\"m_nMounting\":4,"
        "\"m_dtCreated\":{\"status\":0,\"days\":45123.75},\"m_dtReserved\":{\"status\":1,\"days\":26.5},"
        "\"m_nComPort\":7,\"m_bReserved\":0",
        "\"m_arrDataSummaries\":[{\"m_strFileName\":\"20060101.001\",\"m_dtStart\":{\"status\":0,\"days\":"
        "38718.25},"
        "\"m_dtStop\":{\"status\":0,\"days\":0},\"m_nEnsembles\":96,\"m_nEnsembleType\":3,\"m_dStageMin\":-"
        "32768,"
        "\"m_dStageMax\":-32768,\"m_dVelocityMin\":-32768,\"m_dVelocityMax\":-32768,\"m_dFlowMin\":-32768,"
        "\"m_dFlowMax\":123456.5}]",
        "\"m_nFrequency\":2,\"m_nOptimize\":1,\"m_pCommands\":[[\"CR\",\"1\"],[\"WP\",\"1\"],[\"WF\",\"50\"],"
        "[\"WN\",\"33\"],",
        "[\"PD\",\"14\"]],\"m_bAutoCalc\":0",
        "\"m_pGraphPrefs\":{\"m_bTabular\":1,\"m_bQVD\":1,\"m_bWhisker\":1,\"m_bContours\":1,\"m_"
        "bBinVelocities\":0,"
        "\"m_bVectors\":1,\"m_bAmplitude\":1,\"m_bCorrelation\":1,\"m_bSpare\":1,\"m_arrDataTypes\":[9,3]}",
        "\"m_dTCF\":27,\"m_dBadDataOutput\":28,\"m_dNoDataOutput\":29,\"m_nTimeout\":30,\"m_dPulseTime\":31,"
        "\"m_nBadReadings\":32,\"m_dBigStep\":33,\"m_dZeroScreen\":34,\"m_nTimeZoneOffset\":-3",
        "\"m_arrCalcSets\":[{\"m_dtStart\":{\"status\":0,\"days\":45200.5},\"m_dBinSize\":10000,\"m_dBlank\":"
        "5000,"
        "\"m_dForcedDepth\":23,\"m_nVelRangeStart\":4,\"m_nVelRangeStop\":14,\"m_nVelocityModel\":3,"
        "\"m_dModelCoef\":[10,11,12,13],\"m_dCritVelocity\":7.25,\"m_nMounting\":4,\"m_pGeometry\":{\"m_"
        "nType\":23,",
        "\"m_dZBottom\":22}}]}",
    };
    for (const char* part : expected)
        EXPECT_NE(out.find(Compact(part)), std::string::npos) << "missing: " << part << "\nin: " << out;
    EXPECT_EQ(out.back(), '}');
}

TEST(StationTool, NewWritesDefaultsWithNameAndGroup)
{
    TempDir dir;
    const auto out = dir / "n.hstn";
    auto result = RunCommand(Tool() + " station new --site 'Mill Race' --group East " + Quote(out));
    ASSERT_EQ(result.status, 0) << result.err;
    CStation loaded{CDateTime(0.0)};
    ASSERT_TRUE(loaded.Load(out.string()));
    EXPECT_EQ(loaded.GetSiteName(), "Mill Race");
    EXPECT_EQ(loaded.GetGroup(), "East");
    EXPECT_NE(loaded.GetCreated().m_dt, 0.0);

    // Apart from the texts and the creation time it is the default record.
    CStation expected{loaded.GetCreated()};
    expected.SetSiteName("Mill Race");
    expected.SetGroup("East");
    const auto bytes = ReadFileBytes(out);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), expected.ToBytes());

    const auto shown = RunCommand(Tool() + " station show " + Quote(out));
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(Compact(shown.out).find(
                  "\"m_strSiteName\":\"MillRace\",\"m_strLocation\":\"\",\"m_strGroup\":\"East\""),
              std::string::npos);
}

TEST(StationTool, NewRefusesNamesThatAreNotFolderNames)
{
    TempDir dir;
    // Each name is told its own rule: dot names are not reported as bad characters, and a
    // bad group is the group's fault, not the site name's.
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"--site '..'", "The site name cannot be . or .."},
        {"--site '.'", "The site name cannot be . or .."},
        {"--site 'a/b'", "The site name cannot include the following characters: ?<>*/\\"},
        {"--site ok --group '..'", "The group cannot be . or .., nor have a part . or .."},
        {"--site ok --group 'a*b'", "The group cannot include the following characters: ?<>*/\\"},
    };
    for (const auto& c : cases) {
        const auto result = RunCommand(Tool() + " station new " + c.args + " " + Quote(dir / "x.hstn"));
        EXPECT_EQ(result.status, 1) << c.args;
        EXPECT_EQ(result.err, "tidewell-tool: invalid station: " + std::string(c.message) + "\n") << c.args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x.hstn"));
    EXPECT_EQ(RunCommand(Tool() + " station new " + Quote(dir / "x.hstn")).status, 2);
}

TEST(StationTool, ResaveReproducesAVersion2FileBitForBit)
{
    TempDir dir;
    CStation station = DistinctStation();
    ASSERT_TRUE(station.Save((dir / "in.hstn").string()));
    const auto result =
        RunCommand(Tool() + " station resave " + Quote(dir / "in.hstn") + " " + Quote(dir / "out.hstn"));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(dir / "in.hstn"), ReadFileBytes(dir / "out.hstn"));
}

TEST(StationTool, OldVersionsAreConvertedButNeverWrittenBack)
{
    // A version-1 file: a version-2 file cut after the Flow Computer settings, with the
    // version number changed and Left mounting.
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("Old");
    station.SetMounting(MOUNTING_LEFT);
    auto bytes = station.ToBytes();
    bytes.resize(bytes.size() - 8); // drop the time zone offset and calculation set count
    bytes[0] = 1;
    TempDir dir;
    const auto path = dir / "v1.hstn";
    WriteFileBytes(path, {bytes.begin(), bytes.end()});

    const auto shown = RunCommand(Tool() + " station show " + Quote(path));
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(Compact(shown.out).find("\"m_nMounting\":2"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(bytes.begin(), bytes.end()));

    const auto resaved = RunCommand(Tool() + " station resave " + Quote(path) + " " + Quote(dir / "v2.hstn"));
    ASSERT_EQ(resaved.status, 0) << resaved.err;
    EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(bytes.begin(), bytes.end()));
    CStation converted{CDateTime(0.0)};
    ASSERT_TRUE(converted.Load((dir / "v2.hstn").string()));
    EXPECT_EQ(converted.GetVersion(), 2);
    EXPECT_EQ(converted.GetMounting(), 2);
}

TEST(StationTool, FailuresAreOneLineWithStatusOne)
{
    TempDir dir;
    CStation station{CDateTime(45000.0)};
    auto bytes = station.ToBytes();
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(dir / "cut.hstn", {bytes.begin(), bytes.end()});

    for (const auto& file : {dir / "missing.hstn", dir / "cut.hstn"}) {
        const auto result = RunCommand(Tool() + " station show " + Quote(file));
        EXPECT_EQ(result.status, 1) << file;
        EXPECT_TRUE(result.out.empty()) << file;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(file.filename().string()), std::string::npos);
    }
    const auto unwritable =
        RunCommand(Tool() + " station resave " + Quote(dir / "missing.hstn") + " " + Quote(dir / "out.hstn"));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.hstn"));
    EXPECT_EQ(RunCommand(Tool() + " station show").status, 2);
    EXPECT_EQ(RunCommand(Tool() + " station resave " + Quote(dir / "cut.hstn")).status, 2);
}

TEST(StationTool, UnknownVersionShowsDefaultsWithAWarningAndFails)
{
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("Future");
    auto bytes = station.ToBytes();
    bytes[0] = 3;
    TempDir dir;
    WriteFileBytes(dir / "v3.hstn", {bytes.begin(), bytes.end()});
    const auto result = RunCommand(Tool() + " station show " + Quote(dir / "v3.hstn"));
    EXPECT_EQ(result.status, 1); // shown, but the station did not load cleanly
    EXPECT_NE(result.err.find("Error, station file has invalid version number."), std::string::npos);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    const std::string out = Compact(result.out);
    EXPECT_NE(out.find("{\"m_nVersion\":3,\"m_strSiteName\":\"\""), std::string::npos) << out;
    EXPECT_EQ(ReadFileBytes(dir / "v3.hstn"), std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

TEST(StationTool, HumanShowIsTheInformationViewsText)
{
    TempDir dir;
    CStation station = DistinctStation();
    ASSERT_TRUE(station.Save((dir / "w.hstn").string()));
    const auto result = RunCommand(Tool() + " station show --human " + Quote(dir / "w.hstn"));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Site Name: Weir\xC3\xA9\nLocation: Upstream\nCreated: 2023/07/16 18:00:00\n"
                               "Orientation: Bottom - Vertical\nChannel: Polynomial - Units in ",
                               0),
              0u)
        << result.out;
    // The cached summary of each data file; the flow, stored in cubic centimetres per second,
    // in the station's cubic metres per second.
    EXPECT_NE(result.out.find("Data File: 20060101.001\nStart Time: 2006/01/01 06:00:00\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Ensembles: 96\n"), std::string::npos);
    EXPECT_NE(result.out.find("Flow Range: 0.12 cu m/s\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("{"), std::string::npos);
}
