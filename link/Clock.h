#pragma once
// Time as the instrument link sees it: a monotonic count for time-outs and pacing, the
// local wall-clock time for logs and instrument clocks, and a sleep. Passed in so that
// tests run on a virtual clock and never wait in real time.
#include "data/DateTime.h"

#include <cstdint>

class IClock
{
  public:
    virtual ~IClock() = default;
    virtual int64_t NowMs() = 0;      // monotonic milliseconds
    virtual CDateTime LocalNow() = 0; // the computer's local date and time
    virtual void SleepMs(int ms) = 0;
    // The local time to the millisecond, for line traces; LocalNow may count whole seconds.
    virtual CDateTime PreciseLocalNow() { return LocalNow(); }
};

// The computer's own clocks.
class CSystemClock : public IClock
{
  public:
    int64_t NowMs() override;
    CDateTime LocalNow() override;
    void SleepMs(int ms) override;
    CDateTime PreciseLocalNow() override;

    // One shared instance for callers that have no clock of their own; it has no state.
    static CSystemClock& Instance();
};

// A clock that moves only when told to (or when someone sleeps on it).
class CVirtualClock : public IClock
{
  public:
    explicit CVirtualClock(CDateTime start = CDateTime(45000.5)) : m_start(start) {}
    int64_t NowMs() override { return m_nowMs; }
    CDateTime LocalNow() override;
    void SleepMs(int ms) override { Advance(ms); }
    void Advance(int64_t ms)
    {
        if (ms > 0)
            m_nowMs += ms;
    }

  private:
    CDateTime m_start;
    int64_t m_nowMs = 0;
};
