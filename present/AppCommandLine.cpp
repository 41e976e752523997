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

} // namespace

std::string HelpText()
{
    return "Usage: tidewell [--help] [--version] [-platform NAME] [-style NAME]\n"
           "\n"
           "The Tidewell desktop program: station files, instrument programming and recorded\n"
           "flow data. It opens the station list of the site folder (by default ~/Tidewell/Config,\n"
           "made at the first start).\n"
           "\n"
           "Options:\n"
           "  --help, -h     print this help and exit\n"
           "  --version      print the version and exit\n"
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
            outcome = {Outcome::PRINT_AND_EXIT, 0, HelpText(), {}};
            return outcome;
        }
        if (arg == "--version") {
            outcome = {Outcome::PRINT_AND_EXIT, 0, std::string("tidewell ") + kVersion + "\n", {}};
            return outcome;
        }
        if (IsIn(arg, kWindowOptionsWithValue)) {
            if (i + 1 >= args.size())
                return {Outcome::PRINT_AND_EXIT, 2, {}, "tidewell: " + arg + " needs a value (see --help)\n"};
            ++i;
            continue;
        }
        if (IsIn(arg, kWindowFlags))
            continue;
        if (!arg.empty() && arg[0] == '-')
            return {Outcome::PRINT_AND_EXIT, 2, {}, "tidewell: unknown option " + arg + " (see --help)\n"};
        return {Outcome::PRINT_AND_EXIT, 2, {}, "tidewell: unexpected argument " + arg + " (see --help)\n"};
    }
    return outcome;
}

} // namespace appcommandline
