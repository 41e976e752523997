// Loading recorded data files into an ensemble list with every derived value computed, and
// summarising a loaded list. Files of about 100 MB: generated PD14 (40 bins, about 260
// bytes an ensemble), generated PD0 (30 cells, about 670 bytes), and the real PD0
// recordings concatenated until 100 MB. They are written once to $TIDEWELL_BENCH_DIR (the
// system's temporary folder by default) and reused.
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "data/FlowSettingsTable.h"
#include "sim/DataGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace
{

constexpr size_t TARGET_BYTES = 100u * 1000u * 1000u;

fs::path BenchDir()
{
    const char* env = std::getenv("TIDEWELL_BENCH_DIR");
    fs::path dir = env && *env ? fs::path(env) : fs::temp_directory_path() / "tidewell-bench";
    fs::create_directories(dir);
    return dir;
}

std::string GeneratedFile(SDataGenOptions::Format format)
{
    const fs::path path = BenchDir() / (format == SDataGenOptions::PD0 ? "gen_pd0.000" : "gen_pd14.000");
    if (!fs::exists(path) || fs::file_size(path) < TARGET_BYTES) {
        SDataGenOptions o;
        o.m_format = format;
        o.m_nTargetBytes = TARGET_BYTES;
        o.m_nCells = format == SDataGenOptions::PD0 ? 30 : 40;
        o.m_nIntervalSeconds = 60;
        o.m_nNoiseMax = 4;
        o.m_nBadChecksumEvery = 1000;
        o.m_dBadVelocityRatio = 0.02;
        CDataGenerator(o).WriteFile(path.string());
    }
    return path.string();
}

std::string RealFile()
{
    const fs::path path = BenchDir() / "real_pd0.000";
    if (!fs::exists(path) || fs::file_size(path) < TARGET_BYTES) {
        std::vector<char> all;
        for (const char* name :
             {"pd0_a.000", "pd0_b.000", "pd0_c.000", "pd0_d.000", "pd0_e.000", "pd0_f.000"}) {
            std::ifstream in(fs::path(TIDEWELL_SHARED_DIR) / "data" / "pd0" / name, std::ios::binary);
            all.insert(all.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (size_t written = 0; !all.empty() && written < TARGET_BYTES; written += all.size())
            out.write(all.data(), static_cast<std::streamsize>(all.size()));
    }
    return path.string();
}

void Load(benchmark::State& state, const std::string& path)
{
    const CFlowSettingsTable settings; // a default station: linear model in feet, bins 1-20
    const size_t fileBytes = fs::file_size(path);
    size_t entries = 0;
    double heldExtra = 0;
    for (auto _ : state) {
        CEnsembleList list;
        list.Load(path, settings);
        entries = list.GetCount();
        heldExtra = static_cast<double>(list.GetMemoryUsage()) - static_cast<double>(fileBytes);
        benchmark::DoNotOptimize(list.GetValue(entries - 1, DATATYPE_FLOW));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes));
    state.counters["ensembles"] = static_cast<double>(entries);
    // Memory the loaded list holds beyond the file's own bytes (the kept file block, the
    // records' capacity and the block table), per entry; the goal is 96 or less.
    state.counters["extra_bytes_per_ens"] = heldExtra / static_cast<double>(entries);
}

void Summarize(benchmark::State& state, const std::string& path)
{
    CEnsembleList list;
    list.Load(path, CFlowSettingsTable{});
    for (auto _ : state) {
        CDataSummary s = SummarizeList(list);
        benchmark::DoNotOptimize(s.m_dFlowMax);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * list.GetCount()));
}

void BM_LoadPd14(benchmark::State& state)
{
    Load(state, GeneratedFile(SDataGenOptions::PD14));
}
void BM_LoadPd0(benchmark::State& state)
{
    Load(state, GeneratedFile(SDataGenOptions::PD0));
}
void BM_LoadRealPd0(benchmark::State& state)
{
    Load(state, RealFile());
}
void BM_SummaryPd14(benchmark::State& state)
{
    Summarize(state, GeneratedFile(SDataGenOptions::PD14));
}
void BM_SummaryPd0(benchmark::State& state)
{
    Summarize(state, GeneratedFile(SDataGenOptions::PD0));
}
void BM_SummaryRealPd0(benchmark::State& state)
{
    Summarize(state, RealFile());
}

} // namespace

// Rates are taken over the process's CPU time (the default): the machine is shared, and the
// goal is for one core.
BENCHMARK(BM_LoadPd14)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPd0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRealPd0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryPd14)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryPd0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryRealPd0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
