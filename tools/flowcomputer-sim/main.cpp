// flowcomputer-sim: a Flow Computer on a pseudo-terminal, for trying the programming without
// the unit. Prints the device to point the program at, answers one programming exchange (or
// every one, with --serve), and reports what it received.
//
//   flowcomputer-sim [--reply 6|7|9|128|none] [--confirm 4|3|stray|none] [--station S.hstn] [--serve]
//                    [--port PORT]
//
// With --port it answers on an existing serial port instead (on Windows, which has no
// pseudo-terminals, the only way), wired to the program's port by a cable or a port-pair
// driver.
//
// With --station the message must equal that station's, byte for byte; a unit that got
// anything else answers 3 and the differing offsets are listed.
#include "flowcomputer/FlowComputerMessage.h"
#include "link/PortOpener.h"
#include "platform/SerialDevice.h"
#include "sim/FlowComputerSim.h"
#include "station/Station.h"
#include "tools/ProgramInfo.h"
#include "tools/flowcomputer-sim/UnitLine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace
{

// The program waits five seconds for more of the wake reply; a deferred confirmation must
// come after that.
constexpr int DEFER_MS = 5500;
// A finished exchange is reported once the line has been quiet this long.
constexpr int QUIET_MS = 1000;

void Help(std::FILE* out)
{
    std::fputs("Usage: flowcomputer-sim [options]\n"
               "A simulated Flow Computer on a pseudo-terminal (POSIX systems) or a serial port.\n"
               "  --reply 6|7|9|128|none      the wake reply (default 6)\n"
               "  --confirm 4|3|stray|none    how the message is confirmed (default 4)\n"
               "  --station S.hstn            compare the received message with this station's\n"
               "  --serve                     answer every exchange, not only the first\n"
               "  --port PORT                 answer on this existing serial port (\"COM n\" or a\n"
               "                              device name) instead of a new pseudo-terminal;\n"
               "                              required on Windows\n"
               "  --help                      this text\n"
               "  --version                   the program's version\n",
               out);
}

int Usage()
{
    std::cerr
        << "usage: flowcomputer-sim [--reply 6|7|9|128|none] [--confirm 4|3|stray|none] [--station S.hstn] "
           "[--serve] [--port PORT] (see flowcomputer-sim --help)\n";
    return 2;
}

// The unit's speed; the program sets its port to the same.
constexpr int UNIT_BAUD = 19200;

class CPortLine : public IUnitLine
{
  public:
    explicit CPortLine(std::unique_ptr<ISerialStream> stream) : m_pStream(std::move(stream)) {}

    int Read(unsigned char* buffer, size_t size, int timeoutMs) override
    {
        size_t got = 0;
        if (size == 0 || !m_pStream->ReadByte(buffer[got], timeoutMs))
            return 0;
        ++got;
        while (got < size && m_pStream->Available() > 0 && m_pStream->ReadByte(buffer[got], 0))
            ++got;
        return static_cast<int>(got);
    }

    void Write(const std::string& bytes) override
    {
        size_t written = 0;
        m_pStream->Write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 2000, written);
    }

  private:
    std::unique_ptr<ISerialStream> m_pStream;
};

void Report(const CFlowComputerSim& unit)
{
    std::cout << "message bytes received: " << unit.Message().size();
    if (!unit.Mismatches().empty()) {
        std::cout << "; differs at offsets";
        for (size_t at : unit.Mismatches())
            std::cout << " " << at;
    } else if (unit.MessageComplete()) {
        std::cout << "; as expected";
    }
    std::cout << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    CUtf8Argv utf8(argc, argv);
    argv = utf8.Argv();
    if (const int status = AnswerHelpOrVersion(argc, argv, "flowcomputer-sim", Help); status >= 0)
        return status;
    FlowComputerSimOptions options;
    bool serve = false;
    std::string port;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--reply" && hasValue) {
            const std::string v = argv[++i];
            options.reply = v == "none" ? -1 : std::atoi(v.c_str());
        } else if (arg == "--confirm" && hasValue) {
            const std::string v = argv[++i];
            if (v == "4")
                options.confirm = FlowComputerSimOptions::confirm4;
            else if (v == "3")
                options.confirm = FlowComputerSimOptions::confirm3;
            else if (v == "stray")
                options.confirm = FlowComputerSimOptions::strayThen4;
            else if (v == "none")
                options.confirm = FlowComputerSimOptions::noConfirm;
            else
                return Usage();
        } else if (arg == "--station" && hasValue) {
            CStation station;
            StationLoadOptions load;
            load.writeBackOldVersion = false;
            StationLoadReport report;
            // A station read as defaults would make every real message look wrong.
            if (!station.Load(argv[++i], load, &report) || !report.LoadedCleanly() ||
                !CFlowComputerMessage::Build(station, options.expected)) {
                std::cerr << "flowcomputer-sim: cannot read the station " << argv[i]
                          << (report.Problem().empty() ? "" : ": " + report.Problem()) << "\n";
                return 1;
            }
        } else if (arg == "--serve") {
            serve = true;
        } else if (arg == "--port" && hasValue) {
            port = argv[++i];
        } else {
            return Usage();
        }
    }

    std::unique_ptr<IUnitLine> line;
    std::string device;
    std::string error;
    if (port.empty()) {
        line = OpenPseudoTerminalLine(device, error);
    } else {
        device = ResolvePortName(port, nullptr);
        auto stream = OpenSerialDevice(device, &error);
        if (stream && !stream->Configure(UNIT_BAUD))
            error = "cannot configure the port";
        else if (stream)
            line = std::make_unique<CPortLine>(std::move(stream));
        error = device + ": " + error;
    }
    if (!line) {
        std::cerr << "flowcomputer-sim: " << error << std::endl;
        return 1;
    }
    std::cout << device << std::endl;

    CFlowComputerSim unit(options);
    auto lastByte = std::chrono::steady_clock::now();
    for (;;) {
        unsigned char buffer[256];
        const int n = line->Read(buffer, sizeof buffer, 50);
        const auto now = std::chrono::steady_clock::now();
        const auto quietMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastByte).count();
        if (n > 0) {
            lastByte = now;
            for (int k = 0; k < n; ++k)
                line->Write(unit.OnByte(buffer[k]));
            continue;
        }
        if (n < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20)); // nobody has the device open
        if (unit.HasDeferred() && quietMs >= DEFER_MS)
            line->Write(unit.TakeDeferred());
        const bool finished = unit.WokenUp() && !unit.HasDeferred() &&
                              (unit.MessageComplete() || (options.reply != 6 && options.reply != 7));
        if (finished && quietMs >= QUIET_MS) {
            Report(unit);
            if (!serve)
                break;
            unit = CFlowComputerSim(options);
        }
    }
    return 0;
}
