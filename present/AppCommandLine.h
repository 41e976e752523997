#pragma once
// The desktop program's command line, read before any window system is asked for: --help
// and --version answer on a machine without a display, and a mistyped option is refused
// rather than passed on to the window system.
#include <string>
#include <vector>

namespace appcommandline
{

inline constexpr const char* kVersion = "1.03";

struct Outcome {
    enum Action { RUN, PRINT_AND_EXIT };
    Action action = RUN;
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error (one line)
};

// args: the arguments after the program name.
Outcome Parse(const std::vector<std::string>& args);

std::string HelpText();

} // namespace appcommandline
