#pragma once
// A serial port opened the Windows way (\\.\COMn). Only built for Windows.
#include "platform/SerialStream.h"

#include <memory>
#include <string>

class CComStream : public ISerialStream
{
  public:
    // Opens the port; nullptr when it does not exist, cannot be opened or is already held by
    // another program (a port is never shared on Windows). reason (when given) then holds
    // why: the system's words, "in use by another program", or "not a serial device".
    static std::unique_ptr<CComStream> Open(const std::string& path, std::string* reason = nullptr);
    ~CComStream() override;
    CComStream(const CComStream&) = delete;
    CComStream& operator=(const CComStream&) = delete;

    bool Configure(int baud) override;
    bool ReadByte(unsigned char& byte, int timeoutMs) override;
    int Available() override;
    bool Write(const unsigned char* data, size_t size, int timeoutMs, size_t& written) override;
    bool SetBreak(bool on) override;
    void Purge() override;
    bool BreakReceived() override;

  private:
    CComStream(void* handle, void* marker) : m_handle(handle), m_marker(marker) {}
    // Sets the driver's time-outs only when they change: each read and write names its own.
    bool SetTimeouts(unsigned long readInterval, unsigned long readMultiplier, unsigned long readConstant,
                     unsigned long writeMultiplier, unsigned long writeConstant);
    // The driver's count of waiting bytes; -1 on error. Remembers a break it reports.
    int QueuedInput();

    void* m_handle; // HANDLE, kept out of this header so that <windows.h> stays in one file
    void* m_marker; // the named object that marks the port as held
    int m_nBaud = 9600;
    bool m_bBreakSeen = false;
    bool m_bTimeoutsKnown = false;
    unsigned long m_timeouts[5] = {};

    // What one read took from the driver beyond the byte asked for: bytes already received
    // are handed out at once, and the per-byte time-out applies only when none is waiting.
    unsigned char m_rxBuffer[4096];
    size_t m_rxPos = 0;
    size_t m_rxLen = 0;
};
