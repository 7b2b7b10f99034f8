#include "vcl/graphics/bmpformat.h"

#include "vcl/graphics/graphic.h"

#include <QHash>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace vcl {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int CoreHeaderSize = 12;
constexpr int InfoHeaderSize = 40;
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

[[noreturn]] void Invalid(const QString& detail)
{
    throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: %1").arg(detail));
}

// Little-endian reads that fail instead of reading past the data.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& Data) : FData(reinterpret_cast<const uchar*>(Data.constData())), FSize(Data.size()) {}

    qsizetype Size() const { return FSize; }
    const uchar* At(qsizetype Offset, qsizetype Count, const char* What) const
    {
        if (Offset < 0 || Count < 0 || Offset > FSize || Count > FSize - Offset)
            Invalid(QStringLiteral("truncated %1").arg(QLatin1String(What)));
        return FData + Offset;
    }
    template <typename T> T Read(qsizetype Offset, const char* What) const
    {
        return qFromLittleEndian<T>(At(Offset, sizeof(T), What));
    }

private:
    const uchar* FData;
    qsizetype FSize;
};

struct Header {
    int Width = 0;
    int Height = 0; // negative: rows stored top-down
    int BitCount = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ColorsUsed = 0;
    int PaletteEntrySize = 4;
    qsizetype PaletteOffset = 0;
    uint32_t Masks[3] = {0, 0, 0};
};

Header ReadHeader(const ByteReader& in)
{
    Header h;
    const uint32_t size = in.Read<uint32_t>(FileHeaderSize, "header");
    const qsizetype base = FileHeaderSize;
    if (size == CoreHeaderSize) {
        h.Width = in.Read<uint16_t>(base + 4, "header");
        h.Height = in.Read<uint16_t>(base + 6, "header");
        if (in.Read<uint16_t>(base + 8, "header") != 1)
            Invalid(QStringLiteral("plane count is not 1"));
        h.BitCount = in.Read<uint16_t>(base + 10, "header");
        h.PaletteEntrySize = 3;
        h.PaletteOffset = base + CoreHeaderSize;
    } else if (size >= InfoHeaderSize && size <= 1024) {
        h.Width = in.Read<int32_t>(base + 4, "header");
        h.Height = in.Read<int32_t>(base + 8, "header");
        if (in.Read<uint16_t>(base + 12, "header") != 1)
            Invalid(QStringLiteral("plane count is not 1"));
        h.BitCount = in.Read<uint16_t>(base + 14, "header");
        h.Compression = in.Read<uint32_t>(base + 16, "header");
        h.ColorsUsed = in.Read<uint32_t>(base + 32, "header");
        h.PaletteOffset = base + size;
        if (h.Compression == BI_BITFIELDS) {
            // Masks follow a 40-byte header; longer headers hold them inside.
            const qsizetype masks = base + InfoHeaderSize;
            for (int i = 0; i < 3; ++i)
                h.Masks[i] = in.Read<uint32_t>(masks + 4 * i, "colour masks");
            if (size == InfoHeaderSize)
                h.PaletteOffset += 12;
        }
    } else {
        Invalid(QStringLiteral("unsupported header size %1").arg(size));
    }
    if (h.Width <= 0 || h.Height == 0 || h.Height == INT32_MIN)
        Invalid(QStringLiteral("dimensions %1 x %2").arg(h.Width).arg(h.Height));
    if (qint64(h.Width) * std::abs(qint64(h.Height)) > MaxBmpPixels)
        Invalid(QStringLiteral("image of %1 x %2 pixels is too large").arg(h.Width).arg(std::abs(h.Height)));
    switch (h.BitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid(QStringLiteral("unsupported bit count %1").arg(h.BitCount));
    }
    const bool compressionFits = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.BitCount == 8)
        || (h.Compression == BI_RLE4 && h.BitCount == 4)
        || (h.Compression == BI_BITFIELDS && (h.BitCount == 16 || h.BitCount == 32));
    if (!compressionFits)
        Invalid(QStringLiteral("compression %1 with %2 bits per pixel").arg(h.Compression).arg(h.BitCount));
    if (h.Height < 0 && (h.Compression == BI_RLE8 || h.Compression == BI_RLE4))
        Invalid(QStringLiteral("top-down rows cannot be compressed"));
    return h;
}

