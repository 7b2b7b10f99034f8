#pragma once
// A thread whose body is a function, for tests of the thread class and its users.
#include "vcl/core/thread.h"

#include <atomic>
#include <functional>
#include <utility>

namespace qvtest {

class LambdaThread : public vcl::TThread {
public:
    using Body = std::function<void(LambdaThread&)>;

    // Destroyed (when given) becomes true in the destructor, for threads that free
    // themselves.
    explicit LambdaThread(Body body, std::atomic<bool>* destroyed = nullptr)
        : FBody(std::move(body)), FDestroyed(destroyed) {}

    ~LambdaThread() override
    {
        // The body belongs to this class: stop the thread before it goes.
        if (!Suspended() && !Finished() && !FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
        if (FDestroyed)
            *FDestroyed = true;
    }

    using vcl::TThread::SetReturnValue;

protected:
    void Execute() override { FBody(*this); }

private:
    Body FBody;
    std::atomic<bool>* FDestroyed;
};

} // namespace qvtest
