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
#include "link/Clock.h"
#include "sim/VelunitPtyServer.h"
#include "station/Station.h"
#include "tools/ProgramInfo.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{

std::atomic<bool> g_stop{false};         // set from the signal handler only
std::atomic<bool> g_breakRequest{false}; // likewise

void OnSignal(int signal)
{
    if (signal == SIGUSR1)
        g_breakRequest = true;
    else
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
               "  --link PATH          also make PATH a symbolic link to the device\n"
               "  --stay-deployed      once deployed (CS), ignore the program's flushes as a real\n"
               "                       line would; only SIGUSR1 wakes the unit then\n"
               "  --silent-from CMD    fault: no answer from this command on, until a break\n"
               "  --err-on CMD         fault: answer this command with ERR\n"
               "  --time-reply TEXT    fault: answer ts? with this line (\"TS 26/13/01,10:00:00\")\n"
               "  --noise RATE         fault: replace this share of sent bytes (0..1)\n"
               "  --trace              print every command received on standard error\n"
               "  --help               this text\n"
               "  --version            the program's version\n",
               out);
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = AnswerHelpOrVersion(argc, argv, "velunit-sim", Usage); status >= 0)
        return status;
    SVelunitConfig config;
    std::string link;
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

    CSystemClock clock;
    CVelunitPtyServer server(clock, config);
    server.SetFlushWakesDeployed(!stayDeployed);
    std::string error;
    if (!server.Open(error)) {
        std::fprintf(stderr, "velunit-sim: %s\n", error.c_str());
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(server.SlavePath().c_str(), link.c_str()) != 0)
            std::fprintf(stderr, "velunit-sim: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGUSR1, OnSignal);
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    size_t traced = 0;
    while (!g_stop) {
        if (g_breakRequest.exchange(false))
            server.SendBreak();
        if (!server.RunOnce(100))
            break;
        const auto& received = server.Simulator().Received();
        for (; trace && traced < received.size(); ++traced)
            std::fprintf(stderr, "velunit-sim: < %s\n", received[traced].c_str());
    }
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
