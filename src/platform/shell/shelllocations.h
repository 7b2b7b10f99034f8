#pragma once
// Where the namespace's items live on disk: the home folder, the XDG user folders, the
// trash, the mounted volumes that stand in for drives; and the mapping between absolute
// paths and the item sequences that name them from the desktop.
#include "platform/pathnames.h"
#include "platform/shell/idlist.h"

#include <QByteArray>
#include <optional>
#include <vector>

namespace platform::shell {

struct TMountedVolume {
    QByteArray MountPoint;
    QByteArray FileSystem;
    bool Removable = false;
};

QByteArray HomePath();
// $XDG_DATA_HOME, or ~/.local/share; $XDG_CONFIG_HOME, or ~/.config.
QByteArray DataHomePath();
QByteArray ConfigHomePath();
// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
QByteArray TrashPath();
// An XDG user folder by its key ("DESKTOP", "DOCUMENTS", "TEMPLATES"...) from
// user-dirs.dirs, else the usual folder under home ("Desktop", "Documents"...).
QByteArray UserDirPath(const char* key);

// The mounted volumes holding real file systems (block devices, network and fuse
// volumes, and the root), from /proc/self/mountinfo; the root always comes first.
std::vector<TMountedVolume> MountedVolumes();

using platform::CleanAbsolutePath;

// True when path is folder or lies below it (both clean and absolute).
bool IsUnder(const QByteArray& path, const QByteArray& folder);
// Appends the entries that lead from base down to path (path below base, both clean),
// each checked with lstat and, for links, stat; false when one does not exist.
bool AppendPathEntries(const QByteArray& base, const QByteArray& path, std::vector<TShellItem>& items);

// The items that name an absolute path from the desktop: below the home folder through
// the home item, elsewhere through the computer and the volume holding it. Every item is
// checked with lstat (links) and stat (folders); empty when the path does not exist.
// With throughHome false the path is always named through its volume.
std::optional<std::vector<TShellItem>> ItemsForPath(const QByteArray& path, bool throughHome = true);

// The absolute path of items from the desktop; nothing for the desktop, the computer or
// a malformed sequence.
std::optional<QByteArray> PathOfItems(const std::vector<TShellItem>& items);

} // namespace platform::shell
