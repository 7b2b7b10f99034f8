#include "vcl/registry/walchangewatch.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace vcl {

namespace {

// Where the header says it has been initialised, and how often a torn read is retried
// before the answer falls back to "changed".
constexpr size_t IsInitOffset = 12;
constexpr int ReadAttempts = 8;

} // namespace

TWalChangeWatch::TWalChangeWatch(const QString& DatabaseFile)
    : FFile(::open(QFile::encodeName(DatabaseFile + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC))
{
}

TWalChangeWatch::~TWalChangeWatch()
{
    if (FFile >= 0)
        ::close(FFile);
}

// Reads both copies in one read; equal copies of an initialised header are a
// consistent one (a read torn by a writer shows them different).
bool TWalChangeWatch::ReadHeader(Header& Out) const
{
    std::array<unsigned char, 2 * HeaderSize> both;
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        // A short read (a file being reset by SQLite) is no header.
        if (::pread(FFile, both.data(), both.size(), 0) != ssize_t(both.size()))
            return false;
        std::copy_n(both.begin(), HeaderSize, Out.begin());
        if (std::equal(Out.begin(), Out.end(), both.begin() + HeaderSize) && Out[IsInitOffset] != 0)
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
