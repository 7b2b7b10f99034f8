#include "platform/shell/namespacefolder.h"

#include "platform/shell/itemcontextmenu.h"
#include "platform/shell/itemenumerator.h"
#include "platform/shell/itemorder.h"
#include "platform/shell/shelllocations.h"
#include "platform/shell/shellmalloc.h"
#include "platform/shell/trashcan.h"

#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace platform::shell {

namespace {

void SetReplyText(STRRET* reply, const QString& text)
{
    const int64_t bytes = (text.size() + 1) * int64_t(sizeof(char16_t));
    auto* wide = static_cast<char16_t*>(IMalloc::Instance().Alloc(static_cast<size_t>(bytes)));
    if (wide)
        std::memcpy(wide, text.utf16(), static_cast<size_t>(text.size()) * sizeof(char16_t));
    reply->uType = STRRET_WSTR;
    reply->pOleStr = wide;
}

void SetReplyCString(STRRET* reply, const char* text)
{
    reply->uType = STRRET_CSTR;
    std::memset(reply->cStr, 0, sizeof reply->cStr);
    std::strncpy(reply->cStr, text, sizeof reply->cStr - 1);
}

QByteArray WithoutTrailingSlash(QByteArray name)
{
    while (name.size() > 1 && name.endsWith('/'))
        name.chop(1);
    return name;
}

} // namespace

TNamespaceFolder::TNamespaceFolder(std::vector<TShellItem> absolute)
    : FItems(std::move(absolute))
    , FPath(FItems.empty() ? std::optional<QByteArray>(UserDirPath("DESKTOP")) : PathOfItems(FItems))
{
}

bool TNamespaceFolder::Offers(REFIID riid) const
{
    return riid == IID_IShellFolder;
}

const TFolderFacts& TNamespaceFolder::Facts() const
{
    if (!FFacts)
        FFacts = TFolderFacts::Read(FPath);
    return *FFacts;
}

bool TNamespaceFolder::Resolve(LPCITEMIDLIST relative, std::vector<TShellItem>& absolute,
                               std::vector<TShellItem>* ownItems) const
{
    std::vector<TShellItem> items;
    if (!ILReadItems(relative, items) || items.empty())
        return false;
    absolute.clear();
    absolute.reserve(FItems.size() + items.size());
    absolute.insert(absolute.end(), FItems.begin(), FItems.end());
    absolute.insert(absolute.end(), items.begin(), items.end());
    if (ownItems)
        *ownItems = std::move(items);
    return true;
}

std::optional<TEntryStatus> TNamespaceFolder::MemoStatus(const TShellItem& item) const
{
    if (item.Kind != TItemKind::Entry)
        return std::nullopt;
    const std::shared_ptr<TEntryStatusMemo> memo = FStatuses.lock();
    const TEntryStatus* status = memo ? memo->Find(item.Name) : nullptr;
    return status ? std::optional<TEntryStatus>(*status) : std::nullopt;
}

HRESULT TNamespaceFolder::ItemStatus(LPCITEMIDLIST relative, struct stat& status, QByteArray& name) const
{
    std::vector<TShellItem> absolute;
    std::vector<TShellItem> own;
    if (!Resolve(relative, absolute, &own))
        return E_INVALIDARG;
    std::optional<TEntryStatus> entry = own.size() == 1 ? MemoStatus(absolute.back()) : std::nullopt;
    if (entry)
        name = absolute.back().Name;
    else {
        const std::optional<QByteArray> path = PathOfItems(absolute);
        if (!path || !path->startsWith('/'))
            return E_INVALIDARG;
        entry = ReadEntryStatus(AT_FDCWD, path->constData());
        name = path->mid(path->lastIndexOf('/') + 1);
    }
    if (!entry || !entry->TargetFound)
        return E_FAIL;
    status = entry->Target;
    return S_OK;
}

std::optional<std::vector<TShellItem>> TNamespaceFolder::ParseRelative(const QByteArray& name) const
{
    if (FItems.empty()) {
        if (name.startsWith('/'))
            return ItemsForPath(name);
        if (name == "computer:///" || name == "computer:")
            return std::vector<TShellItem>{{TItemKind::Computer, ifFolder, {}}};
        if (name == "trash:///" || name == "trash:")
            return std::vector<TShellItem>{{TItemKind::Trash, ifFolder, {}}};
        if (name.startsWith("file:///"))
            return ItemsForPath(QByteArray::fromPercentEncoding(name.mid(7)));
    } else if (FItems.back().Kind == TItemKind::Computer) {
        auto items = name.startsWith('/') ? ItemsForPath(name, false) : std::nullopt;
        if (items)
            items->erase(items->begin());
        return items;
    }
    if (!FPath)
        return std::nullopt;
    const QByteArray target = CleanAbsolutePath(name.startsWith('/') ? name : *FPath + '/' + name);
    std::vector<TShellItem> items;
    if (target == *FPath || !IsUnder(target, *FPath) || !AppendPathEntries(*FPath, target, items))
        return std::nullopt;
    if (FItems.empty())
        items.front().Kind = TItemKind::DesktopEntry;
    return items;
}

