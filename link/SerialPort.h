#pragma once
// The one channel between the program and an instrument: a port opened at a baud rate,
// 8-N-1, with byte-wise reads under a per-byte time-out, whole-text writes, a timed break
// and a purge. Every call blocks until the line answers or the time-out runs out; there
// is no thread here. Every operation on a port that is not open fails (Close and Flush
// just return).
#include "link/Clock.h"
#include "link/PortOpener.h"
#include "platform/SerialStream.h"

#include <memory>
#include <string>

class CSerialPort
{
  public:
    // Neither argument is owned; the defaults are the computer's clock and the settings
    // file with tty devices.
    explicit CSerialPort(IClock* clock = nullptr, IPortOpener* opener = nullptr);
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens "COM <port>" at the baud rate.
    bool Open(int port, int baud);
    // Opens a port by name: "COM n", a device path or a simulator the opener knows.
    bool Open(const std::string& name, int baud);
    // Takes an already open stream (one end of a simulated line) and configures it.
    bool Attach(std::unique_ptr<ISerialStream> stream, int baud);

    bool Configure(int baud);
    bool SetTimeouts(int timeoutMs);
    void Close();
    bool IsOpen() const { return m_pStream != nullptr; }

    bool SendBreak(int durationMs);
    bool Write(const std::string& text);
    bool WriteByte(unsigned char byte);
    bool ReadByte(unsigned char& byte);
    bool ReadByteIfAvailable(unsigned char& byte);
    // Appends bytes to text until the terminator (appended too) arrives; each byte must
    // come within timeoutMs of the one before. On a time-out it fails, keeping what came.
    bool ReadUntil(std::string& text, int timeoutMs, unsigned char terminator);
    void Flush();

    int Timeout() const { return m_nTimeoutMs; }
    IClock& Clock() const { return *m_pClock; }

  private:
    static constexpr int kDefaultTimeoutMs = 5000;

    IClock* m_pClock;
    IPortOpener* m_pOpener;
    std::unique_ptr<ISerialStream> m_pStream;
    int m_nTimeoutMs = kDefaultTimeoutMs;
};
