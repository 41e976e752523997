// tidewell-tool rating fit / apply on a station with a generated data file and measurements
// made from a known model.
#include "data/DataFiles.h"
#include "data/EnsembleList.h"
#include "data/Units.h"
#include "rating/Pairing.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

using testsupport::RunCommand;

namespace
{

std::string Compact(const std::string& json)
{
    std::string out;
    for (char c : json)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += c;
    return out;
}

// The number after the first occurrence of key (as "key":) at or after from.
double NumberAfter(const std::string& compact, const std::string& key, size_t from = 0)
{
    const size_t at = compact.find("\"" + key + "\":", from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << key << " in " << compact;
        return NODATA;
    }
    return std::strtod(compact.c_str() + at + key.size() + 3, nullptr);
}

// A station in metres and m/s with a day of ten-minute ensembles, and ten measurements of
// V = 0.1 + 0.8 Vi (m/s) with a little known scatter, each around one ensemble.
class RatingTool : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = m_temp.Path() / "Dock";
        std::filesystem::create_directories(m_dir);
        m_station.SetSiteName("Dock");
        m_station.SetStageUnits(UNIT_METERS);
        m_station.SetVelocityUnits(UNIT_METERS_PER_SECOND);
        m_station.SetFlowUnits(UNIT_CUBIC_METERS_PER_SECOND);
        m_station.SetAreaUnits(UNIT_SQUARE_METERS);
        m_station.GetGeometry().SetType(CHANNEL_RECTANGULAR);
        m_station.GetGeometry().SetRectangular(50000.0, 40000.0);
        m_station.GetGeometry().SetZAdcp(5000.0);
        ASSERT_TRUE(m_station.Save(StationFile().string()));
        SDataGenOptions o;
        o.m_nCount = 144;
        o.m_dVelocityMean = 300.0, o.m_dVelocityTide = 600.0;
        ASSERT_TRUE(CDataGenerator(o).WriteFile((m_dir / "20051203.001").string()));
        CEnsembleList list;
        ASSERT_EQ(list.Load((m_dir / "20051203.001").string(), FlowSettingsTableOf(m_station)), 144);
        m_samples = CollectSamples(list);
    }

    std::filesystem::path StationFile() const { return m_dir / "Dock.hstn"; }

    // The measurements file: header, then one row per measurement (line 2 onwards).
    std::filesystem::path WriteMeasurements(int count = 10, const std::string& extra = {})
    {
        const double scatter[] = {0.004, -0.006, 0.003, 0.007, -0.002, -0.005, 0.006, -0.003, 0.001, -0.004};
        std::string text = "id,start,end,discharge,exclude\n";
        for (int i = 0; i < count; ++i) {
            const SRecordedSample& s = m_samples[static_cast<size_t>(5 + 13 * i)];
            const double v = 0.1 + 0.8 * s.m_dIndexVelocity / 1000.0 + scatter[i % 10];
            const double q = v * m_station.GetGeometry().GetArea(s.m_dStage) * 1e-4; // m3/s
            char row[200];
            std::snprintf(row, sizeof row, "M%d,%s,%s,%.9f,0\n", i + 1,
                          FormatMeasurementTime(s.m_dTime - 2.0 / 1440).c_str(),
                          FormatMeasurementTime(s.m_dTime + 2.0 / 1440).c_str(), q);
            text += row;
        }
        text += extra;
        const auto path = m_temp.Path() / "measurements.csv";
        testsupport::WriteFileText(path, text);
        return path;
    }

    std::string Fit(const std::filesystem::path& csv, const std::string& options)
    {
        return Tool() + " rating fit --station " + Quote(StationFile()) + " --measurements " + Quote(csv) +
               " " + options;
    }

    testsupport::TempDir m_temp;
    std::filesystem::path m_dir;
    CStation m_station;
    std::vector<SRecordedSample> m_samples;
};

