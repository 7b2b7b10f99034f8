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

enum TDisplayNameType { dntNormal, dntInFolder, dntForParsing };

// The shell allocator, held for the life of the process.
IMalloc* ShellMalloc();

int64_t GetPidlSize(LPCITEMIDLIST list);
LPITEMIDLIST CreatePIDL(int64_t size);
void FreePIDL(LPITEMIDLIST& list);
// Null when second is null or either list is malformed.
LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST first, LPCITEMIDLIST second);
LPITEMIDLIST CopyPIDL(LPCITEMIDLIST list);
bool ComparePIDLs(LPCITEMIDLIST a, LPCITEMIDLIST b);
// The item after this one; null for the terminator, a null or a malformed item.
LPITEMIDLIST NextPIDL(LPCITEMIDLIST item);
int PIDLCount(LPCITEMIDLIST list);
LPITEMIDLIST CopyFirstID(LPCITEMIDLIST list);
LPITEMIDLIST CopyLastID(LPCITEMIDLIST list);
LPITEMIDLIST CopyParentPIDL(LPCITEMIDLIST list);

// The name from the folder for the kind; empty text on any failure. Names keep the
// file system's bytes: bytes that are not UTF-8 come back as U+DC80..U+DCFF, which
// the namespace's parsing turns back into the same bytes.
QString GetDisplayName(IShellFolder* folder, LPCITEMIDLIST item, TDisplayNameType kind);
// The whole path is parsed (a long path is never cut to a shorter, different one).
bool GetPIDLFromPath(void* window, IShellFolder* folder, const QString& path, LPITEMIDLIST& list);
int GetIconIndex(LPCITEMIDLIST list, UINT flags);
void GetNormalAndSelectedIcons(LPCITEMIDLIST list, int& normal, int& selected);

} // namespace Pidlhelp
