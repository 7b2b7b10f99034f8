#include "platform/shell/entrystatus.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform::shell {

namespace {

// A memo asked about more names than a batch holds is being used outside an
// enumeration; it starts over rather than growing without bound.
constexpr qsizetype MemoLimit = 1024;

} // namespace

std::optional<TEntryStatus> ReadEntryStatus(int dirFd, const char* name)
{
    TEntryStatus status;
    if (::fstatat(dirFd, name, &status.Target, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    status.OwnMode = status.Target.st_mode;
    status.TargetFound = !status.IsLink() || ::fstatat(dirFd, name, &status.Target, 0) == 0;
    if (!status.TargetFound)
        status.Target = {};
    return status;
}

TEntryStatusMemo::TEntryStatusMemo(int dirFd) : FDirFd(dirFd >= 0 ? ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0) : -1)
{
}

TEntryStatusMemo::~TEntryStatusMemo()
{
    if (FDirFd >= 0)
        ::close(FDirFd);
}

const TEntryStatus* TEntryStatusMemo::Find(const QByteArray& name)
{
    if (FDirFd < 0)
        return nullptr;
    auto known = FKnown.find(name);
    if (known == FKnown.end()) {
        if (FKnown.size() >= MemoLimit)
            FKnown.clear();
        known = FKnown.insert(name, ReadEntryStatus(FDirFd, name.constData()));
    }
    return known->has_value() ? &**known : nullptr;
}

} // namespace platform::shell
