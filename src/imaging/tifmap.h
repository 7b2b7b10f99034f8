#pragma once
// TTifmap: a bitmap that reads the first image of a TIFF file (uncompressed, LZW or
// PackBits) and becomes a 1, 4, 8 or 24-bit bitmap. Unlike the other readers it lets
// its failures reach the caller.
#include "imaging/assembledbitmap.h"
#include "imaging/bytereader.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <memory>

namespace Tifmap {

// Entry n is 2^n - 1.
inline constexpr std::array<uint16_t, 15> CodeMask = {
    0x0000, 0x0001, 0x0003, 0x0007, 0x000F, 0x001F, 0x003F, 0x007F,
    0x00FF, 0x01FF, 0x03FF, 0x07FF, 0x0FFF, 0x1FFF, 0x3FFF};

// The failure messages; the text of code n is ErrName[n - 1].
inline constexpr std::array<const char*, 10> ErrName = {
    "TIF file not found", "Not a TIF file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

class ETifException : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};

class TTifmap : public vcl::TBitmap {
public:
    TTifmap();
    ~TTifmap() override;

    // Loads the first image of the TIFF data in Stream, which must be at its start;
    // raises ETifException on bad data.
    void LoadFromStream(vcl::TStream& Stream) override;

    // Decodes the TIFF data in Stream into the assembled bitmap stream; raises
    // ETifException on bad data.
    std::unique_ptr<vcl::TMemoryStream> AssembleBitmapStream(vcl::TStream& Stream);

    [[noreturn]] static void Error(int Code);

private:
    static constexpr int MaxRowLength = 7200;
    static constexpr int LineBufferSize = MaxRowLength + 1;
    static constexpr int TableSize = 4096;

    void ReadTiff();
    void SetDefaults();
    void DecodeTag();
    uint16_t GetWord();
    uint32_t GetLong();
    uint16_t ToWord(const uint8_t* Bytes) const;
    void ReadColorMap(uint32_t Offset);
    void ReadStrip(int64_t FirstRow, int64_t RowCount);
    void ReadLine(int Count);
    void ReadPackLine(int Count);
    void InitializeTable();
    uint16_t GetNextCode();
    bool IsInTable(int Code) const;
    void WriteCode(int Code);
    bool AddStringToTable(int Prefix, uint8_t Last);
    void WriteString(const uint8_t* Bytes, int Count);
    bool ReadLZWData();
    void InsertLine();
    void CreateLine();
    void CreateBitHeader();
    void SaveTifToStream(vcl::TMemoryStream& Stream);

    std::unique_ptr<vcl::TMemoryStream> FWorkingStream;
    Imaging::TByteReader FInput;

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
    uint32_t FStripByteCounts = 0;
    uint32_t FStripOffsets = 0;
    // Bytes per entry of a strip offset array: 2 when the tag's type is SHORT, else 4.
    int FStripOffsetSize = 4;

    std::array<Imaging::TRgbTriple, 256> FPalette{};
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    int FRowLength = 0;
    Imaging::TBitmapInfoHeader FBitmapInfoHeader;
    std::array<uint8_t, LineBufferSize> FLine{};
    Imaging::TRowList FRows;
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
    uint32_t FBitBuffer = 0;
    uint8_t FBitsLeft = 0;
    std::array<uint16_t, TableSize> FPrefix{};
    std::array<uint8_t, TableSize> FLast{};
    std::array<uint8_t, TableSize> FFirst{};
    std::array<uint16_t, TableSize> FLength{};
    std::array<uint8_t, TableSize> FString{};
};

} // namespace Tifmap
