// ymodem-receive: one batch transfer received on a serial device into a folder, exactly as
// the download receives it once the instrument has been told to send.
#include "link/SerialPort.h"
#include "link/YmodemReceiver.h"
#include "link/YmodemSerialLine.h"
#include "platform/StandardStreams.h"
#include "tools/tidewell-tool/ToolCommand.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace
{

constexpr int RECEIVE_BAUD = 57600; // the rate the download runs at

void ShowProgressLine(const YmodemProgress& p)
{
    std::fprintf(stderr, "\rReceiving %s: %lld of %lld bytes, %d transfer errors", p.fileName.c_str(),
                 p.received, p.total, p.errors);
    std::fflush(stderr);
}

int RunYmodemReceive(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {}, {});
    if (parsed.Positional().size() != 2)
        throw UsageError{"expected a device and a folder"};
    const std::string device = parsed.Positional()[0];
    const std::filesystem::path dir = PathFromUtf8(parsed.Positional()[1]);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        throw ToolFailure{"not a folder: " + Utf8FromPath(dir)};

    CSerialPort port;
    TracePort(port);
    if (!port.Open(device, RECEIVE_BAUD))
        throw ToolFailure{PortFailure(device, {}, port.OpenError())};

    std::atomic<int> abort{0};
    CYmodemSerialLine line(port);
    CYmodemReceiver receiver(line, dir, abort);
    const bool terminal = StandardErrorIsTerminal();
    if (terminal) {
        receiver.SetOnFileAnnounced(ShowProgressLine);
        receiver.SetOnProgress(ShowProgressLine);
    }
    const bool ok = receiver.Receive();
    if (terminal)
        std::fputs("\n", stderr);
    // One line for every file on standard output, where its bytes are and how many:
    // "NAME BYTES" for a whole file, "NAME.partial BYTES" for what is left of another.
    std::string problems;
    for (const auto& file : receiver.Files()) {
        std::cout << Utf8FromPath(file.path.filename()) << " " << file.progress.received
                  << (file.progress.sizeAnnounced ? "" : " (size not announced)") << "\n";
        if (file.outcome != YmodemFileResult::complete) {
            // Appended piece by piece: literal + temporary trips a false -Wrestrict in GCC 12.
            if (!problems.empty())
                problems += '\n';
            problems += file.Status();
        }
    }
    std::cout.flush();
    if (!ok)
        throw ToolFailure{(problems.empty() ? "Transfer error" : problems) + ": " + receiver.FailureDetail()};
    if (!problems.empty())
        throw ToolFailure{problems};
    return 0;
}

ToolCommandRegistration reg{{"ymodem-receive", "", "ymodem-receive DEVICE DIR",
                             "receive one batch file transfer on a serial device into a folder",
                             &RunYmodemReceive, true}};

} // namespace
