#pragma once
// SHGetFileInfo and what it is made of: an item's type name from the MIME database
// (by name only, never by content) and its icon's index in the system image lists.
#include "platform/shell/idlist.h"
#include "platform/shell/shelltypes.h"

#include <cstdint>

namespace platform::shell {

using DWORD_PTR = uintptr_t;

struct SHFILEINFO {
    void* hIcon = nullptr; // icons live in the system image lists; never set
    int iIcon = -1;
    DWORD dwAttributes = 0;
    char szDisplayName[260] = {};
    char szTypeName[80] = {};
};

enum : UINT {
    SHGFI_LARGEICON = 0x0, SHGFI_SMALLICON = 0x1, SHGFI_OPENICON = 0x2, SHGFI_PIDL = 0x8,
    SHGFI_USEFILEATTRIBUTES = 0x10, SHGFI_DISPLAYNAME = 0x200, SHGFI_TYPENAME = 0x400,
    SHGFI_ATTRIBUTES = 0x800, SHGFI_SYSICONINDEX = 0x4000,
};
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;

// With SHGFI_PIDL, path is an absolute identifier list; with SHGFI_USEFILEATTRIBUTES
// only its name and fileAttributes count and the item need not exist. With
// SHGFI_SYSICONINDEX the result is the system image list (TSystemImageList*, large or
// small), else 1; 0 on failure. An empty path with SHGFI_SYSICONINDEX just returns
// the list.
DWORD_PTR SHGetFileInfo(const char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags);

// The type name and icon index of the item at the end of absolute.
QString ItemTypeName(const std::vector<TShellItem>& absolute);
int ItemIconIndex(const std::vector<TShellItem>& absolute, bool small, bool open);

} // namespace platform::shell
