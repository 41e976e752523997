#include "present/WorkerExchangeRunner.h"

CWorkerExchangeRunner::CWorkerExchangeRunner(IDispatcher& dispatcher, Wait wait, Busy busy)
    : m_worker(dispatcher), m_wait(std::move(wait)), m_busy(std::move(busy))
{
}

bool CWorkerExchangeRunner::Run(const std::function<bool()>& exchange)
{
    if (m_bRunning)
        return false;
    bool result = false;
    bool done = false;
    // The result is written on the worker and read here only after the finishing
    // notification, which the dispatcher hands over under its own lock.
    const bool started =
        m_worker.Start([&result, &exchange](CBackgroundWorker::CContext&) { result = exchange(); },
                       [&done] { done = true; });
    if (!started)
        return false;
    m_bRunning = true;
    ++m_nCount;
    if (m_busy)
        m_busy(true);
    m_wait([&done] { return done; });
    m_bRunning = false;
    if (m_busy)
        m_busy(false);
    return result;
}
