#pragma once
// A simulated Velunit behind a pseudo-terminal, for programs that open a real device path
// (tidewell-tool, the desktop application, the download).
//
// A break cannot cross a pseudo-terminal on Linux, so the unit wakes when the program
// flushes its side of the line instead: the wake-up always purges the port right before
// its break, and the master side sees that purge in packet mode (TIOCPKT). A flush thus
// counts as a break in every state, deployed included. SendBreak() offers the same from
// outside (velunit-sim does it on SIGUSR1).
//
// A real line does not wake a deployed unit when the program flushes, and a program that
// listens to one flushes first: SetFlushWakesDeployed(false) keeps the unit deployed through
// flushes, so that such a program can be tried against it. Only SendBreak then ends the
// deployment.
#include "link/Clock.h"
#include "sim/VelunitSimulator.h"

#include <atomic>
#include <memory>
#include <string>

class CVelunitPtyServer
{
  public:
    CVelunitPtyServer(IClock& clock, SVelunitConfig config);
    ~CVelunitPtyServer();
    CVelunitPtyServer(const CVelunitPtyServer&) = delete;
    CVelunitPtyServer& operator=(const CVelunitPtyServer&) = delete;

    // Creates the pseudo-terminal; false (with the reason) when the system refuses.
    bool Open(std::string& error);
    // The device path the program opens ("/dev/pts/N").
    const std::string& SlavePath() const { return m_strSlavePath; }

    // Handles what arrives within maxWaitMs and whatever falls due; false once the line is
    // gone for good.
    bool RunOnce(int maxWaitMs);
    // Runs until stop is set.
    void Run(const std::atomic<bool>& stop);
    void SendBreak() { m_bBreakRequested = true; }
    // Whether a flush ends a deployment as it ends every other state (the default).
    void SetFlushWakesDeployed(bool wakes) { m_bFlushWakesDeployed = wakes; }

    CVelunitSimulator& Simulator() { return *m_pSim; }
    long Flushes() const { return m_nFlushes; }

  private:
    void Write(const std::string& bytes);

    IClock& m_clock;
    std::unique_ptr<CVelunitSimulator> m_pSim;
    int m_master = -1;
    int m_slave = -1; // held open so the line survives the program closing and reopening it
    std::string m_strSlavePath;
    long m_nFlushes = 0;
    bool m_bFlushWakesDeployed = true;
    std::atomic<bool> m_bBreakRequested{false};
};
