#include "tools/tidewell-tool/ToolCommand.h"

#include "link/HexDumpTap.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <memory>

namespace
{
std::vector<ToolCommand>& Registry()
{
    static std::vector<ToolCommand> commands;
    return commands;
}

// One trace for the one command a run of the tool executes; it lives until the program ends.
std::unique_ptr<CHexDumpTap>& Trace()
{
    static std::unique_ptr<CHexDumpTap> trace;
    return trace;
}
} // namespace

void OpenTrace(const std::string& path)
{
    Trace() = std::make_unique<CHexDumpTap>(path);
    if (!Trace()->IsOpen()) {
        Trace().reset();
        throw ToolFailure{"could not write the trace file " + path};
    }
}

void TracePort(CSerialPort& port)
{
    if (Trace())
        port.AddTap(Trace().get());
}

std::vector<ISerialTap*> TraceTaps()
{
    if (Trace())
        return {Trace().get()};
    return {};
}

namespace
{
bool g_bRunFailed = false;
}

void MarkRunFailed()
{
    g_bRunFailed = true;
}

bool RunFailed()
{
    return g_bRunFailed;
}

std::string PortFailure(const std::string& name, const std::string& resolved, const std::string& reason)
{
    std::string text = "could not open " + name;
    if (!resolved.empty() && resolved != name)
        text += " (" + resolved + ")";
    return text + ": " + (reason.empty() ? "the port could not be opened" : reason);
}

const std::vector<ToolCommand>& RegisteredCommands()
{
    return Registry();
}

ToolCommandRegistration::ToolCommandRegistration(ToolCommand command)
{
    Registry().push_back(std::move(command));
}

ToolArgs::ToolArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                   const std::vector<std::string>& flagOptions)
{
    auto contains = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.rfind("--", 0) == 0) {
            if (contains(flagOptions, a)) {
                m_options.emplace_back(a, "");
            } else if (contains(valueOptions, a)) {
                if (i + 1 >= args.size())
                    throw UsageError{"option " + a + " needs a value"};
                m_options.emplace_back(a, args[++i]);
            } else {
                throw UsageError{"unknown option " + a};
            }
        } else {
            m_positional.push_back(a);
        }
    }
}

bool ToolArgs::Has(const std::string& option) const
{
    return std::any_of(m_options.begin(), m_options.end(), [&](const auto& o) { return o.first == option; });
}

std::string ToolArgs::Value(const std::string& option, const std::string& fallback) const
{
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it)
        if (it->first == option)
            return it->second;
    return fallback;
}
