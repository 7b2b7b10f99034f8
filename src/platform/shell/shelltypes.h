#pragma once
// The shell's base types under their original names: result codes, interface ids,
// item-identifier lists, name replies and the flag words of folder operations.
#include "platform/win32types.h"

#include <atomic>
#include <cstdint>

namespace platform::shell {

using platform::BOOL;
using platform::DWORD;
using platform::FILETIME;
using platform::MAX_PATH;
using platform::WIN32_FIND_DATAA;
using platform::UINT;
using HRESULT = int32_t;
using ULONG = uint32_t;
using LPARAM = intptr_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
// A success code whose low 16 bits carry a signed comparison result (CompareIDs).
constexpr HRESULT MAKE_COMPARE_RESULT(int order) { return static_cast<HRESULT>(static_cast<uint16_t>(static_cast<int16_t>(order))); }
constexpr int16_t COMPARE_RESULT_CODE(HRESULT hr) { return static_cast<int16_t>(hr & 0xFFFF); }

// Interface identifiers: only their identity matters here, so each is a distinct tag.
struct GUID { uint32_t Data1; };
using REFIID = const GUID&;
inline constexpr GUID IID_IUnknown{0x00000000};
inline constexpr GUID IID_IShellFolder{0x000214E6};
inline constexpr GUID IID_IEnumIDList{0x000214F2};
inline constexpr GUID IID_IContextMenu{0x000214E4};
inline constexpr GUID IID_IContextMenu2{0x000214F4};
inline constexpr GUID IID_IContextMenu3{0xBCFCE0A0};
inline constexpr bool operator==(const GUID& a, const GUID& b) { return a.Data1 == b.Data1; }

// One item of an identifier list: its byte count (the two count bytes included), then
// bytes only the owning folder reads. A list ends with a count of zero.
#pragma pack(push, 1)
struct SHITEMID {
    uint16_t cb;
    uint8_t abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// Reference counting of every shell object; an object deletes itself at count zero.
class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, void** object);
    ULONG AddRef() { return ++FRefCount; }
    ULONG Release();

protected:
    IUnknown() = default;
    IUnknown(const IUnknown&) = delete;
    IUnknown& operator=(const IUnknown&) = delete;
    virtual ~IUnknown() = default;
    // The interfaces this object offers besides IUnknown.
    virtual bool Offers(REFIID riid) const = 0;

private:
    std::atomic<ULONG> FRefCount{1};
};

// GetDisplayNameOf's reply: shell-allocated UTF-16 text, an offset into the item,
// or text held in the reply itself.
enum : UINT { STRRET_WSTR = 0, STRRET_OFFSET = 1, STRRET_CSTR = 2 };
struct STRRET {
    UINT uType = STRRET_CSTR;
    union {
        char16_t* pOleStr;
        UINT uOffset;
        char cStr[260];
    };
    STRRET() : cStr{} {}
};

enum : DWORD {
    SHGDN_NORMAL = 0, SHGDN_INFOLDER = 1, SHGDN_FORADDRESSBAR = 0x4000, SHGDN_FORPARSING = 0x8000,
};
enum : DWORD { SHCONTF_FOLDERS = 0x20, SHCONTF_NONFOLDERS = 0x40, SHCONTF_INCLUDEHIDDEN = 0x80 };
enum : DWORD {
    SFGAO_CANCOPY = 0x1, SFGAO_CANMOVE = 0x2, SFGAO_CANLINK = 0x4, SFGAO_CANRENAME = 0x10,
    SFGAO_CANDELETE = 0x20, SFGAO_HASPROPSHEET = 0x40, SFGAO_GHOSTED = 0x8000,
    SFGAO_LINK = 0x10000, SFGAO_READONLY = 0x40000, SFGAO_HIDDEN = 0x80000,
    SFGAO_REMOVABLE = 0x2000000, SFGAO_FILESYSANCESTOR = 0x10000000, SFGAO_FOLDER = 0x20000000,
    SFGAO_FILESYSTEM = 0x40000000, SFGAO_HASSUBFOLDER = 0x80000000,
};

} // namespace platform::shell
