// What the exports write: daily volumes and coverage of the statistics, the WaterML 2.0
// document read back by the XML library and compared with the CSV, and output files that
// appear whole or not at all.
#include "series/SeriesStats.h"
#include "series/SeriesTime.h"
#include "series/SeriesWaterML.h"
#include "tests/series/SeriesFixture.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <sstream>

using namespace seriestest;

namespace
{

CStationSeries Build(const testsupport::TempDir& dir)
{
    auto series = BuildSeries(SeriesSourceOf(MakeStation(), dir.Path().string()), {});
    EXPECT_TRUE(series.has_value());
    return series ? std::move(*series) : CStationSeries{};
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream fieldsIn(line);
        std::string field;
        while (std::getline(fieldsIn, field, ','))
            fields.push_back(field);
        if (line.back() == ',')
            fields.push_back("");
        rows.push_back(fields);
    }
    return rows;
}

} // namespace

TEST(SeriesStats, DailyVolumeOfOneCubicMetrePerSecondAndOfADayWithAGap)
{
    testsupport::TempDir dir;
    // 14 March whole; 15 March without 10:00 to 11:59.
    std::vector<SEns> day1 = Minutes({.day = 14}, 1440);
    std::vector<SEns> day2 = Minutes({.day = 15, .number = 2000}, 600);
    const auto after = Minutes({.day = 15, .hour = 12, .number = 3000}, 720);
    day2.insert(day2.end(), after.begin(), after.end());
    WriteData(dir / "march.000", day1);
    WriteData(dir / "march.001", day2);

    const CStationSeries series = Build(dir);
    ASSERT_EQ(series.m_arrRows.size(), 1440u + 1320u);
    ASSERT_EQ(series.m_nSampleInterval, 60);
    SSeriesExport options = SeriesExportOf(MakeStation());
    const auto days = ComputeStats(series, PERIOD_DAY, options);
    ASSERT_EQ(days.size(), 2u);
    const SQuantityStats& full = days[0].m_q[QUANTITY_FLOW];
    const SQuantityStats& gap = days[1].m_q[QUANTITY_FLOW];
    EXPECT_EQ(full.m_nCount, 1440u);
    EXPECT_NEAR(Volume(full, 60, 121), 86400.0, 1e-6);
    EXPECT_DOUBLE_EQ(Coverage(full, 60, days[0].m_nLength), 1.0);
    EXPECT_EQ(gap.m_nCount, 1320u);
    EXPECT_NEAR(Volume(gap, 60, 121), 79200.0, 1e-6);
    EXPECT_DOUBLE_EQ(Coverage(gap, 60, days[1].m_nLength), 22.0 / 24.0);
    // The same in another volume unit.
    EXPECT_NEAR(Volume(full, 60, 122), 86.4, 1e-9);

    ASSERT_TRUE(SetQuantities(options, "flow"));
    CSeriesOutput out;
    WriteStatsCsv(series, PERIOD_DAY, options, out);
    ASSERT_TRUE(out.Commit());
    const auto rows = CsvRows(out.Text());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"period_start", "quantity", "mean", "min", "max", "count",
                                                 "coverage", "volume"}));
    EXPECT_EQ(rows[1][0], "2025-03-14T00:00:00+00:00");
    EXPECT_EQ(rows[1][1], "flow");
    EXPECT_EQ(rows[1][2], "1");
    EXPECT_EQ(rows[1][5], "1440");
    EXPECT_EQ(rows[1][6], "1");
    EXPECT_NEAR(std::strtod(rows[1][7].c_str(), nullptr), 86400.0, 1e-6);
    EXPECT_EQ(rows[2][5], "1320");
    EXPECT_EQ(std::strtod(rows[2][6].c_str(), nullptr), 22.0 / 24.0);
    EXPECT_NEAR(std::strtod(rows[2][7].c_str(), nullptr), 79200.0, 1e-6);
    EXPECT_NE(out.Text().find("# volume: Cubic Meters (cu m)\n"), std::string::npos);
    EXPECT_NE(out.Text().find("# sample interval: 60 s\n"), std::string::npos);
}

