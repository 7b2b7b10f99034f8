#pragma once
// Byte streams: the abstract TStream, memory and file streams.
#include "vcl/core/types.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace vcl {

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
public:
    // Reads up to Count bytes; returns how many were read (0 at the end).
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    // Writes up to Count bytes; returns how many were written.
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position();
    void SetPosition(int64_t Pos);
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);

    // Reads exactly Count bytes or raises EReadError "Stream read error".
    void ReadBuffer(void* Buffer, int64_t Count);
    // Writes exactly Count bytes or raises EWriteError "Stream write error".
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source's position (Count 0: all of Source from its start);
    // returns the number of bytes copied.
    int64_t CopyFrom(TStream& Source, int64_t Count);

    // Convenience for byte-level readers: the next Count bytes (fewer at the end).
    QByteArray ReadBytes(int64_t Count);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray Data) : FData(std::move(Data)) {}

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return FData.size(); }
    void SetSize(int64_t NewSize) override;

    void Clear();
    const char* Memory() const { return FData.constData(); }
    char* Memory() { return FData.data(); }
    const QByteArray& Bytes() const { return FData; }

    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName);

private:
    QByteArray FData;
    int64_t FPosition = 0;
};

// File modes: one access mode combined with one sharing mode, or fmCreate (which
// always opens for reading and writing, exclusively).
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

// A stream over a file. Opening fails with EFOpenError naming the file and the reason.
// Linux has no mandatory sharing modes; fmShareExclusive and fmShareDenyWrite take an
// advisory lock (flock) that other QvKit file streams respect.
class TFileStream : public TStream {
public:
    TFileStream(const QString& FileName, uint16_t Mode);
    ~TFileStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;

    const QString& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }

private:
    QString FFileName;
    int FHandle = -1;
};

} // namespace vcl
