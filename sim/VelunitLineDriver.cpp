#include "sim/VelunitLineDriver.h"

#include <algorithm>

CVelunitLineDriver::CVelunitLineDriver(CSimLine& line, CVirtualClock& clock, SVelunitConfig config)
    : m_line(line), m_clock(clock), m_pVirtual(&clock)
{
    m_pSim = std::make_unique<CVelunitSimulator>(clock, std::move(config), [this](const std::string& bytes) {
        ++m_nSent;
        m_line.DeviceWrite(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    });
    m_line.SetPump([this](int maxWaitMs) { Pump(maxWaitMs); });
}

CVelunitLineDriver::CVelunitLineDriver(CSimLine& line, IClock& clock, SVelunitConfig config, bool threaded)
    : m_line(line), m_clock(clock)
{
    m_pSim = std::make_unique<CVelunitSimulator>(clock, std::move(config), [this](const std::string& bytes) {
        ++m_nSent;
        m_line.DeviceWrite(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    });
    if (threaded)
        m_thread = std::thread([this] { Run(); });
}

CVelunitLineDriver::~CVelunitLineDriver()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_pVirtual)
        m_line.SetPump(nullptr);
}

void CVelunitLineDriver::SyncBaud()
{
    if (m_line.DeviceBaud() != m_pSim->Baud())
        m_line.DeviceSetBaud(m_pSim->Baud());
}

void CVelunitLineDriver::Feed()
{
    SLineItem item;
    while (m_line.DevicePoll(item))
        Take(item);
}

void CVelunitLineDriver::Take(const SLineItem& item)
{
    switch (item.m_kind) {
    case SLineItem::byte:
        m_pSim->OnByte(static_cast<unsigned char>(item.m_nValue));
        break;
    case SLineItem::breakOn:
        m_pSim->OnBreak();
        break;
    case SLineItem::breakOff:
    case SLineItem::baud:
    case SLineItem::purge:
        break; // the line itself mangles bytes at differing rates; a purge is local
    }
    SyncBaud();
}

void CVelunitLineDriver::Pump(int maxWaitMs)
{
    const long before = m_nSent;
    Feed();
    m_pSim->Service();
    SyncBaud();
    const int64_t deadline = m_clock.NowMs() + std::max(0, maxWaitMs);
    while (m_nSent == before) {
        int64_t next = m_pSim->NextDueMs();
        if (next > deadline) {
            m_pVirtual->Advance(deadline - m_clock.NowMs());
            return;
        }
        m_pVirtual->Advance(next - m_clock.NowMs());
        m_pSim->Service();
        SyncBaud();
        if (m_nSent == before && m_pSim->NextDueMs() <= m_clock.NowMs())
            return; // nothing came of it; never spin
    }
}

void CVelunitLineDriver::Run()
{
    while (!m_bStop) {
        int64_t wait = std::clamp<int64_t>(m_pSim->NextDueMs() - m_clock.NowMs(), 0, 20);
        SLineItem item;
        if (m_line.DeviceRead(item, static_cast<int>(wait)))
            Take(item);
        m_pSim->Service();
        SyncBaud();
    }
}
