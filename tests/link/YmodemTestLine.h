#pragma once
// A line for the batch receiver that plays a fixed script of incoming bytes and records what
// the receiver writes. The script comes in bursts, as a sender sends: each burst once the
// receiver has answered the one before (written anything after reading all of it). Between
// bursts and after the last one the line is silent (every read times out).
class CScriptedYmodemLine : public IYmodemLine
{
  public:
    explicit CScriptedYmodemLine(std::vector<std::string> bursts = {}) : m_bursts(std::move(bursts)) {}

    bool ReadByte(uint8_t& byte) override
    {
        if (m_burst >= m_bursts.size() || m_pos >= m_bursts[m_burst].size())
            return false;
        byte = static_cast<uint8_t>(m_bursts[m_burst][m_pos++]);
        return true;
    }
    // What is left of the burst has arrived already.
    bool ReadByteIfAvailable(uint8_t& byte) override { return ReadByte(byte); }
    bool Write(const std::string& bytes) override
    {
        m_out += bytes;
        if (m_burst < m_bursts.size() && m_pos >= m_bursts[m_burst].size()) {
            ++m_burst;
            m_pos = 0;
        }
        return true;
    }
    bool SetTimeouts(int milliseconds) override
    {
        m_timeout = milliseconds;
        return true;
    }

    std::vector<std::string> m_bursts;
    size_t m_burst = 0;
    size_t m_pos = 0;
    std::string m_out;
    int m_timeout = 0;
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
