// The series of a station: files joined in time order without duplicates, calculation sets
// in force from their start, missing values kept as rows, quality codes, clock offsets.
#include "data/DateTime.h"
#include "series/SeriesExport.h"
#include "series/SeriesTime.h"
#include "station/CalcSet.h"
#include "tests/series/SeriesFixture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace seriestest;

namespace
{

CStationSeries Build(const CStation& station, const testsupport::TempDir& dir, SSeriesSpan span = {})
{
    auto series = BuildSeries(SeriesSourceOf(station, dir.Path().string()), span);
    EXPECT_TRUE(series.has_value());
    return series ? std::move(*series) : CStationSeries{};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

int64_t At(int year, int month, int day, int hour, int minute)
{
    return SecondsFromCivil({year, month, day, hour, minute, 0});
}

} // namespace

TEST(StationSeries, OverlappingFilesAreJoinedInTimeOrderWithoutDuplicates)
{
    testsupport::TempDir dir;
    // The file whose name comes first holds the later data; the two overlap by five ensembles.
    WriteData(dir / "a.000", Minutes({.hour = 10, .minute = 5, .number = 6}, 10));
    WriteData(dir / "b.001", Minutes({.hour = 10, .minute = 0, .number = 1}, 10));
    // Not a data file by its name: never read.
    WriteData(dir / "notes.txt", Minutes({.hour = 11, .minute = 0, .number = 99}, 3));

    const CStationSeries series = Build(MakeStation(), dir);
    ASSERT_EQ(series.m_arrRows.size(), 15u);
    EXPECT_EQ(series.m_nDuplicates, 5u);
    EXPECT_EQ(series.m_nFilesRead, 2u);
    EXPECT_EQ(series.m_nSampleInterval, 60);
    for (size_t i = 0; i < series.m_arrRows.size(); ++i) {
        EXPECT_EQ(series.m_arrRows[i].m_nSeconds, At(2025, 3, 14, 10, static_cast<int>(i))) << i;
        EXPECT_EQ(series.m_arrRows[i].m_dNumber, static_cast<double>(i + 1)) << i;
    }
}

TEST(StationSeries, SameTimeWithAnotherNumberIsAnotherEnsemble)
{
    testsupport::TempDir dir;
    // The instrument was restarted and its numbering began again at the same minute.
    WriteData(dir / "a.000", {{.hour = 10, .number = 7}, {.hour = 10, .minute = 1, .number = 8}});
    WriteData(dir / "b.000",
              {{.hour = 10, .minute = 1, .number = 1}, {.hour = 10, .minute = 2, .number = 2}});
    const CStationSeries series = Build(MakeStation(), dir);
    ASSERT_EQ(series.m_arrRows.size(), 4u);
    EXPECT_EQ(series.m_nDuplicates, 0u);
    EXPECT_EQ(series.m_arrRows[1].m_dNumber, 1.0);
    EXPECT_EQ(series.m_arrRows[2].m_dNumber, 8.0);
}

TEST(StationSeries, CalculationSetChangesTheFlowFromItsStartOn)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", Minutes({.hour = 10, .minute = 3}, 5)); // 10:03 to 10:07
    CStation station = MakeStation();
    // From 10:05 on the channel was measured at 2 m wide.
    auto set = station.MakeCalcSet(CDateTime::FromParts(2025, 3, 14, 10, 5, 0));
    set->m_settings.m_geometry.SetRectangular(20000.0, 100000.0);
    station.AddCalcSet(std::move(set));

    const CStationSeries series = Build(station, dir);
    ASSERT_EQ(series.m_arrRows.size(), 5u);
    const double expected[] = {1e6, 1e6, 1e6, 2e6, 2e6}; // cm3/s; 10:05 itself is not after the start
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(series.m_arrRows[i].m_dValue[QUANTITY_FLOW], expected[i]) << i;
        EXPECT_DOUBLE_EQ(series.m_arrRows[i].m_dValue[QUANTITY_VELOCITY], 1000.0) << i;
        EXPECT_EQ(series.m_arrRows[i].m_nQuality[QUANTITY_FLOW], QUALITY_GOOD);
    }
}

