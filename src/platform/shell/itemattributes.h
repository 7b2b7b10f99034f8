#pragma once
// Attributes and listings of the namespace's items, read from the file system.
#include "platform/shell/idlist.h"

#include <QSet>
#include <optional>
#include <vector>

namespace platform::shell {

// What a folder knows about itself when it reports on its children: the names its
// ".hidden" file lists and whether its children may be renamed or deleted. A folder
// object reads this once; a listing is a snapshot anyway.
struct TFolderFacts {
    QSet<QByteArray> HiddenNames;
    bool Writable = false;
    static TFolderFacts Read(const std::optional<QByteArray>& folderPath);
};

// The attributes of the item at the end of absolute, whose parent has the given facts;
// nothing when it no longer exists. One lstat per item, and one stat for links.
std::optional<ULONG> ItemAttributes(const std::vector<TShellItem>& absolute, const TFolderFacts& parent);

// The children of the folder named by absolute, as one item each, filtered by the
// SHCONTF flags; nothing when the folder cannot be read.
std::optional<std::vector<TShellItem>> ListChildren(const std::vector<TShellItem>& absolute, DWORD flags,
                                                    const TFolderFacts& facts);

} // namespace platform::shell
