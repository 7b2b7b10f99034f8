#pragma once
// The assembled bitmap stream every image reader builds: an in-memory BMP file
// (14-byte file header, 40-byte info header, palette, bottom-up rows padded to 4 bytes),
// and the row list the readers decode into.
#include "imaging/bytereader.h"
#include "vcl/core/streams.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Imaging {

constexpr int FileHeaderSize = 14; // Bytes of a BMP file header.
constexpr int InfoHeaderSize = 40; // Bytes of a BMP info header.
constexpr int BitmapHeadersSize = FileHeaderSize + InfoHeaderSize; // Bytes of both headers.
// Pixels per metre written into every info header (about 3.6 dots per inch).
constexpr int32_t BitmapResolution = 143;
// The most memory one load may take, counting every allocation it makes: the copy of
// the file, the assembled bitmap stream (which the bitmap reads back without copying)
// and the bitmap's 32-bit pixels. A choice: it keeps a lying header from
// exhausting memory and lies far beyond what the formats' row limits allow for real
// images (2048 pixels a row for GIF, 3072 bytes for PCX, 7200 for TIFF).
constexpr int64_t MaxLoadBytes = int64_t(512) * 1024 * 1024;

// True when an image of Width x Height pixels whose assembled stream holds StreamBytes
// bytes, read from InputBytes bytes, stays within MaxLoadBytes and within the pixel
// count the bitmap accepts.
bool FitsLoadBudget(int64_t InputBytes, int64_t Width, int64_t Height, int64_t StreamBytes);

// The most bytes LZW codes packed into InputBytes bytes can decode to, at least
// MinCodeBits bits a code: the n-th code after a clear code spells at most n bytes
// (a string is one byte longer than an earlier one), and no string exceeds the
// 4096-entry table.
int64_t MaxLzwOutput(int64_t InputBytes, int MinCodeBits);

// One palette colour, 0..255 a channel.
struct TRgbTriple {
    uint8_t Red = 0; // The red channel.
    uint8_t Green = 0; // The green channel.
    uint8_t Blue = 0; // The blue channel.
    friend bool operator==(const TRgbTriple&, const TRgbTriple&) = default;
};

// The 40-byte bitmap info header, field by field.
struct TBitmapInfoHeader {
    uint32_t biSize = InfoHeaderSize; // The header's size in bytes, 40.
    int32_t biWidth = 0; // The width in pixels.
    int32_t biHeight = 0; // The height in pixels; positive for rows stored bottom-up.
    uint16_t biPlanes = 1; // Colour planes, always 1.
    uint16_t biBitCount = 0; // Bits a pixel: 1, 4, 8, 16, 24 or 32.
    uint32_t biCompression = 0; // The compression; 0 for none, as in the headers CreateBitHeader makes.
    uint32_t biSizeImage = 0; // Bytes of pixel data; 0 is allowed for uncompressed rows.
    int32_t biXPelsPerMeter = BitmapResolution; // Horizontal resolution, pixels a metre.
    int32_t biYPelsPerMeter = BitmapResolution; // Vertical resolution, pixels a metre.
    uint32_t biClrUsed = 0; // Palette entries stored; 0 for all that the bit count allows.
    uint32_t biClrImportant = 0; // Palette entries needed to show the image; 0 for all.

    // Reads 40 little-endian bytes; false when the data ends first.
    bool Read(TByteReader& Input);
};

// The info header of an uncompressed bottom-up image.
TBitmapInfoHeader CreateBitHeader(int32_t Width, int32_t Height, uint16_t BitCount);

// Bytes of a stored row: RowBytes rounded up to a multiple of 4.
constexpr int64_t PaddedRowBytes(int64_t RowBytes) { return (RowBytes + 3) / 4 * 4; }

// Bytes of a row before its zero fill for the 1, 4, 8 and 24-bit bitmaps the PCX and
// TIFF readers build. A 4-bit row takes ((width + 7) div 8) × 4 bytes, which is already
// the padded size.
int DepthRowBytes(int BitCount, int Width);

// The palette the bitmap of a bit count stores: black and white for 1 bit, the first 16
// colours for 4 bits, all 256 for 8 bits, none for 24 bits.
std::span<const TRgbTriple> DepthPalette(int BitCount, std::span<const TRgbTriple, 256> Colors);

// Bytes of the assembled stream of an image with these rows and palette entries.
int64_t BitmapStreamSize(int64_t RowBytes, int64_t Height, int64_t PaletteEntries);

// The decoded rows, kept in place inside the assembled stream they end up in: row r is
// stored at its bottom-up place, padded to 4 bytes. A row added again replaces the
// earlier one; rows outside 0..height-1 are dropped, since no stored row could take
// them, and rows never added stay zero.
class TRowList {
public:
    // Makes room for the headers, PaletteEntries palette entries and Height zero rows of
    // RowBytes bytes.
    void Reset(int Height, int RowBytes, int PaletteEntries);
    // Frees the rows: the list is empty, 0 rows high.
    void Clear();
    // Copies RowBytes bytes of Line as row Row.
    void Add(int Row, const uint8_t* Line);
    // The row's bytes (zero until written), for decoding straight into; null outside
    // the image.
    uint8_t* Row(int Row);
    // The number of rows made room for by the last Reset (0 after Clear).
    int Height() const { return FHeight; }
    // The bytes of a row before its padding, as given to Reset.
    int RowBytes() const { return FRowBytes; }

    // Writes the headers and palette in front of the rows and hands the whole stream
    // over, leaving the list empty.
    std::unique_ptr<vcl::TMemoryStream> TakeStream(const TBitmapInfoHeader& Header,
                                                   std::span<const TRgbTriple> Palette);

private:
    int64_t Offset(int Row) const;

    QByteArray FBitmap;
    // Whether each row has been zeroed (or wholly written) yet.
    std::vector<bool> FZeroed;
    int FHeight = 0;
    int FRowBytes = 0;
    int64_t FPixelOffset = 0;
};

// Writes the 14-byte BMP file header ("BM", FileSize, two reserved zero words and the
// pixels' offset PixelOffset, little-endian) at Stream's position.
void WriteFileHeader(vcl::TStream& Stream, uint32_t FileSize, uint32_t PixelOffset);
// Writes Header's 40 bytes, little-endian, at Stream's position.
void WriteInfoHeader(vcl::TStream& Stream, const TBitmapInfoHeader& Header);

} // namespace Imaging
