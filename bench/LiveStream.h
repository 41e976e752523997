#pragma once
// The live benchmarks' port: a deployed unit's ensembles handed out from memory, as a driver's
// input queue would.
#include "link/SerialPort.h"
#include "sim/VelunitEnsembles.h"

#include <vector>

namespace benchlive
{

class CMemoryStream : public ISerialStream
{
  public:
    bool Configure(int) override { return true; }
    bool ReadByte(unsigned char& byte, int) override
    {
        if (m_nPos >= m_bytes.size())
            return false;
        byte = m_bytes[m_nPos++];
        return true;
    }
    int Available() override { return static_cast<int>(m_bytes.size() - m_nPos); }
    bool Write(const unsigned char*, size_t size, int, size_t& written) override
    {
        written = size;
        return true;
    }
    bool SetBreak(bool) override { return true; }
    void Purge() override {}

    void Put(const unsigned char* data, size_t size)
    {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<long>(m_nPos));
        m_nPos = 0;
        m_bytes.insert(m_bytes.end(), data, data + size);
    }

  private:
    std::vector<unsigned char> m_bytes;
    size_t m_nPos = 0;
};

// The deployed unit's ensembles (PD14, 25 bins), numbered on, as one long stream.
inline std::vector<unsigned char> Stream(int count)
{
    std::vector<unsigned char> all;
    for (int i = 1; i <= count; ++i) {
        SVelunitEnsembleParams p;
        p.m_nNumber = i;
        p.m_dtTime = CDateTime::FromParts(2026, 12, 9, 0, 0, 0).m_dt + i * 30.0 / 86400.0;
        const auto e = MakeVelunitEnsemble(p);
        all.insert(all.end(), e.begin(), e.end());
    }
    return all;
}

} // namespace benchlive
