#pragma once
// The subset of the original internet library's FTP functions that the units call,
// with the original names, argument orders and results, over FtpSession.
//
// Handles are typed: a root handle (InternetOpenA), a connection (InternetConnectA)
// and a directory search (FtpFindFirstFileA). A null, closed or foreign handle makes a
// call fail with ERROR_INVALID_HANDLE; a handle of the wrong kind with
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE. Closing a handle closes the handles made from it.
//
// Every call sets the calling thread's last error (GetLastError). Calls that talk to
// a server also set the thread's last response (InternetGetLastResponseInfoA): the
// server's last reply of that call, or nothing when the call never reached the server.
// Texts are 8-bit strings; remote names and local file names are UTF-8.
#include "platform/ftp/ftperrors.h"

#include <cstdint>
#include <functional>

namespace platform::ftp {

using platform::BOOL;
using platform::FILETIME;
using platform::MAX_PATH;
using platform::WIN32_FIND_DATAA;
using INTERNET_PORT = uint16_t;
using DWORD_PTR = uintptr_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPDWORD = DWORD*;
using LPVOID = void*;

class InternetHandle;
using HINTERNET = InternetHandle*;

constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_SERVICE_FTP = 1;
constexpr INTERNET_PORT INTERNET_DEFAULT_FTP_PORT = 21;
constexpr DWORD INTERNET_FLAG_PASSIVE = 0x08000000;
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
// On InternetConnectA: explicit TLS (AUTH TLS) for the control and data connections.
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD FTP_TRANSFER_TYPE_UNKNOWN = 0;
constexpr DWORD FTP_TRANSFER_TYPE_ASCII = 1;
constexpr DWORD FTP_TRANSFER_TYPE_BINARY = 2;

constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// InternetSetOptionA on a root handle, for the connections made from it afterwards.
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2; // DWORD, milliseconds
constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = 5;    // DWORD, milliseconds (as receive)
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6; // DWORD, milliseconds
constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31; // DWORD, SECURITY_FLAG_...
constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x100;

DWORD GetLastError();
void SetLastError(DWORD code);

HINTERNET InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR lpszProxy, LPCSTR lpszProxyBypass, DWORD dwFlags);
BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength);
// Connects and logs in at once; null when either fails (the reply tells why).
// A null user name means "anonymous".
HINTERNET InternetConnectA(HINTERNET hInternet, LPCSTR lpszServerName, INTERNET_PORT nServerPort, LPCSTR lpszUserName,
                           LPCSTR lpszPassword, DWORD dwService, DWORD dwFlags, DWORD_PTR dwContext);
// Closing a connection also stops a transfer running on it on another thread, within
// about a second; that call fails with ERROR_INTERNET_OPERATION_CANCELLED.
BOOL InternetCloseHandle(HINTERNET hInternet);

BOOL FtpSetCurrentDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory);
// *lpdwCurrentDirectory: the buffer's size in; the text's length out (without the zero),
// or the size needed with ERROR_INSUFFICIENT_BUFFER.
BOOL FtpGetCurrentDirectoryA(HINTERNET hConnect, LPSTR lpszCurrentDirectory, LPDWORD lpdwCurrentDirectory);
BOOL FtpCreateDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory);
BOOL FtpRemoveDirectoryA(HINTERNET hConnect, LPCSTR lpszDirectory);
BOOL FtpGetFileA(HINTERNET hConnect, LPCSTR lpszRemoteFile, LPCSTR lpszNewFile, BOOL fFailIfExists,
                 DWORD dwFlagsAndAttributes, DWORD dwFlags, DWORD_PTR dwContext);
// Uploads under a temporary name and renames the file when it is complete (see FtpSession).
BOOL FtpPutFileA(HINTERNET hConnect, LPCSTR lpszLocalFile, LPCSTR lpszNewRemoteFile, DWORD dwFlags, DWORD_PTR dwContext);
// Not in the original library: receives the bytes moved so far and the whole size (0
// when unknown) of every later FtpGetFileA and FtpPutFileA on the connection, on the
// thread that makes that call, at most every 200 ms and once at the end. Null: none.
using FTP_PROGRESS_CALLBACK = std::function<void(int64_t done, int64_t total)>;
BOOL FtpSetProgressCallback(HINTERNET hConnect, FTP_PROGRESS_CALLBACK callback);
BOOL FtpRenameFileA(HINTERNET hConnect, LPCSTR lpszExisting, LPCSTR lpszNew);
BOOL FtpDeleteFileA(HINTERNET hConnect, LPCSTR lpszFileName);

// Lists the current directory (null or empty lpszSearchFile), a directory, or the
// entries of a directory that match a "*" and "?" pattern ("/pub/*.txt"). Returns a
// search handle with the first entry in *lpFindFileData, or null with
// ERROR_NO_MORE_FILES when nothing matched. For a link whose target the server named,
// an entry's cFileName holds the name, its terminating zero, then "-> " and the target
// (cut to fit the field, always zero-terminated).
HINTERNET FtpFindFirstFileA(HINTERNET hConnect, LPCSTR lpszSearchFile, WIN32_FIND_DATAA* lpFindFileData, DWORD dwFlags,
                            DWORD_PTR dwContext);
// lpvFindData is a WIN32_FIND_DATAA; FALSE with ERROR_NO_MORE_FILES after the last entry.
BOOL InternetFindNextFileA(HINTERNET hFind, LPVOID lpvFindData);

// The calling thread's last server reply. *lpdwError receives the reply's code;
// *lpdwBufferLength: the buffer's size in, the text's length out, or the size needed
// with ERROR_INSUFFICIENT_BUFFER.
BOOL InternetGetLastResponseInfoA(LPDWORD lpdwError, LPSTR lpszBuffer, LPDWORD lpdwBufferLength);

} // namespace platform::ftp
