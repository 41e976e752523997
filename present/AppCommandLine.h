#pragma once
// The desktop program's command line, read before any window system is asked for: --help
// and --version answer on a machine without a display, and a mistyped option is refused
// rather than passed on to the window system.
#include <string>
#include <vector>

namespace appcommandline
{

inline constexpr const char* kVersion = "1.03";

// What the operator asked the program to do at start. Empty texts were not given.
struct Options {
    std::string config;       // the settings file, in place of TIDEWELL_CONFIG
    std::string station;      // a site name as the Stations bar lists it, or a station file's path
    std::string grab;         // a PNG file: save an image of the main window once ready, then exit
    std::string viewData;     // with a station: a data file to open in a data view (name or path)
    bool communicate = false; // open the station's Velunit Communications window at start
    bool listen = false;      // open the real-time data view on the station's port at start
};

struct Outcome {
    enum Action { RUN, PRINT_AND_EXIT };
    Action action = RUN;
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error (one line)
    Options options; // for RUN
};

// args: the arguments after the program name. Options with a value take it as the next
// argument or after '=' (--station=Weir).
Outcome Parse(const std::vector<std::string>& args);

std::string HelpText();

} // namespace appcommandline
