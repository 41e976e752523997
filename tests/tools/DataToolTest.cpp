// The data commands of tidewell-tool print what the library computes: raw exports and
// values read back bit for bit, summaries field for field, with and without a station.
#include "data/DateTime.h"
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "sim/DataGenerator.h"
#include "station/CalcSet.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

using testsupport::RunCommand;

namespace
{

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::stringstream in(line);
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.push_back("");
    return fields;
}

// An exported raw field as a value: empty is no data; anything else must read back exactly.
double Raw(const std::string& field)
{
    return field.empty() ? NODATA : std::strtod(field.c_str(), nullptr);
}

// The number after "key": in the summary JSON.
double JsonNumber(const std::string& json, const std::string& key)
{
    const size_t at = json.find("\"" + key + "\"");
    if (at == std::string::npos)
        return -1e300;
    size_t colon = json.find(':', at);
    if (json.compare(colon + 1, 2, " {") == 0)
        colon = json.find(':', json.find("\"days\"", colon));
    return std::strtod(json.c_str() + colon + 1, nullptr);
}

std::filesystem::path Generate(const testsupport::TempDir& dir, SDataGenOptions::Format format,
                               const char* name)
{
    SDataGenOptions o;
    o.m_format = format;
    o.m_nCount = 150;
    o.m_nCells = 24;
    o.m_bXY = format == SDataGenOptions::PD14;
    o.m_nNoiseMax = 6;
    o.m_nRestartAt = 70;
    o.m_nBadChecksumEvery = 11;
    o.m_dBadVelocityRatio = 0.1;
    o.m_nSeed = 99;
    EXPECT_TRUE(CDataGenerator(o).WriteFile((dir / name).string()));
    return dir / name;
}

void ExpectRawExportMatches(const std::vector<std::filesystem::path>& files, const std::string& stationOption,
                            const CStation& station)
{
    std::string cmd = Tool() + " data export --raw --types 1,2,3,4,5,6,7,8,9,10,11,100,101,102,105";
    for (const auto& f : files)
        cmd += " " + Quote(f);
    const auto result = RunCommand(cmd + stationOption);
    ASSERT_EQ(result.status, 0) << result.err;

    CEnsembleList list;
    const CFlowSettingsTable settings = FlowSettingsTableOf(station);
    for (const auto& f : files)
        list.Load(f.string(), settings);
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), list.GetCount() + 1);
    EXPECT_EQ(lines[0], "Number,Date/Time,Range,Stage,Index Velocity,Velocity,Area,Flow,Pitch,Roll,"
                        "Pressure Range,Velocity Bins,X Velocity,Y Velocity,Amplitude");
    const int types[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 100, 101, 102, 105};
    int separators = 0;
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const auto fields = Fields(lines[i + 1]);
        ASSERT_EQ(fields.size(), 15u) << lines[i + 1];
        separators += list.GetAt(i).IsSeparator();
        for (size_t c = 0; c < 15; ++c)
            EXPECT_EQ(Raw(fields[c]), list.GetAt(i).GetValue(static_cast<DataType>(types[c]), 0, 0))
                << "row " << i << " type " << types[c];
    }
    EXPECT_GE(separators, 1);
}

} // namespace

TEST(DataTool, RawExportAgreesWithTheLibrary)
{
    testsupport::TempDir dir;
    const auto pd0 = Generate(dir, SDataGenOptions::PD0, "g.000");
    const auto pd14 = Generate(dir, SDataGenOptions::PD14, "h.001");
    const CStation defaults;
    ExpectRawExportMatches({pd0}, "", defaults);
    ExpectRawExportMatches({pd14, pd0}, "", defaults);

    // A station mounted on the left bank, in metric units, with a calculation set that
    // forces the stage for the second half of the recording.
    CStation station;
    station.SetSiteName("Weir");
    station.SetMounting(MOUNTING_LEFT);
    station.SetStageUnits(105);
    station.SetVelocityUnits(106);
    auto set = station.MakeCalcSet(CDateTime::FromParts(2005, 12, 3, 12, 0, 0));
    set->m_settings.m_dForcedStage = 12345;
    set->m_settings.m_nMounting = 2;
    station.AddCalcSet(std::move(set));
    ASSERT_TRUE(station.Save((dir / "weir.hstn").string()));
    ExpectRawExportMatches({pd0, pd14}, " --station " + Quote(dir / "weir.hstn"), station);

    CEnsembleList check;
    check.Load(pd0.string(), FlowSettingsTableOf(station));
    EXPECT_EQ(check.GetValue(check.GetCount() - 1, DATATYPE_STAGE), 12345.0)
        << "the set is in force late in the file";
    EXPECT_NE(check.GetValue(0, DATATYPE_STAGE), 12345.0);
}

