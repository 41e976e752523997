#pragma once
// One byte stream to an instrument: a tty, a pseudo-terminal or an in-process line to a
// simulator. The serial port and everything above it talk only to this interface, so the
// same session code runs over any of them.
#include <cstddef>

class ISerialStream
{
  public:
    virtual ~ISerialStream() = default;

    // Raw 8 data bits, no parity, 1 stop bit at the given baud rate.
    virtual bool Configure(int baud) = 0;

    // Waits at most timeoutMs for one byte; false on time-out, hang-up or error.
    virtual bool ReadByte(unsigned char& byte, int timeoutMs) = 0;

    // How many received bytes are waiting right now (never waits); -1 on error.
    virtual int Available() = 0;

    // Writes up to size bytes, waiting at most timeoutMs for the line to take them, and
    // reports in written how many went; false on error.
    virtual bool Write(const unsigned char* data, size_t size, int timeoutMs, size_t& written) = 0;

    // Starts or ends the break condition; the caller times how long it lasts.
    virtual bool SetBreak(bool on) = 0;

    // Discards whatever waits in either direction.
    virtual void Purge() = 0;

    // Whether the far end has sent a break since the last call. Only an instrument's end of
    // the line asks (a simulator serving on a real port); false where the backend cannot
    // tell.
    virtual bool BreakReceived() { return false; }
};
