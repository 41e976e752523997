#include "present/BackgroundWorker.h"

CBackgroundWorker::CContext::CContext(CBackgroundWorker& worker, std::stop_token stop,
                                      std::shared_ptr<bool> alive)
    : m_worker(worker), m_stop(std::move(stop)), m_pAlive(std::move(alive))
{
}

void CBackgroundWorker::CContext::Post(std::function<void()> notification)
{
    m_worker.Deliver(m_pAlive, std::move(notification));
}

void CBackgroundWorker::CContext::Progress(long long done, long long total)
{
    CBackgroundWorker* worker = &m_worker;
    m_worker.Deliver(m_pAlive, [worker, done, total] {
        if (worker->m_onProgress)
            worker->m_onProgress(done, total);
    });
}

CBackgroundWorker::CBackgroundWorker(IDispatcher& dispatcher)
    : m_dispatcher(dispatcher), m_pAlive(std::make_shared<bool>(true))
{
}

CBackgroundWorker::~CBackgroundWorker()
{
    *m_pAlive = false;
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundWorker::Deliver(const std::shared_ptr<bool>& alive, std::function<void()> notification)
{
    // The flag is read where it is written: on the owner's thread, when the notification runs.
    m_dispatcher.Post([alive, notification = std::move(notification)] {
        if (*alive)
            notification();
    });
}

bool CBackgroundWorker::Start(Job job, std::function<void()> onFinished)
{
    if (m_bBusy)
        return false;
    // The last job posted its end as its last act: its thread is over or about to be.
    if (m_thread.joinable())
        m_thread.join();
    m_bBusy = true;
    m_thread = std::jthread([this, alive = m_pAlive, job = std::move(job),
                             onFinished = std::move(onFinished)](std::stop_token stop) {
        CContext context(*this, std::move(stop), alive);
        job(context);
        context.Post([this, onFinished] {
            m_bBusy = false;
            if (onFinished)
                onFinished();
        });
    });
    return true;
}

void CBackgroundWorker::Cancel()
{
    m_thread.request_stop();
}
