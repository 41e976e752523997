#include "sim/VelunitStreamServer.h"

#include <algorithm>
#include <vector>

namespace
{
// How long one write may wait for the port to take the bytes.
constexpr int WRITE_TIMEOUT_MS = 2000;
} // namespace

CVelunitStreamServer::CVelunitStreamServer(IClock& clock, SVelunitConfig config,
                                           std::unique_ptr<ISerialStream> stream)
    : m_clock(clock), m_pStream(std::move(stream))
{
    m_pSim = std::make_unique<CVelunitSimulator>(clock, std::move(config),
                                                 [this](const std::string& bytes) { Write(bytes); });
}

bool CVelunitStreamServer::Start()
{
    return SyncBaud();
}

bool CVelunitStreamServer::SyncBaud()
{
    if (m_pSim->Baud() == m_nBaud)
        return true;
    if (!m_pStream->Configure(m_pSim->Baud()))
        return false;
    m_nBaud = m_pSim->Baud();
    return true;
}

void CVelunitStreamServer::Write(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t written = 0;
    // What the port does not take in time is lost, as on a line nobody listens to.
    if (!m_pStream->Write(data, bytes.size(), WRITE_TIMEOUT_MS, written))
        m_bFailed = true;
}

bool CVelunitStreamServer::RunOnce(int maxWaitMs)
{
    if (m_bBreakRequested.exchange(false))
        m_pSim->OnBreak();
    const int64_t due = m_pSim->NextDueMs();
    const int64_t wait = due == CVelunitSimulator::kNever
                             ? maxWaitMs
                             : std::clamp<int64_t>(due - m_clock.NowMs(), 0, maxWaitMs);
    std::vector<unsigned char> received;
    unsigned char byte = 0;
    if (m_pStream->ReadByte(byte, static_cast<int>(wait))) {
        received.push_back(byte);
        while (m_pStream->Available() > 0 && m_pStream->ReadByte(byte, 0))
            received.push_back(byte);
    }
    if (m_pStream->BreakReceived()) {
        m_pSim->OnBreak();
        // The break itself arrives as NUL bytes, which no command contains.
        received.erase(std::remove(received.begin(), received.end(), 0), received.end());
    }
    for (unsigned char b : received)
        m_pSim->OnByte(b);
    m_pSim->Service();
    if (!SyncBaud())
        m_bFailed = true;
    return !m_bFailed;
}
