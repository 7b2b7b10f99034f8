#pragma once
// Helpers on item-identifier lists (sizes, copies, joins, comparisons, walking), the
// shell allocator they all use, display names and system icon indices.
//
// Lists are checked before they are read: a list whose item counts run past the end
// of the shell-allocated block holding it, or that holds an item shorter than three
// bytes, counts as no list (size 0), so nothing is ever read past its end.
#include "platform/shell/shellfolder.h"
#include "platform/shell/shellmalloc.h"

#include <QString>
#include <cstdint>

namespace Pidlhelp {

using platform::shell::IMalloc;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;
using platform::shell::UINT;

// Which display name GetDisplayName asks for: the normal name, the name inside its
// folder, or the name for parsing (a file-system item's full path).
enum TDisplayNameType { dntNormal, dntInFolder, dntForParsing };

// The shell allocator, held for the life of the process.
IMalloc* ShellMalloc();

// The bytes of list including its 2-byte terminator; 0 for a null or malformed list.
int64_t GetPidlSize(LPCITEMIDLIST list);
// A zero-filled block of size bytes from the shell allocator; null for a size of 0
// or less, or when memory runs out.
LPITEMIDLIST CreatePIDL(int64_t size);
// Gives list back to the shell allocator (a null list is fine) and sets it to null.
void FreePIDL(LPITEMIDLIST& list);
// Null when second is null or either list is malformed.
LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A copy of list from the shell allocator; null for a null or malformed list.
LPITEMIDLIST CopyPIDL(LPCITEMIDLIST list);
// True when both lists are null, or both are well formed with the same bytes.
bool ComparePIDLs(LPCITEMIDLIST a, LPCITEMIDLIST b);
// The item after this one; null for the terminator, a null or a malformed item.
LPITEMIDLIST NextPIDL(LPCITEMIDLIST item);
// The number of items in list; 0 for an empty, null or malformed list.
int PIDLCount(LPCITEMIDLIST list);
// A one-item list of the first item, from the shell allocator; the empty list for an
// empty one, null for a null or malformed list.
LPITEMIDLIST CopyFirstID(LPCITEMIDLIST list);
// A one-item list of the last item, from the shell allocator; the empty list for an
// empty one, null for a null or malformed list.
LPITEMIDLIST CopyLastID(LPCITEMIDLIST list);
// Every item but the last, from the shell allocator; the empty list for an empty or
// one-item list, null for a null or malformed list.
LPITEMIDLIST CopyParentPIDL(LPCITEMIDLIST list);

// The name from the folder for the kind; empty text on any failure. Names keep the
// file system's bytes: bytes that are not UTF-8 come back as U+DC80..U+DCFF, which
// the namespace's parsing turns back into the same bytes.
QString GetDisplayName(IShellFolder* folder, LPCITEMIDLIST item, TDisplayNameType kind);
// The whole path is parsed (a long path is never cut to a shorter, different one).
bool GetPIDLFromPath(void* window, IShellFolder* folder, const QString& path, LPITEMIDLIST& list);
// The system image list index of the item's icon, with the file-information flags
// (SHGFI_*); -1 when there is none.
int GetIconIndex(LPCITEMIDLIST list, UINT flags);
// The small icon index of the item (normal) and of its open form (selected); -1
// for either that is missing.
void GetNormalAndSelectedIcons(LPCITEMIDLIST list, int& normal, int& selected);

} // namespace Pidlhelp