std::vector<TColor> ReadPalette(const ByteReader& in, const Header& h)
{
    std::vector<TColor> palette;
    if (h.BitCount > 8)
        return palette;
    const uint32_t full = 1u << h.BitCount;
    const uint32_t count = (h.ColorsUsed == 0 || h.ColorsUsed > full) ? full : h.ColorsUsed;
    const uchar* bytes = in.At(h.PaletteOffset, qsizetype(count) * h.PaletteEntrySize, "palette");
    for (uint32_t i = 0; i < count; ++i) {
        const uchar* e = bytes + i * h.PaletteEntrySize;
        palette.push_back(RGB(e[2], e[1], e[0]));
    }
    return palette;
}

// Scales a masked channel value to 8 bits.
uint32_t MaskedChannel(uint32_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const uint32_t max = mask >> shift;
    const uint32_t v = (value & mask) >> shift;
    return (v * 255 + max / 2) / max;
}

struct RowFormat {
    int Width = 0;
    int BitCount = 0;
    uint32_t Masks[3] = {0, 0, 0};
    bool PlainMasks = false; // 8 bits a channel in place: the pixel is its low 24 bits
    // One 0xFFRRGGBB pixel for every index a pixel of the bit count can hold; indices
    // past the palette are drawn black rather than refused.
    std::vector<uint32_t> Lut;
};

RowFormat MakeRowFormat(const Header& h, const std::vector<TColor>& Palette)
{
    RowFormat f;
    f.Width = h.Width;
    f.BitCount = h.BitCount;
    if (h.BitCount <= 8) {
        f.Lut.assign(size_t(1) << h.BitCount, 0xFF000000u);
        for (size_t i = 0; i < Palette.size() && i < f.Lut.size(); ++i)
            f.Lut[i] = RgbToQRgb(Palette[i]);
    }
    const bool defaultMasks = h.Compression != BI_BITFIELDS;
    const uint32_t* masks = h.Masks;
    static constexpr uint32_t Masks555[3] = {0x7C00, 0x03E0, 0x001F};
    static constexpr uint32_t Masks888[3] = {0xFF0000, 0xFF00, 0xFF};
    if (defaultMasks)
        masks = h.BitCount == 16 ? Masks555 : Masks888;
    std::copy(masks, masks + 3, f.Masks);
    f.PlainMasks = std::equal(f.Masks, f.Masks + 3, Masks888);
    return f;
}

uint32_t MaskedPixel(uint32_t Value, const uint32_t* Masks)
{
    return 0xFF000000u | MaskedChannel(Value, Masks[0]) << 16 | MaskedChannel(Value, Masks[1]) << 8
           | MaskedChannel(Value, Masks[2]);
}

// One stored row to 32-bit pixels, with a loop of its own for each bit count.
void DecodeRow(const uchar* Src, uint32_t* Line, const RowFormat& f)
{
    const int width = f.Width;
    switch (f.BitCount) {
    case 8:
        for (int x = 0; x < width; ++x)
            Line[x] = f.Lut[Src[x]];
        break;
    case 1:
    case 4: {
        const int perByte = 8 / f.BitCount;
        const uint32_t mask = (1u << f.BitCount) - 1;
        for (int x = 0; x < width; ++x)
            Line[x] = f.Lut[(Src[x / perByte] >> (8 - f.BitCount * (x % perByte + 1))) & mask];
        break;
    }
    case 24: {
        // Four pixels from three little-endian words at a time (blue, green, red bytes
        // make the low 24 bits of a 0xFFRRGGBB pixel), the rest byte by byte.
        int x = 0;
        for (; x + 4 <= width; x += 4, Src += 12) {
            const uint32_t w0 = qFromLittleEndian<uint32_t>(Src), w1 = qFromLittleEndian<uint32_t>(Src + 4),
                           w2 = qFromLittleEndian<uint32_t>(Src + 8);
            Line[x] = 0xFF000000u | (w0 & 0xFFFFFFu);
            Line[x + 1] = 0xFF000000u | ((w0 >> 24 | w1 << 8) & 0xFFFFFFu);
            Line[x + 2] = 0xFF000000u | ((w1 >> 16 | w2 << 16) & 0xFFFFFFu);
            Line[x + 3] = 0xFF000000u | w2 >> 8;
        }
        for (; x < width; ++x, Src += 3)
            Line[x] = 0xFF000000u | uint32_t(Src[2]) << 16 | uint32_t(Src[1]) << 8 | Src[0];
        break;
    }
    case 16:
        for (int x = 0; x < width; ++x)
            Line[x] = MaskedPixel(qFromLittleEndian<uint16_t>(Src + 2 * x), f.Masks);
        break;
    default:
        for (int x = 0; x < width; ++x) {
            const uint32_t v = qFromLittleEndian<uint32_t>(Src + 4 * x);
            Line[x] = f.PlainMasks ? 0xFF000000u | (v & 0xFFFFFFu) : MaskedPixel(v, f.Masks);
        }
    }
}

