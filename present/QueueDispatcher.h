#pragma once
// A dispatcher for a thread without an event loop (the tool, the tests): notifications wait
// in a queue until the owning thread drains it.
#include "present/Dispatcher.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class CQueueDispatcher : public IDispatcher
{
  public:
    void Post(std::function<void()> notification) override;

    // Owning thread: runs what is queued, and what those post in turn, until the queue is
    // empty. Returns how many ran.
    int RunUntilIdle();
    // Owning thread: waits up to timeoutMs for a notification, then runs the queue empty.
    // False when nothing came.
    bool WaitAndRun(int timeoutMs);

  private:
    bool RunOne();

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_queue;
};
