#include "tools/velunit-sim/PseudoTerminal.h"

#include "sim/VelunitPtyServer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int ServeOnPseudoTerminal(IClock& clock, const SVelunitConfig& config, const std::string& link,
                          bool stayDeployed, SSimControl& control)
{
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
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    size_t traced = 0;
    while (!control.stop) {
        if (control.breakRequest.exchange(false))
            server.SendBreak();
        if (!server.RunOnce(100))
            break;
        TraceReceived(server.Simulator(), control, traced);
    }
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
