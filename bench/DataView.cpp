// A data view opened offscreen on a generated file of 1,000,000 PD14 ensembles (30 bins, one
// a minute: about two years), with the default graphics preferences (hydrograph, whisker
// graph, three beam graphs, velocity contours, table). Measures the time from the file to the
// first complete paint, one step of the current ensemble (a key press, everything painted
// again), the jump from the first to the last row of the table, and the process's peak memory
// against the file's size. The file is written once to $TIDEWELL_BENCH_DIR (the system's
// temporary folder by default) and reused.
#include "views/DataView.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <benchmark/benchmark.h>

#include "LiveStream.h"
#include "views/RealTimeView.h"

#include <QApplication>
#include <QImage>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace
{

constexpr int ENSEMBLES = 1'000'000;

std::string ViewFile()
{
    const char* env = std::getenv("TIDEWELL_BENCH_DIR");
    const fs::path dir = env && *env ? fs::path(env) : fs::temp_directory_path() / "tidewell-bench";
    fs::create_directories(dir);
    const fs::path path = dir / "view_pd14.000";
    if (!fs::exists(path)) {
        SDataGenOptions o;
        o.m_format = SDataGenOptions::PD14;
        o.m_nCount = ENSEMBLES;
        o.m_nCells = 30;
        o.m_nIntervalSeconds = 60;
        CDataGenerator(o).WriteFile(path.string());
    }
    return path.string();
}

// Peak resident memory of this process, in bytes (VmHWM).
double PeakMemory()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) * 1024.0;
    return 0;
}

// Every pane painted into an image the size of the view. A window an offscreen platform has
// not exposed yet skips repaint(); render() paints the whole tree whatever the platform, so
// the figure is an upper bound of what a key press repaints on a screen.
void PaintAll(CDataView& view)
{
    static QImage image;
    if (image.size() != view.size())
        image = QImage(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

std::unique_ptr<CDataView> OpenView(const CStation& station, const std::string& path)
{
    CEnsembleList list;
    list.Load(path, FlowSettingsTableOf(station));
    auto view = std::make_unique<CDataView>(station, std::move(list));
    // The size of a data window filling a 1280 x 860 frame.
    view->resize(1000, 760);
    view->show();
    PaintAll(*view);
    return view;
}

void BM_FirstPaint(benchmark::State& state)
{
    const std::string path = ViewFile();
    const CStation station;
    for (auto _ : state) {
        auto view = OpenView(station, path);
        benchmark::DoNotOptimize(view.get());
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
    const double fileBytes = static_cast<double>(fs::file_size(path));
    state.counters["peak_MB"] = PeakMemory() / 1e6;
    state.counters["file_MB"] = fileBytes / 1e6;
    // The goal: within 2.5 times the file and 50 MB.
    state.counters["peak_over_goal"] = PeakMemory() / (2.5 * fileBytes + 50e6);
}

void BM_StepOneEnsemble(benchmark::State& state)
{
    const CStation station;
    auto view = OpenView(station, ViewFile());
    view->MoveByKey(Qt::Key_PageDown);
    int key = Qt::Key_Right;
    for (auto _ : state) {
        view->MoveByKey(key);
        PaintAll(*view);
        key = key == Qt::Key_Right ? Qt::Key_Left : Qt::Key_Right;
    }
}

void BM_JumpFirstToLastRow(benchmark::State& state)
{
    const CStation station;
    auto view = OpenView(station, ViewFile());
    for (auto _ : state) {
        state.PauseTiming();
        view->MoveByKey(Qt::Key_Home);
        PaintAll(*view);
        state.ResumeTiming();
        view->MoveByKey(Qt::Key_End);
        PaintAll(*view);
    }
}

// One second's tick of the real-time view: 2048 bytes waiting (eleven ensembles and a piece of
// the next) framed, computed, recorded, shown and every pane painted, with 100,000 ensembles
// already in the view.
void BM_RealTimeTick(benchmark::State& state)
{
    constexpr int HELD = 100000;
    constexpr size_t WAITING = 2048;
    const std::vector<unsigned char> held = benchlive::Stream(HELD);
    const std::vector<unsigned char> live = benchlive::Stream(20000);
    auto stream = std::make_unique<benchlive::CMemoryStream>();
    benchlive::CMemoryStream* queue = stream.get();
    auto port = std::make_unique<CSerialPort>();
    port->Attach(std::move(stream), 9600);
    SLiveRecorderSetup setup;
    const char* dir = std::getenv("TIDEWELL_BENCH_DIR");
    const fs::path recordings = fs::path(dir ? dir : "/tmp/tidewell-bench") / "realtime-tick";
    fs::remove_all(recordings);
    fs::create_directories(recordings);
    setup.m_strStationDir = recordings.string();
    const CStation station;
    CRealTimeView view(station, std::move(port), setup);
    view.Timer()->stop(); // the benchmark ticks
    view.resize(1000, 760);
    view.show();
    queue->Put(held.data(), held.size());
    if (view.Tick() != HELD) {
        state.SkipWithError("the held ensembles did not all frame");
        return;
    }
    PaintAll(view);
    size_t at = 0;
    int64_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (at + WAITING > live.size())
            at = 0;
        queue->Put(live.data() + at, WAITING);
        at += WAITING;
        state.ResumeTiming();
        added += view.Tick();
        PaintAll(view);
    }
    state.counters["ensembles/tick"] =
        benchmark::Counter(static_cast<double>(added), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StepOneEnsemble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JumpFirstToLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealTimeTick)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
