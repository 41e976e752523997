#include "link/SimLine.h"

#include <chrono>

class CSimLine::CHostEnd : public ISerialStream
{
  public:
    explicit CHostEnd(CSimLine& line) : m_line(line) {}

    bool Configure(int baud) override
    {
        if (baud <= 0)
            return false;
        std::lock_guard lock(m_line.m_mutex);
        m_line.m_nHostBaud = baud;
        m_line.m_toDevice.push_back({SLineItem::baud, baud});
        m_line.m_cv.notify_all();
        return true;
    }

    bool ReadByte(unsigned char& byte, int timeoutMs) override
    {
        if (m_line.m_pump) {
            if (TakeNow(byte))
                return true;
            m_line.m_pump(timeoutMs);
            return TakeNow(byte);
        }
        std::unique_lock lock(m_line.m_mutex);
        m_line.m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                             [&] { return !m_line.m_toHost.empty() || m_line.m_bShutdown; });
        if (m_line.m_toHost.empty())
            return false;
        byte = m_line.m_toHost.front();
        m_line.m_toHost.pop_front();
        return true;
    }

    int Available() override
    {
        if (m_line.m_pump)
            m_line.m_pump(0);
        std::lock_guard lock(m_line.m_mutex);
        // A line shut down is a pulled cable once what it carried has been read.
        if (m_line.m_bShutdown && m_line.m_toHost.empty())
            return -1;
        return static_cast<int>(m_line.m_toHost.size());
    }

    bool Write(const unsigned char* data, size_t size, int, size_t& written) override
    {
        {
            std::lock_guard lock(m_line.m_mutex);
            if (m_line.m_monitor)
                m_line.m_monitor(true, data, size);
            for (size_t i = 0; i < size; ++i)
                m_line.m_toDevice.push_back({SLineItem::byte, m_line.Carry(data[i])});
            written = size;
            m_line.m_cv.notify_all();
        }
        Deliver();
        return true;
    }

    bool SetBreak(bool on) override
    {
        {
            std::lock_guard lock(m_line.m_mutex);
            m_line.m_toDevice.push_back({on ? SLineItem::breakOn : SLineItem::breakOff, 0});
            m_line.m_cv.notify_all();
        }
        Deliver();
        return true;
    }

    void Purge() override
    {
        std::lock_guard lock(m_line.m_mutex);
        m_line.m_toHost.clear();
        // Bytes not yet taken by the instrument are dropped too; line events stay, they
        // have already happened on the wire.
        std::deque<SLineItem> kept;
        for (const auto& item : m_line.m_toDevice)
            if (item.m_kind != SLineItem::byte)
                kept.push_back(item);
        kept.push_back({SLineItem::purge, 0});
        m_line.m_toDevice.swap(kept);
        m_line.m_cv.notify_all();
    }

  private:
    // On a real line the instrument has what was sent at once; a pumped one is told.
    void Deliver()
    {
        if (m_line.m_pump)
            m_line.m_pump(0);
    }

    bool TakeNow(unsigned char& byte)
    {
        std::lock_guard lock(m_line.m_mutex);
        if (m_line.m_toHost.empty())
            return false;
        byte = m_line.m_toHost.front();
        m_line.m_toHost.pop_front();
        return true;
    }

    CSimLine& m_line;
};

CSimLine::CSimLine() = default;

CSimLine::~CSimLine()
{
    Shutdown();
}

std::unique_ptr<ISerialStream> CSimLine::TakeHostEnd()
{
    return std::make_unique<CHostEnd>(*this);
}

unsigned char CSimLine::Carry(unsigned char byte) const
{
    // A receiver sampling at the wrong rate sees a different bit pattern; any fixed
    // scrambling serves, what matters is that the byte is not what was sent.
    return m_nHostBaud == m_nDeviceBaud ? byte : static_cast<unsigned char>((byte ^ 0xA5) | 0x80);
}

bool CSimLine::DeviceRead(SLineItem& item, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                  [&] { return !m_toDevice.empty() || m_bShutdown; });
    if (m_toDevice.empty())
        return false;
    item = m_toDevice.front();
    m_toDevice.pop_front();
    return true;
}

bool CSimLine::DevicePoll(SLineItem& item)
{
    return DeviceRead(item, 0);
}

void CSimLine::DeviceWrite(const unsigned char* data, size_t size)
{
    std::lock_guard lock(m_mutex);
    if (m_monitor)
        m_monitor(false, data, size);
    for (size_t i = 0; i < size; ++i)
        m_toHost.push_back(Carry(data[i]));
    m_cv.notify_all();
}

void CSimLine::DeviceSetBaud(int baud)
{
    std::lock_guard lock(m_mutex);
    m_nDeviceBaud = baud;
}

int CSimLine::HostBaud() const
{
    std::lock_guard lock(m_mutex);
    return m_nHostBaud;
}

int CSimLine::DeviceBaud() const
{
    std::lock_guard lock(m_mutex);
    return m_nDeviceBaud;
}

void CSimLine::Shutdown()
{
    std::lock_guard lock(m_mutex);
    m_bShutdown = true;
    m_cv.notify_all();
}