TEST(StationSeries, NoDataStageGivesMissingStageAndFlowRows)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", {{.hour = 10, .minute = 0, .number = 1},
                              {.hour = 10, .minute = 1, .number = 2, .range = -32768},
                              {.hour = 10, .minute = 2, .number = 3}});
    const CStation station = MakeStation();
    const CStationSeries series = Build(station, dir);
    ASSERT_EQ(series.m_arrRows.size(), 3u);
    const SSeriesRow& gap = series.m_arrRows[1];
    EXPECT_EQ(gap.m_nQuality[QUANTITY_STAGE], QUALITY_MISSING);
    EXPECT_EQ(gap.m_nQuality[QUANTITY_FLOW], QUALITY_MISSING);
    EXPECT_EQ(gap.m_nQuality[QUANTITY_VELOCITY], QUALITY_GOOD);

    CSeriesOutput out;
    WriteSeriesCsv(series, SeriesExportOf(station), out);
    ASSERT_TRUE(out.Commit());
    const auto lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 11u); // 7 header lines, the column titles, 3 rows
    EXPECT_EQ(lines[7], "time,stage,stage_quality,velocity,velocity_quality,flow,flow_quality");
    EXPECT_EQ(lines[8], "2025-03-14T10:00:00+00:00,1,good,1000,good,1,good");
    EXPECT_EQ(lines[9], "2025-03-14T10:01:00+00:00,,missing,1000,good,,missing");
    EXPECT_EQ(lines[10], "2025-03-14T10:02:00+00:00,1,good,1000,good,1,good");
}

TEST(StationSeries, CsvHeaderNamesStationUnitsOffsetAndProgram)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", Minutes({.hour = 6, .minute = 15}, 2));
    const CStation station = MakeStation();
    SSeriesExport options = SeriesExportOf(station);
    ASSERT_TRUE(SetQuantities(options, "flow"));
    std::string error;
    ASSERT_TRUE(SetUnits(options, "l/s, 104", error)) << error;
    options.m_nUtcOffset = *ParseUtcOffset("+01:00");

    CSeriesOutput out;
    WriteSeriesCsv(Build(station, dir), options, out);
    ASSERT_TRUE(out.Commit());
    const auto lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "# station: Mill Race");
    EXPECT_EQ(lines[1], "# location: Below the weir,  left bank");
    EXPECT_EQ(lines[2], "# flow: Liters per second (l/s)");
    EXPECT_EQ(lines[3], "# time zone: UTC+01:00");
    EXPECT_EQ(lines[4], "# program: " + SeriesProgramName());
    EXPECT_EQ(lines[5], "time,flow,flow_quality");
    // The clock's time as recorded, with its offset; 1 m3/s in litres per second.
    EXPECT_EQ(lines[6], "2025-03-14T06:15:00+01:00,1000,good");
    EXPECT_EQ(lines[7], "2025-03-14T06:16:00+01:00,1000,good");
    EXPECT_EQ(options.m_nUnits[QUANTITY_STAGE], 104); // the code given by number

    EXPECT_FALSE(SetUnits(options, "furlongs", error));
    EXPECT_NE(error.find("furlongs"), std::string::npos);
    EXPECT_FALSE(SetUnits(options, "F", error)); // a temperature: no quantity of the series
    EXPECT_FALSE(SetQuantities(options, "Flow"));
}

TEST(StationSeries, SpanInTheClockOfTheOffsetSelectsRows)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", Minutes({.hour = 6, .minute = 0}, 30)); // 06:00 to 06:29 on the clock
    const int clock = *ParseUtcOffset("+01:00");
    SSeriesSpan span;
    // 05:10 UTC is 06:10 on a clock one hour ahead; the end is not included.
    span.m_nFrom = *ParseSeriesTime("2025-03-14T05:10:00Z", clock);
    span.m_nTo = *ParseSeriesTime("2025-03-14T06:20", clock);
    const CStationSeries series = Build(MakeStation(), dir, span);
    ASSERT_EQ(series.m_arrRows.size(), 10u);
    EXPECT_EQ(FormatIsoTime(series.m_arrRows.front().m_nSeconds, clock), "2025-03-14T06:10:00+01:00");
    EXPECT_EQ(FormatIsoTime(series.m_arrRows.back().m_nSeconds, clock), "2025-03-14T06:19:00+01:00");

    span.m_nFrom = *ParseSeriesTime("2025-03-15", clock);
    span.m_nTo = std::numeric_limits<int64_t>::max();
    EXPECT_TRUE(Build(MakeStation(), dir, span).IsEmpty());
}

