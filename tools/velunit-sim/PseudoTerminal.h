#pragma once
// velunit-sim's pseudo-terminal: POSIX systems only. On Windows the same call explains that
// a port must be named instead.
#include "link/Clock.h"
#include "sim/VelunitConfig.h"

#include <atomic>
#include <cstddef>
#include <string>

class CVelunitSimulator;

// What the signal handlers ask of the loop that serves the unit.
struct SSimControl {
    std::atomic<bool>& stop;
    std::atomic<bool>& breakRequest;
    bool trace = false;
};

// Prints the commands received since the last call when tracing (defined in main.cpp).
void TraceReceived(const CVelunitSimulator& sim, const SSimControl& control, size_t& traced);

// Creates the pseudo-terminal, prints its device path (and links it at link, when given) and
// serves the unit until asked to stop. The program's exit status.
int ServeOnPseudoTerminal(IClock& clock, const SVelunitConfig& config, const std::string& link,
                          bool stayDeployed, SSimControl& control);
