#pragma once
// A queue dispatcher whose Post waits until the owning thread has run the notification, so
// that a worker never runs ahead of what the operator has seen: a test can act on a given
// notification (press "Abort" at block 2) as if it came at that very moment. It also keeps
// the thread every notification ran on.
#include "present/QueueDispatcher.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class CLockstepDispatcher : public CQueueDispatcher
{
  public:
    void Post(std::function<void()> notification) override
    {
        if (std::this_thread::get_id() == m_owner) {
            CQueueDispatcher::Post(std::move(notification)); // posted by a notification
            return;
        }
        long ticket = 0;
        {
            std::lock_guard lock(m_mutex);
            ticket = ++m_nPosted;
        }
        CQueueDispatcher::Post([this, ticket, notification = std::move(notification)] {
            notification();
            std::lock_guard lock(m_mutex);
            m_threads.push_back(std::this_thread::get_id());
            m_nRan = ticket;
            m_cv.notify_all();
        });
        // Bounded, so that a test gone wrong fails instead of hanging.
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, std::chrono::seconds(20), [&] { return m_nRan >= ticket; });
    }

    std::vector<std::thread::id> Threads() const
    {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }
    std::thread::id Owner() const { return m_owner; }

  private:
    const std::thread::id m_owner = std::this_thread::get_id();
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    long m_nPosted = 0;
    long m_nRan = 0;
    std::vector<std::thread::id> m_threads;
};
