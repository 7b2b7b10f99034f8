#pragma once
// The string table of an LZW decoder that writes its whole output into one contiguous
// buffer. Every string the table learns is the previous string followed by the first
// byte of the next, and those two lie side by side in the output, so an entry is only
// where the previous string was written and one more than its length: spelling a code
// is a forward copy from earlier output, with no links to follow and nothing allocated.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace Imaging {

// The string table of one LZW decoder: codes up to TableSize - 1, roots up to
// RootCount - 1 (see the file's description).
class TLzwStrings {
public:
    // The number of codes the table holds (12-bit codes).
    static constexpr int TableSize = 4096;
    // Copies move this many bytes at a time.
    static constexpr int ChunkBytes = 16;
    // Strings of at most this many bytes are written byte by byte (see Write).
    static constexpr int ShortString = 8;
    // Bytes the output buffer needs past the end of what it should receive: the longest
    // string may start at its last byte.
    static constexpr int OutputSlack = TableSize + ChunkBytes;
    // Root codes: GIF allows 9-bit roots, which spell their low byte.
    static constexpr int RootCount = 512;

    // A table that knows every root and no learned string.
    TLzwStrings()
    {
        for (int root = 0; root < RootCount; ++root)
            FRoots[size_t(root)] = static_cast<uint8_t>(root);
        RestoreRoots(0, RootCount);
    }

    // Forgets every learned string: the decoder learns again from code First, and codes
    // below it are roots (a table used with fewer roots before may have learned strings
    // there). The decoder keeps the next free code itself, in a register.
    void Reset(int First)
    {
        RestoreRoots(FLearnedFrom, std::min(First, RootCount));
        FLearnedFrom = First;
    }

    // Learns as Code the string written at Previous (of the given length) followed by
    // one more byte, the first of whatever comes next in the output.
    void Add(int Code, const uint8_t* Previous, int PreviousLength)
    {
        FStart[size_t(Code)] = Previous;
        FLength[size_t(Code)] = static_cast<uint16_t>(PreviousLength + 1);
    }

    // Writes the string of a known Code at Out and returns its length. The bytes up to
    // OutputSlack past the string may be overwritten. A code learned just before from
    // the string ending at Out (the encoder's "string, string, first byte" case) gets
    // its last byte, which is its first, put right afterwards.
    int Write(int Code, uint8_t* Out) const
    {
        const uint8_t* from = FStart[size_t(Code)];
        const int length = FLength[size_t(Code)];
        // Short strings, most of them, go byte by byte: they are mostly copied from
        // output written moments before, and a wide load across several recent stores
        // waits for them to reach the cache, where a byte load is served from the store.
        if (length <= ShortString) {
            for (int i = 0; i < length; ++i)
                Out[i] = from[i];
            return length;
        }
        // Each chunk is loaded whole before it is stored; the bytes of the string always
        // lie before Out, so only bytes past the string's end can be wrong, and later
        // output overwrites them.
        for (int i = 0; i < length; i += ChunkBytes) {
            uint8_t chunk[ChunkBytes];
            std::memcpy(chunk, from + i, ChunkBytes);
            std::memcpy(Out + i, chunk, ChunkBytes);
        }
        if (reinterpret_cast<uintptr_t>(from) + uintptr_t(length) > reinterpret_cast<uintptr_t>(Out))
            Out[length - 1] = *from;
        return length;
    }

private:
    void RestoreRoots(int From, int To)
    {
        for (int root = From; root < To; ++root) {
            FStart[size_t(root)] = &FRoots[size_t(root)];
            FLength[size_t(root)] = 1;
        }
    }

    // The roots' bytes, padded so that a chunk read from the last one stays inside.
    std::array<uint8_t, RootCount + ChunkBytes> FRoots{};
    std::array<const uint8_t*, TableSize> FStart{};
    std::array<uint16_t, TableSize> FLength{};
    int FLearnedFrom = RootCount;
};

} // namespace Imaging
