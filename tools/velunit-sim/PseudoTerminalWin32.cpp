#include "tools/velunit-sim/PseudoTerminal.h"

#include <cstdio>

int ServeOnPseudoTerminal(IClock&, const SVelunitConfig&, const std::string&, bool, SSimControl&)
{
    std::fputs("velunit-sim: Windows has no pseudo-terminals: name the serial port to serve on with "
               "--port (see velunit-sim --help)\n",
               stderr);
    return 2;
}
