#pragma once
// The commands of tidewell-tool. Each command file registers its commands with a static
// ToolCommandRegistration, so that a new command group touches no other file.
//
//   static ToolCommandRegistration reg{{"station", "show", "station show FILE.hstn",
//                                       "print a station as JSON", &RunStationShow}};
// Every command takes its file names as UTF-8 (see main) and passes them on through these.
#include "platform/Utf8Path.h"

#include <string>
#include <vector>

class CSerialPort;
class ISerialTap;

// Thrown for wrong usage: main prints the message with the usage line and exits with 2.
struct UsageError {
    std::string message;
};

// Thrown for a failure: main prints the message as one line on standard error, exit 1.
struct ToolFailure {
    std::string message;
};

struct ToolCommand {
    std::string group;   // first word: "station", "data", "velunit", ...
    std::string name;    // second word, or empty for a one-word command ("ymodem-receive")
    std::string usage;   // the whole synopsis, without the program name
    std::string summary; // one line for --help
    int (*run)(const std::vector<std::string>& args); // args after the command words
    bool opensPort = false;                           // takes the global --trace FILE option
};

const std::vector<ToolCommand>& RegisteredCommands();

// A command that still prints its output after a problem it has already reported on standard
// error (a station that did not load cleanly) marks the run failed: main then exits with 1.
void MarkRunFailed();
bool RunFailed();

// The global option "--trace FILE": main opens the trace before a command that opens a port
// runs (ToolFailure when the file cannot be written). The command attaches it to its port
// with TracePort, or hands TraceTaps to a port opener.
void OpenTrace(const std::string& path);
void TracePort(CSerialPort& port);
std::vector<ISerialTap*> TraceTaps();

// The one line for a port that could not be opened: its name, the device it stands for
// where that differs, and the system's reason.
std::string PortFailure(const std::string& name, const std::string& resolved, const std::string& reason);

struct ToolCommandRegistration {
    explicit ToolCommandRegistration(ToolCommand command);
};

// Simple option parsing shared by the commands: "--name value" and "--flag" forms.
class ToolArgs
{
  public:
    ToolArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
             const std::vector<std::string>& flagOptions);

    const std::vector<std::string>& Positional() const { return m_positional; }
    bool Has(const std::string& option) const;
    std::string Value(const std::string& option, const std::string& fallback = {}) const;

  private:
    std::vector<std::string> m_positional;
    std::vector<std::pair<std::string, std::string>> m_options;
};
