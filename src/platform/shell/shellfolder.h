#pragma once
// The namespace's object interfaces under their original names and method orders:
// folders, their enumerators and the context menus of their items. Every object is
// reference counted (AddRef/Release); every list and text handed out is shell-allocated.
#include "platform/shell/shelltypes.h"

#include <QString>
#include <vector>

namespace platform::shell {

using HWND = void*;   // owner window of any user interface an operation shows
using IBindCtx = void;

class IEnumIDList : public IUnknown {
public:
    // Up to celt new one-item lists; S_FALSE when fewer than celt were left.
    virtual HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumIDList** copy) = 0;
};

class IShellFolder : public IUnknown {
public:
    virtual HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, const char16_t* displayName,
                                     ULONG* eaten, LPITEMIDLIST* list, ULONG* attributes) = 0;
    virtual HRESULT EnumObjects(HWND owner, DWORD flags, IEnumIDList** enumerator) = 0;
    virtual HRESULT BindToObject(LPCITEMIDLIST list, IBindCtx* bindContext, REFIID riid, void** object) = 0;
    // Success with the order (negative, 0, positive) in the low 16 bits.
    virtual HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) = 0;
    // The attributes asked for in *inOut that all items have.
    virtual HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* lists, ULONG* inOut) = 0;
    virtual HRESULT GetUIObjectOf(HWND owner, UINT count, const LPCITEMIDLIST* lists, REFIID riid,
                                  UINT* reserved, void** object) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST list, DWORD flags, STRRET* name) = 0;
    virtual HRESULT SetNameOf(HWND owner, LPCITEMIDLIST list, const char16_t* name, DWORD flags,
                              LPITEMIDLIST* newList) = 0;
};

// The command record of InvokeCommand. lpVerb is verb text, or a command offset made
// with MAKEINTRESOURCE.
struct CMINVOKECOMMANDINFO {
    DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 1;
    DWORD dwHotKey = 0;
    void* hIcon = nullptr;
};
inline const char* MAKEINTRESOURCE(UINT offset) { return reinterpret_cast<const char*>(static_cast<uintptr_t>(offset)); }
inline bool IS_INTRESOURCE(const char* verb) { return (reinterpret_cast<uintptr_t>(verb) >> 16) == 0; }

enum : UINT { CMF_NORMAL = 0, CMF_DEFAULTONLY = 1, CMF_EXPLORE = 4 };
enum : UINT { GCS_VERBA = 0, GCS_HELPTEXTA = 1 };

// The menu object of some items. Its commands are described here and put into a menu
// by whoever shows it (the framework's pop-up menus live above this layer).
class IContextMenu : public IUnknown {
public:
    struct TCommand {
        UINT Offset;      // added to the first command number of the menu
        QString Verb;     // language-neutral name, e.g. "delete"
        QString Caption;  // menu text with its & accelerator
        bool Default;
    };
    // The commands for the flags (CMF_DEFAULTONLY: the default one alone).
    virtual std::vector<TCommand> Commands(UINT flags) const = 0;
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) = 0;
    virtual HRESULT GetCommandString(UINT offset, UINT type, QString& text) const = 0;
    // Why the last InvokeCommand failed; empty after a success.
    virtual QString LastErrorText() const = 0;
};

// The root of the namespace, with an added reference.
HRESULT SHGetDesktopFolder(IShellFolder** folder);

} // namespace platform::shell
