#pragma once
// The namespace's entry points: the desktop folder, special folders, and paths and
// file data of identifier lists.
#include "platform/shell/shellfolder.h"

namespace platform::shell {

// Special-folder numbers with a counterpart here; every other number fails.
enum : int {
    CSIDL_DESKTOP = 0x00, CSIDL_PROGRAMS = 0x02, CSIDL_PERSONAL = 0x05, CSIDL_STARTUP = 0x07,
    CSIDL_BITBUCKET = 0x0A, CSIDL_DESKTOPDIRECTORY = 0x10, CSIDL_DRIVES = 0x11, CSIDL_FONTS = 0x14,
    CSIDL_TEMPLATES = 0x15,
};

// The absolute list of a special folder: the desktop (empty list), the trash, the
// computer, the XDG desktop, documents and templates folders, the user's application
// entries ($XDG_DATA_HOME/applications) for the programs, the autostart entries
// ($XDG_CONFIG_HOME/autostart) for start-up, and $XDG_DATA_HOME/fonts for the fonts.
// Fails for numbers without a counterpart (printers, control panel, network, recent
// files, favourites, send-to, start menu) and for folders that do not exist.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);

// The file-system path of an absolute list into path (at least 260 bytes, zero
// terminated); false for lists that name no file-system item or whose path is longer.
BOOL SHGetPathFromIDList(LPCITEMIDLIST list, char* path);

enum : int { SHGDFIL_FINDDATA = 1 };
enum : DWORD { FILE_ATTRIBUTE_READONLY = 0x01, FILE_ATTRIBUTE_HIDDEN = 0x02, FILE_ATTRIBUTE_NORMAL = 0x80 };

// The find data (sizes, times, attributes, name) of a file-system item of the folder.
// Times are 100-nanosecond intervals since 1601; creation time is the status-change time.
HRESULT SHGetDataFromIDList(IShellFolder* folder, LPCITEMIDLIST list, int format, void* data, int size);

} // namespace platform::shell
