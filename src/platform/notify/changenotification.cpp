#include "platform/notify/changenotification.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::notify {

struct ChangeNotification {
    uint32_t Filter = 0;
    bool WatchSubtree = false;
    int RootWatch = -1;
    // Every watched directory of this notification: watch descriptor to path.
    std::unordered_map<int, QByteArray> Directories;
    bool Signalled = false;
};

namespace {

// Every watch asks for all kinds of change; each notification filters by its own
// filter, so notifications on the same directory can share its watch descriptor.
constexpr uint32_t WatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_MODIFY
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The filter kinds an inotify event about a directory entry stands for.
uint32_t KindsOf(uint32_t mask)
{
    uint32_t kinds = 0;
    if (mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
        kinds |= (mask & IN_ISDIR) ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME;
    // Linux keeps a file's attributes and its security in the same inode fields.
    if (mask & IN_ATTRIB)
        kinds |= FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY;
    if (mask & IN_MODIFY)
        kinds |= FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
    return kinds;
}

bool IsDirectoryEntry(const QByteArray& parent, const dirent& entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat info {};
    const QByteArray path = parent + '/' + entry.d_name;
    return lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The one inotify instance of the process and the notifications that use it.
class InotifyHub {
public:
    static InotifyHub& Instance()
    {
        // Never destroyed: a watcher thread may still close its handle while the
        // process runs its exit handlers.
        static auto* hub = new InotifyHub;
        return *hub;
    }

    HCHANGE Open(const QString& path, bool watchSubtree, uint32_t filter)
    {
        std::lock_guard lock(FMutex);
        if (FInstance < 0) {
            FInstance = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            if (FInstance < 0)
                return nullptr;
        }
        auto* handle = new ChangeNotification;
        handle->Filter = filter;
        handle->WatchSubtree = watchSubtree;
        FOpen.insert(handle);
        if (!AddTree(*handle, QFile::encodeName(path), true).Watched) {
            const int error = errno;
            CloseLocked(handle);
            errno = error;
            return nullptr;
        }
        return handle;
    }

    uint32_t Wait(HCHANGE handle, uint32_t milliseconds)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            int instance;
            {
                std::lock_guard lock(FMutex);
                if (!FOpen.contains(handle)) {
                    errno = EBADF;
                    return WAIT_FAILED;
                }
                if (!Drain())
                    return WAIT_FAILED;
                if (handle->Signalled)
                    return WAIT_OBJECT_0;
                instance = FInstance;
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return WAIT_TIMEOUT;
            pollfd ready{instance, POLLIN, 0};
            const int timeout = static_cast<int>(std::min<long long>(left.count(), INT_MAX));
            if (poll(&ready, 1, timeout) < 0 && errno != EINTR)
                return WAIT_FAILED;
        }
    }

    bool Close(HCHANGE handle)
    {
        std::lock_guard lock(FMutex);
        if (!FOpen.contains(handle)) {
            errno = EBADF;
            return false;
        }
        CloseLocked(handle);
        return true;
    }

private:
    struct TreeResult {
        bool Watched = false;   // the top directory is watched
        bool HasEntries = false; // some entry below it is of a kind the filter asks for
    };

    // Watches Path and, with the subtree flag, every directory below it.
    TreeResult AddTree(ChangeNotification& handle, const QByteArray& path, bool isRoot)
    {
        TreeResult result;
        std::vector<QByteArray> pending{path};
        bool top = true;
        while (!pending.empty()) {
            const QByteArray directory = pending.back();
            pending.pop_back();
            // The root may be a symbolic link to a directory; below it links are not
            // followed, so a link cannot lead the walk in circles.
            const uint32_t follow = (top && isRoot) ? 0 : IN_DONT_FOLLOW;
            const int watch = AddWatch(handle, directory, follow);
            if (top) {
                result.Watched = watch >= 0;
                if (watch < 0)
                    return result;
                if (isRoot)
                    handle.RootWatch = watch;
                top = false;
            }
            if (watch < 0 || !handle.WatchSubtree)
                continue;
            DIR* dir = opendir(directory.constData());
            if (!dir)
                continue;
            while (const dirent* entry = readdir(dir)) {
                if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, ".."))
                    continue;
                if (IsDirectoryEntry(directory, *entry)) {
                    pending.push_back(directory + '/' + entry->d_name);
                    result.HasEntries |= (handle.Filter & FILE_NOTIFY_CHANGE_DIR_NAME) != 0;
                } else {
                    result.HasEntries |= (handle.Filter & FILE_NOTIFY_CHANGE_FILE_NAME) != 0;
                }
            }
            closedir(dir);
        }
        return result;
    }

