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

inline constexpr Imaging::TErrorNames<10> ErrName = {
    "PCX file not found", "Not a PCX file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

using EPcxException = Imaging::EReaderException<struct TPcxFormat>;

// The 128-byte file header (little-endian in the file).
struct TPcxHeader {
    uint8_t Manufacturer = 0;
    uint8_t Version = 0;
    uint8_t Encoding = 0;
    uint8_t BitsPerPixel = 0;
    uint16_t XMin = 0;
    uint16_t YMin = 0;
    uint16_t XMax = 0;
    uint16_t YMax = 0;
    uint16_t HorizontalResolution = 0;
    uint16_t VerticalResolution = 0;
    std::array<Imaging::TRgbTriple, 16> ColorMap{};
    uint8_t Reserved = 0;
    uint8_t Planes = 0;
    uint16_t BytesPerLine = 0;
    uint16_t PaletteInfo = 0;

    static constexpr int Size = 128;
    // Reads the header's 128 bytes; false when the data ends first.
    bool Read(Imaging::TByteReader& Input);
};

// Loads keep their failures (see TImageReader::LoadFromStream).
class TPcxmap : public Imaging::TReaderOf<EPcxException, ErrName> {
public:
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
