#pragma once
// Attributes and listings of the namespace's items, read from the file system.
#include "platform/shell/entrystatus.h"
#include "platform/shell/idlist.h"

#include <QSet>
#include <dirent.h>
#include <memory>
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
// The attributes of a file-system entry called name from its status.
ULONG EntryAttributes(const TEntryStatus& status, const QByteArray& name, const TFolderFacts& parent);

// Reads a file-system folder's entries one at a time as items, filtered by the SHCONTF
// flags, so that a large folder is read as its items are asked for. The kind of each
// item comes from the directory entry, with a stat only for links and for file systems
// that leave the type unknown.
class TDirectoryReader {
public:
    TDirectoryReader(QByteArray path, TItemKind kind, DWORD flags, TFolderFacts facts);
    ~TDirectoryReader();
    TDirectoryReader(const TDirectoryReader&) = delete;
    TDirectoryReader& operator=(const TDirectoryReader&) = delete;
    // False when the folder cannot be read.
    bool IsOpen() const { return FDir != nullptr; }
    // The next wanted entry; false at the end.
    bool Next(TShellItem& item);
    void Rewind();
    // A reader of the same folder with the same filter, at its start.
    std::unique_ptr<TDirectoryReader> Reopen() const;
    // The descriptor of the open directory; -1 when it could not be opened.
    int DirFd() const { return FDir ? ::dirfd(FDir) : -1; }

private:
    QByteArray FPath;
    TItemKind FKind;
    DWORD FFlags;
    TFolderFacts FFacts;
    DIR* FDir = nullptr;
};

// The children of the folder named by absolute, filtered by the SHCONTF flags: the
// desktop's and the computer's as a snapshot in items, a file-system folder's through
// reader. False when the folder cannot be read.
bool ListChildren(const std::vector<TShellItem>& absolute, DWORD flags, const TFolderFacts& facts,
                  std::vector<TShellItem>& items, std::unique_ptr<TDirectoryReader>& reader);

} // namespace platform::shell
