#include "platform/shell/itemorder.h"

#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shelllocations.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace platform::shell {

namespace {

// What one item sorts by in a column: a number pair (size, or seconds and nanoseconds)
// or a text. An item that cannot be read has Known false and comes first.
struct TColumnKey {
    bool Known = false;
    int64_t High = 0;
    int64_t Low = 0;
    QString Text;
};

template <typename T>
int Sign(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The file's status, following a link; a dangling link or a loop gives the link's own.
bool StatItem(const std::vector<TShellItem>& absolute, struct stat& info)
{
    const std::optional<QByteArray> path = PathOfItems(absolute);
    return path && (::stat(path->constData(), &info) == 0 || ::lstat(path->constData(), &info) == 0);
}

TColumnKey VolumeKey(int column, const std::vector<TShellItem>& absolute)
{
    TColumnKey key;
    if (column == ColumnVolumeType) {
        key.Known = true;
        key.Text = ItemTypeName(absolute);
        return key;
    }
    struct statvfs volume {};
    if (::statvfs(absolute.back().Name.constData(), &volume) != 0)
        return key;
    const uint64_t blocks = column == ColumnTotalSize ? volume.f_blocks : volume.f_bavail;
    key.Known = true;
    key.High = int64_t(blocks * volume.f_frsize);
    return key;
}

TColumnKey FileKey(int column, const std::vector<TShellItem>& absolute)
{
    TColumnKey key;
    if (column == ColumnType) {
        key.Known = true;
        key.Text = ItemTypeName(absolute);
        return key;
    }
    struct stat info {};
    if (!StatItem(absolute, info))
        return key;
    key.Known = true;
    if (column == ColumnSize) {
        // Folders show no size, so among themselves they sort by name.
        key.High = absolute.back().IsFolder() ? 0 : int64_t(info.st_size);
    } else {
        key.High = int64_t(info.st_mtim.tv_sec);
        key.Low = int64_t(info.st_mtim.tv_nsec);
    }
    return key;
}

int CompareKeys(const TColumnKey& a, const TColumnKey& b)
{
    if (a.Known != b.Known)
        return a.Known ? 1 : -1;
    if (const int numbers = Sign(std::pair(a.High, a.Low), std::pair(b.High, b.Low)); numbers != 0)
        return numbers;
    const int text = a.Text.compare(b.Text, Qt::CaseInsensitive);
    return text < 0 ? -1 : (text > 0 ? 1 : 0);
}

int CompareColumn(int column, const std::vector<TShellItem>& parent, const TShellItem& a, const TShellItem& b)
{
    const bool computer = !parent.empty() && parent.back().Kind == TItemKind::Computer;
    std::vector<TShellItem> first = parent;
    first.push_back(a);
    std::vector<TShellItem> second = parent;
    second.push_back(b);
    if (computer)
        return CompareKeys(VolumeKey(column, first), VolumeKey(column, second));
    return CompareKeys(FileKey(column, first), FileKey(column, second));
}

} // namespace

int CompareItemsInColumn(int column, const std::vector<TShellItem>& parent, const TShellItem& a, const TShellItem& b)
{
    if (a.Kind != b.Kind)
        return a.Kind < b.Kind ? -1 : 1;
    if (a.IsFolder() != b.IsFolder())
        return a.IsFolder() ? -1 : 1;
    if (column >= ColumnSize && column <= ColumnModified)
        if (const int order = CompareColumn(column, parent, a, b); order != 0)
            return order;
    if (const int names = a.Name.compare(b.Name); names != 0)
        return names < 0 ? -1 : 1;
    return Sign(a.Flags, b.Flags);
}

} // namespace platform::shell
