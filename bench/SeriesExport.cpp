// A year of one-minute ensembles (525,600) in twelve monthly files, read as a station's
// series and exported: to CSV, and to WaterML 2.0. The files are generated once into
// $TIDEWELL_BENCH_DIR/series-year (the system's temporary folder by default) and reused.
// The exports write to /dev/null, so the figures are the program's work and not the disk's;
// BM_SeriesCsvFile writes a real file the way the tool does (temporary name, sync, rename).
#include "series/SeriesStats.h"
#include "series/SeriesWaterML.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr int YEAR = 2025;
constexpr size_t YEAR_ENSEMBLES = 525600;

fs::path YearDir()
{
    const char* env = std::getenv("TIDEWELL_BENCH_DIR");
    fs::path dir =
        (env && *env ? fs::path(env) : fs::temp_directory_path() / "tidewell-bench") / "series-year";
    fs::create_directories(dir);
    return dir;
}

// One file per month, PD14 with 20 bins, an ensemble a minute.
std::string YearFiles()
{
    static const std::string dir = [] {
        const fs::path folder = YearDir();
        static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int month = 1; month <= 12; ++month) {
            char name[16];
            std::snprintf(name, sizeof name, "m%02d.%03d", month, month);
            const fs::path path = folder / name;
            if (fs::exists(path))
                continue;
            SDataGenOptions o;
            o.m_format = SDataGenOptions::PD14;
            o.m_nCount = days[month - 1] * 1440;
            o.m_nCells = 20;
            o.m_nYear = YEAR;
            o.m_nMonth = month;
            o.m_nDay = 1;
            o.m_nIntervalSeconds = 60;
            o.m_dBadVelocityRatio = 0.01;
            o.m_nSeed = static_cast<uint64_t>(month);
            CDataGenerator(o).WriteFile(path.string());
        }
        return folder.string();
    }();
    return dir;
}

CStation BenchStation()
{
    CStation station;
    station.SetSiteName("Bench Weir");
    station.SetLocation("A year of one-minute ensembles");
    return station;
}

template <typename Write> void Export(benchmark::State& state, Write write)
{
    const std::string dir = YearFiles();
    const CStation station = BenchStation();
    const int devnull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    size_t rows = 0;
    for (auto _ : state) {
        const auto series = BuildSeries(SeriesSourceOf(station, dir), {});
        rows = series->m_arrRows.size();
        CSeriesOutput out(devnull);
        write(*series, SeriesExportOf(station), out);
        benchmark::DoNotOptimize(out.Commit());
    }
    close(devnull);
    if (rows != YEAR_ENSEMBLES)
        state.SkipWithError("the year's files do not hold 525,600 ensembles");
    state.counters["ensembles"] = static_cast<double>(rows);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
}

void BM_SeriesCsv(benchmark::State& state)
{
    Export(state, [](const CStationSeries& s, const SSeriesExport& o, CSeriesOutput& out) {
        WriteSeriesCsv(s, o, out);
    });
}

void BM_SeriesWaterML(benchmark::State& state)
{
    Export(state, [](const CStationSeries& s, const SSeriesExport& o, CSeriesOutput& out) {
        WriteSeriesWaterML(s, o, out);
    });
}

void BM_SeriesDailyStats(benchmark::State& state)
{
    Export(state, [](const CStationSeries& s, const SSeriesExport& o, CSeriesOutput& out) {
        WriteStatsCsv(s, PERIOD_DAY, o, out);
    });
}

void BM_SeriesCsvFile(benchmark::State& state)
{
    const std::string dir = YearFiles();
    const CStation station = BenchStation();
    const std::string path = (fs::path(dir).parent_path() / "series-year.csv").string();
    for (auto _ : state) {
        const auto series = BuildSeries(SeriesSourceOf(station, dir), {});
        CSeriesOutput out;
        std::string error;
        if (!out.OpenFile(path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        WriteSeriesCsv(*series, SeriesExportOf(station), out);
        benchmark::DoNotOptimize(out.Commit());
    }
    state.counters["bytes"] = static_cast<double>(fs::exists(path) ? fs::file_size(path) : 0);
}

} // namespace

// Wall time: writing is part of the work, and the goals are for the whole export.
BENCHMARK(BM_SeriesCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeriesWaterML)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeriesDailyStats)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeriesCsvFile)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
