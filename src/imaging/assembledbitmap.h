#pragma once
// The assembled bitmap stream every image reader builds: an in-memory BMP file
// (14-byte file header, 40-byte info header, palette, bottom-up rows padded to 4 bytes),
// the row list the readers decode into, and the load wrapper of the readers that
// swallow their failures.
#include "vcl/core/streams.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace Imaging {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int BitmapHeadersSize = FileHeaderSize + InfoHeaderSize;
// Pixels per metre written into every info header (about 3.6 dots per inch).
constexpr int32_t BitmapResolution = 143;
// Largest pixel area (padded rows × height) a reader accepts. A choice: it keeps a
// lying header from exhausting memory, and is far beyond what the formats' row limits
// allow for real images (2048 × 65535 bytes for GIF).
constexpr int64_t MaxPixelBytes = int64_t(256) * 1024 * 1024;

struct TRgbTriple {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    friend bool operator==(const TRgbTriple&, const TRgbTriple&) = default;
};

// The 40-byte bitmap info header, field by field.
struct TBitmapInfoHeader {
    uint32_t biSize = InfoHeaderSize;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = BitmapResolution;
    int32_t biYPelsPerMeter = BitmapResolution;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;

    // Parses 40 little-endian bytes.
    static TBitmapInfoHeader FromBytes(const uint8_t* Bytes);
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

// Decoded rows by row number. A row added again replaces the earlier one (the most
// recently added buffer of a row number wins); rows outside 0..height-1 are dropped,
// since no stored row could ever take them.
class TRowList {
public:
    // Empties the list for an image of Height rows of RowBytes bytes.
    void Reset(int Height, int RowBytes);
    void Clear();
    // Copies RowBytes bytes of Line as row Row.
    void Add(int Row, const uint8_t* Line);
    // The row's bytes, or null when the row was never added.
    const uint8_t* Find(int Row) const;
    int Height() const { return static_cast<int>(FRows.size()); }
    int RowBytes() const { return FRowBytes; }

private:
    std::vector<std::unique_ptr<uint8_t[]>> FRows;
    int FRowBytes = 0;
};

void WriteFileHeader(vcl::TStream& Stream, uint32_t FileSize, uint32_t PixelOffset);
void WriteInfoHeader(vcl::TStream& Stream, const TBitmapInfoHeader& Header);

// Writes the whole assembled stream from position 0 and leaves the position at 0:
// headers, one blue-green-red-0 entry per palette colour, then the rows from the last to
// the first, each padded with zeros to a multiple of 4. A row that was never decoded is
// written as zeros, so the stream always holds as many bytes as its header says.
void SaveBitmapStream(vcl::TMemoryStream& Stream, const TBitmapInfoHeader& Header,
                      std::span<const TRgbTriple> Palette, const TRowList& Rows);

// Runs a load and returns the message of any failure it raised (empty on success): the
// GIF, PCX and CorelDRAW readers report nothing to their callers but keep the message.
QString CatchLoadFailure(const std::function<void()>& Load);

} // namespace Imaging
