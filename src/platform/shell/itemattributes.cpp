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

ULONG EntryAttributes(const TEntryStatus& status, const QByteArray& name, const TFolderFacts& parent)
{
    ULONG attributes = FileBits;
    if (status.IsLink())
        attributes |= SFGAO_LINK;
    // A dangling link or a link loop is an item, not a folder.
    const mode_t mode = status.TargetFound ? status.Target.st_mode : S_IFREG;
    if (S_ISDIR(mode))
        attributes |= FolderBits;
    if (!(mode & S_IWUSR))
        attributes |= SFGAO_READONLY;
    if (parent.Writable)
        attributes |= SFGAO_CANRENAME | SFGAO_CANDELETE;
    if (IsHidden(name, parent))
        attributes |= SFGAO_HIDDEN | SFGAO_GHOSTED;
    return attributes;
}

std::optional<ULONG> ItemAttributes(const std::vector<TShellItem>& absolute, const TFolderFacts& parent)
{
    if (absolute.empty())
        return FolderBits;
    const TShellItem& item = absolute.back();
    if (item.Kind != TItemKind::Entry && item.Kind != TItemKind::DesktopEntry)
        return VirtualItemAttributes(item);
    const std::optional<QByteArray> path = PathOfItems(absolute);
    const std::optional<TEntryStatus> status = path ? ReadEntryStatus(AT_FDCWD, path->constData()) : std::nullopt;
    if (!status)
        return std::nullopt;
    return EntryAttributes(*status, item.Name, parent);
}

TDirectoryReader::TDirectoryReader(QByteArray path, TItemKind kind, DWORD flags, TFolderFacts facts)
    : FPath(std::move(path)), FKind(kind), FFlags(flags), FFacts(std::move(facts)), FDir(::opendir(FPath.constData()))
{
}

TDirectoryReader::~TDirectoryReader()
{
    if (FDir)
        ::closedir(FDir);
}

std::unique_ptr<TDirectoryReader> TDirectoryReader::Reopen() const
{
    return std::make_unique<TDirectoryReader>(FPath, FKind, FFlags, FFacts);
}

void TDirectoryReader::Rewind()
{
    if (FDir)
        ::rewinddir(FDir);
}

bool TDirectoryReader::Next(TShellItem& item)
{
    while (const dirent* entry = FDir ? ::readdir(FDir) : nullptr) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        uint8_t itemFlags = entry->d_type == DT_DIR ? ifFolder : 0;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (entry->d_type == DT_LNK)
                itemFlags |= ifLink;
            else if (::fstatat(::dirfd(FDir), name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode))
                itemFlags |= ifLink;
            if (::fstatat(::dirfd(FDir), name, &info, 0) == 0 && S_ISDIR(info.st_mode))
                itemFlags |= ifFolder;
        }
        QByteArray bytes(name);
        if (Wanted(itemFlags & ifFolder, IsHidden(bytes, FFacts), FFlags)) {
            item = {FKind, itemFlags, std::move(bytes)};
            return true;
        }
    }
    return false;
}

bool ListChildren(const std::vector<TShellItem>& absolute, DWORD flags, const TFolderFacts& facts,
                  std::vector<TShellItem>& items, std::unique_ptr<TDirectoryReader>& reader)
{
    items.clear();
    reader.reset();
    if (absolute.empty()) {
        items = DesktopRootItems(flags);
        TDirectoryReader desktop(UserDirPath("DESKTOP"), TItemKind::DesktopEntry, flags, facts);
        for (TShellItem item; desktop.Next(item);)
            items.push_back(item);
        return true;
    }
    if (absolute.back().Kind == TItemKind::Computer) {
        if (flags & SHCONTF_FOLDERS)
            for (const TMountedVolume& volume : MountedVolumes())
                items.push_back({TItemKind::Drive, ifFolder, volume.MountPoint});
        return true;
    }
    const std::optional<QByteArray> path = PathOfItems(absolute);
    if (!path)
        return false;
    reader = std::make_unique<TDirectoryReader>(*path, TItemKind::Entry, flags, facts);
    if (!reader->IsOpen())
        reader.reset();
    return reader != nullptr;
}

} // namespace platform::shell
