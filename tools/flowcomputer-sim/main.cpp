// flowcomputer-sim: a Flow Computer on a pseudo-terminal, for trying the programming without
// the unit. Prints the device to point the program at, answers one programming exchange (or
// every one, with --serve), and reports what it received.
//
//   flowcomputer-sim [--reply 6|7|9|128|none] [--confirm 4|3|stray|none] [--station S.hstn] [--serve]
//
// With --station the message must equal that station's, byte for byte; a unit that got
// anything else answers 3 and the differing offsets are listed.
#include "flowcomputer/FlowComputerMessage.h"
#include "sim/FlowComputerSim.h"
#include "station/Station.h"
#include "tools/ProgramInfo.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace
{

// The program waits five seconds for more of the wake reply; a deferred confirmation must
// come after that.
constexpr int DEFER_MS = 5500;
// A finished exchange is reported once the line has been quiet this long.
constexpr int QUIET_MS = 1000;

void Help(std::FILE* out)
{
    std::fputs("Usage: flowcomputer-sim [options]\n"
               "A simulated Flow Computer on standard input and output, or on a pseudo-terminal.\n"
               "  --reply 6|7|9|128|none      the wake reply (default 6)\n"
               "  --confirm 4|3|stray|none    how the message is confirmed (default 4)\n"
               "  --station S.hstn            compare the received message with this station's\n"
               "  --serve                     serve on a pseudo-terminal and print its device\n"
               "  --help                      this text\n"
               "  --version                   the program's version\n",
               out);
}

int Usage()
{
    std::cerr
        << "usage: flowcomputer-sim [--reply 6|7|9|128|none] [--confirm 4|3|stray|none] [--station S.hstn] "
           "[--serve] (see flowcomputer-sim --help)\n";
    return 2;
}

void WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

void Report(const CFlowComputerSim& unit)
{
    std::cout << "message bytes received: " << unit.Message().size();
    if (!unit.Mismatches().empty()) {
        std::cout << "; differs at offsets";
        for (size_t at : unit.Mismatches())
            std::cout << " " << at;
    } else if (unit.MessageComplete()) {
        std::cout << "; as expected";
    }
    std::cout << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = AnswerHelpOrVersion(argc, argv, "flowcomputer-sim", Help); status >= 0)
        return status;
    FlowComputerSimOptions options;
    bool serve = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--reply" && hasValue) {
            const std::string v = argv[++i];
            options.reply = v == "none" ? -1 : std::atoi(v.c_str());
        } else if (arg == "--confirm" && hasValue) {
            const std::string v = argv[++i];
            if (v == "4")
                options.confirm = FlowComputerSimOptions::confirm4;
            else if (v == "3")
                options.confirm = FlowComputerSimOptions::confirm3;
            else if (v == "stray")
                options.confirm = FlowComputerSimOptions::strayThen4;
            else if (v == "none")
                options.confirm = FlowComputerSimOptions::noConfirm;
            else
                return Usage();
        } else if (arg == "--station" && hasValue) {
            CStation station;
            StationLoadOptions load;
            load.writeBackOldVersion = false;
            StationLoadReport report;
            // A station read as defaults would make every real message look wrong.
            if (!station.Load(argv[++i], load, &report) || !report.LoadedCleanly() ||
                !CFlowComputerMessage::Build(station, options.expected)) {
                std::cerr << "flowcomputer-sim: cannot read the station " << argv[i]
                          << (report.Problem().empty() ? "" : ": " + report.Problem()) << "\n";
                return 1;
            }
        } else if (arg == "--serve") {
            serve = true;
        } else {
            return Usage();
        }
    }

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("flowcomputer-sim: pseudo-terminal");
        return 1;
    }
    std::cout << ::ptsname(master) << std::endl;

    CFlowComputerSim unit(options);
    auto lastByte = std::chrono::steady_clock::now();
    for (;;) {
        pollfd p{master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        const auto now = std::chrono::steady_clock::now();
        const auto quietMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastByte).count();
        if (ready > 0 && (p.revents & POLLIN)) {
            unsigned char buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                lastByte = now;
                for (ssize_t k = 0; k < n; ++k)
                    WriteAll(master, unit.OnByte(buffer[k]));
                continue;
            }
        }
        if (ready > 0 && !(p.revents & POLLIN))
            std::this_thread::sleep_for(std::chrono::milliseconds(20)); // nobody has the device open
        if (unit.HasDeferred() && quietMs >= DEFER_MS)
            WriteAll(master, unit.TakeDeferred());
        const bool finished = unit.WokenUp() && !unit.HasDeferred() &&
                              (unit.MessageComplete() || (options.reply != 6 && options.reply != 7));
        if (finished && quietMs >= QUIET_MS) {
            Report(unit);
            if (!serve)
                break;
            unit = CFlowComputerSim(options);
        }
    }
    ::close(master);
    return 0;
}
