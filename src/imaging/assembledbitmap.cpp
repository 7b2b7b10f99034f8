#include "imaging/assembledbitmap.h"

#include "vcl/core/sysutils.h"

#include <QtEndian>
#include <cstring>
#include <new>

namespace Imaging {

namespace {

template <typename T>
void PutLE(uint8_t*& Out, T Value)
{
    qToLittleEndian(Value, Out);
    Out += sizeof(T);
}

template <typename T>
T TakeLE(const uint8_t*& In)
{
    const T value = qFromLittleEndian<T>(In);
    In += sizeof(T);
    return value;
}

} // namespace

TBitmapInfoHeader TBitmapInfoHeader::FromBytes(const uint8_t* Bytes)
{
    TBitmapInfoHeader h;
    h.biSize = TakeLE<uint32_t>(Bytes);
    h.biWidth = TakeLE<int32_t>(Bytes);
    h.biHeight = TakeLE<int32_t>(Bytes);
    h.biPlanes = TakeLE<uint16_t>(Bytes);
    h.biBitCount = TakeLE<uint16_t>(Bytes);
    h.biCompression = TakeLE<uint32_t>(Bytes);
    h.biSizeImage = TakeLE<uint32_t>(Bytes);
    h.biXPelsPerMeter = TakeLE<int32_t>(Bytes);
    h.biYPelsPerMeter = TakeLE<int32_t>(Bytes);
    h.biClrUsed = TakeLE<uint32_t>(Bytes);
    h.biClrImportant = TakeLE<uint32_t>(Bytes);
    return h;
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

void TRowList::Reset(int Height, int RowBytes)
{
    FRows.clear();
    FRows.resize(static_cast<size_t>(Height > 0 ? Height : 0));
    FRowBytes = RowBytes;
}

void TRowList::Clear()
{
    FRows.clear();
}

void TRowList::Add(int Row, const uint8_t* Line)
{
    if (Row < 0 || Row >= Height())
        return;
    auto& row = FRows[static_cast<size_t>(Row)];
    if (!row)
        row = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(FRowBytes));
    std::memcpy(row.get(), Line, static_cast<size_t>(FRowBytes));
}

const uint8_t* TRowList::Find(int Row) const
{
    if (Row < 0 || Row >= Height())
        return nullptr;
    return FRows[static_cast<size_t>(Row)].get();
}

void WriteFileHeader(vcl::TStream& Stream, uint32_t FileSize, uint32_t PixelOffset)
{
    uint8_t bytes[FileHeaderSize];
    uint8_t* out = bytes;
    *out++ = 'B';
    *out++ = 'M';
    PutLE<uint32_t>(out, FileSize);
    PutLE<uint16_t>(out, 0);
    PutLE<uint16_t>(out, 0);
    PutLE<uint32_t>(out, PixelOffset);
    Stream.WriteBuffer(bytes, sizeof bytes);
}

void WriteInfoHeader(vcl::TStream& Stream, const TBitmapInfoHeader& Header)
{
    uint8_t bytes[InfoHeaderSize];
    uint8_t* out = bytes;
    PutLE(out, Header.biSize);
    PutLE(out, Header.biWidth);
    PutLE(out, Header.biHeight);
    PutLE(out, Header.biPlanes);
    PutLE(out, Header.biBitCount);
    PutLE(out, Header.biCompression);
    PutLE(out, Header.biSizeImage);
    PutLE(out, Header.biXPelsPerMeter);
    PutLE(out, Header.biYPelsPerMeter);
    PutLE(out, Header.biClrUsed);
    PutLE(out, Header.biClrImportant);
    Stream.WriteBuffer(bytes, sizeof bytes);
}

void SaveBitmapStream(vcl::TMemoryStream& Stream, const TBitmapInfoHeader& Header,
                      std::span<const TRgbTriple> Palette, const TRowList& Rows)
{
    const int64_t stored = PaddedRowBytes(Rows.RowBytes());
    const int64_t pixelOffset = BitmapHeadersSize + 4 * int64_t(Palette.size());
    const int64_t fileSize = pixelOffset + stored * Rows.Height();

    Stream.Clear();
    Stream.SetSize(fileSize);
    WriteFileHeader(Stream, static_cast<uint32_t>(fileSize), static_cast<uint32_t>(pixelOffset));
    WriteInfoHeader(Stream, Header);
    for (const TRgbTriple& c : Palette) {
        const uint8_t entry[4] = {c.Blue, c.Green, c.Red, 0};
        Stream.WriteBuffer(entry, sizeof entry);
    }
    // Padding and rows that were never decoded stay zero.
    auto* pixels = reinterpret_cast<uint8_t*>(Stream.Memory()) + pixelOffset;
    std::memset(pixels, 0, static_cast<size_t>(fileSize - pixelOffset));
    for (int row = Rows.Height() - 1; row >= 0; --row, pixels += stored) {
        if (const uint8_t* bytes = Rows.Find(row))
            std::memcpy(pixels, bytes, static_cast<size_t>(Rows.RowBytes()));
    }
    Stream.SetPosition(0);
}

QString CatchLoadFailure(const std::function<void()>& Load)
{
    try {
        Load();
        return {};
    } catch (const vcl::Exception& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

} // namespace Imaging