TEST(SeriesTime, TimesAndOffsetsAreReadStrictly)
{
    EXPECT_EQ(ParseSeriesTime("2024-02-29", 0), At(2024, 2, 29, 0, 0));
    EXPECT_EQ(ParseSeriesTime("2024-02-29 13:45:30", 0), At(2024, 2, 29, 13, 45) + 30);
    EXPECT_EQ(ParseSeriesTime("2024-03-01T00:30-02:00", 60), At(2024, 3, 1, 3, 30));
    for (const char* bad : {"2025-02-29", "2025-03-14T24:00", "2025-03-14T10:60", "2025/03/14", "2025-3-14",
                            "2025-03-14T10", "2025-03-14T10:00+1:00", "yesterday", ""})
        EXPECT_FALSE(ParseSeriesTime(bad, 0).has_value()) << bad;
    EXPECT_EQ(ParseUtcOffset("-05:30"), -330);
    EXPECT_EQ(ParseUtcOffset("+14:00"), 840);
    EXPECT_FALSE(ParseUtcOffset("+14:30").has_value());
    EXPECT_FALSE(ParseUtcOffset("01:00").has_value());
    EXPECT_EQ(FormatUtcOffset(-330), "-05:30");
    // The time stamps of the recorded files, to the second and back.
    const double stamp = CDateTime::FromParts(2025, 3, 14, 6, 15, 0).m_dt;
    EXPECT_EQ(FormatIsoTime(StampToSeconds(stamp), 0), "2025-03-14T06:15:00+00:00");
}

TEST(StationSeries, ValuesOutsideTheFittedRangeAreSuspect)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", {{.hour = 10, .number = 1, .velocity = 500},
                              {.hour = 10, .minute = 1, .number = 2, .velocity = 2500},
                              {.hour = 10, .minute = 2, .number = 3, .range = -32768, .velocity = 2500}});
    SSeriesSource source = SeriesSourceOf(MakeStation(), dir.Path().string());
    EXPECT_FALSE(source.KnowsAnyRange()); // no rating records its range yet
    source.m_ownRange = SIndexVelocityRange{100.0, 2000.0};
    const auto series = BuildSeries(source, {});
    ASSERT_TRUE(series && series->m_arrRows.size() == 3);
    const auto& rows = series->m_arrRows;
    EXPECT_EQ(rows[0].m_nQuality[QUANTITY_FLOW], QUALITY_GOOD);
    EXPECT_EQ(rows[1].m_nQuality[QUANTITY_VELOCITY], QUALITY_SUSPECT);
    EXPECT_EQ(rows[1].m_nQuality[QUANTITY_FLOW], QUALITY_SUSPECT);
    EXPECT_EQ(rows[1].m_nQuality[QUANTITY_STAGE], QUALITY_GOOD);   // the stage owes nothing to the rating
    EXPECT_EQ(rows[2].m_nQuality[QUANTITY_FLOW], QUALITY_MISSING); // missing outranks suspect
    EXPECT_EQ(rows[2].m_nQuality[QUANTITY_VELOCITY], QUALITY_SUSPECT);
}

TEST(StationSeries, StoppedBuildGivesNothingAndUnreadableFilesAreReported)
{
    testsupport::TempDir dir;
    WriteData(dir / "a.000", Minutes({.hour = 10}, 3));
    WriteData(dir / "b.000", Minutes({.hour = 11}, 3));
    std::filesystem::create_directory(dir / "c.000"); // a folder with a data file's name
    const SSeriesSource source = SeriesSourceOf(MakeStation(), dir.Path().string());
    EXPECT_EQ(source.m_arrFiles.size(), 2u);
    size_t calls = 0;
    EXPECT_FALSE(BuildSeries(source, {}, [&](size_t done, size_t total) {
                     ++calls;
                     EXPECT_EQ(total, 2u);
                     return done < 2;
                 }).has_value());
    EXPECT_EQ(calls, 2u);

    SSeriesSource withMissing = source;
    withMissing.m_arrFiles.push_back((dir / "gone.000").string());
    const auto series = BuildSeries(withMissing, {});
    ASSERT_TRUE(series.has_value());
    EXPECT_EQ(series->m_arrRows.size(), 6u);
    ASSERT_EQ(series->m_arrProblems.size(), 1u);
    EXPECT_NE(series->m_arrProblems[0].find("gone.000"), std::string::npos);
}
