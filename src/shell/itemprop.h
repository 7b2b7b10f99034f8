#pragma once
// Shell actions on items: show their context menu, open their properties, run their
// default action or a named verb. Items are named by a path (wildcards allowed), by a
// folder path and a list of names in it, or by identifiers inside a folder object.
// Every operation returns true on success; LastErrorText says why the last one failed.
//
// The original relayed menu messages (owner-drawn entries, sub-menus filled on
// opening) from a hidden window to the menu object's second and third context-menu
// interfaces. This namespace's menus are plain framework pop-up menus that need no
// such relay, so there is no relay window and no third-interface flag here.
#include "platform/shell/shellfolder.h"
#include "platform/shell/shellmalloc.h"
#include "vcl/controls/messages.h"
#include "vcl/controls/winmenus.h"
#include "vcl/core/strings.h"

#include <QPoint>
#include <QString>

namespace Itemprop {

using platform::shell::HRESULT;
using platform::shell::IContextMenu;
using platform::shell::IMalloc;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;
using platform::shell::ULONG;
using vcl::HWND;

// Shows the context menu of the item at path at the screen point and runs the
// command chosen; false when no item is there or the item has no menu.
bool DisplayContextMenu(const QString& path, HWND window, QPoint point);
// Shows one context menu for the named items of the folder at folderPath; false when
// names is null or empty, or none of them is found.
bool DisplayContextMenu(const QString& folderPath, const vcl::TStrings* names, HWND window, QPoint point);
// Shows one context menu for the first count identifiers (relative to folder); false
// for no identifiers or when the folder gives the items no menu.
bool DisplayContextMenu(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, QPoint point, int count);

// Opens the properties of the item at path; false when no item is there or the item
// has no properties.
bool DisplayPropertiesDialog(const QString& path, HWND window);
// Opens the properties of the named items of the folder at folderPath; false when
// none is found or they have no properties.
bool DisplayPropertiesDialog(const QString& folderPath, const vcl::TStrings* names, HWND window);
// Opens the properties of the first count identifiers; false unless attributes hold
// SFGAO_HASPROPSHEET and the folder gives the items a menu.
bool DisplayPropertiesDialog(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count);

// Runs the default command of the item at path (opens it); false on failure.
bool PerformDefaultAction(const QString& path, HWND window);
// Runs the default command of the named items of the folder at folderPath.
bool PerformDefaultAction(const QString& folderPath, const vcl::TStrings* names, HWND window);
// Runs the default command of the first count identifiers relative to folder.
bool PerformDefaultAction(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count);

// Runs the context-menu command named verb (such as "open", "delete") on the item at
// path; false when there is no such item or command.
bool PerformVerb(const QString& verb, const QString& path, HWND window);
// Runs the command named verb on the named items of the folder at folderPath.
bool PerformVerb(const QString& verb, const QString& folderPath, const vcl::TStrings* names, HWND window);
// Runs the command named verb on the first count identifiers relative to folder.
bool PerformVerb(const QString& verb, IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count);

// The folder holding the item at path and the item's one-item list (from allocator).
// True only when at least one folder was bound below the desktop; an item directly
// under the desktop gives false with the desktop and the item still set.
bool GetPIDLAndShellFolder(const QString& path, IShellFolder*& folder, LPITEMIDLIST& id, IMalloc* allocator, HWND window);

// Puts the menu object's commands into menu at position index, numbered from first
// (commands whose number would pass last are left out), the default one marked.
// Success carries the highest offset used plus one.
HRESULT QueryContextMenu(IContextMenu* object, vcl::HMENU menu, unsigned index, unsigned first, unsigned last, unsigned flags);

// Why the last operation of this unit failed; empty after a success.
QString LastErrorText();

} // namespace Itemprop
