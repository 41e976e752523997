// velunit-sim: a simulated Velunit on a pseudo-terminal. Prints the device path to open,
// then answers until interrupted. Its recorder is kept in a file across runs.
//
//   velunit-sim --site Mill_Race --recorder /tmp/mill.rec --compress 30
//   tidewell-tool velunit connect --station Mill.hstn --port /dev/pts/7
//
// The unit wakes when the program flushes the line (a break cannot cross a
// pseudo-terminal), or on SIGUSR1. With --stay-deployed a deployed unit ignores flushes, as
// on a real line, so that a program can listen to it:
//
//   velunit-sim --site Mill_Race --compress 30 --stay-deployed
//   tidewell-tool velunit program --station Mill.hstn --port /dev/pts/7 --yes
//   tidewell-tool velunit listen --station Mill.hstn --port /dev/pts/7 --seconds 60
//
// With --port it serves on an existing serial port instead, the only way on Windows, which
// has no pseudo-terminals: the program's port is wired to it by a cable or a port-pair
// driver, and the unit wakes on a real break.
//
//   velunit-sim --site Mill_Race --port "COM 4"
//   tidewell-tool velunit connect --station Mill.hstn --port "COM 3"
#include "link/Clock.h"
#include "link/PortOpener.h"
#include "platform/SerialDevice.h"
#include "sim/VelunitStreamServer.h"
#include "station/Station.h"
#include "tools/ProgramInfo.h"
#include "tools/velunit-sim/PseudoTerminal.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

std::atomic<bool> g_stop{false};         // set from the signal handler only
std::atomic<bool> g_breakRequest{false}; // likewise

void OnSignal(int signal)
{
#ifdef SIGUSR1
    if (signal == SIGUSR1) {
        g_breakRequest = true;
        return;
    }
#endif
    (void)signal;
    g_stop = true;
}

void Usage(FILE* out)
{
    std::fputs("Usage: velunit-sim [options]\n"
               "  --site NAME          site name the unit is programmed with; mn? answers it as the\n"
               "                       unit stores it, every character but A-Z, a-z, 0-9 as _\n"
               "                       (default VELUNIT)\n"
               "  --frequency HZ       frequency reported by PS0 (default 1228800)\n"
               "  --firmware TEXT      firmware version (default 51.40)\n"
               "  --recorder FILE      recorder card file, kept across runs (default: in memory)\n"
               "  --compress N         deployed sample intervals run N times faster (default 1)\n"
               "  --port PORT          serve on this existing serial port (\"COM n\" or a device\n"
               "                       name) instead of a pseudo-terminal; the unit wakes on a\n"
               "                       break. Required on Windows, which has no pseudo-terminals\n"
               "  --silent-from CMD    fault: no answer from this command on, until a break\n"
               "  --err-on CMD         fault: answer this command with ERR\n"
               "  --time-reply TEXT    fault: answer ts? with this line (\"TS 26/13/01,10:00:00\")\n"
               "  --noise RATE         fault: replace this share of sent bytes (0..1)\n"
               "  --trace              print every command received on standard error\n"
               "  --help               this text\n"
               "  --version            the program's version\n"
               "On a pseudo-terminal (POSIX systems only) the unit wakes when the program flushes\n"
               "the line, or on SIGUSR1, and these apply:\n"
               "  --link PATH          also make PATH a symbolic link to the device\n"
               "  --stay-deployed      once deployed (CS), ignore the program's flushes as a real\n"
               "                       line would; only SIGUSR1 wakes the unit then\n",
               out);
}

} // namespace

int main(int argc, char** argv)
{
    CUtf8Argv utf8(argc, argv);
    argv = utf8.Argv();
    if (const int status = AnswerHelpOrVersion(argc, argv, "velunit-sim", Usage); status >= 0)
        return status;
    SVelunitConfig config;
    std::string link;
    std::string port;
    bool trace = false;
    bool stayDeployed = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "velunit-sim: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--site") {
            // The unit keeps the name the program sent with "MN": the station's instrument ID.
            CStation named;
            named.SetSiteName(value());
            config.m_strSiteName = named.GetInstrumentId();
        } else if (arg == "--frequency")
            config.m_nFrequencyHz = std::atol(value().c_str());
        else if (arg == "--firmware")
            config.m_strFirmware = value();
        else if (arg == "--recorder")
            config.m_strRecorderPath = value();
        else if (arg == "--compress")
            config.m_nTimeCompression = std::max(1, std::atoi(value().c_str()));
        else if (arg == "--link")
            link = value();
        else if (arg == "--port")
            port = value();
        else if (arg == "--silent-from")
            config.m_strSilentFrom = value();
        else if (arg == "--err-on")
            config.m_strErrOn = value();
        else if (arg == "--time-reply")
            config.m_strTimeReply = value();
        else if (arg == "--noise")
            config.m_dNoiseRate = std::atof(value().c_str());
        else if (arg == "--trace")
            trace = true;
        else if (arg == "--stay-deployed")
            stayDeployed = true;
        else {
            std::fprintf(stderr, "velunit-sim: unknown option %s (see velunit-sim --help)\n", arg.c_str());
            return 2;
        }
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
#ifdef SIGUSR1
    std::signal(SIGUSR1, OnSignal);
#endif
    CSystemClock clock;
    SSimControl control{g_stop, g_breakRequest, trace};
    if (port.empty())
        return ServeOnPseudoTerminal(clock, config, link, stayDeployed, control);

    std::string error;
    const std::string device = ResolvePortName(port, nullptr);
    auto stream = OpenSerialDevice(device, &error);
    if (!stream) {
        std::fprintf(stderr, "velunit-sim: cannot open %s: %s\n", device.c_str(), error.c_str());
        return 1;
    }
    CVelunitStreamServer server(clock, config, std::move(stream));
    if (!server.Start()) {
        std::fprintf(stderr, "velunit-sim: cannot configure %s\n", device.c_str());
        return 1;
    }
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);
    size_t traced = 0;
    while (!g_stop) {
        if (g_breakRequest.exchange(false))
            server.SendBreak();
        if (!server.RunOnce(100)) {
            std::fprintf(stderr, "velunit-sim: the port %s failed\n", device.c_str());
            return 1;
        }
        TraceReceived(server.Simulator(), control, traced);
    }
    return 0;
}

void TraceReceived(const CVelunitSimulator& sim, const SSimControl& control, size_t& traced)
{
    const auto& received = sim.Received();
    for (; control.trace && traced < received.size(); ++traced)
        std::fprintf(stderr, "velunit-sim: < %s\n", received[traced].c_str());
}
