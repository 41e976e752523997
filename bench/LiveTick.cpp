// One tick of the real-time view's plain work: 2048 bytes waiting on the port (several
// ensembles and a piece of the next), framed, computed, appended to a list that already holds
// 100,000 ensembles, written to the recording file, and the table's moving-average row
// computed again. The window's repaint is not part of it.
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

// A port that hands out bytes from memory, as a driver's input queue would.
class CMemoryStream : public ISerialStream
{
  public:
    bool Configure(int) override { return true; }
    bool ReadByte(unsigned char& byte, int) override
    {
        if (m_nPos >= m_bytes.size())
            return false;
        byte = m_bytes[m_nPos++];
        return true;
    }
    int Available() override { return static_cast<int>(m_bytes.size() - m_nPos); }
    bool Write(const unsigned char*, size_t size, int, size_t& written) override
    {
        written = size;
        return true;
    }
    bool SetBreak(bool) override { return true; }
    void Purge() override {}

    void Put(const unsigned char* data, size_t size)
    {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<long>(m_nPos));
        m_nPos = 0;
        m_bytes.insert(m_bytes.end(), data, data + size);
    }

  private:
    std::vector<unsigned char> m_bytes;
    size_t m_nPos = 0;
};

// The deployed unit's ensembles (PD14, 25 bins), numbered on, as one long stream.
std::vector<unsigned char> Stream(int count)
{
    std::vector<unsigned char> all;
    for (int i = 1; i <= count; ++i) {
        SVelunitEnsembleParams p;
        p.m_nNumber = i;
        p.m_dtTime = CDateTime::FromParts(2026, 12, 9, 0, 0, 0).m_dt + i * 30.0 / 86400.0;
        const auto e = MakeVelunitEnsemble(p);
        all.insert(all.end(), e.begin(), e.end());
    }
    return all;
}

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
