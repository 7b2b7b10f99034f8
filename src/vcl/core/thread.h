#pragma once
// Worker threads that hand work back to the user-interface thread.
#include "vcl/core/sysutils.h"
#include "vcl/core/types.h"

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace vcl {

// Misuse of a thread: starting it twice, waiting for it where that cannot work.
class EThread : public Exception { public: using Exception::Exception; };

// A call handed to the user-interface thread by Synchronize.
using TThreadMethod = std::function<void()>;

// A worker thread in the manner of the original framework.
//
// A derived class overrides Execute, which runs on its own thread and polls
// Terminated() to stop early. Synchronize runs a call on the user-interface thread
// and waits for it; the user-interface thread serves such calls from its Qt event
// loop, from CheckSynchronize, and while it waits for a thread in WaitFor (so a
// WaitFor there cannot dead-lock against a Synchronize).
//
// When Execute returns, DoTerminate runs OnTerminate on the user-interface thread;
// a thread with FreeOnTerminate then deletes itself. Never delete a running
// FreeOnTerminate thread yourself, and forget it once OnTerminate has run.
//
// A thread is always created suspended: the derived part of the object is built
// after this class's constructor, so Execute could not run safely yet. Set it up,
// then call Start.
class TThread : public TObject {
public:
    TThread();
    // Deleting a started thread that has not finished asks it to stop and waits for
    // it. A derived class whose Execute uses the derived class's own members must
    // do the same (Terminate, WaitFor) in its destructor, before those members go.
    ~TThread() override;

    // Starts a suspended thread; raises EThread when it was started before.
    void Start();
    // The original framework's name for starting a suspended thread.
    void Resume() { Start(); }
    bool Suspended() const { return !FStarted; }

    // Asks Execute to stop; it sees the request through Terminated().
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }

    // Waits until the thread has finished (OnTerminate included) and returns its
    // ReturnValue. On the user-interface thread it keeps serving Synchronize calls.
    // Raises EThread for a thread that was never started, that frees itself (it
    // may be gone by the time the wait ends), or when a thread waits for itself.
    int WaitFor();

    // Runs Method on the user-interface thread and waits until it has run; an
    // exception Method raises there is raised again here. Called on the
    // user-interface thread it simply runs Method.
    void Synchronize(const TThreadMethod& Method);

    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }

    // True once the thread has ended, OnTerminate included.
    bool Finished() const { return FFinished; }
    int ReturnValue() const { return FReturnValue; }
    // The exception that escaped Execute or OnTerminate, or null.
    std::exception_ptr FatalException() const { return FFatalException; }
    std::thread::id ThreadID() const { return FThread.get_id(); }

    // Runs on the user-interface thread when the thread ends (Sender is the thread).
    TNotifyEvent OnTerminate;

protected:
    // The thread's work; runs on the thread itself.
    virtual void Execute() = 0;
    // Runs on the thread after Execute: calls OnTerminate through Synchronize.
    virtual void DoTerminate();
    void SetReturnValue(int Value) { FReturnValue = Value; }

private:
    void ThreadProc();
    void WaitUntilFinished();

    // Held by Start while it stores the new thread, so that the thread cannot end
    // and free itself before Start is done with the object.
    std::mutex FStartLock;
    std::thread FThread;
    std::atomic<bool> FStarted = false;
    std::atomic<bool> FTerminated = false;
    std::atomic<bool> FFinished = false;
    std::atomic<bool> FFreeOnTerminate = false;
    std::atomic<int> FReturnValue = 0;
    std::exception_ptr FFatalException;
};

// True on the user-interface thread: the thread of the Qt application object, or
// without one the thread that loaded the library.
bool IsMainThread();

// Runs the Synchronize calls that wait for the user-interface thread, waiting up to
// Timeout ms for one to arrive when none is waiting. Returns whether any ran. Only
// the user-interface thread serves them; elsewhere this returns false at once.
// With a Qt application object the event loop calls this by itself.
bool CheckSynchronize(int Timeout = 0);

} // namespace vcl