TEST(DataTool, SummaryAgreesWithTheLibrary)
{
    testsupport::TempDir dir;
    for (auto format : {SDataGenOptions::PD0, SDataGenOptions::PD14}) {
        const auto file = Generate(dir, format, "s.002");
        const auto result = RunCommand(Tool() + " data summary " + Quote(file));
        ASSERT_EQ(result.status, 0) << result.err;
        CDataSummary expected;
        ASSERT_TRUE(SummarizeFile(file.string(), FlowSettingsTableOf(CStation{}), expected));
        EXPECT_NE(result.out.find("\"m_strFileName\": \"s.002\""), std::string::npos) << result.out;
        EXPECT_EQ(JsonNumber(result.out, "m_nEnsembles"), expected.m_nEnsembles);
        EXPECT_EQ(JsonNumber(result.out, "m_nEnsembleType"), expected.m_nEnsembleType);
        EXPECT_EQ(JsonNumber(result.out, "m_dtStart"), expected.m_dtStart.m_dt);
        EXPECT_EQ(JsonNumber(result.out, "m_dtStop"), expected.m_dtStop.m_dt);
        EXPECT_EQ(JsonNumber(result.out, "m_dStageMin"), expected.m_dStageMin);
        EXPECT_EQ(JsonNumber(result.out, "m_dStageMax"), expected.m_dStageMax);
        EXPECT_EQ(JsonNumber(result.out, "m_dVelocityMin"), expected.m_dVelocityMin);
        EXPECT_EQ(JsonNumber(result.out, "m_dVelocityMax"), expected.m_dVelocityMax);
        EXPECT_EQ(JsonNumber(result.out, "m_dFlowMin"), expected.m_dFlowMin);
        EXPECT_EQ(JsonNumber(result.out, "m_dFlowMax"), expected.m_dFlowMax);
        EXPECT_EQ(expected.m_nEnsembles, 150 - 150 / 11 + 1);
    }
}

TEST(DataTool, ValuesAndTableExport)
{
    testsupport::TempDir dir;
    const auto file = Generate(dir, SDataGenOptions::PD14, "v.000");
    const auto values = RunCommand(Tool() + " data values " + Quote(file) + " --type 101 --beam 0 --bin 5");
    ASSERT_EQ(values.status, 0) << values.err;
    CEnsembleList list;
    list.Load(file.string(), FlowSettingsTableOf(CStation{}));
    const auto lines = Lines(values.out);
    ASSERT_EQ(lines.size(), list.GetCount());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(Raw(lines[i]), list.GetValue(i, DATATYPE_X_VELOCITY, 0, 5)) << i;

    // The table's columns by default: the station's displayed types in display units.
    const auto table = RunCommand(Tool() + " data export " + Quote(file));
    ASSERT_EQ(table.status, 0) << table.err;
    const auto rows = Lines(table.out);
    ASSERT_EQ(rows.size(), list.GetCount() + 1);
    EXPECT_EQ(rows[0], "Number,Date/Time,Range (ft),Stage (ft),Index Velocity (ft/s),Velocity (ft/s),"
                       "Area (sq ft),Flow (MGD)");
    EXPECT_EQ(Fields(rows[1])[0], "1");
    EXPECT_EQ(Fields(rows[1])[1], "2005/12/03 00:00:00");
}