TEST(SeriesStats, HoursAndMonthsFollowTheClockAndEmptyPeriodsAreListed)
{
    testsupport::TempDir dir;
    // 31 January 23:58 to 1 February 00:01, then one value on 1 March: February has none
    // from its second minute on.
    WriteData(dir / "a.000", {{.month = 1, .day = 31, .hour = 23, .minute = 58, .number = 1},
                              {.month = 1, .day = 31, .hour = 23, .minute = 59, .number = 2},
                              {.month = 2, .day = 1, .hour = 0, .minute = 0, .number = 3},
                              {.month = 2, .day = 1, .hour = 0, .minute = 1, .number = 4}});
    WriteData(dir / "b.000", {{.month = 3, .day = 1, .hour = 5, .number = 50, .range = -32768}});
    const CStationSeries series = Build(dir);
    const SSeriesExport options = SeriesExportOf(MakeStation());
    const auto months = ComputeStats(series, PERIOD_MONTH, options);
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(FormatIsoTime(months[1].m_nStart, 0), "2025-02-01T00:00:00+00:00");
    EXPECT_EQ(months[1].m_nLength, 28 * 86400);
    EXPECT_EQ(months[0].m_q[QUANTITY_STAGE].m_nCount, 2u);
    EXPECT_EQ(months[1].m_q[QUANTITY_STAGE].m_nCount, 2u);
    // The no-data stage of March is not a good value; its velocity is.
    EXPECT_EQ(months[2].m_q[QUANTITY_STAGE].m_nCount, 0u);
    EXPECT_EQ(months[2].m_q[QUANTITY_VELOCITY].m_nCount, 1u);

    const auto hours = ComputeStats(series, PERIOD_HOUR, options);
    EXPECT_EQ(hours.size(), 1u + 28u * 24u + 6u); // 31 Jan 23:00 to 1 Mar 05:00
    EXPECT_EQ(hours[1].m_q[QUANTITY_FLOW].m_nCount, 2u);
    EXPECT_EQ(hours[2].m_q[QUANTITY_FLOW].m_nCount, 0u);

    CSeriesOutput out;
    WriteStatsCsv(series, PERIOD_MONTH, options, out);
    ASSERT_TRUE(out.Commit());
    const auto rows = CsvRows(out.Text());
    ASSERT_EQ(rows.size(), 1u + 3u * 3u);
    // March's stage: no good value, so no mean, minimum or maximum, and no volume.
    EXPECT_EQ(rows[7],
              (std::vector<std::string>{"2025-03-01T00:00:00+00:00", "stage", "", "", "", "0", "0", ""}));
}

TEST(SeriesWaterML, DocumentReadBackMatchesTheCsv)
{
    testsupport::TempDir dir;
    std::vector<SEns> list = Minutes({.hour = 6, .minute = 15}, 6);
    list[2].range = -32768; // stage and flow missing
    list[4].velocity = 1234;
    WriteData(dir / "a.000", list);
    const CStationSeries series = Build(dir);
    SSeriesExport options = SeriesExportOf(MakeStation());
    options.m_nUtcOffset = 60;
    std::string error;
    ASSERT_TRUE(SetUnits(options, "cm,m/s,l/s", error));

    CSeriesOutput csv, xml;
    WriteSeriesCsv(series, options, csv);
    WriteSeriesWaterML(series, options, xml);
    ASSERT_TRUE(csv.Commit() && xml.Commit());
    const auto rows = CsvRows(csv.Text());
    ASSERT_EQ(rows.size(), 7u);

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(xml.Text().c_str());
    ASSERT_TRUE(parsed) << parsed.description();
    const pugi::xml_node collection = doc.child("wml2:Collection");
    ASSERT_TRUE(collection);
    EXPECT_STREQ(collection.attribute("xmlns:wml2").value(), "http://www.opengis.net/waterml/2.0");
    EXPECT_STREQ(collection.attribute("xmlns:gml").value(), "http://www.opengis.net/gml/3.2");
    EXPECT_STREQ(collection.attribute("xmlns:om").value(), "http://www.opengis.net/om/2.0");
    EXPECT_TRUE(
        collection.child("wml2:metadata").child("wml2:DocumentMetadata").child("wml2:generationDate"));

    const char* names[] = {"stage", "velocity", "flow"};
    const char* ucum[] = {"cm", "m/s", "L/s"};
    int found = 0;
    for (pugi::xml_node member : collection.children("wml2:observationMember")) {
        const pugi::xml_node observation = member.child("om:OM_Observation");
        const pugi::xml_node series = observation.child("om:result").child("wml2:MeasurementTimeseries");
        ASSERT_TRUE(series);
        const int q = found++;
        ASSERT_LT(q, 3);
        EXPECT_EQ(std::string(observation.attribute("gml:id").value()),
                  std::string("observation-") + names[q]);
        const pugi::xml_node defaults =
            series.child("wml2:defaultPointMetadata").child("wml2:DefaultTVPMeasurementMetadata");
        EXPECT_STREQ(defaults.child("wml2:uom").attribute("code").value(), ucum[q]);
        EXPECT_STREQ(defaults.child("wml2:interpolationType").attribute("xlink:href").value(),
                     "http://www.opengis.net/def/waterml/2.0/interpolationType/Continuous");
        EXPECT_STREQ(defaults.child("wml2:quality").attribute("xlink:title").value(), "good");

        size_t row = 1;
        for (pugi::xml_node point : series.children("wml2:point")) {
            ASSERT_LT(row, rows.size());
            const pugi::xml_node tvp = point.child("wml2:MeasurementTVP");
            EXPECT_EQ(tvp.child_value("wml2:time"), rows[row][0]);
            const std::string& csvValue = rows[row][1 + 2 * q];
            const std::string& csvQuality = rows[row][2 + 2 * q];
            const pugi::xml_node value = tvp.child("wml2:value");
            const pugi::xml_node metadata = tvp.child("wml2:metadata").child("wml2:TVPMeasurementMetadata");
            if (csvQuality == "missing") {
                EXPECT_TRUE(csvValue.empty());
                EXPECT_STREQ(value.attribute("xsi:nil").value(), "true");
                EXPECT_STREQ(value.child_value(), "");
                EXPECT_STREQ(metadata.child("wml2:nilReason").attribute("xlink:href").value(),
                             "http://www.opengis.net/def/nil/OGC/0/missing");
                EXPECT_STREQ(metadata.child("wml2:quality").attribute("xlink:title").value(), "missing");
            } else {
                EXPECT_EQ(csvQuality, "good");
                EXPECT_FALSE(metadata); // the series' default quality applies
                // Both in the shortest form that reads back to the same double.
                EXPECT_EQ(value.child_value(), csvValue);
                EXPECT_EQ(std::strtod(value.child_value(), nullptr), std::strtod(csvValue.c_str(), nullptr));
            }
            ++row;
        }
        EXPECT_EQ(row, rows.size()) << names[q];
    }
    EXPECT_EQ(found, 3);
    EXPECT_EQ(rows[1][0], "2025-03-14T06:15:00+01:00");
    EXPECT_EQ(rows[3][1], "");      // stage of the third ensemble
    EXPECT_EQ(rows[5][3], "1.234"); // 1234 mm/s in m/s
}

