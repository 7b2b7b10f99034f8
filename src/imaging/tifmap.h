#pragma once
// TTifmap: a bitmap that reads the first image of a TIFF file (uncompressed, LZW or
// PackBits) and becomes a 1, 4, 8 or 24-bit bitmap. Unlike the other readers it lets
// its failures reach the caller.
#include "imaging/imagereader.h"

#include <array>
#include <cstdint>

namespace Tifmap {

inline constexpr Imaging::TErrorNames<10> ErrName = {
    "TIF file not found", "Not a TIF file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

using ETifException = Imaging::EReaderException<struct TTifFormat>;

// Unlike the other readers, loads raise their failures.
class TTifmap : public Imaging::TReaderOf<ETifException, ErrName> {
public:
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
    static constexpr int LineBufferSize = MaxRowLength + 1;
    static constexpr int TableSize = 4096;

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
    void ReadLine(int Count);
    void ReadPackLine(int Count);
    void InitializeTable();
    // Where the codes are read: the next byte, the end, and the bits not yet taken.
    struct TCodeReader {
        const uint8_t* Next;
        const uint8_t* End;
        uint32_t Bits = 0;
        int Count = 0;
    };
    uint16_t GetNextCode(TCodeReader& In);
    bool IsInTable(int Code) const;
    void WriteCode(int Code);
    bool AddStringToTable(int Prefix, uint8_t Last, const uint8_t* PrefixPlace);
    void WriteString(const uint8_t* Bytes, int Count);
    bool ReadLZWData();
    void InsertLine();
    void PrepareRows(int64_t FirstRow, int64_t EndRow);
    void CreateLine();
    void PointLineAtRow();

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
    // Rows one strip fills, the last a strip may fill, and codes decoded in this load.
    int64_t FStripEnd = 0;
    int64_t FCodesDecoded = 0;

    std::array<Imaging::TRgbTriple, 256> FPalette{};
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    int FRowLength = 0;
    // The row being decoded: its place in the assembled stream, or the spare line.
    uint8_t* FLine = nullptr;
    std::array<uint8_t, LineBufferSize> FSpareLine{};
    int64_t FRowCounter = 0;

    // LZW state. The string table holds each string as its prefix code and last byte,
    // with its first byte and length kept for the next-code case.
    static constexpr int ClearCode = 256;
    static constexpr int EndOfInformation = 257;
    uint16_t FCode = 0;
    uint16_t FPrevious = 0;
    uint16_t FNextFree = 0;
    uint16_t FWritePosition = 0;
    uint8_t FCodeWidth = 0;
    std::array<uint16_t, TableSize> FPrefix{};
    std::array<uint8_t, TableSize> FLast{};
    std::array<uint8_t, TableSize> FFirst{};
    std::array<uint16_t, TableSize> FLength{};
    std::array<uint8_t, TableSize> FString{};
    // Where each string's prefix was written whole in a row (null when it was not), and
    // where the last string was.
    std::array<const uint8_t*, TableSize> FPlaces{};
    const uint8_t* FPlace = nullptr;
};

} // namespace Tifmap
