#pragma once
// TGifmap: a bitmap that reads the first image of a GIF file and becomes an 8-bit
// palettised bitmap.
#include "imaging/imagereader.h"

#include <array>
#include <cstdint>

namespace Gifmap {

inline constexpr uint8_t ImageBlock = 0x2C;
inline constexpr uint8_t ExtensionBlock = 0x21;

inline constexpr Imaging::TErrorNames<10> ErrName = {
    "GIF file not found", "Not a GIF file", "Missing color table", "Bad data", "No data",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

using EGifException = Imaging::EReaderException<struct TGifFormat>;

// Loads keep their failures (see TImageReader::LoadFromStream).
class TGifmap : public Imaging::TReaderOf<EGifException, ErrName> {
public:
    TGifmap();
    ~TGifmap() override;

    // LZW codes read by the last load: a measure of its work.
    int64_t CodesDecoded() const { return FCodesDecoded; }

private:
    static constexpr int ColorTableSize = 256;
    static constexpr int MaxWidth = 2048;
    static constexpr int TableSize = 4096;
    static constexpr int MaxCodeSize = 12;
    static constexpr int LastInterlacePass = 4;

    void Parse() override;
    Imaging::TBitmapInfoHeader BitmapHeader() const override;
    std::span<const Imaging::TRgbTriple> BitmapPalette() const override;

    void ParseMem();
    void SkipExtensionBlock();
    void SkipDataSubBlocks();
    void ReadColorTable(uint8_t Flags, std::array<Imaging::TRgbTriple, ColorTableSize>& Table);
    void InitCompressionStream();
    void ResetCodeTable();
    void ReadSubBlock();
    uint16_t NextCode();
    uint8_t NextByte();
    uint16_t NextWord();
    void ReadExact(void* Buffer, int Count);
    void Decode();
    int StartTable(int Code);
    void AddString(uint8_t First);
    void SpellString(int Code, uint8_t* Start) const;
    bool WriteString(int Code);
    bool NextLine();

    std::array<Imaging::TRgbTriple, ColorTableSize> FGlobalColorTable{};
    std::array<Imaging::TRgbTriple, ColorTableSize> FLocalColorTable{};
    // The palette of the image: the colours of its table, then zeros.
    std::array<Imaging::TRgbTriple, ColorTableSize> FPalette{};
    struct {
        uint16_t Width = 0;
        uint16_t Height = 0;
        uint8_t Flags = 0;
    } FImageDescriptor;
    bool FUseLocalTable = false;
    bool FInterlaced = false;
    uint8_t FCodeSizeMin = 0;
    uint8_t FSubBlockLength = 0;
    uint8_t FSubBlock[255] = {};
    uint16_t FColorCount = 0;

    // Bit reader: bits not yet taken, at the bottom of the buffer.
    uint32_t FBitBuffer = 0;
    int FBitCount = 0;
    int FBytesLeft = 0;
    int FCodeSize = 0;
    int FClearCode = 0;
    int FEndCode = 0;
    uint16_t FNextFree = 0;
    uint16_t FCodeLimit = 0;
    uint16_t FHighestRoot = 0;
    int FReadPosition = 0;

    // The string table: each string is its prefix code and last byte, with its first
    // byte and length kept so that it can be spelled in place.
    std::array<uint16_t, TableSize> FPrefix{};
    std::array<uint8_t, TableSize> FSuffix{};
    std::array<uint8_t, TableSize> FFirst{};
    std::array<uint16_t, TableSize> FLength{};
    uint16_t FPrevious = 0;
    bool FTableFull = false;
    // Where each string's prefix was written whole in a row (null when it was not), and
    // where the last string was.
    std::array<const uint8_t*, TableSize> FPlaces{};
    const uint8_t* FPlace = nullptr;
    // A string that runs on into the next rows is spelled here first.
    std::array<uint8_t, TableSize> FStack{};

    // Where decoded pixels go: the current row of the assembled stream, and the column.
    uint8_t* FRow = nullptr;
    int FColumn = 0;
    int FCurrentRow = 0;
    int FLinesDone = 0;
    int64_t FCodesDecoded = 0;
    uint8_t FPass = 0;
};

} // namespace Gifmap
