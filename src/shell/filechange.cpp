#include "shell/filechange.h"

#include "vcl/core/unitstartup.h"

#include <cerrno>
#include <chrono>
#include <pthread.h>
#include <thread>

namespace Filechange {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Filechange"), {});

using namespace platform::notify;

TFileChangeThread::TFileChangeThread(const QString& Directory, TFSFilterSet Filter, bool WatchSubtree)
    : FDirectory(Directory), FWatchSubtree(WatchSubtree), FFilter(Filter)
{
    SetFreeOnTerminate(true);
}

uint32_t TFileChangeThread::FilterToAPIVal() const
{
    static constexpr struct {
        TFSFilter Member;
        uint32_t Flag;
    } Flags[] = {
        {fsfFilename, FILE_NOTIFY_CHANGE_FILE_NAME},
        {fsfDirname, FILE_NOTIFY_CHANGE_DIR_NAME},
        {fsfAttributes, FILE_NOTIFY_CHANGE_ATTRIBUTES},
        {fsfSize, FILE_NOTIFY_CHANGE_SIZE},
        {fsfLastWrite, FILE_NOTIFY_CHANGE_LAST_WRITE},
        {fsfSecurity, FILE_NOTIFY_CHANGE_SECURITY},
    };
    uint32_t value = 0;
    for (const auto& flag : Flags)
        if (FFilter.Contains(flag.Member))
            value |= flag.Flag;
    return value;
}

void TFileChangeThread::Execute()
{
    // Named, so that a watcher can be told from other threads (in a debugger, top,
    // and the tests that count them).
    pthread_setname_np(pthread_self(), ThreadName);
    FHandle = FindFirstChangeNotificationA(FDirectory, FWatchSubtree, FilterToAPIVal());
    if (!FHandle) {
        FCancelled = true;
        SetReturnValue(errno);
        // Nothing to watch, and the owner is not told; but it still holds this
        // thread and will stop it when it moves on, so the thread must not free
        // itself before then.
        while (!Terminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(WaitPeriod));
        return;
    }
    for (;;) {
        const uint32_t result = WaitForSingleObject(FHandle, WaitPeriod);
        if (Terminated()) {
            FCancelled = true;
            return;
        }
        // A failed wait counts as a change: the owner looks at the folder again.
        if (result != WAIT_TIMEOUT)
            return;
    }
}

void TFileChangeThread::DoTerminate()
{
    if (FHandle) {
        FindCloseChangeNotification(FHandle);
        FHandle = nullptr;
    }
    if (FCancelled)
        return;
    // The owner may stop the thread after the change was seen but before its
    // handler runs; it has forgotten the thread by then. Checking the stop request
    // on the user-interface thread, where the owner makes it, keeps a stopped
    // watcher from ever calling its owner.
    Synchronize([this] {
        if (!Terminated() && OnTerminate)
            OnTerminate(this);
    });
}

} // namespace Filechange
