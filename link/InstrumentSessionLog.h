#pragma once
// The station's session log: a plain text file that grows across visits, written from what
// crosses the line. It is a tap on the session's port, so a command that some part of the
// program writes to the port directly (the download's "MY") is logged as well as the
// session's own.
//
//   \r\n\r\n\r\n-------------New Session Started: 2026/12/08 10:00:00-------------\r\n\r\n
//   \r\n\r\n-----Wakeup (2026/12/08 10:00:00)-----\r\n\r\n
//   CB 711\r\n>                 a reply the session collected, as received (echo to prompt)
//   MY\r\n                      a command written to the port directly, by its echo
//   [Transfer: 5234 bytes received, 8 sent (6 ACK, 0 NAK, 2 C, 0 CAN), ended 2026/12/08 10:00:03]\r\n
//   CB 411\r\n>
//
// What the session reads for itself and does not log (the wake-up banner, a prompt it
// waits for, the orientation stream, a reply cut short by silence) it marks with Quiet and
// BeginReply/EndReply. A direct command's reply is logged up to its prompt; binary traffic
// after its echo is counted, not copied, and summed up in one line when the session next
// acts or the line is broken, purged or closed.
#include "link/Clock.h"
#include "link/SerialTap.h"

#include <cstdio>
#include <string>

class CInstrumentSessionLog : public ISerialTap
{
  public:
    explicit CInstrumentSessionLog(IClock& clock) : m_clock(clock) {}
    ~CInstrumentSessionLog() override;
    CInstrumentSessionLog(const CInstrumentSessionLog&) = delete;
    CInstrumentSessionLog& operator=(const CInstrumentSessionLog&) = delete;

    // Opened for appending, never truncated, and starts with the session banner. A log that
    // cannot be opened or written never stops the work: everything is then skipped.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_pFile != nullptr; }
    // Listens to the port from now on (one port at a time; nullptr stops listening).
    void Watch(CSerialPort* port);

    void Section(const std::string& label);
    void Text(const std::string& text);

    // The session's own exchanges. Bytes received between BeginReply and EndReply are the
    // reply, written when kept. After Quiet nothing is logged until BeginReply or Idle;
    // after Idle, lines written to the port by others are logged as commands.
    void BeginReply();
    void EndReply(bool keep);
    void Quiet();
    void Idle();

    void OnBytes(ETapDirection direction, const uint8_t* data, size_t size, const CDateTime& time) override;
    void OnEvent(ETapEvent event, int value, const CDateTime& time) override;
    void OnDetached(const CSerialPort& port) override;

  private:
    enum class EState { idle, quiet, reply, directReply, transfer };

    std::string Now() const;
    void Sync();
    void EndDirect();
    void StartTransfer();
    void Received(const uint8_t* data, size_t size);
    void Sent(const uint8_t* data, size_t size);

    IClock& m_clock;
    std::FILE* m_pFile = nullptr;
    CSerialPort* m_pPort = nullptr;
    EState m_eState = EState::idle;
    std::string m_strReply;
    long long m_nReceived = 0; // the transfer's counts
    long long m_nSent = 0;
    long long m_nAck = 0;
    long long m_nNak = 0;
    long long m_nStart = 0;
    long long m_nCancel = 0;
};