TEST_F(RatingTool, FitPrintsTheMeasurementsAndTheModelsAsJson)
{
    const auto csv = WriteMeasurements(10, "late,2005-12-09 10:00:00,2005-12-09 10:20:00,3.0,1\n");
    const auto before = testsupport::ReadFileBytes(StationFile());
    const auto result = RunCommand(Fit(csv, "--model linear --json"));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string json = Compact(result.out);
    EXPECT_EQ(json.rfind("{\"measurements\":[{\"id\":\"M1\",\"index_velocity\":", 0), 0u) << json;
    for (const char* key : {"\"stage\":", "\"area\":", "\"measured_velocity\":", "\"rated_velocity\":",
                            "\"residual\":", "\"percent\":", "\"excluded\":false", "\"paired\":\"within\""})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    // The unpaired row: no values, excluded as the file says.
    EXPECT_NE(
        json.find("{\"id\":\"late\",\"index_velocity\":null,\"stage\":null,\"area\":null,"
                  "\"measured_velocity\":null,\"rated_velocity\":null,\"residual\":null,\"percent\":null,"
                  "\"excluded\":true,\"paired\":\"none\"}"),
        std::string::npos)
        << json;
    const size_t model = json.find("\"models\":[{\"model\":\"linear\",\"coefficients\":{\"B1\":");
    ASSERT_NE(model, std::string::npos) << json;
    EXPECT_NEAR(NumberAfter(json, "B1", model), 0.1, 0.01);
    EXPECT_NEAR(NumberAfter(json, "B2", model), 0.8, 0.02);
    const size_t stderrAt = json.find("\"stderr\":{\"B1\":", model);
    ASSERT_NE(stderrAt, std::string::npos);
    EXPECT_GT(NumberAfter(json, "B2", stderrAt), 0.0);
    EXPECT_LT(NumberAfter(json, "B2", stderrAt), 0.02);
    EXPECT_NE(json.find("\"ci95\":{\"B1\":["), std::string::npos);
    EXPECT_EQ(NumberAfter(json, "n", model), 10.0);
    EXPECT_GT(NumberAfter(json, "r2", model), 0.99);
    EXPECT_NE(json.find("\"adj_r2\":"), std::string::npos);
    EXPECT_NEAR(NumberAfter(json, "se", model), 0.005, 0.003);
    // fit writes nothing.
    EXPECT_EQ(testsupport::ReadFileBytes(StationFile()), before);
}

TEST_F(RatingTool, AllModelsInTheReportAndTheJson)
{
    const auto csv = WriteMeasurements();
    const auto text = RunCommand(Fit(csv, ""));
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char* part : {"Velocity rating: Dock", "Linear: V = B1 + B2 x Vi",
                             "Linear with stage:", "Power:", "Compound:", "adjusted R2", "M10       within"})
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;

    const auto json = RunCommand(Fit(csv, "--model all --json"));
    ASSERT_EQ(json.status, 0) << json.err;
    const std::string c = Compact(json.out);
    size_t at = 0;
    for (const char* name : {"linear", "linear-stage", "power", "compound"}) {
        at = c.find(std::string("{\"model\":\"") + name + "\"", at);
        EXPECT_NE(at, std::string::npos) << name;
    }
    EXPECT_NE(c.find("\"coefficients\":{\"a\":"), std::string::npos);
    EXPECT_NE(c.find("\"Vc\":null}"), std::string::npos); // no standard error for the critical velocity
}

