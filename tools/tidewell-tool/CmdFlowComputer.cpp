// flowcomputer message / program: the settings message of a station, and programming the
// Flow Computer with it over a port, as the "Program Flow Computer" dialog does.
#include "flowcomputer/FlowComputerMessage.h"
#include "flowcomputer/FlowComputerProgrammer.h"
#include "link/SerialPort.h"
#include "platform/StandardStreams.h"
#include "tools/tidewell-tool/StationArg.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace
{

int RunFlowComputerMessage(const std::vector<std::string>& args)
{
    std::vector<std::string> spelled = args;
    for (auto& a : spelled)
        if (a == "-o")
            a = "--output";
    ToolArgs parsed(spelled, {"--output"}, {});
    if (parsed.Positional().size() != 1)
        throw UsageError{"expected one station file"};
    const bool toFile = parsed.Has("--output");
    // The message is binary: on a terminal it would only garble the screen.
    if (!toFile && StandardOutputIsTerminal())
        throw ToolFailure{"the settings message is binary and is not written to a terminal; "
                          "give -o FILE or pipe the output into a program"};
    const auto station = LoadStationArg(parsed.Positional()[0], StationUse::Show);
    std::vector<uint8_t> message;
    std::string why;
    if (!CFlowComputerMessage::Build(*station, message, &why))
        throw ToolFailure{"cannot build the settings message: " + why};
    if (toFile) {
        const std::string path = parsed.Value("--output");
        std::FILE* f = OpenFileUtf8(path, "wb");
        if (!f)
            throw ToolFailure{"cannot write " + path + ": " + std::strerror(errno)};
        const bool ok = std::fwrite(message.data(), 1, message.size(), f) == message.size();
        if (std::fclose(f) != 0 || !ok)
            throw ToolFailure{"cannot write " + path + ": " + std::strerror(errno)};
        return 0;
    }
    // The message's bytes exactly: Windows would otherwise turn each 10 in it into 13 10.
    SetStandardOutputBinary();
    std::cout.write(reinterpret_cast<const char*>(message.data()),
                    static_cast<std::streamsize>(message.size()));
    std::cout.flush();
    return 0;
}

// Status lines as they replace each other, one per line; the progress figure on standard
// error when that is a terminal; message boxes as text.
class CTerminalReporter : public IFlowComputerReporter
{
  public:
    void SetStatus(const std::string& text) override
    {
        EndProgress();
        m_strStatus = text;
        std::cout << Flatten(text) << std::endl;
    }
    void SetProgress(int percent) override
    {
        if (!m_bTerminal)
            return;
        std::fprintf(stderr, "\r%3d%%", percent);
        std::fflush(stderr);
        m_bProgressShown = true;
    }
    void ShowMessage(const std::string& text) override
    {
        EndProgress();
        std::string plain;
        for (char c : text)
            if (c != '\r')
                plain += c;
        std::cout << plain << (plain.empty() || plain.back() == '\n' ? "" : "\n") << std::flush;
        m_strMessage = text;
    }
    void ShowExit(bool) override {}

    const std::string& Status() const { return m_strStatus; }
    const std::string& Message() const { return m_strMessage; }

    static std::string Flatten(const std::string& text)
    {
        std::string line;
        for (char c : text)
            if (c != '\r')
                line += c == '\n' ? ' ' : c;
        return line;
    }

  private:
    void EndProgress()
    {
        if (m_bProgressShown)
            std::fputs("\n", stderr);
        m_bProgressShown = false;
    }
    bool m_bTerminal = StandardErrorIsTerminal();
    bool m_bProgressShown = false;
    std::string m_strStatus;
    std::string m_strMessage;
};

int RunFlowComputerProgram(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--port"}, {});
    if (!parsed.Positional().empty() || !parsed.Has("--station") || !parsed.Has("--port"))
        throw UsageError{"--station and --port are required"};
    const auto station = LoadStationArg(parsed.Value("--station"));
    CSerialPort port;
    TracePort(port);
    // Opened here rather than by the programmer, so that a failure is told once, with the
    // system's reason.
    if (!port.Open(parsed.Value("--port"), CFlowComputerProgrammer::BAUD))
        throw ToolFailure{PortFailure(parsed.Value("--port"), {}, port.OpenError())};
    CTerminalReporter reporter;
    CFlowComputerProgrammer programmer(*station, reporter);
    reporter.SetProgress(0);
    switch (programmer.ProgramOpenPort(port)) {
    case CFlowComputerProgrammer::Confirmed:
        return 0;
    case CFlowComputerProgrammer::PortError:
        throw ToolFailure{reporter.Message()};
    default:
        throw ToolFailure{CTerminalReporter::Flatten(reporter.Status())};
    }
}

ToolCommandRegistration regMessage{{"flowcomputer", "message", "flowcomputer message FILE.hstn [-o FILE]",
                                    "write the station's Flow Computer settings message to a file or to "
                                    "standard output (never a terminal)",
                                    &RunFlowComputerMessage}};
ToolCommandRegistration regProgram{
    {"flowcomputer", "program", "flowcomputer program --station S.hstn --port PORT",
     "program the Flow Computer on a port with the station's settings", &RunFlowComputerProgram, true}};

} // namespace
