#pragma once
// Folder change notification in the manner of the original platform, over inotify.
//
// A notification watches one directory (and with the subtree flag every directory
// below it, including those created later) for the kinds of change its filter names.
// It becomes signalled at the first such change and stays signalled; waiting on it
// returns at once from then on. All notifications of a process share one inotify
// instance, which is closed again when the last notification is closed: the number
// of inotify instances a user may open is small (128 by default).
#include <QString>
#include <cstdint>

namespace platform::notify {

// The kinds of change, with the original platform's filter values. They concern
// the entries of a watched directory, not the directory itself. inotify reports
// one kind of event for every change of an entry's inode fields (mode bits, owner,
// timestamps set, link count), so attributes and security are signalled together,
// as are size and last write (a write or a truncation).
enum : uint32_t {
    FILE_NOTIFY_CHANGE_FILE_NAME = 0x001,  // a file created, deleted or renamed
    FILE_NOTIFY_CHANGE_DIR_NAME = 0x002,   // a directory created, deleted or renamed
    FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x004,
    FILE_NOTIFY_CHANGE_SIZE = 0x008,
    FILE_NOTIFY_CHANGE_LAST_WRITE = 0x010,
    FILE_NOTIFY_CHANGE_SECURITY = 0x100,
};

// Results of WaitForSingleObject.
enum : uint32_t {
    WAIT_OBJECT_0 = 0x000,
    WAIT_TIMEOUT = 0x102,
    WAIT_FAILED = 0xFFFFFFFF,
};

struct ChangeNotification;
// A notification handle; null is no notification.
using HCHANGE = ChangeNotification*;

// Opens a notification on PathName. Returns null, with errno telling why, when the
// path is no directory that can be watched (missing, no access, no inotify left).
// A subdirectory that cannot be watched is left out of a subtree quietly.
HCHANGE FindFirstChangeNotificationA(const QString& PathName, bool WatchSubtree, uint32_t NotifyFilter);

// Waits up to Milliseconds for the notification to become signalled: WAIT_OBJECT_0
// when it is (the watched directory itself vanishing counts as a change),
// WAIT_TIMEOUT when the time ran out, WAIT_FAILED (errno set) for an invalid handle
// or a failed wait.
uint32_t WaitForSingleObject(HCHANGE Handle, uint32_t Milliseconds);

// Closes the notification and its watches; false (errno EBADF) for a handle that is
// not open. Any thread may close a handle, but none may still wait on it.
bool FindCloseChangeNotification(HCHANGE Handle);

} // namespace platform::notify
