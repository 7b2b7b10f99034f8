#pragma once
// File-system changes and descriptor counts for the change-watching tests.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace qvtest {

// Entries of /proc/self/fd: every descriptor the process holds.
int OpenDescriptorCount();
// Watches held by the process's inotify instances (from /proc/self/fdinfo).
int InotifyWatchCount();

// One kind of change made in a folder, with the change kinds it must signal
// (FILE_NOTIFY_CHANGE_* bits). Prepare runs before the watch is opened.
struct FolderChange {
    const char* Name;
    std::function<void(const QString& folder)> Prepare;
    std::function<void(const QString& folder)> Make;
    uint32_t Kinds;
};

// File created, renamed, deleted; directory created, renamed, removed; mode
// changed; timestamps set; file written; file truncated.
const std::vector<FolderChange>& FolderChanges();

// Creates a file (empty) or directory, failing the current test when it cannot.
void MakeFile(const QString& path);
void MakeDirectory(const QString& path);

} // namespace qvtest