TEST(DataTool, FailuresAndUsage)
{
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir / "noise.000", std::vector<unsigned char>(300, 0x1A));
    const auto none = RunCommand(Tool() + " data summary " + Quote(dir / "noise.000"));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no valid ensemble"), std::string::npos);
    EXPECT_TRUE(none.out.empty());

    const auto missing = RunCommand(Tool() + " data export " + Quote(dir / "missing.000"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(Lines(missing.err).size(), 1u);

    EXPECT_EQ(RunCommand(Tool() + " data values " + Quote(dir / "noise.000")).status, 2);
    EXPECT_EQ(RunCommand(Tool() + " data export --types 1,x " + Quote(dir / "noise.000")).status, 2);
    EXPECT_EQ(RunCommand(Tool() + " data summary").status, 2);
}

namespace
{

// The value of "Label: text" in the human summary.
std::string HumanField(const std::string& text, const std::string& label)
{
    for (const auto& line : Lines(text))
        if (line.rfind(label + ": ", 0) == 0)
            return line.substr(label.size() + 2);
    return "(missing " + label + ")";
}

} // namespace

TEST(DataTool, HumanSummaryInTheStationsDisplayUnits)
{
    testsupport::TempDir dir;
    const auto file = Generate(dir, SDataGenOptions::PD0, "h.000");
    CStation metric;
    metric.SetSiteName("Metric");
    metric.SetStageUnits(UNIT_METERS);
    metric.SetVelocityUnits(UNIT_METERS_PER_SECOND);
    metric.SetFlowUnits(UNIT_LITERS_PER_SECOND);
    ASSERT_TRUE(metric.Save((dir / "Metric.hstn").string()));

    const auto feet = RunCommand(Tool() + " data summary --human " + Quote(file));
    ASSERT_EQ(feet.status, 0) << feet.err;
    const auto metres = RunCommand(Tool() + " data summary " + Quote(file) + " --human --station " +
                                   Quote(dir / "Metric.hstn"));
    ASSERT_EQ(metres.status, 0) << metres.err;

    CDataSummary expected;
    ASSERT_TRUE(SummarizeFile(file.string(), FlowSettingsTableOf(CStation{}), expected));
    EXPECT_EQ(HumanField(feet.out, "Data File"), "h.000");
    EXPECT_EQ(HumanField(feet.out, "Start Time"), "2005/12/03 00:00:00");
    EXPECT_EQ(HumanField(feet.out, "Stop Time"), expected.m_dtStop.Format("%Y/%m/%d %H:%M:%S"));
    EXPECT_EQ(HumanField(feet.out, "Ensembles"), std::to_string(expected.m_nEnsembles));
    EXPECT_NE(HumanField(feet.out, "Ensemble Type"), "");

    // The same range, as feet and as metres with their unit names.
    const std::string stageFeet = HumanField(feet.out, "Stage Range");
    const std::string stageMetres = HumanField(metres.out, "Stage Range");
    ASSERT_TRUE(stageFeet.ends_with(" " + UnitAbbreviation(UNIT_FEET))) << stageFeet;
    ASSERT_TRUE(stageMetres.ends_with(" " + UnitAbbreviation(UNIT_METERS))) << stageMetres;
    EXPECT_NEAR(std::strtod(stageMetres.c_str(), nullptr), std::strtod(stageFeet.c_str(), nullptr) * 0.3048,
                0.01);
    EXPECT_NE(stageFeet.find(" - "), std::string::npos);
    EXPECT_TRUE(
        HumanField(metres.out, "Flow Range").ends_with(" " + UnitAbbreviation(UNIT_LITERS_PER_SECOND)));
    EXPECT_TRUE(
        HumanField(metres.out, "Velocity Range").ends_with(" " + UnitAbbreviation(UNIT_METERS_PER_SECOND)));

    // Without the option the JSON is what it always was.
    const auto json = RunCommand(Tool() + " data summary " + Quote(file));
    EXPECT_EQ(json.out.rfind("{", 0), 0u);
    EXPECT_NE(json.out.find("\"days\""), std::string::npos);
}
