#pragma once
// Programs the Flow Computer with a station's settings over a serial port at 19200 baud:
//
//   > 9F 9F                       wake bytes
//   < 06 | 07 | other             6: old firmware, 7: current; anything else: send nothing
//   > FD 00 ... (251 bytes)       the settings message, each byte followed by 40 ms
//   < [stray bytes] 04 | 03       4 confirms; stray bytes go to a "Debug:" message
//
// Runs on the caller's thread and blocks it for the whole transfer (ten seconds and more);
// the pause after each byte is taken on the port's clock, so tests run on a virtual one.
#include "flowcomputer/FlowComputerReporter.h"

#include <string>
#include <vector>

class CSerialPort;
class CStation;

class CFlowComputerProgrammer
{
  public:
    static constexpr int BAUD = 19200;
    static constexpr int BYTE_PAUSE_MS = 40;
    static constexpr unsigned char WAKE_BYTE = 0x9F;

    enum EResult { PortError, MessageError, NoContact, Confirmed, NotConfirmed };

    CFlowComputerProgrammer(const CStation& station, IFlowComputerReporter& reporter);
    virtual ~CFlowComputerProgrammer() = default;

    // The whole transfer on a port that is not yet open; portName is what the port opens
    // ("COM 3", a device path) and what the open error names.
    EResult Program(CSerialPort& port, const std::string& portName);

    // From the wake bytes on, on a port already open at 19200 baud; closes it at the end.
    EResult ProgramOpenPort(CSerialPort& port);

    bool OldFirmware() const { return m_bOldFirmware; }
    const std::string& DebugText() const { return m_strDebug; }

  private:
    bool Send(CSerialPort& port, const unsigned char* bytes, size_t count);
    bool SendMessage(CSerialPort& port, const std::vector<unsigned char>& message);
    unsigned char ReadReply(CSerialPort& port);
    unsigned char ReadConfirmation(CSerialPort& port);

    const CStation& m_station;
    IFlowComputerReporter& m_reporter;
    bool m_bOldFirmware = false;
    std::string m_strDebug;
};
