#pragma once
// Reads the codes of an LZW stream, of a width the decoder changes as its table grows,
// through a 64-bit buffer refilled eight bytes at a time.
#include <QtEndian>
#include <cstdint>

namespace Imaging {

// The codes packed in Bytes bytes at Data, most significant bit first (TIFF) or least
// significant bit first (GIF). Past the end of the data a code's missing bits read as
// zeros and Overrun becomes true: the decoder reports the truncation.
template <bool MsbFirst>
class TLzwCodes {
public:
    // A reader at the first code of the Bytes bytes at Data, which must outlive it.
    TLzwCodes(const uint8_t* Data, int64_t Bytes) : FData(Data), FBytes(Bytes) {}

    // The next code of Width bits, 1 to 12.
    int Next(int Width)
    {
        if (FCount < Width)
            Refill();
        int code;
        if constexpr (MsbFirst) {
            code = int(FBits >> (64 - Width));
            FBits <<= Width;
        } else {
            code = int(FBits & ((uint64_t(1) << Width) - 1));
            FBits >>= Width;
        }
        FCount -= Width;
        ++FCodesRead;
        return code;
    }

    // True once a code took bits from past the end of the data.
    bool Overrun() const { return FCount < FPadding; }
    // The codes read so far.
    int64_t CodesRead() const { return FCodesRead; }

private:
    // Tops the buffer up to at least 56 bits. Bits past FCount already in the buffer are
    // the data's own, so loading them again changes nothing.
    void Refill()
    {
        if (FNext + 8 <= FBytes) {
            const uint64_t word = MsbFirst ? qFromBigEndian<uint64_t>(FData + FNext)
                                           : qFromLittleEndian<uint64_t>(FData + FNext);
            FBits |= MsbFirst ? word >> FCount : word << FCount;
            FNext += (63 - FCount) >> 3;
            FCount |= 56;
            return;
        }
        // Near the end byte by byte, and past it zero bytes counted as padding.
        for (; FCount <= 56; ++FNext, FCount += 8) {
            const bool inside = FNext < FBytes;
            const uint64_t byte = inside ? FData[FNext] : 0;
            FPadding += inside ? 0 : 8;
            FBits |= MsbFirst ? byte << (56 - FCount) : byte << FCount;
        }
    }

    const uint8_t* FData;
    int64_t FBytes;
    int64_t FNext = 0;
    uint64_t FBits = 0;
    int FCount = 0;
    int FPadding = 0;
    int64_t FCodesRead = 0;
};

} // namespace Imaging
