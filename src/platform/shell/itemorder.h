#pragma once
// The order of a folder's items for CompareIDs: by kind, folders before other items,
// then by the column asked for (the low 16 bits of CompareIDs' LPARAM), then by name,
// then by the rest of the item's bytes, so that only equal items compare equal.
#include "platform/shell/idlist.h"

#include <vector>

namespace platform::shell {

// The detail columns of file-system folders (and of the desktop) ...
enum : int { ColumnName = 0, ColumnSize = 1, ColumnType = 2, ColumnModified = 3 };
// ... and of the computer, whose items are volumes.
enum : int { ColumnVolumeType = 1, ColumnTotalSize = 2, ColumnFreeSpace = 3 };

// Compares two items of the folder named by parent (its absolute items): negative, 0 or
// positive. Columns the folder does not have sort by name. Sizes and times are read from
// the file system at each call; an item that cannot be read sorts before those that can.
int CompareItemsInColumn(int column, const std::vector<TShellItem>& parent, const TShellItem& a, const TShellItem& b);

} // namespace platform::shell
