// The thread class inside a QApplication: hand-over to the user-interface thread,
// waiting, stopping and freeing.
#include "lambdathread.h"

#include <QCoreApplication>
#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

using namespace vcl;
using qvtest::LambdaThread;

namespace {

bool OnUiThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Polls Terminated() the way a real worker does, until asked to stop.
void RunUntilTerminated(TThread& thread, std::atomic<bool>& running)
{
    running = true;
    while (!thread.Terminated())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(TThread, SynchronizeIsServedWhileTheUiThreadWaits)
{
    std::vector<int> order;
    std::vector<bool> onUi;
    LambdaThread thread([&](LambdaThread& self) {
        for (int i = 0; i < 50; ++i)
            self.Synchronize([&, i] {
                order.push_back(i);
                onUi.push_back(OnUiThread());
            });
        self.SetReturnValue(42);
    });
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 42);
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order[i], i);
        EXPECT_TRUE(onUi[i]) << "call " << i;
    }
}

TEST(TThread, SynchronizeIsServedByTheEventLoop)
{
    std::atomic<bool> ended = false;
    bool ranOnUi = false;
    LambdaThread thread([&](LambdaThread& self) {
        self.Synchronize([&] { ranOnUi = OnUiThread(); });
        ended = true;
    });
    thread.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.load(); }, 10000));
    EXPECT_TRUE(ranOnUi);
}

TEST(TThread, OnTerminateRunsOnceOnTheUiThreadBeforeWaitForReturns)
{
    std::atomic<bool> executed = false;
    int calls = 0;
    bool afterExecute = false;
    bool onUi = false;
    TObject* sender = nullptr;
    LambdaThread thread([&](LambdaThread&) { executed = true; });
    thread.OnTerminate = [&](TObject* Sender) {
        ++calls;
        afterExecute = executed;
        onUi = OnUiThread();
        sender = Sender;
    };
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(afterExecute);
    EXPECT_TRUE(onUi);
    EXPECT_EQ(sender, &thread);
    EXPECT_TRUE(thread.Finished());
}

TEST(TThread, FreeOnTerminateFreesItselfAfterOnTerminate)
{
    std::atomic<bool> destroyed = false;
    bool destroyedBeforeHandler = true;
    auto* thread = new LambdaThread([](LambdaThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject*) { destroyedBeforeHandler = destroyed; };
    thread->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return destroyed.load(); }, 10000));
    EXPECT_FALSE(destroyedBeforeHandler);
}

TEST(TThread, TerminateStopsAPollingExecute)
{
    std::atomic<bool> running = false;
    LambdaThread thread([&](LambdaThread& self) { RunUntilTerminated(self, running); });
    thread.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return running.load(); }, 10000));
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Terminated());
    EXPECT_TRUE(thread.Finished());
}

// Execute uses nothing of the derived object (its members are gone by the time the
// base destructor stops the thread), so deleting it exercises the base's own
// stop-and-wait.
std::atomic<bool> PollingRunning = false;
std::atomic<bool> PollingLeft = false;

class PollingThread : public TThread {
protected:
    void Execute() override
    {
        RunUntilTerminated(*this, PollingRunning);
        PollingLeft = true;
    }
};

TEST(TThread, DeletingARunningThreadStopsItAndWaitsAndAnUnstartedOneNeverRuns)
{
    std::atomic<bool>& running = PollingRunning;
    std::atomic<bool>& left = PollingLeft;
    running = false;
    left = false;
    auto thread = std::make_unique<PollingThread>();
    thread->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return running.load(); }, 10000));
    thread.reset();
    EXPECT_TRUE(left);
    // A thread that was never started never runs.
    std::atomic<bool> ran = false;
    auto unstarted = std::make_unique<LambdaThread>([&](LambdaThread&) { ran = true; });
    EXPECT_TRUE(unstarted->Suspended());
    unstarted.reset();
    EXPECT_FALSE(ran);
}

TEST(TThread, ExceptionsReachTheWorkerFromSynchronizeAndAreKeptFromExecute)
{
    QString caught;
    LambdaThread thread([&](LambdaThread& self) {
        try {
            self.Synchronize([] { throw EConvertError(QStringLiteral("bad value")); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(caught, QStringLiteral("bad value"));
    EXPECT_FALSE(thread.FatalException());

    // An exception leaving Execute is kept, and OnTerminate still runs.
    bool told = false;
    LambdaThread failing([](LambdaThread&) { throw EInvalidOperation(QStringLiteral("failed")); });
    failing.OnTerminate = [&](TObject*) { told = true; };
    failing.Start();
    failing.WaitFor();
    EXPECT_TRUE(told);
    ASSERT_TRUE(failing.FatalException());
    try {
        std::rethrow_exception(failing.FatalException());
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("failed"));
    }
}

TEST(TThread, MisuseRaisesEThread)
{
    LambdaThread unstarted([](LambdaThread&) {});
    EXPECT_THROW(unstarted.WaitFor(), EThread);

    bool selfWaitRaised = false;
    LambdaThread started([&](LambdaThread& self) {
        try {
            self.WaitFor();
        } catch (const EThread&) {
            selfWaitRaised = true;
        }
    });
    started.Start();
    EXPECT_THROW(started.Start(), EThread);
    started.WaitFor();
    EXPECT_TRUE(selfWaitRaised);

    std::atomic<bool> release = false;
    std::atomic<bool> destroyed = false;
    auto* freeing = new LambdaThread([&](LambdaThread&) {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }, &destroyed);
    freeing->SetFreeOnTerminate(true); // and no OnTerminate: it still frees itself
    freeing->Start();
    EXPECT_THROW(freeing->WaitFor(), EThread);
    release = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return destroyed.load(); }, 10000));
}

TEST(TThread, ManyWorkersSynchronizeWhileTheUiThreadWaitsForEachInTurn)
{
    constexpr int Workers = 8;
    constexpr int CallsEach = 100;
    int total = 0; // touched only on the user-interface thread
    int terminations = 0;
    std::vector<std::unique_ptr<LambdaThread>> threads;
    for (int w = 0; w < Workers; ++w) {
        threads.push_back(std::make_unique<LambdaThread>([&](LambdaThread& self) {
            for (int i = 0; i < CallsEach; ++i)
                self.Synchronize([&] { ++total; });
        }));
        threads.back()->OnTerminate = [&](TObject*) { ++terminations; };
    }
    for (auto& t : threads)
        t->Start();
    // Waiting for the last one first: the others must still get their calls served.
    for (auto it = threads.rbegin(); it != threads.rend(); ++it)
        (*it)->WaitFor();
    EXPECT_EQ(total, Workers * CallsEach);
    EXPECT_EQ(terminations, Workers);
}

TEST(TThread, IsMainThreadTellsTheUiThreadApartWhereSynchronizeRunsAtOnce)
{
    EXPECT_TRUE(IsMainThread());
    std::atomic<bool> onWorker = true;
    LambdaThread thread([&](LambdaThread&) { onWorker = IsMainThread(); });
    thread.Start();
    thread.WaitFor();
    EXPECT_FALSE(onWorker);
    EXPECT_FALSE(CheckSynchronize()) << "nothing waits";
    // Synchronize on the user-interface thread runs at once.
    bool ran = false;
    thread.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

} // namespace
