#pragma once
// A line for the batch receiver that plays a fixed script of incoming bytes and records what
// the receiver writes. When the script runs out the line is silent (every read times out).
#include "link/YmodemLine.h"
#include "link/YmodemPacket.h"

#include <atomic>
#include <functional>
#include <string>

class CScriptedYmodemLine : public IYmodemLine
{
  public:
    explicit CScriptedYmodemLine(std::string incoming = {}) : m_in(std::move(incoming)) {}

    bool ReadByte(uint8_t& byte) override
    {
        if (m_pos >= m_in.size())
            return false;
        if (m_onRead)
            m_onRead(m_pos);
        byte = static_cast<uint8_t>(m_in[m_pos++]);
        return true;
    }
    bool Write(const std::string& bytes) override
    {
        m_out += bytes;
        return true;
    }
    bool SetTimeouts(int milliseconds) override
    {
        m_timeout = milliseconds;
        return true;
    }

    std::string m_in;
    size_t m_pos = 0;
    std::string m_out;
    int m_timeout = 0;
    std::function<void(size_t)> m_onRead; // sees the offset of each byte before it is read
};

// Blocks as a sender puts them on the line.
inline std::string DataBlock(uint8_t number, char fill, size_t size = 1024)
{
    return CYmodemPacket::Frame(number, std::string(size, fill), size);
}

inline std::string BadCrc(std::string frame)
{
    frame.back() = static_cast<char>(frame.back() ^ 0x55);
    return frame;
}

inline std::string ClosingBlock()
{
    return CYmodemPacket::Frame(0, {}, 128, 0);
}

inline std::string Eot()
{
    return std::string(1, static_cast<char>(ymodem::EOT));
}

// The receiver's answers, spelled out: "C", ACK, NAK.
inline std::string Replies(const std::string& codes)
{
    std::string out;
    for (char c : codes)
        out.push_back(c == 'C'   ? 'C'
                      : c == 'A' ? static_cast<char>(ymodem::ACK)
                                 : static_cast<char>(ymodem::NAK));
    return out;
}