    // A subdirectory that cannot be watched (no access, the user's watch limit
    // reached) is left out: the rest of the tree is still worth watching.
    int AddWatch(ChangeNotification& handle, const QByteArray& path, uint32_t follow)
    {
        const int watch = inotify_add_watch(FInstance, path.constData(), WatchMask | follow);
        if (watch < 0)
            return -1;
        // The same directory reached again (moved within the tree): just a new path.
        const bool known = handle.Directories.contains(watch);
        handle.Directories[watch] = path;
        if (!known)
            FOwners[watch].push_back(&handle);
        return watch;
    }

    // Reads the pending events and signals the notifications they concern. Returns
    // false when the instance cannot be read. A folder that changes without pause
    // could keep the queue filled forever, so one call reads a bounded number of
    // buffers; what is left is read by the next wait.
    bool Drain()
    {
        constexpr int MaxReads = 64;
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (int reads = 0; reads < MaxReads; ++reads) {
            const ssize_t read = ::read(FInstance, buffer, sizeof buffer);
            if (read < 0) {
                if (errno == EINTR)
                    continue;
                return errno == EAGAIN;
            }
            const auto size = static_cast<size_t>(read);
            size_t offset = 0;
            while (size - offset >= sizeof(inotify_event)) {
                inotify_event event;
                std::memcpy(&event, buffer + offset, sizeof event);
                const size_t room = size - offset - sizeof event;
                if (event.len > room)
                    break; // never read past what the kernel delivered
                const char* name = buffer + offset + sizeof event;
                Route(event, QByteArray(name, static_cast<qsizetype>(strnlen(name, event.len))));
                offset += sizeof event + event.len;
            }
        }
        return true;
    }

    void Route(const inotify_event& event, const QByteArray& name)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            // Events were lost: any notification may have missed its change.
            for (ChangeNotification* handle : FOpen)
                handle->Signalled = true;
            return;
        }
        const auto owners = FOwners.find(event.wd);
        if (owners == FOwners.end())
            return;
        // Routing may add watches (and so owners) for new subdirectories: walk a copy.
        const std::vector<ChangeNotification*> concerned = owners->second;
        for (ChangeNotification* handle : concerned)
            RouteTo(*handle, event, name);
        if (event.mask & IN_IGNORED)
            FOwners.erase(event.wd);
    }

    void RouteTo(ChangeNotification& handle, const inotify_event& event, const QByteArray& name)
    {
        if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
            // The watched folder itself went away: its owner should look again.
            if (event.wd == handle.RootWatch)
                handle.Signalled = true;
            if (event.mask & IN_IGNORED)
                handle.Directories.erase(event.wd);
            return;
        }
        // Events without a name concern a watched directory itself; its parent
        // reports them for its entries, and the root's own changes are no change
        // of its contents.
        if (name.isEmpty())
            return;
        if (KindsOf(event.mask) & handle.Filter)
            handle.Signalled = true;
        if (handle.WatchSubtree && (event.mask & IN_ISDIR) && (event.mask & (IN_CREATE | IN_MOVED_TO))) {
            // Entries may have appeared in the new directory before its watch did.
            const QByteArray path = handle.Directories[event.wd] + '/' + name;
            if (AddTree(handle, path, false).HasEntries)
                handle.Signalled = true;
        }
    }

    void CloseLocked(HCHANGE handle)
    {
        for (const auto& [watch, path] : handle->Directories) {
            auto owners = FOwners.find(watch);
            if (owners == FOwners.end())
                continue;
            std::erase(owners->second, handle);
            if (owners->second.empty()) {
                inotify_rm_watch(FInstance, watch);
                FOwners.erase(owners);
            }
        }
        FOpen.erase(handle);
        delete handle;
        if (FOpen.empty()) {
            close(FInstance);
            FInstance = -1;
            FOwners.clear();
        }
    }

    std::mutex FMutex;
    int FInstance = -1;
    std::unordered_set<ChangeNotification*> FOpen;
    // The notifications that use each watch descriptor.
    std::unordered_map<int, std::vector<ChangeNotification*>> FOwners;
};

} // namespace

HCHANGE FindFirstChangeNotificationA(const QString& PathName, bool WatchSubtree, uint32_t NotifyFilter)
{
    return InotifyHub::Instance().Open(PathName, WatchSubtree, NotifyFilter);
}

uint32_t WaitForSingleObject(HCHANGE Handle, uint32_t Milliseconds)
{
    return InotifyHub::Instance().Wait(Handle, Milliseconds);
}

bool FindCloseChangeNotification(HCHANGE Handle)
{
    return InotifyHub::Instance().Close(Handle);
}

} // namespace platform::notify
