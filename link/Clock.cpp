#include "link/Clock.h"

#include "platform/LocalTime.h"

#include <chrono>
#include <ctime>
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

CDateTime CSystemClock::PreciseLocalNow()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now - system_clock::from_time_t(seconds)).count();
    std::tm local{};
    if (!LocalTimeOf(seconds, local))
        return CDateTime(0.0, CDateTime::invalid);
    const CDateTime whole = CDateTime::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                                 local.tm_hour, local.tm_min, local.tm_sec);
    return CDateTime(whole.m_dt + static_cast<double>(ms) / 86400000.0, whole.m_status);
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
