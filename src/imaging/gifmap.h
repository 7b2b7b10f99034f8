#pragma once
// TGifmap: a bitmap that reads the first image of a GIF file and becomes an 8-bit
// palettised bitmap.
#include "imaging/imagereader.h"
#include "imaging/lzwstrings.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Gifmap {

inline constexpr uint8_t ImageBlock = 0x2C; // The byte that starts an image descriptor (',').
inline constexpr uint8_t ExtensionBlock = 0x21; // The byte that starts an extension block ('!').

// The reader's failure messages, by code from 1.
inline constexpr Imaging::TErrorNames<10> ErrName = {
    "GIF file not found", "Not a GIF file", "Missing color table", "Bad data", "No data",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

// The exception of a failed GIF load, with one of ErrName's messages.
using EGifException = Imaging::EReaderException<struct TGifFormat>;

// Loads keep their failures (see TImageReader::LoadFromStream).
class TGifmap : public Imaging::TReaderOf<EGifException, ErrName> {
public:
    // An empty bitmap.
    TGifmap();
    ~TGifmap() override;

    // LZW codes read by the last load: a measure of its work.
    int64_t CodesDecoded() const { return FCodesDecoded; }

private:
    static constexpr int ColorTableSize = 256;
    static constexpr int MaxWidth = 2048;
    static constexpr int MaxCodeSize = 12;

    void Parse() override;
    Imaging::TBitmapInfoHeader BitmapHeader() const override;
    std::span<const Imaging::TRgbTriple> BitmapPalette() const override;

    void ParseMem();
    void SkipExtensionBlock();
    void SkipDataSubBlocks();
    void ReadColorTable(uint8_t Flags, std::array<Imaging::TRgbTriple, ColorTableSize>& Table);
    void GatherSubBlocks();
    uint8_t NextByte();
    uint16_t NextWord();
    void ReadExact(void* Buffer, int Count);
    void Decode();
    int64_t DecodeLines(uint8_t* Pixels, int64_t Total);
    void PlaceLines(const uint8_t* Pixels, int Lines);

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
    uint16_t FColorCount = 0;

    // The image's data sub-blocks joined into one run of bytes, and the failure met where
    // the sub-blocks ended: more codes are needed past that point only from bad data.
    std::vector<uint8_t> FCodes;
    int64_t FCodeBytes = 0;
    int FCodesEndError = 0;
    Imaging::TLzwStrings FStrings;
    int64_t FCodesDecoded = 0;
};

} // namespace Gifmap
