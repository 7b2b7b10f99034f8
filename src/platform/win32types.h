#pragma once
// The platform's base integer types, under their original names, for the units that
// keep the original call signatures (the drawing interface in vcl, the FTP layer here).
// It lives in platform, the lowest layer, so that both can include it without platform
// depending on anything above it; it needs nothing but the standard library.
#include <cstdint>

namespace platform {

using BOOL = int;
using UINT = unsigned;
using DWORD = uint32_t;

constexpr int MAX_PATH = 260;

// 100-nanosecond intervals since 1 January 1601, UTC.
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// One entry of a directory search (file system or FTP server).
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    char cFileName[MAX_PATH] = {};
    char cAlternateFileName[14] = {};
};

} // namespace platform
