#include "vcl/registry/walchangewatch.h"

#include <algorithm>
#include <atomic>
#include <sqlite3.h>

namespace vcl {

namespace {

// Where the header says it has been initialised, and how often a torn read is retried
// before the answer falls back to "changed".
constexpr size_t IsInitOffset = 12;
constexpr int ReadAttempts = 8;
// The size of the index's first region, which holds the header: fixed by SQLite's file
// format, whatever the page size.
constexpr int IndexRegionSize = 32768;

} // namespace

TWalChangeWatch::TWalChangeWatch(sqlite3* Db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(Db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods || file->pMethods->iVersion < 2 || !file->pMethods->xShmMap)
        return;
    // Not extending: the region exists once the connection has read; asking for it
    // again hands back the connection's mapping without a new one.
    void volatile* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, IndexRegionSize, 0, &region) == SQLITE_OK)
        FIndex = static_cast<const volatile unsigned char*>(region);
}

// Copies the first copy, then the second, as SQLite's readers do: a writer writes them
// in the other order, so equal copies of an initialised header are a consistent one.
bool TWalChangeWatch::ReadHeader(Header& Out) const
{
    Header second;
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        std::copy_n(FIndex, HeaderSize, Out.begin());
        std::atomic_thread_fence(std::memory_order_acquire);
        std::copy_n(FIndex + HeaderSize, HeaderSize, second.begin());
        if (Out == second && Out[IsInitOffset] != 0)
            return true;
    }
    return false;
}

bool TWalChangeWatch::Changed()
{
    Header now;
    if (!ReadHeader(now)) {
        FSeen = false;
        return true;
    }
    const bool changed = !FSeen || now != FLast;
    FLast = now;
    FSeen = true;
    return changed;
}

} // namespace vcl
