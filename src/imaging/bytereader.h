#pragma once
// A bounded cursor over a block of bytes: every read stops at the end of the data.
#include <QByteArray>
#include <QtEndian>
#include <cstdint>

namespace Imaging {

class TByteReader {
public:
    TByteReader() = default;
    explicit TByteReader(const QByteArray& Data)
        : FData(reinterpret_cast<const uint8_t*>(Data.constData())), FSize(Data.size()) {}

    int64_t Size() const { return FSize; }
    int64_t Position() const { return FPosition; }
    // Any position is accepted; reads past the end simply find no data.
    void SetPosition(int64_t Position) { FPosition = Position < 0 ? 0 : Position; }
    void Skip(int64_t Count) { SetPosition(FPosition + Count); }
    bool AtEnd() const { return FPosition >= FSize; }
    int64_t Remaining() const { return FPosition < FSize ? FSize - FPosition : 0; }
    // The bytes not yet read.
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

    // Copies up to Count bytes; returns how many were there.
    int64_t Read(void* Buffer, int64_t Count);

    // A little- or big-endian value; false (and no change) when the data ends first.
    template <typename T>
    bool ReadLE(T& Value) { return ReadOrdered(Value, true); }
    template <typename T>
    bool ReadBE(T& Value) { return ReadOrdered(Value, false); }
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
