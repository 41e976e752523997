#pragma once
// When an unattended run (--grab) may take its picture: once the start-up windows are open
// and every window that had work to finish (a connection, a file to read) has said it is
// done. Such a window holds the gate when the work starts and releases it at the end, well
// or badly; a failure is kept and ends the run with a non-zero status after the picture.
#include <functional>
#include <string>

class CGrabGate
{
  public:
    void Hold() { ++m_nHolds; }
    void Release();
    // The first failure is the one reported; later ones usually follow from it.
    void Fail(const std::string& why);

    // The start-up windows are open: `ready` runs once, now or at the last release.
    void Open(std::function<void()> ready);

    int Holds() const { return m_nHolds; }
    bool Failed() const { return !m_strFailure.empty(); }
    const std::string& Failure() const { return m_strFailure; }

  private:
    void Check();

    int m_nHolds = 0;
    bool m_bFired = false;
    std::function<void()> m_fnReady;
    std::string m_strFailure;
};
