#include "shell/pidlhelp.h"

#include "platform/shell/idlist.h"
#include "platform/shell/shellfileinfo.h"

#include "vcl/core/unitstartup.h"

#include <cstring>

namespace Pidlhelp {

using namespace platform::shell;

// Start-up takes the shell allocator; it stays for the life of the process.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Pidlhelp"), {}, [] { ShellMalloc(); });

namespace {

uint16_t ItemCount(const void* at)
{
    const auto* bytes = static_cast<const uint8_t*>(at);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

const uint8_t* Bytes(LPCITEMIDLIST list)
{
    return reinterpret_cast<const uint8_t*>(list);
}

// Byte offset of the last item of a valid, non-empty list.
int64_t LastItemOffset(LPCITEMIDLIST list, int64_t size)
{
    int64_t offset = 0;
    for (int64_t next = 0; next < size - 2; next += ItemCount(Bytes(list) + next))
        offset = next;
    return offset;
}

LPITEMIDLIST CopyBytes(const uint8_t* from, int64_t count)
{
    LPITEMIDLIST list = CreatePIDL(count + 2);
    if (list && count > 0)
        std::memcpy(list, from, size_t(count));
    return list;
}

} // namespace

IMalloc* ShellMalloc()
{
    static IMalloc* malloc = [] {
        IMalloc* held = nullptr;
        SHGetMalloc(&held);
        return held;
    }();
    return malloc;
}

int64_t GetPidlSize(LPCITEMIDLIST list)
{
    return std::max<int64_t>(0, ILCheckedSize(list));
}

LPITEMIDLIST CreatePIDL(int64_t size)
{
    if (size <= 0 || uint64_t(size) > SIZE_MAX)
        return nullptr;
    return static_cast<LPITEMIDLIST>(ShellMalloc()->Alloc(size_t(size)));
}

void FreePIDL(LPITEMIDLIST& list)
{
    if (list)
        ShellMalloc()->Free(list);
    list = nullptr;
}

LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    const int64_t firstSize = GetPidlSize(first);
    const int64_t secondSize = GetPidlSize(second);
    if (secondSize == 0 || (first && firstSize == 0))
        return nullptr;
    const int64_t firstItems = first ? firstSize - 2 : 0;
    LPITEMIDLIST list = CreatePIDL(firstItems + secondSize);
    if (!list)
        return nullptr;
    if (firstItems > 0)
        std::memcpy(list, first, size_t(firstItems));
    std::memcpy(reinterpret_cast<uint8_t*>(list) + firstItems, second, size_t(secondSize));
    return list;
}

LPITEMIDLIST CopyPIDL(LPCITEMIDLIST list)
{
    const int64_t size = GetPidlSize(list);
    return size == 0 ? nullptr : CopyBytes(Bytes(list), size - 2);
}

bool ComparePIDLs(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    if (!a || !b)
        return !a && !b;
    const int64_t size = GetPidlSize(a);
    return size > 0 && size == GetPidlSize(b) && std::memcmp(a, b, size_t(size)) == 0;
}

LPITEMIDLIST NextPIDL(LPCITEMIDLIST item)
{
    const int64_t size = GetPidlSize(item);
    if (size <= 2)
        return nullptr;
    return reinterpret_cast<LPITEMIDLIST>(const_cast<uint8_t*>(Bytes(item)) + ItemCount(item));
}

int PIDLCount(LPCITEMIDLIST list)
{
    int count = 0;
    for (LPCITEMIDLIST item = GetPidlSize(list) > 0 ? list : nullptr; item && ItemCount(item) != 0; item = NextPIDL(item))
        ++count;
    return count;
}

LPITEMIDLIST CopyFirstID(LPCITEMIDLIST list)
{
    const int64_t size = GetPidlSize(list);
    return size == 0 ? nullptr : CopyBytes(Bytes(list), size == 2 ? 0 : ItemCount(list));
}

LPITEMIDLIST CopyLastID(LPCITEMIDLIST list)
{
    const int64_t size = GetPidlSize(list);
    if (size <= 2)
        return size == 0 ? nullptr : CreatePIDL(2);
    const int64_t last = LastItemOffset(list, size);
    return CopyBytes(Bytes(list) + last, size - 2 - last);
}

LPITEMIDLIST CopyParentPIDL(LPCITEMIDLIST list)
{
    const int64_t size = GetPidlSize(list);
    if (size <= 2)
        return size == 0 ? nullptr : CreatePIDL(2);
    return CopyBytes(Bytes(list), LastItemOffset(list, size));
}

QString GetDisplayName(IShellFolder* folder, LPCITEMIDLIST item, TDisplayNameType kind)
{
    static constexpr DWORD flags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING};
    STRRET reply;
    if (!folder || folder->GetDisplayNameOf(item, flags[kind], &reply) != S_OK)
        return {};
    switch (reply.uType) {
    case STRRET_WSTR: {
        const QString text = StringFromWide(reply.pOleStr);
        ShellMalloc()->Free(reply.pOleStr);
        return text;
    }
    case STRRET_OFFSET: {
        // The text must end inside the first item.
        const int64_t size = GetPidlSize(item);
        const int64_t itemSize = size > 2 ? ItemCount(item) : 0;
        if (reply.uOffset >= itemSize)
            return {};
        const auto* text = reinterpret_cast<const char*>(Bytes(item) + reply.uOffset);
        const void* end = std::memchr(text, 0, size_t(itemSize - reply.uOffset));
        return end ? NameFromBytes(QByteArray(text, static_cast<const char*>(end) - text)) : QString();
    }
    case STRRET_CSTR:
        return NameFromBytes(QByteArray(reply.cStr, qsizetype(strnlen(reply.cStr, sizeof reply.cStr))));
    default:
        return {};
    }
}

bool GetPIDLFromPath(void* window, IShellFolder* folder, const QString& path, LPITEMIDLIST& list)
{
    try {
        ULONG eaten = 0;
        ULONG attributes = 0;
        return folder && SUCCEEDED(folder->ParseDisplayName(window, nullptr, reinterpret_cast<const char16_t*>(path.utf16()),
                                                            &eaten, &list, &attributes));
    } catch (...) {
        return false;
    }
}

int GetIconIndex(LPCITEMIDLIST list, UINT flags)
{
    SHFILEINFO info;
    if (SHGetFileInfo(reinterpret_cast<const char*>(list), 0, &info, sizeof info, flags) == 0)
        return -1;
    return info.iIcon;
}

void GetNormalAndSelectedIcons(LPCITEMIDLIST list, int& normal, int& selected)
{
    normal = GetIconIndex(list, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
    selected = GetIconIndex(list, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
}

} // namespace Pidlhelp
