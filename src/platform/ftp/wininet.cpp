#include "platform/ftp/wininet.h"

#include "platform/ftp/ftpsession.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <fnmatch.h>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform::ftp {

class InternetHandle {
public:
    enum class Kind { Root, Connection, Find };
    InternetHandle(Kind kind, HINTERNET parent) : HandleKind(kind), Parent(parent) {}
    virtual ~InternetHandle() = default;
    const Kind HandleKind;
    const HINTERNET Parent;
};

namespace {

struct RootHandle : InternetHandle {
    RootHandle() : InternetHandle(Kind::Root, nullptr) {}
    std::mutex Lock; // guards the options, which another thread may set
    int ConnectTimeoutMs = FtpSessionOptions().ConnectTimeoutMs;
    int ResponseTimeoutMs = FtpSessionOptions().ResponseTimeoutMs;
    bool IgnoreUnknownCa = false;
};

struct ConnectionHandle : InternetHandle {
    ConnectionHandle(HINTERNET parent, FtpSessionOptions options)
        : InternetHandle(Kind::Connection, parent), Session(std::move(options)) {}
    FtpSession Session;
};

struct FindHandle : InternetHandle {
    FindHandle(HINTERNET parent, std::vector<FtpEntry> entries)
        : InternetHandle(Kind::Find, parent), Entries(std::move(entries)) {}
    std::mutex Lock;
    std::vector<FtpEntry> Entries;
    size_t Next = 0;
};

thread_local DWORD tLastError = ERROR_SUCCESS;
thread_local QByteArray tLastResponse;

// Live handles. A caller holds a shared reference for the length of its call, so a
// handle closed by another thread meanwhile goes away only when that call returns.
std::mutex gHandlesLock;
std::unordered_map<InternetHandle*, std::shared_ptr<InternetHandle>> gHandles;

HINTERNET Register(std::shared_ptr<InternetHandle> handle)
{
    std::lock_guard guard(gHandlesLock);
    HINTERNET key = handle.get();
    gHandles.emplace(key, std::move(handle));
    return key;
}

template <class T>
std::shared_ptr<T> Lookup(HINTERNET handle, InternetHandle::Kind kind)
{
    std::shared_ptr<InternetHandle> found;
    {
        std::lock_guard guard(gHandlesLock);
        const auto it = gHandles.find(handle);
        if (it != gHandles.end())
            found = it->second;
    }
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (found->HandleKind != kind) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        return nullptr;
    }
    return std::static_pointer_cast<T>(found);
}

// A connection for an FTP call; the thread's last response is cleared first, so it
// never shows a reply that belongs to an earlier call.
std::shared_ptr<ConnectionHandle> Connection(HINTERNET handle)
{
    tLastResponse.clear();
    return Lookup<ConnectionHandle>(handle, InternetHandle::Kind::Connection);
}

BOOL Fail(DWORD code)
{
    SetLastError(code);
    return 0;
}

BOOL Finish(const FtpOutcome& outcome)
{
    tLastResponse = outcome.Reply;
    SetLastError(outcome.Error);
    return outcome.Ok() ? 1 : 0;
}

QByteArray Text(LPCSTR text)
{
    return text ? QByteArray(text) : QByteArray();
}

// Copies Text with its terminating zero into a caller's buffer of *Length bytes.
BOOL CopyOut(const QByteArray& text, LPSTR buffer, LPDWORD length)
{
    if (!length)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto needed = static_cast<DWORD>(text.size() + 1);
    if (!buffer || *length < needed) {
        *length = needed;
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, text.constData(), static_cast<size_t>(needed));
    *length = needed - 1;
    return 1;
}

FILETIME ToFileTime(const QDateTime& when)
{
    // Milliseconds between 1601-01-01 and 1970-01-01.
    constexpr int64_t EpochOffsetMs = 11644473600000LL;
    FILETIME time;
    if (!when.isValid())
        return time;
    const auto ticks = static_cast<uint64_t>(when.toMSecsSinceEpoch() + EpochOffsetMs) * 10000ULL;
    time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFULL);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// Bytes of Text that fit into Room bytes without cutting a UTF-8 sequence.
qsizetype FittingLength(const QByteArray& text, qsizetype room)
{
    if (text.size() <= room)
        return text.size();
    qsizetype length = std::max<qsizetype>(room, 0);
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

void FillFindData(const FtpEntry& entry, WIN32_FIND_DATAA& data)
{
    data = WIN32_FIND_DATAA();
    data.dwFileAttributes = entry.IsDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data.ftLastWriteTime = ToFileTime(entry.LastWrite);
    data.ftCreationTime = data.ftLastWriteTime;
    data.ftLastAccessTime = data.ftLastWriteTime;
    const auto size = static_cast<uint64_t>(entry.Size);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFULL);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);

    // A name longer than the field is cut (the field is what the original offers).
    const qsizetype nameLength = FittingLength(entry.Name, MAX_PATH - 1);
    std::memcpy(data.cFileName, entry.Name.constData(), static_cast<size_t>(nameLength));
    const QByteArray target = "-> " + entry.LinkTarget;
    const qsizetype room = MAX_PATH - 1 - (nameLength + 1);
    if (entry.IsLink && !entry.LinkTarget.isEmpty() && room > 3) {
        const qsizetype targetLength = FittingLength(target, room);
        std::memcpy(data.cFileName + nameLength + 1, target.constData(), static_cast<size_t>(targetLength));
    }
}

} // namespace

