#pragma once
// Puts a simulated Velunit on the instrument end of an in-process line.
//
// Pumped (tests): no thread. Whenever the program's end finds nothing to read, the driver
// lets the unit take what was sent and moves the virtual clock on to the unit's next
// output, at most as far as the reader would have waited. A session thus runs against the
// unit exactly as over a cable, in no real time.
//
// Threaded (programs): the unit runs on its own thread on the real clock.
#include "link/Clock.h"
#include "link/SimLine.h"
#include "sim/VelunitSimulator.h"

#include <atomic>
#include <memory>
#include <thread>

class CVelunitLineDriver
{
  public:
    // Pumped on the virtual clock; the line and the clock must outlive the driver.
    CVelunitLineDriver(CSimLine& line, CVirtualClock& clock, SVelunitConfig config);
    // Threaded on the given clock.
    CVelunitLineDriver(CSimLine& line, IClock& clock, SVelunitConfig config, bool threaded);
    ~CVelunitLineDriver();
    CVelunitLineDriver(const CVelunitLineDriver&) = delete;
    CVelunitLineDriver& operator=(const CVelunitLineDriver&) = delete;

    // Only safe to use between calls in pumped mode, or after the thread stopped.
    CVelunitSimulator& Simulator() { return *m_pSim; }

  private:
    void Feed();
    void Take(const SLineItem& item);
    void Pump(int maxWaitMs);
    void Run();
    void SyncBaud();

    CSimLine& m_line;
    IClock& m_clock;
    CVirtualClock* m_pVirtual = nullptr;
    std::unique_ptr<CVelunitSimulator> m_pSim;
    long m_nSent = 0;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
