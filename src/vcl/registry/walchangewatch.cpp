#include "vcl/registry/walchangewatch.h"

#include <QFile>
#include <atomic>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vcl {

namespace {

// Where the header says it has been initialised, and how often a torn read is retried
// before the answer falls back to "changed".
constexpr size_t IsInitOffset = 12;
constexpr int ReadAttempts = 8;

} // namespace

TWalChangeWatch::TWalChangeWatch(const QString& DatabaseFile)
{
    const int fd = ::open(QFile::encodeName(DatabaseFile + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && status.st_size >= off_t(2 * HeaderSize)) {
        void* mapped = ::mmap(nullptr, 2 * HeaderSize, PROT_READ, MAP_SHARED, fd, 0);
        if (mapped != MAP_FAILED)
            FIndex = static_cast<const volatile unsigned char*>(mapped);
    }
    ::close(fd);
}

TWalChangeWatch::~TWalChangeWatch()
{
    if (FIndex)
        ::munmap(const_cast<unsigned char*>(FIndex), 2 * HeaderSize);
}

// Reads both copies, the first first, as SQLite's readers do; equal copies of an
// initialised header are a consistent one.
bool TWalChangeWatch::ReadHeader(Header& Out) const
{
    Header second;
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        for (size_t i = 0; i < HeaderSize; ++i)
            Out[i] = FIndex[i];
        std::atomic_thread_fence(std::memory_order_acquire);
        for (size_t i = 0; i < HeaderSize; ++i)
            second[i] = FIndex[HeaderSize + i];
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
