// tidewell-tool: the station, data and instrument work of the desktop application, run
// from a terminal or a script. Output on standard output; errors as one line on standard
// error with exit status 1, wrong usage with exit status 2.
#include "platform/ProgramArguments.h"
#include "tools/ProgramInfo.h"
#include "tools/tidewell-tool/ToolCommand.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>

namespace
{

const char* const kTraceHelp =
    "  --trace FILE\n      write a timestamped hex dump of the serial line to FILE\n";

const char* const kPortHelp =
    "\nPORT is a serial device (/dev/ttyUSB0, or the pseudo-terminal a simulator printed) or\n"
    "\"COM n\": the device the settings file's COMn entry names, else /dev/ttyS<n-1>; on\n"
    "Windows the port COMn itself unless the entry names another.\n";

// The commands of one group (all of them for an empty group), sorted for the help.
std::vector<ToolCommand> CommandsOf(const std::string& group)
{
    std::vector<ToolCommand> commands;
    for (const auto& c : RegisteredCommands())
        if (group.empty() || c.group == group)
            commands.push_back(c);
    std::stable_sort(commands.begin(), commands.end(), [](const ToolCommand& a, const ToolCommand& b) {
        return a.group == b.group ? a.name < b.name : a.group < b.group;
    });
    return commands;
}

void PrintCommands(std::ostream& out, const std::vector<ToolCommand>& commands)
{
    for (const auto& c : commands)
        out << "  tidewell-tool " << c.usage << "\n      " << c.summary << "\n";
}

void PrintHelp(std::ostream& out)
{
    out << "Usage: tidewell-tool COMMAND [ARGS...]\n\n"
           "A companion to the Tidewell desktop application for scripting, batch work and support.\n\n"
           "Commands:\n";
    PrintCommands(out, CommandsOf({}));
    out << "\nGlobal option of the commands that open a port (velunit, flowcomputer program, "
           "ymodem-receive):\n"
        << kTraceHelp << kPortHelp
        << "\nOther options:\n"
           "  --help      this text; after a command or a command group, the help of that\n"
           "  --version   the program's version\n";
}

// "--trace FILE" may stand anywhere on the line; it is taken out before the command parses
// its own options. False when the file name is missing.
bool TakeTraceOption(std::vector<std::string>& args, std::string& path)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--trace")
            continue;
        if (i + 1 >= args.size())
            return false;
        path = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        --i;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // UTF-8 on every system, so that file names reach the commands whole.
    std::vector<std::string> args = Utf8Arguments(argc, argv);
    std::string trace;
    if (!TakeTraceOption(args, trace)) {
        std::cerr << "tidewell-tool: option --trace needs a value\n";
        return 2;
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        PrintVersion("tidewell-tool");
        return 0;
    }
    // "tidewell-tool station --help", or a group without its command.
    const auto group = CommandsOf(args[0]);
    const bool oneWord = group.size() == 1 && group[0].name.empty();
    if (!group.empty() && !oneWord &&
        (args.size() == 1 || args[1] == "--help" || args[1] == "-h" || args[1] == "help")) {
        const bool asked = args.size() > 1;
        std::ostream& out = asked ? std::cout : std::cerr;
        if (!asked)
            out << "tidewell-tool: " << args[0] << " needs a command\n";
        out << "Usage: tidewell-tool " << args[0] << " COMMAND [ARGS...]\n\nCommands:\n";
        PrintCommands(out, group);
        if (std::any_of(group.begin(), group.end(), [](const ToolCommand& c) { return c.opensPort; }))
            out << "\nGlobal option of the commands that open a port:\n" << kTraceHelp << kPortHelp;
        return asked ? 0 : 2;
    }

    const ToolCommand* found = nullptr;
    size_t consumed = 0;
    for (const auto& c : RegisteredCommands()) {
        if (c.group != args[0])
            continue;
        if (c.name.empty()) {
            found = &c;
            consumed = 1;
            break;
        }
        if (args.size() > 1 && c.name == args[1]) {
            found = &c;
            consumed = 2;
            break;
        }
    }
    if (!found) {
        std::cerr << "tidewell-tool: unknown command '" << args[0] << (args.size() > 1 ? " " + args[1] : "")
                  << "' (see tidewell-tool --help)\n";
        return 2;
    }

    std::vector<std::string> rest(args.begin() + static_cast<long>(consumed), args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
        std::find(rest.begin(), rest.end(), "-h") != rest.end()) {
        std::cout << "Usage: tidewell-tool " << found->usage << "\n" << found->summary << "\n";
        if (found->opensPort)
            std::cout << kTraceHelp;
        return 0;
    }
    if (!trace.empty() && !found->opensPort) {
        std::cerr << "tidewell-tool: --trace applies only to commands that open a port\nUsage: tidewell-tool "
                  << found->usage << "\n";
        return 2;
    }
    try {
        if (!trace.empty())
            OpenTrace(trace);
        int status = found->run(rest);
        std::cout.flush();
        // Output was printed, but after a problem already told on standard error.
        return status == 0 && RunFailed() ? 1 : status;
    } catch (const UsageError& e) {
        std::cerr << "tidewell-tool: " << e.message << "\nUsage: tidewell-tool " << found->usage << "\n";
        return 2;
    } catch (const ToolFailure& e) {
        std::cout.flush();
        std::cerr << "tidewell-tool: " << e.message << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "tidewell-tool: " << e.what() << "\n";
        return 1;
    }
}
