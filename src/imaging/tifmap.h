#pragma once
// TTifmap: a bitmap that reads the first image of a TIFF file (uncompressed, LZW or
// PackBits) and becomes a 1, 4, 8 or 24-bit bitmap. Unlike the other readers it lets
// its failures reach the caller.
#include "imaging/imagereader.h"
#include "imaging/lzwstrings.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Tifmap {

// The reader's failure messages, by code from 1.
inline constexpr Imaging::TErrorNames<10> ErrName = {
    "TIF file not found", "Not a TIF file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

// The exception of a failed TIFF load, with one of ErrName's messages; loads raise it.
using ETifException = Imaging::EReaderException<struct TTifFormat>;

// Unlike the other readers, loads raise their failures.
class TTifmap : public Imaging::TReaderOf<ETifException, ErrName> {
public:
    // An empty bitmap.
    TTifmap();
    ~TTifmap() override;

    // LZW codes read by the last load: a measure of its work.
    int64_t CodesDecoded() const { return FCodesDecoded; }

private:
    // Where a strip tag's values are: inside the entry when they fit its 4 bytes (one
    // LONG, or up to two SHORTs), else in an array at the offset the entry holds.
    struct TStripField {
        uint32_t Count = 0;
        uint32_t Value = 0; // the entry's first value, or the offset of the array
        int64_t Values = 0; // position of the first value in the file
        int ValueSize = 4;  // 2 for SHORT, 4 for LONG
    };
    static constexpr int MaxRowLength = 7200;

    void Parse() override;
    Imaging::TBitmapInfoHeader BitmapHeader() const override;
    std::span<const Imaging::TRgbTriple> BitmapPalette() const override;

    void ReadTiff();
    void CheckDepth();
    void ReadStrips();
    void SetDefaults();
    void DecodeTag();
    uint16_t GetWord();
    uint32_t GetLong();
    void ReadColorMap(uint32_t Offset);
    TStripField ReadStripField(uint16_t Type, uint32_t Count, uint32_t Value, int64_t ValuePosition) const;
    uint32_t StripValue(const TStripField& Field, uint32_t Index);
    Imaging::TByteReader StripData(uint32_t Strip);
    int64_t MaxStripOutput(int64_t Bytes) const;
    void CheckImageFitsInput(int64_t RowCount);
    void ReadStrip(int64_t FirstRow, int64_t RowCount);
    void ReadPackLine(uint8_t* Line, int Count);
    int64_t DecodeLzwStrip(uint8_t* Pixels, int64_t Total);
    void PlaceRows(const uint8_t* Pixels, int64_t FirstRow, int64_t Count);
    void PlaceRow(const uint8_t* Source, uint8_t* Row) const;
    void PlacePixels(const uint8_t* Source, uint32_t* Line) const;
    uint8_t* StripBuffer(int64_t Bytes);

    // The whole file; FInput reads the directory, then one strip at a time.
    Imaging::TByteReader FFile;

    uint16_t FPhotometric = 0;
    uint16_t FByteOrder = 0;
    uint32_t FRowsPerStrip = 0;
    uint32_t FStripCount = 0;
    uint16_t FSamplesPerPixel = 1;
    uint16_t FPlanarConfiguration = 1;
    uint16_t FCompression = 1;
    uint16_t FPredictor = 1;
    uint16_t FBitsPerSample = 1;
    bool FColorMapPresent = false;
    TStripField FStripByteCounts;
    TStripField FStripOffsets;
    // Codes decoded in this load.
    int64_t FCodesDecoded = 0;

    std::array<Imaging::TRgbTriple, 256> FPalette{};
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    int FRowLength = 0;
    // A strip's rows as decoded, before they are put in their rows of the bitmap.
    std::vector<uint8_t> FStripPixels;
    Imaging::TLzwStrings FStrings;
};

} // namespace Tifmap
