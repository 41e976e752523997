#include "present/AppCommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace appcommandline
{

namespace
{

// The window system's own options, which the application object takes off the command line.
constexpr std::array<std::string_view, 11> kWindowOptionsWithValue = {
    "-platform",     "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon",        "-style",         "-stylesheet", "-session",
    "-display"};
constexpr std::array<std::string_view, 3> kWindowFlags = {"-reverse", "-widgetcount", "-nograb"};

bool IsIn(std::string_view arg, const auto& list)
{
    return std::find(list.begin(), list.end(), arg) != list.end();
}

// The program's own options that take a value, with where each value goes.
struct ValueOption {
    std::string_view name;
    std::string Options::*field;
};
constexpr std::array<ValueOption, 4> kValueOptions = {{
    {"--config", &Options::config},
    {"--station", &Options::station},
    {"--grab", &Options::grab},
    {"--view-data", &Options::viewData},
}};

Outcome Refuse(const std::string& why)
{
    return {Outcome::PRINT_AND_EXIT, 2, {}, "tidewell: " + why + " (see --help)\n", {}};
}

} // namespace

std::string HelpText()
{
    return "Usage: tidewell [--help] [--version] [--config FILE] [--station NAME] [--view-data FILE]\n"
           "                [--communicate] [--listen] [--grab PNG] [-platform NAME] [-style NAME]\n"
           "\n"
           "The Tidewell desktop program: station files, instrument programming and recorded\n"
           "flow data. It opens the station list of the site folder (by default ~/Tidewell/Config,\n"
           "made at the first start).\n"
           "\n"
           "Options:\n"
           "  --help, -h       print this help and exit\n"
           "  --version        print the version and exit\n"
           "  --config FILE    the settings file (as TIDEWELL_CONFIG)\n"
           "  --station NAME   open that station at start: its site name as the Stations bar\n"
           "                   lists it, or the path of its .hstn file\n"
           "  --view-data FILE with --station: open a data view of that recorded file, a name of\n"
           "                   the station's data files or a path\n"
           "  --grab PNG       once the windows asked for are open and have finished their work,\n"
           "                   save an image of the main window to PNG and exit (0 when it was\n"
           "                   saved and nothing failed); works with -platform offscreen\n"
           "  --communicate    with --station: open its Velunit Communications window at start,\n"
           "                   on the station's port, and connect (--grab waits for the\n"
           "                   connection to finish, and fails when it did not connect)\n"
           "  --listen         with --station: open the real-time data view on the station's port\n"
           "                   at start and record what the deployed unit sends (--grab waits for\n"
           "                   the first valid ensemble, or 15 seconds)\n"
           "  -platform NAME, -style NAME and the other window-system options are passed on\n"
           "\n"
           "Environment:\n"
           "  TIDEWELL_CONFIG  the settings file (default: $XDG_CONFIG_HOME/Tidewell/Tidewell.conf,\n"
           "                   else ~/.config/Tidewell/Tidewell.conf)\n";
}

Outcome Parse(const std::vector<std::string>& args)
{
    Outcome outcome;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            outcome = {Outcome::PRINT_AND_EXIT, 0, HelpText(), {}, {}};
            return outcome;
        }
        if (arg == "--version") {
            outcome = {Outcome::PRINT_AND_EXIT, 0, std::string("tidewell ") + kVersion + "\n", {}, {}};
            return outcome;
        }
        if (arg == "--communicate") {
            outcome.options.communicate = true;
            continue;
        }
        if (arg == "--listen") {
            outcome.options.listen = true;
            continue;
        }
        bool taken = false;
        for (const ValueOption& option : kValueOptions) {
            std::string value;
            if (arg == option.name) {
                if (i + 1 >= args.size())
                    return Refuse(arg + " needs a value");
                value = args[++i];
            } else if (arg.size() > option.name.size() &&
                       arg.compare(0, option.name.size(), option.name) == 0 &&
                       arg[option.name.size()] == '=') {
                value = arg.substr(option.name.size() + 1);
            } else {
                continue;
            }
            if (value.empty())
                return Refuse(std::string(option.name) + " needs a value");
            outcome.options.*option.field = value;
            taken = true;
            break;
        }
        if (taken)
            continue;
        if (IsIn(arg, kWindowOptionsWithValue)) {
            if (i + 1 >= args.size())
                return Refuse(arg + " needs a value");
            ++i;
            continue;
        }
        if (IsIn(arg, kWindowFlags))
            continue;
        if (!arg.empty() && arg[0] == '-')
            return Refuse("unknown option " + arg);
        return Refuse("unexpected argument " + arg);
    }
    // A data file belongs to a station: without one there is nothing to read it with.
    if (!outcome.options.viewData.empty() && outcome.options.station.empty())
        return Refuse("--view-data needs --station");
    // The window belongs to a station: without one there is no port and no unit.
    if (outcome.options.communicate && outcome.options.station.empty())
        return Refuse("--communicate needs --station");
    if (outcome.options.listen && outcome.options.station.empty())
        return Refuse("--listen needs --station");
    return outcome;
}

} // namespace appcommandline
