#pragma once
// A serial device (or the slave side of a pseudo-terminal) opened the POSIX way.
#include "platform/SerialStream.h"

#include <memory>
#include <string>

class CTtyStream : public ISerialStream
{
  public:
    // Opens the device for exclusive use; nullptr when it does not exist, cannot be opened
    // or is already held by another program (or another port object of this one). reason
    // (when given) then holds why: the system's words, "in use by another program", or "not
    // a serial device".
    static std::unique_ptr<CTtyStream> Open(const std::string& path, std::string* reason = nullptr);
    ~CTtyStream() override;
    CTtyStream(const CTtyStream&) = delete;
    CTtyStream& operator=(const CTtyStream&) = delete;

    bool Configure(int baud) override;
    bool ReadByte(unsigned char& byte, int timeoutMs) override;
    int Available() override;
    bool Write(const unsigned char* data, size_t size, int timeoutMs, size_t& written) override;
    bool SetBreak(bool on) override;
    void Purge() override;
    bool BreakReceived() override;

    int Descriptor() const { return m_fd; }

  private:
    explicit CTtyStream(int fd) : m_fd(fd) {}
    int m_fd;
    int m_nBreaks = -1; // the driver's count of received breaks when last asked; -1 unknown

    // What one read took from the driver beyond the byte asked for. A byte-at-a-time
    // receiver (the batch download reads every byte with its own time-out) would otherwise
    // pay two system calls per byte; bytes already received are handed out at once, and
    // the per-byte time-out applies only when none is waiting.
    unsigned char m_rxBuffer[4096];
    size_t m_rxPos = 0;
    size_t m_rxLen = 0;
};
