#include "platform/shell/idlist.h"

#include "platform/shell/shellmalloc.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform::shell {

namespace {

constexpr uint8_t ItemSignature = 'Q';

uint16_t ReadCount(const void* at)
{
    uint8_t bytes[2];
    std::memcpy(bytes, at, 2);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

void WriteCount(void* at, uint16_t count)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)};
    std::memcpy(at, bytes, 2);
}

// Length of the UTF-8 sequence starting at data[i], or 0 when it is not valid UTF-8.
int Utf8SequenceLength(const QByteArray& data, qsizetype i)
{
    const auto lead = static_cast<uint8_t>(data[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > data.size())
        return 0;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(data[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool overlong = length > 1 && code < smallest[length];
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

// A name the file system could have made for the kind: entries are one path component
// (so no list can lead outside its folder), drives absolute paths, the rest unnamed.
bool NameFitsKind(const TShellItem& item)
{
    const QByteArray& name = item.Name;
    if (name.contains('\0'))
        return false;
    switch (item.Kind) {
    case TItemKind::Entry:
    case TItemKind::DesktopEntry:
        return !name.isEmpty() && !name.contains('/') && name != "." && name != "..";
    case TItemKind::Drive:
        return name.startsWith('/') && !name.contains("/..") && !name.contains("/./");
    default:
        return name.isEmpty();
    }
}

} // namespace

int64_t ILCheckedSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    const int64_t bound = IMalloc::Instance().BytesAvailable(list);
    const int64_t limit = bound < 0 ? std::numeric_limits<int64_t>::max() : bound;
    const auto* bytes = reinterpret_cast<const uint8_t*>(list);
    int64_t offset = 0;
    for (;;) {
        if (limit - offset < 2)
            return -1;
        const uint16_t cb = ReadCount(bytes + offset);
        if (cb == 0)
            return offset + 2;
        if (cb < 3 || cb > limit - offset)
            return -1;
        offset += cb;
    }
}

bool ILReadItem(const SHITEMID* item, int64_t available, TShellItem& result)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(item);
    const uint16_t cb = ReadCount(bytes);
    if (cb < ItemHeaderSize + 1 || cb > available || bytes[2] != ItemSignature || bytes[cb - 1] != 0)
        return false;
    const uint8_t kind = bytes[3];
    if (kind < uint8_t(TItemKind::Computer) || kind > uint8_t(TItemKind::DesktopEntry))
        return false;
    result.Kind = static_cast<TItemKind>(kind);
    result.Flags = bytes[4];
    result.Name = QByteArray(reinterpret_cast<const char*>(bytes + ItemNameOffset), cb - ItemNameOffset - 1);
    return NameFitsKind(result);
}

bool ILReadItems(LPCITEMIDLIST list, std::vector<TShellItem>& items)
{
    items.clear();
    const int64_t size = ILCheckedSize(list);
    if (size <= 0)
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(list);
    for (int64_t offset = 0; offset < size - 2;) {
        TShellItem item;
        const auto* at = reinterpret_cast<const SHITEMID*>(bytes + offset);
        if (!ILReadItem(at, size - 2 - offset, item)) {
            items.clear();
            return false;
        }
        offset += ReadCount(at);
        items.push_back(std::move(item));
    }
    return true;
}

LPITEMIDLIST ILFromItems(const std::vector<TShellItem>& items)
{
    int64_t size = 2;
    for (const TShellItem& item : items) {
        const int64_t cb = ItemHeaderSize + item.Name.size() + 1;
        if (cb > std::numeric_limits<uint16_t>::max())
            return nullptr;
        size += cb;
    }
    auto* bytes = static_cast<uint8_t*>(IMalloc::Instance().Alloc(static_cast<size_t>(size)));
    if (!bytes)
        return nullptr;
    uint8_t* at = bytes;
    for (const TShellItem& item : items) {
        const auto cb = static_cast<uint16_t>(ItemHeaderSize + item.Name.size() + 1);
        WriteCount(at, cb);
        at[2] = ItemSignature;
        at[3] = static_cast<uint8_t>(item.Kind);
        at[4] = item.Flags;
        std::memcpy(at + ItemNameOffset, item.Name.constData(), static_cast<size_t>(item.Name.size()));
        at += cb;
    }
    return reinterpret_cast<LPITEMIDLIST>(bytes); // the terminator is already zero
}

QString NameFromBytes(const QByteArray& bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            text.append(QChar(char16_t(0xDC00 | static_cast<uint8_t>(bytes[i]))));
            ++i;
            continue;
        }
        text.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return text;
}

QString StringFromWide(const char16_t* text)
{
    if (!text)
        return {};
    qsizetype length = 0;
    while (text[length])
        ++length;
    return QString(reinterpret_cast<const QChar*>(text), length);
}

QByteArray BytesFromName(const QString& name)
{
    const bool escaped = std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; });
    if (!escaped)
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (unit >= 0xDC80 && unit <= 0xDCFF && !(i > 0 && QChar::isHighSurrogate(name[i - 1].unicode()))) {
            bytes.append(static_cast<char>(unit & 0xFF));
            continue;
        }
        const qsizetype length = QChar::isHighSurrogate(unit) && i + 1 < name.size() ? 2 : 1;
        bytes.append(QStringView(name).mid(i, length).toUtf8());
        i += length - 1;
    }
    return bytes;
}

} // namespace platform::shell
