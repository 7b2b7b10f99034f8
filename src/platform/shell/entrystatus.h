#pragma once
// The status of a folder's entry as the namespace needs it (attributes and find data
// both come from it), and a memo that reads each entry of an enumeration once.
#include <QByteArray>
#include <QHash>
#include <optional>
#include <sys/stat.h>

namespace platform::shell {

// One look at a directory entry: the entry's own mode (a link's, for a link) and the
// status of what it names (the link's target for a link, else the entry itself).
struct TEntryStatus {
    mode_t OwnMode = 0;
    // False for a dangling link or a link loop; Target is then empty.
    bool TargetFound = false;
    struct stat Target {};
    bool IsLink() const { return S_ISLNK(OwnMode); }
};

// Reads the status of name in the directory open as dirFd (AT_FDCWD: name is a path):
// one call that does not follow links, and a second, following one only for a link.
// Nothing when the entry does not exist.
std::optional<TEntryStatus> ReadEntryStatus(int dirFd, const char* name);

// The statuses of the entries of one folder, read against the folder's own directory
// descriptor (one name lookup instead of a walk of the whole path) and kept until the
// next Clear. An enumerator clears it for every batch it hands out, so an answer is
// never older than the batch of items it is about.
class TEntryStatusMemo {
public:
    // Works on its own duplicate of dirFd.
    explicit TEntryStatusMemo(int dirFd);
    ~TEntryStatusMemo();
    TEntryStatusMemo(const TEntryStatusMemo&) = delete;
    TEntryStatusMemo& operator=(const TEntryStatusMemo&) = delete;

    // The entry's status, read at the first question since the last Clear; null when
    // the entry does not exist (or the descriptor could not be duplicated).
    const TEntryStatus* Find(const QByteArray& name);
    void Clear() { FKnown.clear(); }

private:
    int FDirFd = -1;
    QHash<QByteArray, std::optional<TEntryStatus>> FKnown;
};

} // namespace platform::shell
