#include "present/GrabGate.h"

void CGrabGate::Release()
{
    // A release without its hold would open the gate before someone else's work is done.
    if (m_nHolds > 0)
        --m_nHolds;
    Check();
}

void CGrabGate::Fail(const std::string& why)
{
    if (m_strFailure.empty())
        m_strFailure = why.empty() ? std::string("failed") : why;
}

void CGrabGate::Open(std::function<void()> ready)
{
    m_fnReady = std::move(ready);
    Check();
}

void CGrabGate::Check()
{
    if (m_bFired || !m_fnReady || m_nHolds > 0)
        return;
    m_bFired = true;
    // Taken out first: the callback may end the program's event loop or hold again.
    std::function<void()> ready = std::move(m_fnReady);
    m_fnReady = nullptr;
    ready();
}
