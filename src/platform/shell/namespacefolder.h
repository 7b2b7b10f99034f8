#pragma once
// The one folder class of the namespace: the desktop (no items), the computer, or a
// file-system folder, told apart by the absolute items that name it.
#include "platform/shell/idlist.h"
#include "platform/shell/itemattributes.h"
#include "platform/shell/shellfolder.h"

#include <memory>
#include <optional>

namespace platform::shell {

class TNamespaceFolder : public IShellFolder {
public:
    explicit TNamespaceFolder(std::vector<TShellItem> absolute);

    HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, const char16_t* displayName, ULONG* eaten,
                             LPITEMIDLIST* list, ULONG* attributes) override;
    HRESULT EnumObjects(HWND owner, DWORD flags, IEnumIDList** enumerator) override;
    HRESULT BindToObject(LPCITEMIDLIST list, IBindCtx* bindContext, REFIID riid, void** object) override;
    HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) override;
    HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* lists, ULONG* inOut) override;
    HRESULT GetUIObjectOf(HWND owner, UINT count, const LPCITEMIDLIST* lists, REFIID riid, UINT* reserved,
                          void** object) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST list, DWORD flags, STRRET* name) override;
    HRESULT SetNameOf(HWND owner, LPCITEMIDLIST list, const char16_t* name, DWORD flags,
                      LPITEMIDLIST* newList) override;

    // The status of the item a relative list names (for a link, its target's) and the
    // item's name: E_INVALIDARG for a malformed list or an item without a path, E_FAIL
    // when it does not exist (a dangling link included). While an enumeration of this
    // folder runs, each of its items is read once for this and GetAttributesOf.
    HRESULT ItemStatus(LPCITEMIDLIST relative, struct stat& status, QByteArray& name) const;

protected:
    bool Offers(REFIID riid) const override;

private:
    // The absolute items of a list relative to this folder; false for a malformed list.
    bool Resolve(LPCITEMIDLIST relative, std::vector<TShellItem>& absolute, std::vector<TShellItem>* ownItems = nullptr) const;
    std::optional<std::vector<TShellItem>> ParseRelative(const QByteArray& name) const;
    const TFolderFacts& Facts() const;
    // The status of an entry of this folder from the running enumeration's memo;
    // nothing when none runs or the entry does not exist.
    std::optional<TEntryStatus> MemoStatus(const TShellItem& item) const;
    // The attributes of resolved absolute items, ownCount of them relative to this folder.
    std::optional<ULONG> ResolvedAttributes(const std::vector<TShellItem>& absolute, size_t ownCount) const;

    std::vector<TShellItem> FItems;
    std::optional<QByteArray> FPath;
    mutable std::optional<TFolderFacts> FFacts;
    // The entry statuses of the last enumeration made, while its enumerator lives.
    std::weak_ptr<TEntryStatusMemo> FStatuses;
};

// The text of an absolute item sequence for the SHGDN flags.
QString DisplayNameOfItems(const std::vector<TShellItem>& absolute, DWORD flags);

} // namespace platform::shell