DWORD GetLastError()
{
    return tLastError;
}

void SetLastError(DWORD code)
{
    tLastError = code;
}

HINTERNET InternetOpenA(LPCSTR, DWORD dwAccessType, LPCSTR, LPCSTR, DWORD)
{
    // Proxy settings are not used: FTP always goes direct (see FtpSession).
    if (dwAccessType != INTERNET_OPEN_TYPE_PRECONFIG && dwAccessType != INTERNET_OPEN_TYPE_DIRECT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return Register(std::make_shared<RootHandle>());
}

BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength)
{
    const auto root = Lookup<RootHandle>(hInternet, InternetHandle::Kind::Root);
    if (!root)
        return 0;
    if (!lpBuffer || dwBufferLength != sizeof(DWORD))
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD value = 0;
    std::memcpy(&value, lpBuffer, sizeof value);
    // Zero or more than a day would mean "wait forever" in effect: keep a sane bound.
    const int milliseconds = static_cast<int>(std::clamp<DWORD>(value, 1, 24 * 3600 * 1000));
    std::lock_guard guard(root->Lock);
    switch (dwOption) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
        root->ConnectTimeoutMs = milliseconds;
        break;
    case INTERNET_OPTION_SEND_TIMEOUT:
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
        root->ResponseTimeoutMs = milliseconds;
        break;
    case INTERNET_OPTION_SECURITY_FLAGS:
        root->IgnoreUnknownCa = (value & SECURITY_FLAG_IGNORE_UNKNOWN_CA) != 0;
        break;
    default:
        return Fail(ERROR_INTERNET_INVALID_OPTION);
    }
    SetLastError(ERROR_SUCCESS);
    return 1;
}

HINTERNET InternetConnectA(HINTERNET hInternet, LPCSTR lpszServerName, INTERNET_PORT nServerPort, LPCSTR lpszUserName,
                           LPCSTR lpszPassword, DWORD dwService, DWORD dwFlags, DWORD_PTR)
{
    tLastResponse.clear();
    const auto root = Lookup<RootHandle>(hInternet, InternetHandle::Kind::Root);
    if (!root)
        return nullptr;
    if (dwService != INTERNET_SERVICE_FTP || !lpszServerName || !*lpszServerName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    FtpSessionOptions options;
    options.Host = lpszServerName;
    options.Port = nServerPort == 0 ? INTERNET_DEFAULT_FTP_PORT : nServerPort;
    options.User = lpszUserName ? QByteArray(lpszUserName) : QByteArray("anonymous");
    options.Password = Text(lpszPassword);
    options.Passive = (dwFlags & INTERNET_FLAG_PASSIVE) != 0;
    options.ExplicitTls = (dwFlags & INTERNET_FLAG_SECURE) != 0;
    {
        std::lock_guard guard(root->Lock);
        options.ConnectTimeoutMs = root->ConnectTimeoutMs;
        options.ResponseTimeoutMs = root->ResponseTimeoutMs;
        options.VerifyPeer = !root->IgnoreUnknownCa;
    }
    auto connection = std::make_shared<ConnectionHandle>(hInternet, std::move(options));
    if (!Finish(connection->Session.Open()))
        return nullptr;
    return Register(std::move(connection));
}

BOOL InternetCloseHandle(HINTERNET hInternet)
{
    std::vector<std::shared_ptr<InternetHandle>> closed; // released after the lock
    {
        std::lock_guard guard(gHandlesLock);
        const auto it = gHandles.find(hInternet);
        if (it == gHandles.end())
            return Fail(ERROR_INVALID_HANDLE);
        closed.push_back(it->second);
        gHandles.erase(it);
        // The handles made from a closed one go with it, down to the searches.
        for (size_t i = 0; i < closed.size(); ++i) {
            for (auto child = gHandles.begin(); child != gHandles.end();) {
                if (child->second->Parent == closed[i].get()) {
                    closed.push_back(child->second);
                    child = gHandles.erase(child);
                } else {
                    ++child;
                }
            }
        }
    }
    // A transfer still running on a closed connection (on another thread) stops.
    for (const auto& handle : closed)
        if (handle->HandleKind == InternetHandle::Kind::Connection)
            static_cast<ConnectionHandle*>(handle.get())->Session.Cancel();
    SetLastError(ERROR_SUCCESS);
    return 1;
}

BOOL FtpSetCurrentDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory)
{
    const auto connection = Connection(hConnect);
    return connection ? Finish(connection->Session.SetCurrentDirectory(Text(lpszDirectory))) : 0;
}