void DecodeRows(const ByteReader& in, qsizetype Offset, const Header& h, const std::vector<TColor>& Palette, QImage& Image)
{
    const int height = std::abs(h.Height);
    const qint64 stride = ((qint64(h.Width) * h.BitCount + 31) / 32) * 4;
    const uchar* data = in.At(Offset, qsizetype(stride * height), "pixel data");
    const RowFormat format = MakeRowFormat(h, Palette);
    for (int row = 0; row < height; ++row) {
        const int y = h.Height > 0 ? height - 1 - row : row;
        DecodeRow(data + stride * row, reinterpret_cast<uint32_t*>(Image.scanLine(y)), format);
    }
}

// Run-length decoding (4 or 8 bits); writes outside the image are dropped and the
// data ends the image where it ends.
void DecodeRle(const ByteReader& in, qsizetype Offset, const Header& h, const std::vector<TColor>& Palette, QImage& Image)
{
    const int height = h.Height;
    const bool four = h.Compression == BI_RLE4;
    auto colour = [&](uint32_t index) { return index < Palette.size() ? RgbToQRgb(Palette[index]) : 0xFF000000u; };
    Image.fill(Palette.empty() ? 0xFF000000u : RgbToQRgb(Palette[0]));
    auto put = [&](int x, int row, uint32_t index) {
        if (x >= 0 && x < h.Width && row >= 0 && row < height)
            reinterpret_cast<uint32_t*>(Image.scanLine(height - 1 - row))[x] = colour(index);
    };
    const qsizetype end = in.Size();
    qsizetype pos = Offset;
    int x = 0, row = 0;
    while (pos + 1 < end && row < height) {
        const uchar count = in.At(pos, 2, "run-length data")[0];
        const uchar value = in.At(pos, 2, "run-length data")[1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(x++, row, four ? ((i % 2) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            const uchar* d = in.At(pos, 2, "run-length data");
            x += d[0];
            row += d[1];
            pos += 2;
        } else { // absolute run of 'value' pixels, padded to a word
            const int bytes = four ? (value + 1) / 2 : value;
            const uchar* p = in.At(pos, bytes, "run-length data");
            for (int i = 0; i < value; ++i)
                put(x++, row, four ? ((i % 2) ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
            pos += (bytes + 1) & ~1;
        }
    }
}

void Put16(QByteArray& out, int offset, uint16_t v) { qToLittleEndian(v, out.data() + offset); }
void Put32(QByteArray& out, int offset, uint32_t v) { qToLittleEndian(v, out.data() + offset); }

} // namespace

int NearestColorIndex(const std::vector<TColor>& Palette, uint32_t Pixel)
{
    const int r = (Pixel >> 16) & 0xFF, g = (Pixel >> 8) & 0xFF, b = Pixel & 0xFF;
    int best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < Palette.size(); ++i) {
        const int dr = GetRValue(Palette[i]) - r, dg = GetGValue(Palette[i]) - g, db = GetBValue(Palette[i]) - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
            if (distance == 0)
                break;
        }
    }
    return best;
}

TBmpImage DecodeBmp(const QByteArray& Data)
{
    const ByteReader in(Data);
    if (Data.size() < FileHeaderSize + CoreHeaderSize)
        Invalid(QStringLiteral("the data is too short"));
    if (Data[0] != 'B' || Data[1] != 'M')
        Invalid(QStringLiteral("no BM signature"));
    const uint32_t offBits = in.Read<uint32_t>(10, "file header");
    const Header h = ReadHeader(in);
    TBmpImage result;
    result.BitCount = h.BitCount;
    result.Palette = ReadPalette(in, h);
    const qsizetype paletteEnd = h.PaletteOffset + qsizetype(result.Palette.size()) * h.PaletteEntrySize;
    // A zero offset means the rows follow the palette.
    const qsizetype offset = offBits == 0 ? paletteEnd : qsizetype(offBits);
    if (offset > Data.size())
        Invalid(QStringLiteral("pixel data offset %1 lies beyond the data").arg(offBits));
    result.Image = QImage(h.Width, std::abs(h.Height), QImage::Format_RGB32);
    if (result.Image.isNull())
        Invalid(QStringLiteral("out of memory for %1 x %2 pixels").arg(h.Width).arg(std::abs(h.Height)));
    if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4)
        DecodeRle(in, offset, h, result.Palette, result.Image);
    else
        DecodeRows(in, offset, h, result.Palette, result.Image);
    return result;
}

