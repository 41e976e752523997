#pragma once
// The little the batch receiver needs of a serial line, so that the block logic can be fed
// from a scripted byte source in tests and from the serial port in the program alike.
#include <cstdint>
#include <string>

class IYmodemLine
{
  public:
    virtual ~IYmodemLine() = default;

    // Waits at most the current time-out for one byte; false on silence or a broken line.
    virtual bool ReadByte(uint8_t& byte) = 0;
    // Takes a byte only if one has already arrived; never waits. A line that cannot tell
    // says nothing is waiting.
    virtual bool ReadByteIfAvailable(uint8_t& /*byte*/) { return false; }
    // Writes all bytes or fails.
    virtual bool Write(const std::string& bytes) = 0;
    // The longest silence allowed before any single byte from now on.
    virtual bool SetTimeouts(int milliseconds) = 0;
};
