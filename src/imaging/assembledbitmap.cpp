#include "imaging/assembledbitmap.h"

#include "vcl/graphics/bmpformat.h"

#include <QtEndian>
#include <cstring>
#include <new>
#include <utility>

namespace Imaging {

namespace {

template <typename T>
void WriteLE(vcl::TStream& Stream, T Value)
{
    const T bytes = qToLittleEndian(Value);
    Stream.WriteBuffer(&bytes, sizeof bytes);
}

} // namespace

bool TBitmapInfoHeader::Read(TByteReader& Input)
{
    return Input.ReadLE(biSize) && Input.ReadLE(biWidth) && Input.ReadLE(biHeight) && Input.ReadLE(biPlanes)
           && Input.ReadLE(biBitCount) && Input.ReadLE(biCompression) && Input.ReadLE(biSizeImage)
           && Input.ReadLE(biXPelsPerMeter) && Input.ReadLE(biYPelsPerMeter) && Input.ReadLE(biClrUsed)
           && Input.ReadLE(biClrImportant);
}

bool FitsLoadBudget(int64_t InputBytes, int64_t Width, int64_t Height, int64_t StreamBytes)
{
    // Each factor is bounded first, so the products cannot overflow.
    if (Width > INT32_MAX || Height > INT32_MAX || Width * Height > vcl::MaxBmpPixels)
        return false;
    constexpr int64_t BitmapPixelBytes = 4;
    return InputBytes + StreamBytes + BitmapPixelBytes * Width * Height <= MaxLoadBytes;
}

int64_t MaxLzwOutput(int64_t InputBytes, int MinCodeBits)
{
    constexpr int64_t LongestString = 4096;
    const int64_t codes = InputBytes * 8 / MinCodeBits;
    if (codes <= LongestString)
        return codes * (codes + 1) / 2;
    return LongestString * (LongestString + 1) / 2 + (codes - LongestString) * LongestString;
}

int64_t BitmapStreamSize(int64_t RowBytes, int64_t Height, int64_t PaletteEntries)
{
    return BitmapHeadersSize + 4 * PaletteEntries + PaddedRowBytes(RowBytes) * Height;
}

TBitmapInfoHeader CreateBitHeader(int32_t Width, int32_t Height, uint16_t BitCount)
{
    TBitmapInfoHeader h;
    h.biWidth = Width;
    h.biHeight = Height;
    h.biBitCount = BitCount;
    return h;
}

int DepthRowBytes(int BitCount, int Width)
{
    switch (BitCount) {
    case 1: return (Width + 7) / 8;
    case 4: return (Width + 7) / 8 * 4;
    case 8: return Width;
    default: return Width * 3;
    }
}

std::span<const TRgbTriple> DepthPalette(int BitCount, std::span<const TRgbTriple, 256> Colors)
{
    static constexpr TRgbTriple Monochrome[] = {{0, 0, 0}, {255, 255, 255}};
    switch (BitCount) {
    case 1: return Monochrome;
    case 4: return Colors.first(16);
    case 8: return Colors;
    default: return {};
    }
}

void TRowList::Reset(int Height, int RowBytes, int PaletteEntries)
{
    FHeight = std::max(Height, 0);
    FRowBytes = RowBytes;
    FPixelOffset = BitmapHeadersSize + 4 * int64_t(PaletteEntries);
    // Rows are zeroed when first handed out (or when the stream is taken), right before
    // they are written, instead of in a pass of their own over the whole stream.
    FBitmap = QByteArray(BitmapStreamSize(RowBytes, FHeight, PaletteEntries), Qt::Uninitialized);
    FZeroed.assign(static_cast<size_t>(FHeight), false);
    std::memset(FBitmap.data(), 0, static_cast<size_t>(FPixelOffset));
}

void TRowList::Clear()
{
    FBitmap = {};
    FZeroed.clear();
    FHeight = 0;
}

int64_t TRowList::Offset(int Row) const
{
    return FPixelOffset + PaddedRowBytes(FRowBytes) * (FHeight - 1 - Row);
}

void TRowList::Add(int Row, const uint8_t* Line)
{
    if (Row < 0 || Row >= FHeight)
        return;
    // The whole row is copied over: only its padding needs zeroing.
    uint8_t* row = reinterpret_cast<uint8_t*>(FBitmap.data() + Offset(Row));
    std::memcpy(row, Line, static_cast<size_t>(FRowBytes));
    std::memset(row + FRowBytes, 0, static_cast<size_t>(PaddedRowBytes(FRowBytes) - FRowBytes));
    FZeroed[size_t(Row)] = true;
}

uint8_t* TRowList::Row(int Row)
{
    if (Row < 0 || Row >= FHeight)
        return nullptr;
    uint8_t* row = reinterpret_cast<uint8_t*>(FBitmap.data() + Offset(Row));
    if (!FZeroed[size_t(Row)]) {
        std::memset(row, 0, static_cast<size_t>(PaddedRowBytes(FRowBytes)));
        FZeroed[size_t(Row)] = true;
    }
    return row;
}

std::unique_ptr<vcl::TMemoryStream> TRowList::TakeStream(const TBitmapInfoHeader& Header,
                                                          std::span<const TRgbTriple> Palette)
{
    for (int row = 0; row < FHeight; ++row)
        this->Row(row); // rows never written stay zero
    auto stream = std::make_unique<vcl::TMemoryStream>(std::exchange(FBitmap, {}));
    FZeroed.clear();
    FHeight = 0;
    WriteFileHeader(*stream, static_cast<uint32_t>(stream->Size()), static_cast<uint32_t>(FPixelOffset));
    WriteInfoHeader(*stream, Header);
    for (const TRgbTriple& c : Palette) {
        const uint8_t entry[4] = {c.Blue, c.Green, c.Red, 0};
        stream->WriteBuffer(entry, sizeof entry);
    }
    stream->SetPosition(0);
    return stream;
}

void WriteFileHeader(vcl::TStream& Stream, uint32_t FileSize, uint32_t PixelOffset)
{
    Stream.WriteBuffer("BM", 2);
    WriteLE<uint32_t>(Stream, FileSize);
    WriteLE<uint32_t>(Stream, 0); // two reserved words
    WriteLE<uint32_t>(Stream, PixelOffset);
}

void WriteInfoHeader(vcl::TStream& Stream, const TBitmapInfoHeader& Header)
{
    WriteLE(Stream, Header.biSize);
    WriteLE(Stream, Header.biWidth);
    WriteLE(Stream, Header.biHeight);
    WriteLE(Stream, Header.biPlanes);
    WriteLE(Stream, Header.biBitCount);
    WriteLE(Stream, Header.biCompression);
    WriteLE(Stream, Header.biSizeImage);
    WriteLE(Stream, Header.biXPelsPerMeter);
    WriteLE(Stream, Header.biYPelsPerMeter);
    WriteLE(Stream, Header.biClrUsed);
    WriteLE(Stream, Header.biClrImportant);
}

} // namespace Imaging
