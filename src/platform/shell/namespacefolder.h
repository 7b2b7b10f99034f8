#pragma once
// The one folder class of the namespace: the desktop (no items), the computer, or a
// file-system folder, told apart by the absolute items that name it.
#include "platform/shell/idlist.h"
#include "platform/shell/itemattributes.h"
#include "platform/shell/shellfolder.h"

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

    // The file-system path of an item of this folder (a relative list); nothing for a
    // malformed list or an item without a path.
    std::optional<QByteArray> ItemPath(LPCITEMIDLIST relative) const;

protected:
    bool Offers(REFIID riid) const override;

private:
    // The absolute items of a list relative to this folder; false for a malformed list.
    bool Resolve(LPCITEMIDLIST relative, std::vector<TShellItem>& absolute, std::vector<TShellItem>* ownItems = nullptr) const;
    std::optional<std::vector<TShellItem>> ParseRelative(const QByteArray& name) const;
    const TFolderFacts& Facts() const;

    std::vector<TShellItem> FItems;
    std::optional<QByteArray> FPath;
    mutable std::optional<TFolderFacts> FFacts;
};

// The text of an absolute item sequence for the SHGDN flags.
QString DisplayNameOfItems(const std::vector<TShellItem>& absolute, DWORD flags);

} // namespace platform::shell
