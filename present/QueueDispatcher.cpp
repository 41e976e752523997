#include "present/QueueDispatcher.h"

#include <chrono>

void CQueueDispatcher::Post(std::function<void()> notification)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(notification));
    }
    m_cv.notify_all();
}

bool CQueueDispatcher::RunOne()
{
    std::function<void()> next;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty())
            return false;
        next = std::move(m_queue.front());
        m_queue.pop_front();
    }
    // Run without the lock: a notification may post again, or wait for the poster.
    next();
    return true;
}

int CQueueDispatcher::RunUntilIdle()
{
    int count = 0;
    while (RunOne())
        ++count;
    return count;
}

bool CQueueDispatcher::WaitAndRun(int timeoutMs)
{
    {
        std::unique_lock lock(m_mutex);
        if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_queue.empty(); }))
            return false;
    }
    RunUntilIdle();
    return true;
}