TEST_F(RatingTool, BadInputExitsWithOne)
{
    const auto bad = m_temp.Path() / "bad.csv";
    testsupport::WriteFileText(bad, "id,start,end,discharge\n"
                                    "A,2005-12-03 10:00:00,2005-12-03 10:20:00,1.5\n"
                                    "B,2005-12-03 11:00:00,2005-12-03 10:20:00,1.5\n"
                                    "C,2005-12-03 12:00:00,2005-12-03 12:20:00,\n");
    const auto result = RunCommand(Fit(bad, "--json"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("line 3: the end is before the start"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("line 4: the discharge is missing"), std::string::npos) << result.err;

    // Too few measurements for the one model asked for.
    const auto few = RunCommand(Fit(WriteMeasurements(5), "--model compound"));
    EXPECT_EQ(few.status, 1);
    EXPECT_NE(few.err.find("Compound: 5 usable measurements, at least 6 needed"), std::string::npos)
        << few.err;

    const auto missing = RunCommand(Fit(m_temp.Path() / "none.csv", ""));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

TEST_F(RatingTool, WrongUsage)
{
    const auto csv = WriteMeasurements();
    EXPECT_EQ(RunCommand(Fit(csv, "--model cubic")).status, 2);
    EXPECT_EQ(RunCommand(Fit(csv, "--tolerance soon")).status, 2);
    EXPECT_EQ(RunCommand(Fit(csv, "--flow-unit ft")).status, 2);
    EXPECT_EQ(RunCommand(Tool() + " rating fit --measurements " + Quote(csv)).status, 2);
    EXPECT_EQ(RunCommand(Tool() + " rating apply --station " + Quote(StationFile()) + " --measurements " +
                         Quote(csv) + " --model all")
                  .status,
              2);
}

TEST_F(RatingTool, FlowUnitAndTolerance)
{
    // The same discharges in litres per second fit the same model.
    const auto csv = WriteMeasurements();
    std::string text = testsupport::ReadFileText(csv);
    std::string converted = "id,start,end,discharge,exclude\n";
    size_t line = text.find('\n') + 1;
    while (line < text.size()) {
        const size_t end = text.find('\n', line);
        std::string row = text.substr(line, end - line);
        const size_t q = row.rfind(',', row.rfind(',') - 1);
        const double m3 = std::strtod(row.c_str() + q + 1, nullptr);
        converted += row.substr(0, q + 1) + std::to_string(m3 * 1000.0) + ",0\n";
        line = end + 1;
    }
    testsupport::WriteFileText(csv, converted);
    const auto litres = RunCommand(Fit(csv, "--model linear --json --flow-unit l/s"));
    ASSERT_EQ(litres.status, 0) << litres.err;
    EXPECT_NEAR(NumberAfter(Compact(litres.out), "B2", Compact(litres.out).find("\"models\"")), 0.8, 0.02);

    // A measurement 12 minutes after the last ensemble pairs with it, unless the tolerance is 10.
    const double after = m_samples.back().m_dTime + 12.0 / 1440.0;
    const auto near = WriteMeasurements(10, "tail," + FormatMeasurementTime(after) + "," +
                                                FormatMeasurementTime(after + 5.0 / 1440.0) + ",3.0,0\n");
    EXPECT_NE(Compact(RunCommand(Fit(near, "--model linear --json")).out).find("\"paired\":\"nearest\""),
              std::string::npos);
    const auto strict = RunCommand(Fit(near, "--model linear --json --tolerance 10"));
    EXPECT_EQ(Compact(strict.out).find("\"paired\":\"nearest\""), std::string::npos);
}

TEST_F(RatingTool, ApplyAddsACalculationSetOrSetsTheStationModel)
{
    const auto csv = WriteMeasurements();
    const auto result =
        RunCommand(Tool() + " rating apply --station " + Quote(StationFile()) + " --measurements " +
                   Quote(csv) + " --model linear --from \"2005-12-03 12:00:00\"");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(
        result.out.rfind("Added a calculation set from 2005-12-03 12:00:00 with the Linear model: B1 = ", 0),
        0u)
        << result.out;
    CStation saved;
    ASSERT_TRUE(saved.Load(StationFile().string()));
    const CDateTime noon = CDateTime::FromParts(2005, 12, 3, 12, 0, 0);
    EXPECT_EQ(saved.FindCalcSet(noon), nullptr);
    const CCalcSet* set = saved.FindCalcSet(CDateTime(noon.m_dt + 1.0 / 1440));
    ASSERT_NE(set, nullptr);
    EXPECT_NEAR(set->m_settings.m_dModelCoef[1], 0.8, 0.02);
    // Flows after noon are computed with it.
    CEnsembleList list;
    ASSERT_EQ(list.Load((m_dir / "20051203.001").string(), FlowSettingsTableOf(saved)), 144);
    const double vi = list.GetValue(100, DATATYPE_INDEX_VELOCITY);
    EXPECT_NEAR(list.GetValue(100, DATATYPE_VELOCITY),
                1000.0 * (set->m_settings.m_dModelCoef[0] + set->m_settings.m_dModelCoef[1] * vi / 1000.0),
                1e-6);
    EXPECT_DOUBLE_EQ(list.GetValue(10, DATATYPE_VELOCITY), list.GetValue(10, DATATYPE_INDEX_VELOCITY));

    // Without --from the set starts at the first measurement's start.
    ASSERT_EQ(RunCommand(Tool() + " rating apply --station " + Quote(StationFile()) + " --measurements " +
                         Quote(csv) + " --model power")
                  .status,
              0);
    ASSERT_TRUE(saved.Load(StationFile().string()));
    ASSERT_EQ(saved.GetCalcSetCount(), 2);
    EXPECT_NEAR(saved.GetCalcSet(0).m_dtStart.m_dt, m_samples[5].m_dTime - 2.0 / 1440, 1e-6);
    EXPECT_EQ(saved.GetCalcSet(0).m_settings.m_nVelocityModel, MODEL_POWER);

    const auto own = RunCommand(Tool() + " rating apply --station " + Quote(StationFile()) +
                                " --measurements " + Quote(csv) + " --model linear-stage --station-model");
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.out.rfind("The station's own velocity model is now Linear with stage: B1 = ", 0), 0u);
    ASSERT_TRUE(saved.Load(StationFile().string()));
    EXPECT_EQ(saved.GetVelocityModel(), MODEL_LINEAR);
    EXPECT_NE(saved.GetModelCoef(2), 0.0);
    EXPECT_EQ(saved.GetCalcSetCount(), 2);
}

#ifdef TIDEWELL_DEMO_SITE_PATH
TEST(RatingToolDemo, TheDemoWeirRecoversItsRating)
{
    testsupport::TempDir dir;
    ASSERT_EQ(RunCommand(std::string("'") + TIDEWELL_DEMO_SITE_PATH + "' " + Quote(dir / "site")).status, 0);
    const auto weir = dir / "site" / "North" / "Harbour Weir";
    const auto result =
        RunCommand(Tool() + " rating fit --station " + Quote(weir / "Harbour Weir.hstn") +
                   " --measurements " + Quote(weir / "measurements.csv") + " --model linear --json");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string json = Compact(result.out);
    const size_t model = json.find("\"models\"");
    // Made from V = 0.03 + 0.87 Vi with about 2 % scatter.
    EXPECT_NEAR(NumberAfter(json, "B1", model), 0.03, 0.02);
    EXPECT_NEAR(NumberAfter(json, "B2", model), 0.87, 0.03);
    EXPECT_EQ(NumberAfter(json, "n", model), 15.0);
    EXPECT_NE(json.find("\"paired\":\"none\""), std::string::npos);
    EXPECT_NE(json.find("\"excluded\":true"), std::string::npos);
}
#endif

} // namespace
