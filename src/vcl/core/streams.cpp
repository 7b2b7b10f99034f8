#include "vcl/core/streams.h"

#include "vcl/core/sysutils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vcl {

int64_t TStream::Position()
{
    return Seek(0, soCurrent);
}

void TStream::SetPosition(int64_t Pos)
{
    Seek(Pos, soBeginning);
}

int64_t TStream::Size()
{
    const int64_t pos = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(int64_t)
{
}

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    constexpr int64_t chunk = 64 * 1024;
    QByteArray buffer(static_cast<qsizetype>(std::min(Count, chunk)), Qt::Uninitialized);
    int64_t remaining = Count;
    while (remaining > 0) {
        const int64_t n = std::min(remaining, chunk);
        Source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.constData(), n);
        remaining -= n;
    }
    return Count;
}

QByteArray TStream::ReadBytes(int64_t Count)
{
    // A count read from a file is not trusted with an allocation beyond the data.
    const int64_t wanted = std::clamp<int64_t>(Count, 0, std::max<int64_t>(0, Size() - Position()));
    QByteArray bytes(static_cast<qsizetype>(wanted), Qt::Uninitialized);
    const int64_t n = wanted > 0 ? Read(bytes.data(), wanted) : 0;
    bytes.truncate(static_cast<qsizetype>(n));
    return bytes;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count)
{
    const int64_t available = std::max<int64_t>(0, FData.size() - FPosition);
    const int64_t n = std::clamp<int64_t>(Count, 0, available);
    if (n > 0)
        std::memcpy(Buffer, FData.constData() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    const int64_t end = FPosition + Count;
    if (end > FData.size())
        SetSize(end);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FData.size() + Offset; break;
    }
    FPosition = std::max<int64_t>(FPosition, 0);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    const qsizetype oldSize = FData.size();
    const auto newSize = static_cast<qsizetype>(std::max<int64_t>(NewSize, 0));
    FData.resize(newSize);
    // Grown memory (also the gap a write beyond the end leaves) reads as zeros.
    if (newSize > oldSize)
        std::memset(FData.data() + oldSize, 0, static_cast<size_t>(newSize - oldSize));
    FPosition = std::min<int64_t>(FPosition, newSize);
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream)
{
    Stream.SetPosition(0);
    const int64_t size = Stream.Size();
    SetSize(size);
    Stream.ReadBuffer(FData.data(), size);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream)
{
    Stream.WriteBuffer(FData.constData(), FData.size());
}

void TMemoryStream::LoadFromFile(const QString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const QString& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

TFileStream::TFileStream(const QString& FileName, uint16_t Mode)
    : FFileName(FileName)
{
    const QByteArray path = FileName.toLocal8Bit();
    int flags = O_CLOEXEC;
    int lock = 0;
    const bool create = (Mode & fmCreate) == fmCreate;
    if (create) {
        // Truncated only once the lock is held, so a file another stream holds
        // exclusively is refused and not emptied.
        flags |= O_RDWR | O_CREAT;
        lock = LOCK_EX;
    } else {
        switch (Mode & 0x3) {
        case fmOpenWrite: flags |= O_WRONLY; break;
        case fmOpenReadWrite: flags |= O_RDWR; break;
        default: flags |= O_RDONLY; break;
        }
        switch (Mode & 0xF0) {
        case fmShareExclusive: lock = LOCK_EX; break;
        case fmShareDenyWrite: lock = (Mode & 0x3) == fmOpenRead ? LOCK_SH : LOCK_EX; break;
        default: break;
        }
    }
    auto fail = [&](int err) {
        if (FHandle >= 0)
            ::close(FHandle);
        FHandle = -1;
        const QString what = create ? QStringLiteral("Cannot create file") : QStringLiteral("Cannot open file");
        throw EFOpenError(QStringLiteral("%1 \"%2\". %3").arg(what, FileName, QString::fromLocal8Bit(std::strerror(err))));
    };
    FHandle = ::open(path.constData(), flags, 0666);
    if (FHandle < 0)
        fail(errno);
    if ((lock != 0 && ::flock(FHandle, lock | LOCK_NB) != 0) || (create && ::ftruncate(FHandle, 0) != 0))
        fail(errno);
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

namespace {

// Repeats a read or a write (Transfer: a call of ::read or ::write on the rest of the
// buffer) until Count bytes have moved, the end is reached or an error stops it; a call
// interrupted by a signal is repeated.
template <typename Byte, typename TransferCall>
int64_t TransferAll(Byte* Buffer, int64_t Count, TransferCall Transfer)
{
    int64_t total = 0;
    while (total < Count) {
        const ssize_t n = Transfer(Buffer + total, static_cast<size_t>(Count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        total += n;
    }
    return total;
}

} // namespace

int64_t TFileStream::Read(void* Buffer, int64_t Count)
{
    return TransferAll(static_cast<char*>(Buffer), Count,
        [this](char* out, size_t bytes) { return ::read(FHandle, out, bytes); });
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count)
{
    return TransferAll(static_cast<const char*>(Buffer), Count,
        [this](const char* in, size_t bytes) { return ::write(FHandle, in, bytes); });
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t pos = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

void TFileStream::SetSize(int64_t NewSize)
{
    if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EWriteError(QStringLiteral("Stream write error"));
    if (Position() > NewSize)
        SetPosition(NewSize);
}

} // namespace vcl