HRESULT TNamespaceFolder::ParseDisplayName(HWND, IBindCtx*, const char16_t* displayName, ULONG* eaten,
                                           LPITEMIDLIST* list, ULONG* attributes)
{
    if (!list)
        return E_INVALIDARG;
    *list = nullptr;
    const QString text = StringFromWide(displayName);
    if (text.isEmpty())
        return E_INVALIDARG;
    const std::optional<std::vector<TShellItem>> items = ParseRelative(WithoutTrailingSlash(BytesFromName(text)));
    if (!items)
        return E_FAIL;
    *list = ILFromItems(*items);
    if (!*list)
        return E_OUTOFMEMORY;
    if (eaten)
        *eaten = static_cast<ULONG>(text.size());
    if (attributes && *attributes)
        GetAttributesOf(1, const_cast<const LPCITEMIDLIST*>(list), attributes);
    return S_OK;
}

HRESULT TNamespaceFolder::EnumObjects(HWND, DWORD flags, IEnumIDList** enumerator)
{
    if (!enumerator)
        return E_INVALIDARG;
    *enumerator = nullptr;
    std::vector<TShellItem> items;
    std::unique_ptr<TDirectoryReader> reader;
    if (!ListChildren(FItems, flags, Facts(), items, reader))
        return E_FAIL;
    std::shared_ptr<TEntryStatusMemo> statuses = reader ? std::make_shared<TEntryStatusMemo>(reader->DirFd()) : nullptr;
    FStatuses = statuses;
    *enumerator = new TItemEnumerator(std::move(items), std::move(reader), std::move(statuses));
    return S_OK;
}

HRESULT TNamespaceFolder::BindToObject(LPCITEMIDLIST list, IBindCtx*, REFIID riid, void** object)
{
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    std::vector<TShellItem> absolute;
    if (!Resolve(list, absolute))
        return E_INVALIDARG;
    if (!absolute.back().IsFolder())
        return E_FAIL;
    if (!(riid == IID_IShellFolder))
        return E_NOINTERFACE;
    *object = static_cast<IShellFolder*>(new TNamespaceFolder(std::move(absolute)));
    return S_OK;
}

HRESULT TNamespaceFolder::CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    std::vector<TShellItem> a;
    std::vector<TShellItem> b;
    if (!ILReadItems(first, a) || !ILReadItems(second, b))
        return E_INVALIDARG;
    // Level by level: the first level where the items differ decides, in the column's
    // order of the folder holding them (a lexicographic order of strict weak orders).
    // The parent items only matter to the detail columns; by name none are copied.
    const int sortColumn = int(column & 0xFFFF);
    const bool byName = sortColumn == ColumnName;
    std::vector<TShellItem> parent = byName ? std::vector<TShellItem>() : FItems;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (const int order = CompareItemsInColumn(sortColumn, parent, a[i], b[i]); order != 0)
            return MAKE_COMPARE_RESULT(order);
        if (!byName)
            parent.push_back(a[i]);
    }
    return MAKE_COMPARE_RESULT(a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1));
}

HRESULT TNamespaceFolder::GetAttributesOf(UINT count, const LPCITEMIDLIST* lists, ULONG* inOut)
{
    if (!inOut || (count > 0 && !lists))
        return E_INVALIDARG;
    ULONG common = *inOut;
    for (UINT i = 0; i < count; ++i) {
        std::vector<TShellItem> absolute;
        std::vector<TShellItem> own;
        if (!Resolve(lists[i], absolute, &own))
            return E_INVALIDARG;
        const std::optional<ULONG> attributes = ResolvedAttributes(absolute, own.size());
        if (!attributes)
            return E_FAIL;
        common &= *attributes;
    }
    *inOut = common;
    return S_OK;
}

std::optional<ULONG> TNamespaceFolder::ResolvedAttributes(const std::vector<TShellItem>& absolute, size_t ownCount) const
{
    if (ownCount != 1) {
        const std::vector<TShellItem> parent(absolute.begin(), absolute.end() - 1);
        return ItemAttributes(absolute, TFolderFacts::Read(PathOfItems(parent)));
    }
    if (const std::optional<TEntryStatus> status = MemoStatus(absolute.back()))
        return EntryAttributes(*status, absolute.back().Name, Facts());
    return ItemAttributes(absolute, Facts());
}