QByteArray EncodeBmp(const QImage& Image, int BitCount, const std::vector<TColor>& Palette)
{
    const QImage image = Image.format() == QImage::Format_RGB32 || Image.format() == QImage::Format_ARGB32
        ? Image
        : Image.convertToFormat(QImage::Format_RGB32);
    const int width = image.width(), height = image.height();
    const bool indexed = BitCount <= 8;
    const int paletteCount = indexed ? int(std::min<size_t>(Palette.size(), size_t(1) << BitCount)) : 0;
    const int stride = ((width * BitCount + 31) / 32) * 4;
    const int offset = FileHeaderSize + InfoHeaderSize + paletteCount * 4;
    QByteArray out(offset + stride * height, '\0');
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, uint32_t(offset));
    Put32(out, 14, InfoHeaderSize);
    Put32(out, 18, uint32_t(width));
    Put32(out, 22, uint32_t(height));
    Put16(out, 26, 1);
    Put16(out, 28, uint16_t(BitCount));
    Put32(out, 30, BI_RGB);
    Put32(out, 34, uint32_t(stride * height));
    Put32(out, 38, 3780); // 96 pixels per inch
    Put32(out, 42, 3780);
    Put32(out, 46, uint32_t(paletteCount));
    Put32(out, 50, 0);
    std::vector<TColor> palette(Palette.begin(), Palette.begin() + paletteCount);
    for (int i = 0; i < paletteCount; ++i) {
        uchar* e = reinterpret_cast<uchar*>(out.data()) + FileHeaderSize + InfoHeaderSize + 4 * i;
        e[0] = uchar(GetBValue(palette[size_t(i)]));
        e[1] = uchar(GetGValue(palette[size_t(i)]));
        e[2] = uchar(GetRValue(palette[size_t(i)]));
    }
    QHash<uint32_t, int> cache;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uchar* dst = reinterpret_cast<uchar*>(out.data()) + offset + qsizetype(stride) * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = line[x] | 0xFF000000u;
            if (indexed) {
                auto it = cache.constFind(pixel);
                const int index = it != cache.constEnd() ? *it : *cache.insert(pixel, NearestColorIndex(palette, pixel));
                const int perByte = 8 / BitCount;
                const int shift = 8 - BitCount * (x % perByte + 1);
                dst[x / perByte] |= uchar(index << shift);
            } else if (BitCount == 24) {
                dst[3 * x] = uchar(pixel);
                dst[3 * x + 1] = uchar(pixel >> 8);
                dst[3 * x + 2] = uchar(pixel >> 16);
            } else {
                qToLittleEndian<uint32_t>(pixel & 0x00FFFFFFu, dst + 4 * x);
            }
        }
    }
    return out;
}

} // namespace vcl
