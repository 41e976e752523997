#include "tools/flowcomputer-sim/UnitLine.h"

std::unique_ptr<IUnitLine> OpenPseudoTerminalLine(std::string&, std::string& error)
{
    error = "Windows has no pseudo-terminals: name the serial port to serve on with --port";
    return nullptr;
}
