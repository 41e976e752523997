#pragma once
// A simulated Velunit on an existing serial port (on Windows, where there are no
// pseudo-terminals, a COM port wired to the program's port by a null-modem cable or a
// port-pair driver). The unit wakes on a real break, which a receiving port reports; the
// bytes a break leaves behind (a NUL with a framing error) are not taken for keys. The port
// follows the unit's baud rate.
#include "link/Clock.h"
#include "platform/SerialStream.h"
#include "sim/VelunitSimulator.h"

#include <atomic>
#include <memory>
#include <string>

class CVelunitStreamServer
{
  public:
    CVelunitStreamServer(IClock& clock, SVelunitConfig config, std::unique_ptr<ISerialStream> stream);
    CVelunitStreamServer(const CVelunitStreamServer&) = delete;
    CVelunitStreamServer& operator=(const CVelunitStreamServer&) = delete;

    // Sets the port to the unit's baud rate; false when the port refuses.
    bool Start();
    // Handles what arrives within maxWaitMs and whatever falls due; false once the port
    // fails.
    bool RunOnce(int maxWaitMs);
    // Wakes the unit as a break would, at the next RunOnce (for a break that cannot reach
    // the port, as from a console).
    void SendBreak() { m_bBreakRequested = true; }

    CVelunitSimulator& Simulator() { return *m_pSim; }

  private:
    void Write(const std::string& bytes);
    bool SyncBaud();

    IClock& m_clock;
    std::unique_ptr<ISerialStream> m_pStream;
    std::unique_ptr<CVelunitSimulator> m_pSim;
    int m_nBaud = 0;
    bool m_bFailed = false;
    std::atomic<bool> m_bBreakRequested{false};
};
