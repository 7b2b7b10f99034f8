#pragma once
// Identifier lists as this namespace builds them. Each item carries a signature byte,
// the item's kind, its flags and its name as the file system's bytes, zero-terminated:
//   cb (u16) | 'Q' | kind | flags | name bytes | 0
// The same item always gets the same bytes, so equal items give equal lists.
#include "platform/shell/shelltypes.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace platform::shell {

enum class TItemKind : uint8_t { Computer = 1, Home = 2, Trash = 3, Drive = 4, Entry = 5, DesktopEntry = 6 };
enum TItemFlag : uint8_t { ifFolder = 0x01, ifLink = 0x02 };

struct TShellItem {
    TItemKind Kind = TItemKind::Entry;
    uint8_t Flags = 0;
    QByteArray Name; // drive: its mount point; entries: the name in its folder
    bool IsFolder() const { return Flags & ifFolder; }
};

constexpr int ItemHeaderSize = 5;  // cb, signature, kind, flags
constexpr int ItemNameOffset = 5;  // where the zero-terminated name starts in an item

// The list's size with its terminator: 0 for null, -1 when the list is malformed (an
// item shorter than three bytes, or an item or the terminator running past the end of
// the shell-allocated block holding it). Lists outside shell-allocated memory cannot
// be bounded and are walked as they are.
int64_t ILCheckedSize(LPCITEMIDLIST list);

// The items of a list in this namespace's format; false (items cleared) for a
// malformed list or an item that is not ours.
bool ILReadItems(LPCITEMIDLIST list, std::vector<TShellItem>& items);
bool ILReadItem(const SHITEMID* item, int64_t available, TShellItem& result);
// A new shell-allocated list of the items; null when memory runs out or a name is too
// long for an item.
LPITEMIDLIST ILFromItems(const std::vector<TShellItem>& items);

// Names are the file system's bytes. Bytes that are not UTF-8 map to the lone
// surrogates U+DC80..U+DCFF, so every name converts to text and back unchanged.
QString NameFromBytes(const QByteArray& bytes);
// Zero-terminated UTF-16 taken unit for unit, lone surrogates (escaped bytes) kept.
QString StringFromWide(const char16_t* text);
QByteArray BytesFromName(const QString& name);

} // namespace platform::shell
