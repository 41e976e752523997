// velunit listen: the real-time data view without a window, for stations with a permanent
// computer. Every second it takes what the deployed Velunit sent, prints one line per valid
// ensemble and records them to "rt" + date + ".NNN" in the station's folder (the folder of
// the station file), exactly as the view does. It stops after --seconds N, or on SIGINT or
// SIGTERM, with a summary line; the recording file is closed in every case.
//
//   exit 0  it ran (and stopped as asked)
//   exit 1  the port could not be opened (one line on standard error)
//   exit 3  the port went away while listening (an unplugged adapter): summary, then a message
#include "data/DataTypes.h"
#include "data/Units.h"
#include "link/Clock.h"
#include "link/LiveRecorder.h"
#include "platform/Utf8Path.h"
#include "tools/tidewell-tool/StationArg.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <iostream>

namespace
{

std::atomic<bool> g_stop{false}; // set from the signal handler only

extern "C" void OnStopSignal(int)
{
    g_stop = true;
}

// Handlers for the length of the listening; the previous ones come back afterwards. A
// file-size limit shows as a failed write (reported, ensembles kept) instead of ending the
// program.
class CSignalScope
{
  public:
    CSignalScope()
    {
        g_stop = false;
        m_int = std::signal(SIGINT, OnStopSignal);
        m_term = std::signal(SIGTERM, OnStopSignal);
#ifdef SIGXFSZ // Windows knows no file-size limit signal
        m_fsize = std::signal(SIGXFSZ, SIG_IGN);
#endif
    }
    ~CSignalScope()
    {
        std::signal(SIGINT, m_int);
        std::signal(SIGTERM, m_term);
#ifdef SIGXFSZ
        std::signal(SIGXFSZ, m_fsize);
#endif
    }
    CSignalScope(const CSignalScope&) = delete;
    CSignalScope& operator=(const CSignalScope&) = delete;

  private:
    void (*m_int)(int);
    void (*m_term)(int);
    void (*m_fsize)(int) = SIG_DFL;
};

// One line per ensemble on standard output; warnings on standard error.
class CTerminalListener : public ILiveRecorderListener
{
  public:
    explicit CTerminalListener(const CLiveRecorder& recorder) : m_recorder(recorder) {}

    void OnEnsembleAdded(size_t index) override
    {
        const CEnsembleList& list = m_recorder.List();
        std::cout << FormatSeriesValue(list.GetValue(index, DATATYPE_NUMBER), DATATYPE_NUMBER, Units())
                  << "  "
                  << FormatSeriesValue(list.GetValue(index, DATATYPE_DATETIME), DATATYPE_DATETIME, Units())
                  << "  " << Quantity(index, DATATYPE_STAGE, "stage") << "  "
                  << Quantity(index, DATATYPE_INDEX_VELOCITY, "index velocity") << "  "
                  << Quantity(index, DATATYPE_FLOW, "flow") << std::endl;
    }
    void OnRecordingOpened(const std::string& path) override
    {
        std::cerr << "tidewell-tool: recording to " << path << std::endl;
    }
    void OnRecordingWarning(const std::string& text) override
    {
        std::cerr << "tidewell-tool: " << text << std::endl;
    }
    void OnPortLost(const std::string& text) override { m_strLost = text; }

    const std::string& Lost() const { return m_strLost; }

  private:
    const ViewUnits& Units() const { return m_recorder.Units(); }

    std::string Quantity(size_t index, DataType type, const char* name) const
    {
        const std::string value = FormatSeriesValue(m_recorder.List().GetValue(index, type), type, Units());
        const int kind = UnitKindOfDataType(type);
        const std::string unit =
            kind >= 0 ? UnitAbbreviation(Units()[static_cast<size_t>(kind)]) : std::string();
        return std::string(name) + " " + (value.empty() ? std::string("(no data)") : value + " " + unit);
    }

    const CLiveRecorder& m_recorder;
    std::string m_strLost;
};

// Up to a hundred years, more than an int holds: 64 bits on every system (long has 32 on Windows).
int64_t ParseSeconds(const std::string& text)
{
    size_t used = 0;
    long long value = -1;
    try {
        value = std::stoll(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < 1 || value > 100LL * 365 * 24 * 3600)
        throw UsageError{"--seconds must be a whole number of seconds, 1 or more: " + text};
    return value;
}

std::string Summary(const CLiveRecorder& recorder, int64_t elapsedMs)
{
    const size_t count = recorder.List().GetCount();
    std::string text = "Listened " + std::to_string((elapsedMs + 500) / 1000) +
                       " s: " + std::to_string(count) + (count == 1 ? " ensemble" : " ensembles");
    const auto& files = recorder.RecordingFiles();
    if (files.empty())
        return text + ", no recording file";
    text += ", " + std::to_string(recorder.RecordedCount()) + " recorded in ";
    for (size_t i = 0; i < files.size(); ++i)
        text += (i ? ", " : "") + files[i];
    return text;
}

int RunVelunitListen(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--port", "--seconds"}, {});
    if (!parsed.Positional().empty() || !parsed.Has("--station") || !parsed.Has("--port"))
        throw UsageError{"--station and --port are required"};
    const int64_t seconds = parsed.Has("--seconds") ? ParseSeconds(parsed.Value("--seconds")) : 0;
    const std::string stationPath = parsed.Value("--station");
    const auto station = LoadStationArg(stationPath);
    const std::string port = parsed.Value("--port");

    CSystemClock& clock = CSystemClock::Instance();
    SLiveRecorderSetup setup;
    setup.m_strStationDir = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(stationPath)).parent_path());
    setup.m_pClock = &clock;
    // The trace sees the line from the open on.
    auto serial = std::make_unique<CSerialPort>(&clock);
    TracePort(*serial);
    if (!serial->Open(port, 9600))
        throw ToolFailure{PortFailure(port, {}, serial->OpenError())};

    CLiveRecorder recorder(std::move(serial), *station, setup);
    CTerminalListener listener(recorder);
    recorder.SetListener(&listener);
    const CSignalScope signals;

    recorder.Start();
    const int64_t start = clock.NowMs();
    const int64_t end = seconds > 0 ? start + seconds * 1000LL : INT64_MAX;
    int64_t nextTick = start + CLiveRecorder::TICK_MS;
    while (!g_stop && !recorder.IsPortLost()) {
        const int64_t now = clock.NowMs();
        if (now >= end)
            break;
        if (now >= nextTick) {
            recorder.OnTick();
            nextTick += CLiveRecorder::TICK_MS;
            continue;
        }
        // Short sleeps, so that a signal ends the wait soon.
        clock.SleepMs(static_cast<int>(std::min<int64_t>({100, nextTick - now, end - now})));
    }
    // What came in since the last tick still counts.
    if (!recorder.IsPortLost())
        recorder.OnTick();
    const int64_t elapsed = clock.NowMs() - start;
    recorder.Close();
    std::cout << Summary(recorder, elapsed) << std::endl;
    if (recorder.IsPortLost()) {
        std::cerr << "tidewell-tool: " << listener.Lost() << " (" << port << ")" << std::endl;
        return 3;
    }
    return 0;
}

ToolCommandRegistration reg{{"velunit", "listen", "velunit listen --station S.hstn --port PORT [--seconds N]",
                             "record and print the ensembles a deployed Velunit sends, as the real-time view "
                             "does, until N seconds have passed or the program is interrupted",
                             &RunVelunitListen, true}};

} // namespace
