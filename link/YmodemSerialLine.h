#pragma once
// The batch receiver's line over the program's serial port.
#include "link/SerialPort.h"
#include "link/YmodemLine.h"

class CYmodemSerialLine : public IYmodemLine
{
  public:
    explicit CYmodemSerialLine(CSerialPort& port) : m_port(port) {}

    bool ReadByte(uint8_t& byte) override { return m_port.ReadByte(byte); }
    bool ReadByteIfAvailable(uint8_t& byte) override { return m_port.ReadByteIfAvailable(byte); }
    bool Write(const std::string& bytes) override { return m_port.Write(bytes); }
    // Only remembered by the port (no system call), so it is cheap to change per block.
    bool SetTimeouts(int milliseconds) override { return m_port.SetTimeouts(milliseconds); }

  private:
    CSerialPort& m_port;
};
