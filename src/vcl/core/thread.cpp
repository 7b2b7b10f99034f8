#include "vcl/core/thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <deque>

namespace vcl {

namespace {

// One Synchronize call waiting for the user-interface thread; it lives on the
// waiting worker's stack until Done is set.
struct SyncRequest {
    const TThreadMethod* Method = nullptr;
    bool Done = false;
    std::exception_ptr Error;
};

// What the workers and the user-interface thread share. Changed is signalled when
// a request arrives, when one has been served and when a thread finishes.
struct SyncState {
    std::mutex Mutex;
    std::condition_variable Changed;
    std::deque<SyncRequest*> Pending;
};

SyncState& Sync()
{
    // Never destroyed: a thread that frees itself may still be leaving while the
    // process runs its exit handlers.
    static auto* state = new SyncState;
    return *state;
}

const std::thread::id LoadingThread = std::this_thread::get_id();

// Lets a running Qt event loop serve the new request; WaitFor and CheckSynchronize
// are woken through the condition variable instead.
void WakeMainThread()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
}

} // namespace

bool IsMainThread()
{
    if (const QCoreApplication* app = QCoreApplication::instance())
        return QThread::currentThread() == app->thread();
    return std::this_thread::get_id() == LoadingThread;
}

bool CheckSynchronize(int Timeout)
{
    if (!IsMainThread())
        return false;
    SyncState& s = Sync();
    std::unique_lock lock(s.Mutex);
    if (s.Pending.empty() && Timeout > 0)
        s.Changed.wait_for(lock, std::chrono::milliseconds(Timeout), [&] { return !s.Pending.empty(); });
    bool ran = false;
    while (!s.Pending.empty()) {
        SyncRequest* request = s.Pending.front();
        s.Pending.pop_front();
        lock.unlock();
        std::exception_ptr error;
        try {
            (*request->Method)();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        request->Error = error;
        request->Done = true;
        s.Changed.notify_all();
        ran = true;
    }
    return ran;
}

TThread::TThread() = default;

TThread::~TThread()
{
    if (FStarted && !FFinished) {
        Terminate();
        WaitUntilFinished();
    }
    if (FThread.joinable()) {
        // A thread that frees itself runs this destructor on its own thread.
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }
}

void TThread::Start()
{
    std::lock_guard guard(FStartLock);
    if (FStarted)
        throw EThread(QStringLiteral("Cannot start a thread that has already been started"));
    FThread = std::thread([this] { ThreadProc(); });
    FStarted = true;
}

void TThread::ThreadProc()
{
    { std::lock_guard waitForStart(FStartLock); }
    try {
        Execute();
    } catch (...) {
        FFatalException = std::current_exception();
    }
    const bool freeThread = FFreeOnTerminate;
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatalException)
            FFatalException = std::current_exception();
    }
    {
        SyncState& s = Sync();
        std::lock_guard lock(s.Mutex);
        FFinished = true;
        s.Changed.notify_all();
    }
    // Once FFinished is set a waiting owner may delete this object: only locals now.
    if (freeThread)
        delete this;
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(const TThreadMethod& Method)
{
    if (IsMainThread()) {
        Method();
        return;
    }
    SyncRequest request;
    request.Method = &Method;
    SyncState& s = Sync();
    {
        std::lock_guard lock(s.Mutex);
        s.Pending.push_back(&request);
        s.Changed.notify_all();
    }
    WakeMainThread();
    std::unique_lock lock(s.Mutex);
    s.Changed.wait(lock, [&] { return request.Done; });
    if (request.Error)
        std::rethrow_exception(request.Error);
}

int TThread::WaitFor()
{
    if (!FStarted)
        throw EThread(QStringLiteral("Cannot wait for a thread that was never started"));
    if (FFreeOnTerminate)
        throw EThread(QStringLiteral("Cannot wait for a thread that frees itself"));
    if (FThread.get_id() == std::this_thread::get_id())
        throw EThread(QStringLiteral("A thread cannot wait for itself"));
    WaitUntilFinished();
    return FReturnValue;
}

void TThread::WaitUntilFinished()
{
    const bool serveSynchronize = IsMainThread();
    SyncState& s = Sync();
    std::unique_lock lock(s.Mutex);
    while (!FFinished) {
        if (serveSynchronize && !s.Pending.empty()) {
            lock.unlock();
            CheckSynchronize();
            lock.lock();
            continue;
        }
        s.Changed.wait(lock);
    }
}

} // namespace vcl