TEST(SeriesWaterML, ManyPointsKeepTheirOrderAcrossBlocks)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", Minutes({}, 9000));
    const CStationSeries series = Build(dir);
    SSeriesExport options = SeriesExportOf(MakeStation());
    ASSERT_TRUE(SetQuantities(options, "stage"));
    CSeriesOutput xml;
    WriteSeriesWaterML(series, options, xml);
    ASSERT_TRUE(xml.Commit());
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.Text().c_str()));
    const auto points = doc.select_nodes("//wml2:point/wml2:MeasurementTVP/wml2:time");
    ASSERT_EQ(points.size(), 9000u);
    for (size_t i = 0; i < points.size(); i += 997)
        EXPECT_EQ(points[i].node().child_value(), FormatIsoTime(series.m_arrRows[i].m_nSeconds, 0)) << i;
    // Every point sits at the same indentation as the first.
    EXPECT_EQ(xml.Text().find("\n          <wml2:point>"), xml.Text().find("<wml2:point>") - 11);
}

TEST(SeriesOutput, FileAppearsOnlyWhenComplete)
{
    testsupport::TempDir dir;
    const std::string path = (dir / "out.csv").string();
    testsupport::WriteFileText(path, "old contents\n");
    {
        CSeriesOutput out;
        std::string error;
        ASSERT_TRUE(out.OpenFile(path, error)) << error;
        out.Write("new contents\n");
        EXPECT_EQ(testsupport::ReadFileText(path), "old contents\n"); // not yet
        out.Abandon();
    }
    EXPECT_EQ(testsupport::ReadFileText(path), "old contents\n");
    {
        CSeriesOutput out;
        std::string error;
        ASSERT_TRUE(out.OpenFile(path, error));
        for (int i = 0; i < 200000; ++i) // more than the buffer holds
            out.WriteNumber(i + 0.5);
        ASSERT_TRUE(out.Commit()) << out.Error();
    }
    EXPECT_EQ(testsupport::ReadFileText(path).substr(0, 9), "0.51.52.5");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u); // no temporary file left behind

    CSeriesOutput nowhere;
    std::string error;
    EXPECT_FALSE(nowhere.OpenFile((dir / "no-such-folder" / "out.csv").string(), error));
    EXPECT_FALSE(error.empty());
}
