#include "platform/shell/itemattributes.h"

#include "platform/shell/shelllocations.h"

#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::shell {

namespace {

constexpr ULONG FolderBits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
constexpr ULONG FileBits = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_HASPROPSHEET;

ULONG VirtualItemAttributes(const TShellItem& item)
{
    switch (item.Kind) {
    case TItemKind::Computer: return FolderBits;
    case TItemKind::Trash: return FolderBits | SFGAO_HASPROPSHEET;
    case TItemKind::Home: return FolderBits | SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET;
    default: {
        // Volumes below /media and /run/media are the ones the desktop mounts for
        // removable drives; that is the only hint a listing has.
        const bool removable = item.Name.startsWith("/media/") || item.Name.startsWith("/run/media/");
        return FolderBits | SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET | (removable ? ULONG(SFGAO_REMOVABLE) : ULONG(0));
    }
    }
}

bool IsHidden(const QByteArray& name, const TFolderFacts& facts)
{
    return name.startsWith('.') || facts.HiddenNames.contains(name);
}

bool Wanted(bool folder, bool hidden, DWORD flags)
{
    if (hidden && !(flags & SHCONTF_INCLUDEHIDDEN))
        return false;
    return folder ? (flags & SHCONTF_FOLDERS) : (flags & SHCONTF_NONFOLDERS);
}

std::vector<TShellItem> DesktopRootItems(DWORD flags)
{
    std::vector<TShellItem> items;
    if (flags & SHCONTF_FOLDERS) {
        items.push_back({TItemKind::Computer, ifFolder, {}});
        items.push_back({TItemKind::Home, ifFolder, {}});
        items.push_back({TItemKind::Trash, ifFolder, {}});
    }
    return items;
}

// The entries of a directory; the kind of each item comes from the directory entry,
// with a stat only for links and for file systems that leave the type unknown.
std::optional<std::vector<TShellItem>> ReadDirectory(const QByteArray& path, TItemKind kind, DWORD flags,
                                                     const TFolderFacts& facts)
{
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return std::nullopt;
    std::vector<TShellItem> items;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        uint8_t itemFlags = entry->d_type == DT_DIR ? ifFolder : 0;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (entry->d_type == DT_LNK)
                itemFlags |= ifLink;
            else if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode))
                itemFlags |= ifLink;
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode))
                itemFlags |= ifFolder;
        }
        if (Wanted(itemFlags & ifFolder, IsHidden(name, facts), flags))
            items.push_back({kind, itemFlags, name});
    }
    ::closedir(dir);
    return items;
}

} // namespace

TFolderFacts TFolderFacts::Read(const std::optional<QByteArray>& folderPath)
{
    TFolderFacts facts;
    if (!folderPath)
        return facts;
    facts.Writable = ::access(folderPath->constData(), W_OK) == 0;
    QFile hidden(QFile::decodeName(*folderPath + "/.hidden"));
    if (hidden.open(QIODevice::ReadOnly))
        for (const QByteArray& line : hidden.readAll().split('\n'))
            if (!line.isEmpty())
                facts.HiddenNames.insert(line);
    return facts;
}

std::optional<ULONG> ItemAttributes(const std::vector<TShellItem>& absolute, const TFolderFacts& parent)
{
    if (absolute.empty())
        return FolderBits;
    const TShellItem& item = absolute.back();
    if (item.Kind != TItemKind::Entry && item.Kind != TItemKind::DesktopEntry)
        return VirtualItemAttributes(item);
    const std::optional<QByteArray> path = PathOfItems(absolute);
    struct stat info {};
    if (!path || ::lstat(path->constData(), &info) != 0)
        return std::nullopt;
    ULONG attributes = FileBits;
    if (S_ISLNK(info.st_mode)) {
        attributes |= SFGAO_LINK;
        if (::stat(path->constData(), &info) != 0)
            info.st_mode = S_IFREG; // a dangling link or a link loop: an item, not a folder
    }
    if (S_ISDIR(info.st_mode))
        attributes |= FolderBits;
    if (!(info.st_mode & S_IWUSR))
        attributes |= SFGAO_READONLY;
    if (parent.Writable)
        attributes |= SFGAO_CANRENAME | SFGAO_CANDELETE;
    if (IsHidden(item.Name, parent))
        attributes |= SFGAO_HIDDEN | SFGAO_GHOSTED;
    return attributes;
}

std::optional<std::vector<TShellItem>> ListChildren(const std::vector<TShellItem>& absolute, DWORD flags,
                                                    const TFolderFacts& facts)
{
    if (absolute.empty()) {
        std::vector<TShellItem> items = DesktopRootItems(flags);
        if (auto desktop = ReadDirectory(UserDirPath("DESKTOP"), TItemKind::DesktopEntry, flags, facts))
            items.insert(items.end(), desktop->begin(), desktop->end());
        return items;
    }
    if (absolute.back().Kind == TItemKind::Computer) {
        std::vector<TShellItem> drives;
        if (flags & SHCONTF_FOLDERS)
            for (const TMountedVolume& volume : MountedVolumes())
                drives.push_back({TItemKind::Drive, ifFolder, volume.MountPoint});
        return drives;
    }
    const std::optional<QByteArray> path = PathOfItems(absolute);
    if (!path)
        return std::nullopt;
    return ReadDirectory(*path, TItemKind::Entry, flags, facts);
}

} // namespace platform::shell
