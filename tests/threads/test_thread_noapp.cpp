// The thread class without a QApplication: bare (no Qt application object at all)
// and with a QCoreApplication, as non-visual components may use it.
#include "lambdathread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <thread>

using namespace vcl;
using qvtest::LambdaThread;

namespace {

// Records the thread each synchronized call ran on.
LambdaThread::Body SynchronizeThreeTimes(std::vector<std::thread::id>& ranOn)
{
    return [&ranOn](LambdaThread& self) {
        for (int i = 0; i < 3; ++i)
            self.Synchronize([&ranOn] { ranOn.push_back(std::this_thread::get_id()); });
    };
}

TEST(TThreadWithoutApplication, WaitForAndCheckSynchronizeServeSynchronize)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    std::vector<std::thread::id> ranOn;
    bool told = false;
    LambdaThread thread(SynchronizeThreeTimes(ranOn));
    thread.OnTerminate = [&](TObject*) { told = true; };
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(told);
    ASSERT_EQ(ranOn.size(), 3u);
    for (const auto& id : ranOn)
        EXPECT_EQ(id, std::this_thread::get_id());

    // CheckSynchronize serves a waiting worker too.
    ranOn.clear();
    std::atomic<bool> done = false;
    std::atomic<bool> destroyed = false;
    auto* freeing = new LambdaThread(SynchronizeThreeTimes(ranOn), &destroyed);
    freeing->SetFreeOnTerminate(true);
    freeing->OnTerminate = [&](TObject*) { done = true; };
    freeing->Start();
    QDeadlineTimer deadline(10000);
    while (!destroyed && !deadline.hasExpired())
        CheckSynchronize(10);
    EXPECT_TRUE(done);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(ranOn.size(), 3u);
}

TEST(TThreadWithCoreApplication, TheEventLoopServesSynchronize)
{
    int argc = 1;
    char name[] = "test_thread_noapp";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    std::vector<std::thread::id> ranOn;
    bool told = false;
    LambdaThread thread(SynchronizeThreeTimes(ranOn));
    thread.OnTerminate = [&](TObject*) { told = true; };
    thread.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return told; }, 10000));
    ASSERT_EQ(ranOn.size(), 3u);
    for (const auto& id : ranOn)
        EXPECT_EQ(id, std::this_thread::get_id());
}

} // namespace
