#pragma once
// Runs one long job at a time off the owner's thread (a download, later the programming of
// a Flow Computer or a long export) while the window stays alive.
//
// The job shares two things with the rest of the program: the cancel flag, and the
// notifications it posts. Those run on the owner's thread through the dispatcher, in the
// order they were posted; only they may touch the presenter. Once the worker is destroyed,
// notifications still waiting in the dispatcher do nothing.
#include "present/Dispatcher.h"

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

class CBackgroundWorker
{
  public:
    // What the job sees of its worker; used on the job's thread only.
    class CContext
    {
      public:
        bool IsCancelled() const { return m_stop.stop_requested(); }
        // For a std::stop_callback that passes the cancel on to a flag the job's code polls.
        std::stop_token StopToken() const { return m_stop; }
        void Post(std::function<void()> notification);
        // A notification for the progress handler: done of total units.
        void Progress(long long done, long long total);

      private:
        friend class CBackgroundWorker;
        CContext(CBackgroundWorker& worker, std::stop_token stop, std::shared_ptr<bool> alive);

        CBackgroundWorker& m_worker;
        std::stop_token m_stop;
        std::shared_ptr<bool> m_pAlive;
    };
    using Job = std::function<void(CContext&)>;
    using ProgressHandler = std::function<void(long long done, long long total)>;

    explicit CBackgroundWorker(IDispatcher& dispatcher);
    // Cancels the job and waits for its thread.
    ~CBackgroundWorker();
    CBackgroundWorker(const CBackgroundWorker&) = delete;
    CBackgroundWorker& operator=(const CBackgroundWorker&) = delete;

    // The rest run on the owner's thread.
    void SetProgressHandler(ProgressHandler handler) { m_onProgress = std::move(handler); }
    // Starts the job; onFinished is its last notification. False while the previous job's
    // last notification has not run yet.
    bool Start(Job job, std::function<void()> onFinished = {});
    void Cancel();
    // From Start until the finishing notification has run.
    bool IsBusy() const { return m_bBusy; }

  private:
    void Deliver(const std::shared_ptr<bool>& alive, std::function<void()> notification);

    IDispatcher& m_dispatcher;
    ProgressHandler m_onProgress;
    std::shared_ptr<bool> m_pAlive; // read and written on the owner's thread only
    bool m_bBusy = false;
    std::jthread m_thread;
};