HRESULT TNamespaceFolder::GetUIObjectOf(HWND, UINT count, const LPCITEMIDLIST* lists, REFIID riid, UINT*,
                                        void** object)
{
    if (!object || count == 0 || !lists)
        return E_INVALIDARG;
    *object = nullptr;
    // Only the first context-menu interface: the second and third exist to relay the
    // messages of owner-drawn entries and sub-menus filled on demand, and our menus are
    // framework pop-up menus that draw and fill themselves.
    if (!(riid == IID_IContextMenu))
        return E_NOINTERFACE;
    std::vector<std::vector<TShellItem>> items(count);
    for (UINT i = 0; i < count; ++i)
        if (!Resolve(lists[i], items[i]))
            return E_INVALIDARG;
    *object = static_cast<IContextMenu*>(new TItemContextMenu(std::move(items)));
    return S_OK;
}

HRESULT TNamespaceFolder::GetDisplayNameOf(LPCITEMIDLIST list, DWORD flags, STRRET* name)
{
    if (!name)
        return E_INVALIDARG;
    std::vector<TShellItem> absolute;
    std::vector<TShellItem> own;
    if (!Resolve(list, absolute, &own))
        return E_INVALIDARG;
    const TItemKind kind = absolute.back().Kind;
    const bool entry = kind == TItemKind::Entry || kind == TItemKind::DesktopEntry;
    const bool inTrash = absolute.size() >= 2 && absolute[absolute.size() - 2].Kind == TItemKind::Trash;
    if (entry && own.size() == 1 && !(flags & SHGDN_FORPARSING) && !inTrash) {
        // The name as the item holds it, bytes and all.
        name->uType = STRRET_OFFSET;
        name->uOffset = ItemNameOffset;
        return S_OK;
    }
    const QString text = DisplayNameOfItems(absolute, flags);
    if (!entry && !(flags & SHGDN_FORPARSING) && text.toUtf8().size() < int(sizeof name->cStr))
        SetReplyCString(name, text.toUtf8().constData());
    else
        SetReplyText(name, text);
    return name->uType == STRRET_WSTR && !name->pOleStr ? E_OUTOFMEMORY : S_OK;
}

HRESULT TNamespaceFolder::SetNameOf(HWND, LPCITEMIDLIST list, const char16_t* name, DWORD, LPITEMIDLIST* newList)
{
    if (newList)
        *newList = nullptr;
    std::vector<TShellItem> absolute;
    std::vector<TShellItem> own;
    const QByteArray newName = BytesFromName(StringFromWide(name));
    if (!Resolve(list, absolute, &own) || own.size() != 1 || newName.isEmpty() || newName.contains('/')
        || newName == "." || newName == ".." || newName.contains('\0'))
        return E_INVALIDARG;
    const std::optional<QByteArray> from = PathOfItems(absolute);
    if (!from || (absolute.back().Kind != TItemKind::Entry && absolute.back().Kind != TItemKind::DesktopEntry))
        return E_FAIL;
    TShellItem renamed = absolute.back();
    renamed.Name = newName;
    absolute.back() = renamed;
    const std::optional<QByteArray> to = PathOfItems(absolute);
    // Never replaces an existing item.
    if (!to || ::renameat2(AT_FDCWD, from->constData(), AT_FDCWD, to->constData(), RENAME_NOREPLACE) != 0)
        return E_FAIL;
    FFacts.reset();
    if (newList)
        *newList = ILFromItems({renamed});
    return S_OK;
}

QString DisplayNameOfItems(const std::vector<TShellItem>& absolute, DWORD flags)
{
    const bool parsing = (flags & SHGDN_FORPARSING) && !(flags & SHGDN_INFOLDER);
    if (absolute.empty())
        return parsing ? NameFromBytes(UserDirPath("DESKTOP")) : QStringLiteral("Desktop");
    const TShellItem& item = absolute.back();
    switch (item.Kind) {
    case TItemKind::Computer: return parsing ? QStringLiteral("computer:///") : QStringLiteral("Computer");
    case TItemKind::Trash: return parsing ? QStringLiteral("trash:///") : QStringLiteral("Trash");
    case TItemKind::Home: return parsing ? NameFromBytes(HomePath()) : QStringLiteral("Home");
    case TItemKind::Drive: return NameFromBytes(item.Name);
    default: break;
    }
    if (!parsing) {
        // A trashed item shows the name it had before, from its trash record.
        if (absolute.size() >= 2 && absolute[absolute.size() - 2].Kind == TItemKind::Trash)
            if (const QByteArray origin = TrashedOrigin(item.Name); !origin.isEmpty())
                return NameFromBytes(origin.mid(origin.lastIndexOf('/') + 1));
        return NameFromBytes(item.Name);
    }
    return NameFromBytes(PathOfItems(absolute).value_or(item.Name));
}

} // namespace platform::shell
