// The background worker: notifications on the owner's thread in posting order, the cancel
// flag, one job at a time, and nothing delivered once the worker is gone.
#include "present/BackgroundWorker.h"
#include "present/QueueDispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{

// Drains the dispatcher until the worker has delivered its end (bounded in real time).
void RunUntilFinished(CBackgroundWorker& worker, CQueueDispatcher& dispatcher)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (worker.IsBusy() && std::chrono::steady_clock::now() < limit)
        dispatcher.WaitAndRun(100);
    ASSERT_FALSE(worker.IsBusy());
}

TEST(BackgroundWorker, NotificationsRunOnTheOwnersThreadInOrder)
{
    CQueueDispatcher dispatcher;
    CBackgroundWorker worker(dispatcher);
    const auto owner = std::this_thread::get_id();
    std::vector<long long> seen;
    std::vector<std::thread::id> threads;
    std::atomic<bool> jobOnOwnerThread{true};
    worker.SetProgressHandler([&](long long done, long long total) {
        seen.push_back(-done);
        EXPECT_EQ(total, 50);
        threads.push_back(std::this_thread::get_id());
    });
    bool finished = false;
    ASSERT_TRUE(worker.Start(
        [&](CBackgroundWorker::CContext& context) {
            jobOnOwnerThread = std::this_thread::get_id() == owner;
            for (long long i = 1; i <= 50; ++i) {
                context.Post([&, i] {
                    seen.push_back(i);
                    threads.push_back(std::this_thread::get_id());
                });
                context.Progress(i, 50);
            }
        },
        [&] {
            finished = true;
            EXPECT_EQ(seen.size(), 100u); // the end comes after everything the job posted
        }));
    EXPECT_TRUE(worker.IsBusy());
    EXPECT_FALSE(worker.Start([](CBackgroundWorker::CContext&) {})); // one job at a time
    RunUntilFinished(worker, dispatcher);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(jobOnOwnerThread);
    ASSERT_EQ(seen.size(), 100u);
    for (size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(seen[2 * i], static_cast<long long>(i + 1));
        EXPECT_EQ(seen[2 * i + 1], -static_cast<long long>(i + 1));
    }
    for (const auto& thread : threads)
        EXPECT_EQ(thread, owner);

    // The worker takes a second job once the first has ended.
    bool ranAgain = false;
    ASSERT_TRUE(
        worker.Start([&](CBackgroundWorker::CContext& context) { context.Post([&] { ranAgain = true; }); }));
    RunUntilFinished(worker, dispatcher);
    EXPECT_TRUE(ranAgain);
}

TEST(BackgroundWorker, CancelReachesTheFlagAndTheJobsOwnCallback)
{
    CQueueDispatcher dispatcher;
    CBackgroundWorker worker(dispatcher);
    std::atomic<bool> started{false};
    std::atomic<int> passedOn{0}; // a flag of the job's own code, as the download engine has
    bool sawCancel = false;
    ASSERT_TRUE(worker.Start([&](CBackgroundWorker::CContext& context) {
        std::stop_callback abort(context.StopToken(), [&] { passedOn = 1; });
        started = true;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!context.IsCancelled() && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const bool cancelled = context.IsCancelled();
        context.Post([&, cancelled] { sawCancel = cancelled; });
    }));
    while (!started)
        std::this_thread::yield();
    worker.Cancel();
    RunUntilFinished(worker, dispatcher);
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(passedOn.load(), 1);

    // A new job starts with the flag down.
    bool cancelledAtStart = true;
    ASSERT_TRUE(worker.Start([&](CBackgroundWorker::CContext& context) {
        const bool cancelled = context.IsCancelled();
        context.Post([&, cancelled] { cancelledAtStart = cancelled; });
    }));
    RunUntilFinished(worker, dispatcher);
    EXPECT_FALSE(cancelledAtStart);
}

TEST(BackgroundWorker, NotificationsLeftBehindByADestroyedWorkerDoNothing)
{
    CQueueDispatcher dispatcher;
    int delivered = 0;
    {
        CBackgroundWorker worker(dispatcher);
        std::atomic<bool> posted{false};
        ASSERT_TRUE(worker.Start([&](CBackgroundWorker::CContext& context) {
            context.Post([&] { ++delivered; });
            posted = true;
        }));
        while (!posted)
            std::this_thread::yield();
    }                                        // waits for the job's thread; its notifications are still queued
    EXPECT_EQ(dispatcher.RunUntilIdle(), 2); // the notification and the end, both inert
    EXPECT_EQ(delivered, 0);
}

TEST(QueueDispatcher, WaitAndRunTimesOutOnAnEmptyQueueAndRunsWhatNotificationsPost)
{
    CQueueDispatcher dispatcher;
    EXPECT_FALSE(dispatcher.WaitAndRun(1));
    std::vector<int> order;
    dispatcher.Post([&] {
        order.push_back(1);
        dispatcher.Post([&] { order.push_back(3); });
    });
    dispatcher.Post([&] { order.push_back(2); });
    EXPECT_TRUE(dispatcher.WaitAndRun(1));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(dispatcher.RunUntilIdle(), 0);
}

} // namespace
