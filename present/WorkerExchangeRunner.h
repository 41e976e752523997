#pragma once
// Runs each exchange on a background worker while the owner's thread waits in a loop of
// its own: the window's event loop (paint, timers, the wait cursor) or, in the tests, the
// dispatcher's queue. Exchanges run one at a time; a second Run while one is in flight is
// refused, since two exchanges on one line would mix their bytes.
#include "present/BackgroundWorker.h"
#include "present/ExchangeRunner.h"

#include <functional>

class CWorkerExchangeRunner : public IExchangeRunner
{
  public:
    // Turns the owner's thread (its events, its notifications) until done() holds.
    using Wait = std::function<void(const std::function<bool()>& done)>;
    // Called with true before an exchange starts and with false once it is over.
    using Busy = std::function<void(bool busy)>;

    CWorkerExchangeRunner(IDispatcher& dispatcher, Wait wait, Busy busy = {});

    bool Run(const std::function<bool()>& exchange) override;
    bool IsRunning() const override { return m_bRunning; }
    // How many exchanges ran on the worker; a window's tests check that they did.
    int Count() const { return m_nCount; }

  private:
    CBackgroundWorker m_worker;
    Wait m_wait;
    Busy m_busy;
    bool m_bRunning = false;
    int m_nCount = 0;
};
