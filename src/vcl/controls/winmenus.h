#pragma once
// The platform's menu handles for the units that build and track menus the original
// way (a shell object fills a pop-up menu, the unit tracks it and reads the chosen
// command): menus of entries with command numbers, sub-menus, checks, radio checks, a
// default entry and pictures, shown as Qt menus. Functions given a handle that is not a
// live menu fail without touching anything.
#include "platform/win32types.h"
#include "vcl/controls/messages.h"
#include "vcl/graphics/gdi.h"

#include <QString>
#include <cstdint>

namespace vcl {

class TMenuHandle;
using HMENU = TMenuHandle*;

enum : UINT {
    MF_BYCOMMAND = 0x0000, MF_STRING = 0x0000, MF_ENABLED = 0x0000, MF_UNCHECKED = 0x0000,
    MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_CHECKED = 0x0008, MF_POPUP = 0x0010,
    MF_RADIOCHECK = 0x0200, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800, MF_DEFAULT = 0x1000,
};
enum : UINT {
    TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002,
    TPM_LEFTALIGN = 0x0000, TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008,
    TPM_TOPALIGN = 0x0000, TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020,
    TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100,
};
enum : UINT { GMDI_USEDISABLED = 0x0001, GMDI_GOINTOPOPUPS = 0x0002 };
constexpr UINT MenuNotFound = 0xFFFFFFFF;

HMENU CreatePopupMenu();
// Frees the menu and its sub-menus.
BOOL DestroyMenu(HMENU Menu);
BOOL IsMenu(HMENU Menu);

// IDNewItem is the command number, or the sub-menu (HMENU cast to uintptr_t) with
// MF_POPUP; the menu then owns the sub-menu.
BOOL AppendMenu(HMENU Menu, UINT Flags, uintptr_t IDNewItem, const QString& Text);
// Inserts before the entry Position names (MF_BYPOSITION: its index; else its command);
// a position past the end appends.
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, uintptr_t IDNewItem, const QString& Text);
// Removes the entry and frees its sub-menu.
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags);

int GetMenuItemCount(HMENU Menu);
// The command of the entry at Position; MenuNotFound for sub-menus and bad positions.
UINT GetMenuItemID(HMENU Menu, int Position);
HMENU GetSubMenu(HMENU Menu, int Position);
// The entry's MF_ flags (for a sub-menu, its entry count in the high byte).
UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags);
int GetMenuString(HMENU Menu, UINT Item, QString& Text, UINT Flags);
// Both return the previous MF_CHECKED / MF_GRAYED|MF_DISABLED state, or MenuNotFound.
UINT CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
UINT EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
// Radio-checks Check and clears the other entries from First to Last.
BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags);
// Item MenuNotFound clears the default entry.
BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPosition);
// The default entry's command (or position); MenuNotFound when there is none, or when
// it is disabled and GMDI_USEDISABLED is not given.
UINT GetMenuDefaultItem(HMENU Menu, UINT ByPosition, UINT Flags);
// The entry's picture (the menu keeps a copy of the bitmap's pixels).
BOOL SetMenuItemBitmaps(HMENU Menu, UINT Position, UINT Flags, HBITMAP Unchecked, HBITMAP Checked);

// Shows the menu at the screen point, modal. Before each menu or sub-menu opens, Owner
// receives WM_INITMENUPOPUP (the menu handle, its index in its parent) and may still
// change it, unless TPM_NONOTIFY. With TPM_RETURNCMD the chosen command comes back
// (0: none); otherwise it is posted to Owner as WM_COMMAND and the result is true.
// Right clicks choose entries only with TPM_RIGHTBUTTON.
int TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const void* Params);

} // namespace vcl
