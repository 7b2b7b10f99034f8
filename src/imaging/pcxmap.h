#pragma once
// TPcxmap: a bitmap that reads a ZSoft PCX image and becomes a 1, 4, 8 or 24-bit bitmap.
#include "imaging/imagereader.h"

#include <array>
#include <cstdint>

namespace Pcxmap {

// The bit of pixel x mod 8 within a byte, most significant first.
inline constexpr std::array<uint8_t, 8> MaskTable = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
// The value bit of plane p.
inline constexpr std::array<uint8_t, 8> BitTable = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};

// The reader's failure messages, by code from 1.
inline constexpr Imaging::TErrorNames<10> ErrName = {
    "PCX file not found", "Not a PCX file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

// The exception of a failed PCX load, with one of ErrName's messages.
using EPcxException = Imaging::EReaderException<struct TPcxFormat>;

// The 128-byte file header (little-endian in the file).
struct TPcxHeader {
    uint8_t Manufacturer = 0; // 10 (0x0A) in a PCX file.
    uint8_t Version = 0; // The format's version; 5 and later may end in a 256-colour palette.
    uint8_t Encoding = 0; // 1 for run-length encoded rows.
    uint8_t BitsPerPixel = 0; // Bits a pixel in each plane.
    uint16_t XMin = 0; // The image's left column.
    uint16_t YMin = 0; // The image's top row.
    uint16_t XMax = 0; // The image's right column (inclusive: width is XMax - XMin + 1).
    uint16_t YMax = 0; // The image's bottom row (inclusive: height is YMax - YMin + 1).
    uint16_t HorizontalResolution = 0; // Horizontal dots per inch, as the file says.
    uint16_t VerticalResolution = 0; // Vertical dots per inch, as the file says.
    std::array<Imaging::TRgbTriple, 16> ColorMap{}; // The 16-colour palette.
    uint8_t Reserved = 0; // Unused.
    uint8_t Planes = 0; // Colour planes a row.
    uint16_t BytesPerLine = 0; // Bytes of one plane of a decoded row.
    uint16_t PaletteInfo = 0; // 1 for colour, 2 for grey scale, as the file says.

    static constexpr int Size = 128; // The header's size in bytes.
    // Reads the header's 128 bytes; false when the data ends first.
    bool Read(Imaging::TByteReader& Input);
};

// Loads keep their failures (see TImageReader::LoadFromStream).
class TPcxmap : public Imaging::TReaderOf<EPcxException, ErrName> {
public:
    // An empty bitmap.
    TPcxmap();
    ~TPcxmap() override;

private:
    static constexpr int MaxLineBytes = 3072;
    static constexpr int LineBufferSize = MaxLineBytes + 1;

    void Parse() override;
    Imaging::TBitmapInfoHeader BitmapHeader() const override;
    std::span<const Imaging::TRgbTriple> BitmapPalette() const override;

    void ReadPcx();
    bool ReadLine(int Count);
    void ConvertPlanes();
    void ConvertTrueColor();
    void DefinePalette();
    void CreateLine();

    TPcxHeader FHeader;
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    std::array<Imaging::TRgbTriple, 256> FPalette{};
    std::array<uint8_t, LineBufferSize> FLine{};
    std::array<uint8_t, LineBufferSize> FWork{};
    int FRowCounter = 0;
};

} // namespace Pcxmap
