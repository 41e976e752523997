// The desktop application's dispatcher: a worker's notifications come back through the event
// loop of the interface thread, in order.
#include "app/QtDispatcher.h"
#include "present/BackgroundWorker.h"
#include "tests/gui/GuiFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

namespace
{

class QtDispatcherTest : public GuiTest
{
};

TEST_F(QtDispatcherTest, WorkerNotificationsRunOnTheInterfaceThreadInOrder)
{
    QObject context;
    CQtDispatcher dispatcher(&context);
    CBackgroundWorker worker(dispatcher);
    const auto owner = std::this_thread::get_id();
    std::vector<int> seen;
    bool allOnOwner = true;
    bool finished = false;
    ASSERT_TRUE(worker.Start(
        [&](CBackgroundWorker::CContext& job) {
            for (int i = 0; i < 20; ++i)
                job.Post([&, i] {
                    seen.push_back(i);
                    allOnOwner = allOnOwner && std::this_thread::get_id() == owner;
                });
        },
        [&] { finished = true; }));
    QElapsedTimer timer;
    timer.start();
    while (worker.IsBusy() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(allOnOwner);
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i)
        expected[static_cast<size_t>(i)] = i;
    EXPECT_EQ(seen, expected);
}

} // namespace
