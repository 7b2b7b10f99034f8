#include "platform/shell/shellfileinfo.h"

#include "platform/shell/filetypes.h"
#include "platform/shell/itemattributes.h"
#include "platform/shell/namespacefolder.h"
#include "platform/shell/shelllocations.h"
#include "platform/shell/systemimagelist.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>
#include <cstring>

namespace platform::shell {

namespace {

// What an item looks like: its icon-theme names (most specific first) and the style's
// standard icon to fall back on.
struct TItemLook {
    QString Key;
    QStringList IconNames;
    QStyle::StandardPixmap Fallback;
};

const QMimeDatabase& MimeDatabase()
{
    static const QMimeDatabase database;
    return database;
}

TItemLook LookOf(const std::vector<TShellItem>& absolute, bool open)
{
    if (absolute.empty())
        return {"desktop", {"user-desktop"}, QStyle::SP_DesktopIcon};
    const TShellItem& item = absolute.back();
    switch (item.Kind) {
    case TItemKind::Computer: return {"computer", {"computer"}, QStyle::SP_ComputerIcon};
    case TItemKind::Home: return {"home", {"user-home"}, QStyle::SP_DirHomeIcon};
    case TItemKind::Trash: return {"trash", {"user-trash"}, QStyle::SP_TrashIcon};
    case TItemKind::Drive: return {"drive", {"drive-harddisk"}, QStyle::SP_DriveHDIcon};
    default: break;
    }
    if (item.IsFolder())
        return open ? TItemLook{"folder-open", {"folder-open", "folder"}, QStyle::SP_DirOpenIcon}
                    : TItemLook{"folder", {"folder"}, QStyle::SP_DirIcon};
    const TFileType& type = FileTypeOfName(item.Name);
    return {type.MimeName, {type.IconName, type.GenericIconName}, QStyle::SP_FileIcon};
}

// The first icon the theme has, else the style's standard icon, with the key that
// tells distinct icons apart.
QIcon ResolveIcon(const TItemLook& look, QString& iconKey)
{
    for (const QString& name : look.IconNames) {
        if (!name.isEmpty() && QIcon::hasThemeIcon(name)) {
            iconKey = "theme:" + name;
            return QIcon::fromTheme(name);
        }
    }
    iconKey = "style:" + QString::number(int(look.Fallback));
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    return application ? QApplication::style()->standardIcon(look.Fallback) : QIcon();
}

void CopyText(char* target, size_t size, const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() >= qsizetype(size))
        bytes = text.left(int(size) - 1).toUtf8().left(qsizetype(size) - 1);
    std::memset(target, 0, size);
    std::memcpy(target, bytes.constData(), size_t(bytes.size()));
}

std::optional<std::vector<TShellItem>> ItemsOfRequest(const char* path, DWORD fileAttributes, UINT flags)
{
    std::vector<TShellItem> items;
    if (flags & SHGFI_PIDL) {
        if (!ILReadItems(reinterpret_cast<LPCITEMIDLIST>(path), items))
            return std::nullopt;
        return items;
    }
    const QByteArray name(path);
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        const QByteArray last = name.mid(name.lastIndexOf('/') + 1);
        const uint8_t itemFlags = (fileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? ifFolder : 0;
        items.push_back({TItemKind::Entry, itemFlags, last.isEmpty() ? QByteArray("?") : last});
        return items;
    }
    return ItemsForPath(name);
}

} // namespace

QString ItemTypeName(const std::vector<TShellItem>& absolute)
{
    if (absolute.empty() || absolute.back().Kind == TItemKind::Computer || absolute.back().Kind == TItemKind::Trash)
        return QStringLiteral("System Folder");
    if (absolute.back().Kind == TItemKind::Drive)
        return QStringLiteral("Volume");
    if (absolute.back().IsFolder() || absolute.back().Kind == TItemKind::Home) {
        static const QString folder = MimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        return folder;
    }
    return FileTypeOfName(absolute.back().Name).Comment;
}

namespace {

// The index of a look's icon in list, adding the icon the first time.
int LookIconIndex(TSystemImageList& list, const TItemLook& look)
{
    const QString lookKey = "look:" + look.Key;
    if (const int known = list.Find(lookKey); known >= 0)
        return known;
    QString iconKey;
    const QIcon icon = ResolveIcon(look, iconKey);
    const int index = list.IndexOf(iconKey, icon);
    if (index >= 0)
        list.Remember(lookKey, index);
    return index;
}

} // namespace

int ItemIconIndex(const std::vector<TShellItem>& absolute, bool small, bool open)
{
    TSystemImageList& list = small ? TSystemImageList::Small() : TSystemImageList::Large();
    const bool plainFile = !absolute.empty() && !absolute.back().IsFolder()
        && (absolute.back().Kind == TItemKind::Entry || absolute.back().Kind == TItemKind::DesktopEntry);
    if (!plainFile)
        return LookIconIndex(list, LookOf(absolute, open));
    // A file's icon is its type's: after the first file of a type, one lookup.
    const TFileType& type = FileTypeOfName(absolute.back().Name);
    int& index = type.IconIndex[small ? 0 : 1];
    if (index < 0)
        index = LookIconIndex(list, LookOf(absolute, open));
    return index;
}

DWORD_PTR SHGetFileInfo(const char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags)
{
    TSystemImageList& list = (flags & SHGFI_SMALLICON) ? TSystemImageList::Small() : TSystemImageList::Large();
    const DWORD_PTR listHandle = reinterpret_cast<DWORD_PTR>(&list);
    if (!path || (!(flags & SHGFI_PIDL) && path[0] == '\0'))
        return (flags & SHGFI_SYSICONINDEX) && path ? listHandle : 0;
    if (info && infoSize < sizeof(SHFILEINFO))
        return 0;
    const std::optional<std::vector<TShellItem>> items = ItemsOfRequest(path, fileAttributes, flags);
    if (!items)
        return 0;
    if (info && (flags & SHGFI_SYSICONINDEX))
        info->iIcon = ItemIconIndex(*items, flags & SHGFI_SMALLICON, flags & SHGFI_OPENICON);
    if (info && (flags & SHGFI_TYPENAME))
        CopyText(info->szTypeName, sizeof info->szTypeName, ItemTypeName(*items));
    if (info && (flags & SHGFI_DISPLAYNAME))
        CopyText(info->szDisplayName, sizeof info->szDisplayName, DisplayNameOfItems(*items, SHGDN_NORMAL));
    if (info && (flags & SHGFI_ATTRIBUTES) && !(flags & SHGFI_USEFILEATTRIBUTES)) {
        const std::vector<TShellItem> parent(items->begin(), items->end() - (items->empty() ? 0 : 1));
        const std::optional<ULONG> attributes = ItemAttributes(*items, TFolderFacts::Read(PathOfItems(parent)));
        if (!attributes)
            return 0;
        info->dwAttributes = *attributes;
    }
    return (flags & SHGFI_SYSICONINDEX) ? listHandle : 1;
}

} // namespace platform::shell
