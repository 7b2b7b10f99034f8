#pragma once
// A bounded cursor over a block of bytes: every read stops at the end of the data.
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

namespace Imaging {

// Reads bytes and little- or big-endian values from a block of memory it does not own.
// Reads stop at the end of the data: a value that does not fit is not read (false, the
// position unchanged), and a block read copies only the bytes that are there.
class TByteReader {
public:
    // A reader over no data.
    TByteReader() = default;
    // A reader over Data's bytes, at their start. Only a pointer is kept: Data must
    // outlive the reader and stay unchanged.
    explicit TByteReader(const QByteArray& Data)
        : FData(reinterpret_cast<const uint8_t*>(Data.constData())), FSize(Data.size()) {}

    // The number of bytes in the data.
    int64_t Size() const { return FSize; }
    // The offset of the next byte to read, from 0. Any position is accepted (a negative
    // one becomes 0); reads past the end simply find no data.
    int64_t Position() const { return FPosition; }
    void SetPosition(int64_t Position) { FPosition = Position < 0 ? 0 : Position; }
    // Moves the position Count bytes on (back when Count is negative, not before 0).
    void Skip(int64_t Count) { SetPosition(FPosition + Count); }
    // True when no byte is left to read.
    bool AtEnd() const { return FPosition >= FSize; }
    // The number of bytes left to read; 0 at or past the end.
    int64_t Remaining() const { return FPosition < FSize ? FSize - FPosition : 0; }
    // The bytes not yet read (the end of the data when none are left).
    const uint8_t* Current() const { return FData + (FPosition < FSize ? FPosition : FSize); }

    // The Count bytes from Offset (fewer where the data ends), as a reader of their own
    // positioned at their start.
    TByteReader Slice(int64_t Offset, int64_t Count) const;

    // False (and no change) at the end of the data.
    bool ReadByte(uint8_t& Value)
    {
        if (FPosition >= FSize)
            return false;
        Value = FData[FPosition++];
        return true;
    }

    // Copies up to Count bytes to Buffer and moves past them; returns how many were there.
    int64_t Read(void* Buffer, int64_t Count);

    // Reads a little-endian value of T's size; false (and no change) when the data ends
    // first.
    template <typename T>
    bool ReadLE(T& Value) { return ReadOrdered(Value, true); }
    // Reads a big-endian value of T's size; false (and no change) when the data ends first.
    template <typename T>
    bool ReadBE(T& Value) { return ReadOrdered(Value, false); }
    // Reads a value of T's size, little-endian when LittleEndian is true, else
    // big-endian; false (and no change) when the data ends first.
    template <typename T>
    bool ReadOrdered(T& Value, bool LittleEndian)
    {
        if (FSize - FPosition < int64_t(sizeof(T)))
            return false;
        Value = LittleEndian ? qFromLittleEndian<T>(FData + FPosition) : qFromBigEndian<T>(FData + FPosition);
        FPosition += sizeof(T);
        return true;
    }

private:
    TByteReader(const uint8_t* Data, int64_t Size) : FData(Data), FSize(Size) {}

    const uint8_t* FData = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

} // namespace Imaging
