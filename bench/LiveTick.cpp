// One tick of the real-time view's plain work: 2048 bytes waiting on the port (several
// ensembles and a piece of the next), framed, computed, appended to a list that already holds
// 100,000 ensembles, written to the recording file, and the table's moving-average row
// computed again. The window's repaint is not part of it.
#include "LiveStream.h"
#include "link/LiveRecorder.h"
#include "sim/VelunitEnsembles.h"
#include "station/Station.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

using benchlive::CMemoryStream;
using benchlive::Stream;

std::string BenchDir()
{
    const char* dir = std::getenv("TIDEWELL_BENCH_DIR");
    const std::filesystem::path path = std::filesystem::path(dir ? dir : "/tmp/tidewell-bench") / "live-tick";
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string();
}

void BM_LiveTick(benchmark::State& state)
{
    constexpr size_t HELD = 100000;
    constexpr size_t WAITING = 2048;
    const std::vector<unsigned char> held = Stream(static_cast<int>(HELD));
    const std::vector<unsigned char> live = Stream(20000);

    auto stream = std::make_unique<CMemoryStream>();
    CMemoryStream* queue = stream.get();
    auto port = std::make_unique<CSerialPort>();
    port->Attach(std::move(stream), 9600);
    SLiveRecorderSetup setup;
    setup.m_strStationDir = BenchDir();
    CStation station;
    CLiveRecorder recorder(std::move(port), station, setup);
    queue->Put(held.data(), held.size());
    recorder.OnTick();
    if (recorder.List().GetCount() != HELD) {
        state.SkipWithError("the held ensembles did not all frame");
        return;
    }
    std::vector<DataType> columns;
    for (uint16_t t : station.GetGraphPrefs().m_arrDataTypes)
        columns.push_back(static_cast<DataType>(t));

    size_t at = 0;
    int64_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (at + WAITING > live.size())
            at = 0;
        queue->Put(live.data() + at, WAITING);
        at += WAITING;
        state.ResumeTiming();
        added += recorder.OnTick();
        benchmark::DoNotOptimize(recorder.MovingAverageRow(columns));
    }
    state.counters["ensembles/tick"] =
        benchmark::Counter(static_cast<double>(added), benchmark::Counter::kAvgIterations);
    state.counters["held"] = static_cast<double>(recorder.List().GetCount());
}
BENCHMARK(BM_LiveTick)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
