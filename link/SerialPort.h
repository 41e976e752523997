#pragma once
// The one channel between the program and an instrument: a port opened at a baud rate,
// 8-N-1, with byte-wise reads under a per-byte time-out, whole-text writes, a timed break
// and a purge. Every call blocks until the line answers or the time-out runs out; there
// is no thread here. Every operation on a port that is not open fails (Close and Flush
// just return).
//
// Every byte in and out passes through here, so taps attached to the port (the session
// log, a line trace) see the whole line. Without a tap the cost is one test per call.
#include "link/Clock.h"
#include "link/PortOpener.h"
#include "link/SerialTap.h"
#include "platform/SerialStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // Why the last Open failed, in the system's words ("No such file or directory", "in use
    // by another program"); empty when it succeeded or the reason is unknown.
    const std::string& OpenError() const { return m_strOpenError; }
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
    // How many received bytes wait right now (never waits); -1 when the port is not open or
    // the line has failed: a device removed, a hang-up, the far end gone.
    int Available();
    // Appends bytes to text until the terminator (appended too) arrives; each byte must
    // come within timeoutMs of the one before. On a time-out it fails, keeping what came.
    bool ReadUntil(std::string& text, int timeoutMs, unsigned char terminator);
    void Flush();

    int Timeout() const { return m_nTimeoutMs; }
    IClock& Clock() const { return *m_pClock; }

    // Taps stay attached across Open and Close; the port does not own them, and a tap that
    // dies before the port must be removed first. Attaching one twice has no effect. Attach
    // and remove only while no other thread uses the port.
    void AddTap(ISerialTap* tap);
    void RemoveTap(ISerialTap* tap);
    // Received bytes are handed to the taps in chunks: at every write and line event, when
    // a read finds silence, and at the end of each ReadUntil. This hands over the rest now.
    void PassReceivedToTaps();

  private:
    static constexpr int kDefaultTimeoutMs = 5000;
    static constexpr size_t kMaxChunk = 4096;

    bool WriteBytes(const unsigned char* data, size_t size);
    void TapReceived(unsigned char byte);
    void TapEvent(ETapEvent event, int value);

    IClock* m_pClock;
    IPortOpener* m_pOpener;
    std::string m_strOpenError;
    std::unique_ptr<ISerialStream> m_pStream;
    int m_nTimeoutMs = kDefaultTimeoutMs;
    std::vector<ISerialTap*> m_taps;
    std::vector<uint8_t> m_received; // read but not yet handed to the taps
    CDateTime m_receivedAt;          // when its first byte was read
};
