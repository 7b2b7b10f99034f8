#pragma once
// TPcxmap: a bitmap that reads a ZSoft PCX image and becomes a 1, 4, 8 or 24-bit bitmap.
#include "imaging/assembledbitmap.h"
#include "imaging/bytereader.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <array>
#include <cstdint>
#include <memory>

namespace Pcxmap {

// The bit of pixel x mod 8 within a byte, most significant first.
inline constexpr std::array<uint8_t, 8> MaskTable = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
// The value bit of plane p.
inline constexpr std::array<uint8_t, 8> BitTable = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};

// The failure messages; the text of code n is ErrName[n - 1].
inline constexpr std::array<const char*, 10> ErrName = {
    "PCX file not found", "Not a PCX file", "File Too big", "Bad data", "Unsupported Format",
    "Unexpected EOF", "Bad code size", "Bad code", "Bad bit size", "Bad bitmap"};

class EPcxException : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};

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
    static TPcxHeader FromBytes(const uint8_t* Bytes);
};

class TPcxmap : public vcl::TBitmap {
public:
    TPcxmap();
    ~TPcxmap() override;

    // Loads the PCX image in Stream, which must be at its start. A failure is not reported
    // to the caller: the bitmap then keeps what it held, and LastError tells what went wrong.
    void LoadFromStream(vcl::TStream& Stream) override;

    // The message of the failure that ended the last load; empty after a good load.
    const QString& LastError() const { return FLastError; }

    // Decodes the PCX data in Stream into the assembled bitmap stream; raises
    // EPcxException on bad data.
    std::unique_ptr<vcl::TMemoryStream> AssembleBitmapStream(vcl::TStream& Stream);

    [[noreturn]] static void Error(int Code);

private:
    static constexpr int MaxLineBytes = 3072;
    static constexpr int LineBufferSize = MaxLineBytes + 1;

    void ReadPcx();
    bool ReadLine(int Count);
    void ConvertPlanes();
    void ConvertTrueColor();
    void DefinePalette();
    void CreateBitHeader();
    void CreateLine();
    void SavePcxToStream(vcl::TMemoryStream& Stream);

    std::unique_ptr<vcl::TMemoryStream> FWorkingStream;
    Imaging::TByteReader FInput;
    QString FLastError;

    TPcxHeader FHeader;
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    std::array<Imaging::TRgbTriple, 256> FPalette{};
    Imaging::TBitmapInfoHeader FBitmapInfoHeader;
    std::array<uint8_t, LineBufferSize> FLine{};
    std::array<uint8_t, LineBufferSize> FWork{};
    Imaging::TRowList FRows;
    int FRowCounter = 0;
};

} // namespace Pcxmap
