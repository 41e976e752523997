#include "link/Clock.h"

#include <chrono>
#include <thread>

int64_t CSystemClock::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CDateTime CSystemClock::LocalNow()
{
    return CDateTime::Now();
}

void CSystemClock::SleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

CSystemClock& CSystemClock::Instance()
{
    static CSystemClock clock;
    return clock;
}

CDateTime CVirtualClock::LocalNow()
{
    return CDateTime(m_start.m_dt + static_cast<double>(m_nowMs) / 86400000.0);
}
