#pragma once
// The string table of an LZW decoder that writes its whole output into one contiguous
// buffer. Every string the table learns is the previous string followed by the first
// byte of the next, and the previous string lies in the output right before the next
// one, so an entry is only where that string was written and its length. The first
// eight bytes of every string are also kept in the entry itself: short strings, most of
// them, are written with one 8-byte store and no load from output written moments
// before, and longer ones copy only the rest from the output.
#include <QtEndian>
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
    // Bytes of each string kept in its entry.
    static constexpr int HeadBytes = 8;
    // The rest of a longer string is copied this many bytes at a time.
    static constexpr int ChunkBytes = 16;
    // Bytes the output buffer needs past the end of what it should receive: the longest
    // string may start at its last byte, and copies overshoot by up to a chunk.
    static constexpr int OutputSlack = TableSize + ChunkBytes;
    // Root codes: GIF allows 9-bit roots, which spell their low byte.
    static constexpr int RootCount = 512;

    // A table that knows every root and no learned string.
    TLzwStrings() { RestoreRoots(0, RootCount); }

    // Forgets every learned string: the decoder learns again from code First, and codes
    // below it are roots (a table used with fewer roots before may have learned strings
    // there). The decoder keeps the next free code itself, in a register.
    void Reset(int First)
    {
        RestoreRoots(FLearnedFrom, std::min(First, RootCount));
        FLearnedFrom = First;
    }

    // A string of the table as a decoder keeps the last one it wrote: its first bytes
    // (the rest in the output) and its length.
    struct TString {
        uint64_t Head = 0; // The first HeadBytes bytes, the first in the low byte.
        int Length = 0; // The length in bytes.
    };

    // Learns as Code the string Previous, written at PreviousAt, followed by the first
    // byte of Next's string. Next may be Code itself (the encoder's "string, string,
    // first byte" case): that string starts as Previous does.
    void Learn(int Code, const TString& Previous, const uint8_t* PreviousAt, int Next)
    {
        const uint64_t first = (Next == Code ? Previous.Head : FHead[size_t(Next)]) & 0xFF;
        // The byte joins the head only while the head has room; computed without a branch,
        // which lengths around the head's size would mispredict.
        const uint64_t room = uint64_t(0) - uint64_t(Previous.Length < HeadBytes);
        FHead[size_t(Code)] = Previous.Head | (first << ((8 * Previous.Length) & 63) & room);
        FStart[size_t(Code)] = PreviousAt;
        FLength[size_t(Code)] = static_cast<uint16_t>(Previous.Length + 1);
    }

    // Writes the string of a known Code at Out and returns it. The bytes up to
    // OutputSlack past the string may be overwritten.
    TString Write(int Code, uint8_t* Out) const
    {
        const TString string{FHead[size_t(Code)], FLength[size_t(Code)]};
        qToLittleEndian(string.Head, Out);
        if (string.Length > HeadBytes) [[unlikely]]
            WriteTail(FStart[size_t(Code)], string.Length, Out);
        return string;
    }

private:
    // Copies the bytes after the head from the string's earlier copy at From. Every byte
    // of the string lies before Out, except for a string learned just before from the
    // string ending at Out, whose last byte is Out[0], written with the head: so each
    // chunk may be loaded whole before it is stored.
    static void WriteTail(const uint8_t* From, int Length, uint8_t* Out)
    {
        for (int i = HeadBytes; i < Length; i += ChunkBytes) {
            uint8_t chunk[ChunkBytes];
            std::memcpy(chunk, From + i, ChunkBytes);
            std::memcpy(Out + i, chunk, ChunkBytes);
        }
    }

    void RestoreRoots(int From, int To)
    {
        for (int root = From; root < To; ++root) {
            FHead[size_t(root)] = uint8_t(root);
            FLength[size_t(root)] = 1;
        }
    }

    std::array<uint64_t, TableSize> FHead{};
    std::array<const uint8_t*, TableSize> FStart{};
    std::array<uint16_t, TableSize> FLength{};
    int FLearnedFrom = RootCount;
};

} // namespace Imaging