BOOL FtpGetCurrentDirectoryA(HINTERNET hConnect, LPSTR lpszCurrentDirectory, LPDWORD lpdwCurrentDirectory)
{
    const auto connection = Connection(hConnect);
    if (!connection)
        return 0;
    if (!CopyOut(connection->Session.CurrentDirectory(), lpszCurrentDirectory, lpdwCurrentDirectory))
        return 0;
    SetLastError(ERROR_SUCCESS);
    return 1;
}

BOOL FtpCreateDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory)
{
    const auto connection = Connection(hConnect);
    return connection ? Finish(connection->Session.CreateDirectory(Text(lpszDirectory))) : 0;
}

BOOL FtpRemoveDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory)
{
    const auto connection = Connection(hConnect);
    return connection ? Finish(connection->Session.RemoveDirectory(Text(lpszDirectory))) : 0;
}

BOOL FtpGetFileA(HINTERNET hConnect, LPCSTR lpszRemoteFile, LPCSTR lpszNewFile, BOOL fFailIfExists, DWORD,
                 DWORD dwFlags, DWORD_PTR)
{
    const auto connection = Connection(hConnect);
    if (!connection)
        return 0;
    const bool ascii = (dwFlags & 3) == FTP_TRANSFER_TYPE_ASCII;
    return Finish(connection->Session.GetFile(Text(lpszRemoteFile), QString::fromUtf8(Text(lpszNewFile)),
                                              fFailIfExists != 0, ascii));
}

BOOL FtpPutFileA(HINTERNET hConnect, LPCSTR lpszLocalFile, LPCSTR lpszNewRemoteFile, DWORD dwFlags, DWORD_PTR)
{
    const auto connection = Connection(hConnect);
    if (!connection)
        return 0;
    const bool ascii = (dwFlags & 3) == FTP_TRANSFER_TYPE_ASCII;
    return Finish(connection->Session.PutFile(QString::fromUtf8(Text(lpszLocalFile)), Text(lpszNewRemoteFile), ascii));
}

BOOL FtpSetProgressCallback(HINTERNET hConnect, FTP_PROGRESS_CALLBACK callback)
{
    const auto connection = Lookup<ConnectionHandle>(hConnect, InternetHandle::Kind::Connection);
    if (!connection)
        return 0;
    connection->Session.SetProgress(std::move(callback));
    SetLastError(ERROR_SUCCESS);
    return 1;
}

BOOL FtpRenameFileA(HINTERNET hConnect, LPCSTR lpszExisting, LPCSTR lpszNew)
{
    const auto connection = Connection(hConnect);
    return connection ? Finish(connection->Session.RenameFile(Text(lpszExisting), Text(lpszNew))) : 0;
}

BOOL FtpDeleteFileA(HINTERNET hConnect, LPCSTR lpszFileName)
{
    const auto connection = Connection(hConnect);
    return connection ? Finish(connection->Session.DeleteFile(Text(lpszFileName))) : 0;
}

HINTERNET FtpFindFirstFileA(HINTERNET hConnect, LPCSTR lpszSearchFile, WIN32_FIND_DATAA* lpFindFileData, DWORD,
                            DWORD_PTR)
{
    const auto connection = Connection(hConnect);
    if (!connection)
        return nullptr;
    if (!lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // "dir/*.txt": list "dir" and keep the names that match the last part.
    QByteArray directory = Text(lpszSearchFile);
    QByteArray pattern;
    const qsizetype slash = directory.lastIndexOf('/');
    const QByteArray last = directory.mid(slash + 1);
    if (last.contains('*') || last.contains('?')) {
        pattern = last;
        directory = slash == 0 ? QByteArray("/") : directory.left(std::max<qsizetype>(slash, 0));
    }
    std::vector<FtpEntry> entries;
    if (!Finish(connection->Session.List(directory, entries)))
        return nullptr;
    if (!pattern.isEmpty())
        std::erase_if(entries, [&](const FtpEntry& entry) { return fnmatch(pattern.constData(), entry.Name.constData(), 0) != 0; });
    if (entries.empty()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return nullptr;
    }
    FillFindData(entries.front(), *lpFindFileData);
    auto find = std::make_shared<FindHandle>(hConnect, std::move(entries));
    find->Next = 1;
    return Register(std::move(find));
}

BOOL InternetFindNextFileA(HINTERNET hFind, LPVOID lpvFindData)
{
    const auto find = Lookup<FindHandle>(hFind, InternetHandle::Kind::Find);
    if (!find)
        return 0;
    if (!lpvFindData)
        return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard guard(find->Lock);
    if (find->Next >= find->Entries.size())
        return Fail(ERROR_NO_MORE_FILES);
    FillFindData(find->Entries[find->Next++], *static_cast<WIN32_FIND_DATAA*>(lpvFindData));
    SetLastError(ERROR_SUCCESS);
    return 1;
}

BOOL InternetGetLastResponseInfoA(LPDWORD lpdwError, LPSTR lpszBuffer, LPDWORD lpdwBufferLength)
{
    if (lpdwError)
        *lpdwError = tLastResponse.size() >= 3 ? static_cast<DWORD>(tLastResponse.first(3).toUInt()) : 0;
    return CopyOut(tLastResponse, lpszBuffer, lpdwBufferLength);
}

} // namespace platform::ftp
