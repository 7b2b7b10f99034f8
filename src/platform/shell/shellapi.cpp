#include "platform/shell/shellapi.h"

#include "platform/shell/itemattributes.h"
#include "platform/shell/namespacefolder.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shelllocations.h"

#include <cstring>
#include <sys/stat.h>

namespace platform::shell {

namespace {

FILETIME FileTimeOf(const timespec& time)
{
    constexpr int64_t SecondsFrom1601To1970 = 11644473600LL;
    const uint64_t ticks = uint64_t(time.tv_sec + SecondsFrom1601To1970) * 10000000ULL + uint64_t(time.tv_nsec / 100);
    return {DWORD(ticks & 0xFFFFFFFF), DWORD(ticks >> 32)};
}

} // namespace

HRESULT SHGetDesktopFolder(IShellFolder** folder)
{
    if (!folder)
        return E_INVALIDARG;
    *folder = new TNamespaceFolder({});
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* list)
{
    if (!list)
        return E_INVALIDARG;
    *list = nullptr;
    std::optional<std::vector<TShellItem>> items;
    switch (folder) {
    case CSIDL_DESKTOP: items.emplace(); break;
    case CSIDL_BITBUCKET: items = std::vector<TShellItem>{{TItemKind::Trash, ifFolder, {}}}; break;
    case CSIDL_DRIVES: items = std::vector<TShellItem>{{TItemKind::Computer, ifFolder, {}}}; break;
    case CSIDL_DESKTOPDIRECTORY: items = ItemsForPath(UserDirPath("DESKTOP")); break;
    case CSIDL_PERSONAL: items = ItemsForPath(UserDirPath("DOCUMENTS")); break;
    case CSIDL_TEMPLATES: items = ItemsForPath(UserDirPath("TEMPLATES")); break;
    case CSIDL_PROGRAMS: items = ItemsForPath(DataHomePath() + "/applications"); break;
    case CSIDL_STARTUP: items = ItemsForPath(ConfigHomePath() + "/autostart"); break;
    case CSIDL_FONTS: items = ItemsForPath(DataHomePath() + "/fonts"); break;
    default: return E_INVALIDARG;
    }
    if (!items)
        return E_FAIL;
    *list = ILFromItems(*items);
    return *list ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST list, char* path)
{
    std::vector<TShellItem> items;
    if (!path)
        return false;
    path[0] = '\0';
    if (!ILReadItems(list, items))
        return false;
    const std::optional<QByteArray> found = items.empty() ? UserDirPath("DESKTOP") : PathOfItems(items);
    if (!found || found->size() >= MAX_PATH)
        return false;
    std::memcpy(path, found->constData(), size_t(found->size()) + 1);
    return true;
}

HRESULT SHGetDataFromIDList(IShellFolder* folder, LPCITEMIDLIST list, int format, void* data, int size)
{
    auto* space = dynamic_cast<TNamespaceFolder*>(folder);
    if (!space || !data || format != SHGDFIL_FINDDATA || size < int(sizeof(WIN32_FIND_DATAA)))
        return E_INVALIDARG;
    struct stat info {};
    QByteArray name;
    if (const HRESULT result = space->ItemStatus(list, info, name); FAILED(result))
        return result;
    WIN32_FIND_DATAA found {};
    std::memcpy(found.cFileName, name.constData(), size_t(std::min<qsizetype>(name.size(), MAX_PATH - 1)));
    found.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!(info.st_mode & S_IWUSR))
        found.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (name.startsWith('.'))
        found.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    found.nFileSizeHigh = DWORD(uint64_t(info.st_size) >> 32);
    found.nFileSizeLow = DWORD(uint64_t(info.st_size) & 0xFFFFFFFF);
    found.ftCreationTime = FileTimeOf(info.st_ctim);
    found.ftLastAccessTime = FileTimeOf(info.st_atim);
    found.ftLastWriteTime = FileTimeOf(info.st_mtim);
    std::memcpy(data, &found, sizeof found);
    return S_OK;
}

} // namespace platform::shell
