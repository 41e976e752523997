#include "flowcomputer/FlowComputerProgrammer.h"

#include "flowcomputer/FlowComputerMessage.h"
#include "link/PortOpener.h"
#include "link/SerialPort.h"
#include "station/Station.h"

#include <cstdio>

namespace
{

// A unit that never stops talking must not hold the program forever; a real one sends a
// handful of bytes at most.
constexpr int MAX_REPLY_BYTES = 4096;

constexpr const char* CONTACT_ERROR =
    "Error, could not contact Flow Computer, or Flow Computer firmware is outdated.  Please contact Corvane.";

// The fixed text, and the system's reason on a second line where it is known.
std::string OpenError(const std::string& portName, const std::string& reason)
{
    int number = 0;
    char text[256];
    if (ParseComPortName(portName, number))
        std::snprintf(text, sizeof text, "Error, could not open COM %d!  Please verify port is not in use.",
                      number);
    else
        std::snprintf(text, sizeof text, "Error, could not open %s!  Please verify port is not in use.",
                      portName.c_str());
    return reason.empty() ? std::string(text) : text + ("\n" + reason);
}

} // namespace

CFlowComputerProgrammer::CFlowComputerProgrammer(const CStation& station, IFlowComputerReporter& reporter)
    : m_station(station), m_reporter(reporter)
{
}

CFlowComputerProgrammer::EResult CFlowComputerProgrammer::Program(CSerialPort& port,
                                                                  const std::string& portName)
{
    m_reporter.SetProgress(0);
    m_reporter.ShowExit(false);
    if (!port.Open(portName, BAUD)) {
        m_reporter.ShowMessage(OpenError(portName, port.OpenError()));
        return PortError;
    }
    return ProgramOpenPort(port);
}

bool CFlowComputerProgrammer::Send(CSerialPort& port, const unsigned char* bytes, size_t count)
{
    // One byte at a time with a pause after each: the unit reads slowly.
    for (size_t i = 0; i < count; ++i) {
        if (!port.WriteByte(bytes[i]))
            return false;
        port.Clock().SleepMs(BYTE_PAUSE_MS);
    }
    return true;
}

unsigned char CFlowComputerProgrammer::ReadReply(CSerialPort& port)
{
    // The last byte before a 6 or a silence is the answer (a 7 is followed by that silence).
    unsigned char reply = 0;
    unsigned char byte = 0;
    for (int n = 0; n < MAX_REPLY_BYTES && port.ReadByte(byte); ++n) {
        reply = byte;
        if (byte == 6)
            break;
    }
    return reply;
}

unsigned char CFlowComputerProgrammer::ReadConfirmation(CSerialPort& port)
{
    unsigned char last = 3;
    unsigned char byte = 0;
    for (int n = 0; n < MAX_REPLY_BYTES && port.ReadByte(byte); ++n) {
        last = byte;
        if (byte == 3 || byte == 4)
            break;
        m_strDebug += std::to_string(byte) + "\r\n";
    }
    return last;
}

bool CFlowComputerProgrammer::SendMessage(CSerialPort& port, const std::vector<unsigned char>& m)
{
    using M = CFlowComputerMessage;
    const unsigned char* p = m.data();
    if (!Send(port, p, M::SYSTEM_OFFSET))
        return false;
    m_reporter.SetStatus("Sending system settings...");
    if (!Send(port, p + M::SYSTEM_OFFSET, M::VELOCITY_OFFSET - M::SYSTEM_OFFSET))
        return false;
    m_reporter.SetStatus("Sending velocity model settings...");
    m_reporter.SetProgress(25);
    if (!Send(port, p + M::VELOCITY_OFFSET, M::CHANNEL_OFFSET - M::VELOCITY_OFFSET))
        return false;
    m_reporter.SetStatus("Sending channel settings...");
    m_reporter.SetProgress(50);
    if (!Send(port, p + M::CHANNEL_OFFSET, 1))
        return false;
    m_reporter.SetProgress(55);
    if (!Send(port, p + M::ZADCP_OFFSET, M::PARAMETER_OFFSET - M::ZADCP_OFFSET))
        return false;
    for (int i = 0; i < M::PARAMETER_COUNT; ++i) {
        if (!Send(port, p + M::PARAMETER_OFFSET + 4 * i, 4))
            return false;
        if (i == 20)
            m_reporter.SetProgress(75);
    }
    m_reporter.SetProgress(95);
    return true;
}

CFlowComputerProgrammer::EResult CFlowComputerProgrammer::ProgramOpenPort(CSerialPort& port)
{
    m_bOldFirmware = false;
    m_strDebug.clear();
    m_reporter.ShowExit(false);

    // Built before anything goes out: a station the unit could not read gets nothing.
    std::vector<unsigned char> message;
    std::string why;
    if (!CFlowComputerMessage::Build(m_station, message, &why)) {
        port.Close();
        m_reporter.SetStatus("Error, the settings could not be prepared: " + why);
        m_reporter.ShowExit(true);
        return MessageError;
    }

    port.Flush();
    m_reporter.SetStatus("Initializing transfer...");
    const unsigned char wake[2] = {WAKE_BYTE, WAKE_BYTE};
    Send(port, wake, 2);
    const unsigned char reply = ReadReply(port);
    m_reporter.SetProgress(5);

    // Read as a signed byte: 0x80 and above count as "below 6".
    if (static_cast<signed char>(reply) < 6) {
        m_reporter.SetStatus(CONTACT_ERROR);
        port.Close();
        m_reporter.ShowExit(true);
        return NoContact;
    }
    if (reply == 6)
        m_bOldFirmware = true;
    if (reply == 6 || reply == 7)
        SendMessage(port, message); // a failed write shows as a missing confirmation

    const unsigned char last = ReadConfirmation(port);
    if (!m_strDebug.empty())
        m_reporter.ShowMessage("Debug:\r\n" + m_strDebug);
    port.Close();
    m_reporter.SetProgress(100);

    EResult result = NotConfirmed;
    if (last == 4) {
        std::string status = "Successfully sent settings to Flow Computer";
        if (m_bOldFirmware)
            status += "\r\nThe unit's firmware is out of date, please contact Corvane";
        m_reporter.SetStatus(status);
        result = Confirmed;
    } else {
        m_reporter.SetStatus("Operation failed!  No confirmation was received from Flow Computer");
        m_reporter.SetProgress(0);
    }
    m_reporter.ShowExit(true);
    return result;
}
