// The readers' fast paths against independent programs and the plain per-pixel path,
// on random inputs: GIF files written by giflib and TIFF files written by libtiff must
// decode to the pixels they were written from, and the bitmap's row-at-a-time BMP
// reading must give the pixels of a pixel-by-pixel reading of the same file.
#include "imagingtestsupport.h"

#include "imaging/gifmap.h"
#include "imaging/tifmap.h"
#include "vcl/graphics/bitmap.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <bit>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <random>
#include <tiffio.h>

using namespace imagingtest;

namespace {

struct TImage {
    int Width = 0;
    int Height = 0;
    int Channels = 1;
    std::vector<uint8_t> Pixels; // row by row, Channels bytes a pixel
};

// Random pixels in runs, so that the encoders make long strings as well as short ones.
TImage RandomImage(std::mt19937& Random, int Channels, int Colors)
{
    TImage image{1 + int(Random() % 300), 1 + int(Random() % 40), Channels, {}};
    const size_t count = size_t(image.Width) * image.Height * Channels;
    while (image.Pixels.size() < count) {
        const uint8_t value = uint8_t(Random() % uint32_t(Colors));
        image.Pixels.insert(image.Pixels.end(), std::min<size_t>(1 + Random() % 40, count - image.Pixels.size()), value);
    }
    return image;
}

QByteArray GiflibFile(const TImage& Image, int ColorBits, bool Interlaced)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, [](GifFileType* g, const GifByteType* bytes, int n) {
        static_cast<QByteArray*>(g->UserData)->append(reinterpret_cast<const char*>(bytes), n);
        return n;
    }, &error);
    std::vector<GifColorType> colors(size_t(1) << ColorBits);
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] = {GifByteType(i * 7), GifByteType(255 - i), GifByteType(i * 3)};
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    EGifPutScreenDesc(gif, Image.Width, Image.Height, ColorBits, 0, map);
    EGifPutImageDesc(gif, 0, 0, Image.Width, Image.Height, Interlaced, nullptr);
    // Interlaced lines go out in pass order.
    std::vector<int> rows;
    for (const auto& [start, step] : Interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                                : std::vector<std::pair<int, int>>{{0, 1}})
        for (int y = start; y < Image.Height; y += step)
            rows.push_back(y);
    for (int y : rows)
        EGifPutLine(gif, const_cast<GifPixelType*>(Image.Pixels.data() + size_t(y) * Image.Width), Image.Width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

QByteArray LibtiffFile(const TImage& Image, uint16_t Compression, bool Predictor, uint32_t RowsPerStrip)
{
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("random.tif").toLocal8Bit();
    TIFF* tif = TIFFOpen(path.constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(Image.Width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(Image.Height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(Image.Channels));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, Image.Channels == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, Compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, RowsPerStrip);
    if (Predictor)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    // libtiff applies the predictor in the buffer it is given: each row goes as a copy.
    const size_t rowBytes = size_t(Image.Width) * Image.Channels;
    for (int y = 0; y < Image.Height; ++y) {
        std::vector<uint8_t> row(Image.Pixels.begin() + y * rowBytes, Image.Pixels.begin() + (y + 1) * rowBytes);
        TIFFWriteScanline(tif, row.data(), uint32_t(y), 0);
    }
    TIFFClose(tif);
    return ReadFile(dir.filePath("random.tif"));
}

// The image's pixels as the bitmap shows them: palette colours for GIF, grey or RGB.
QRgb Expected(const TImage& Image, int X, int Y, bool Gif)
{
    const uint8_t* p = Image.Pixels.data() + (size_t(Y) * Image.Width + X) * Image.Channels;
    if (Gif)
        return qRgb(uint8_t(p[0] * 7), uint8_t(255 - p[0]), uint8_t(p[0] * 3));
    return Image.Channels == 3 ? qRgb(p[0], p[1], p[2]) : qRgb(p[0], p[0], p[0]);
}

void ExpectPixels(vcl::TBitmap& Bitmap, const TImage& Image, bool Gif)
{
    ASSERT_EQ(Bitmap.Width(), Image.Width);
    ASSERT_EQ(Bitmap.Height(), Image.Height);
    const QImage shown = Bitmap.ToQImage();
    for (int y = 0; y < Image.Height; ++y)
        for (int x = 0; x < Image.Width; ++x)
            ASSERT_EQ(shown.pixel(x, y) | 0xFF000000u, Expected(Image, x, y, Gif)) << x << "," << y;
}

} // namespace

TEST(FastPaths, GifAgreesWithGiflib)
{
    std::mt19937 random(1611);
    for (int round = 0; round < 60; ++round) {
        const int colorBits = 1 + round % 8;
        const TImage image = RandomImage(random, 1, 1 << colorBits);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << image.Width << " x " << image.Height);
        Gifmap::TGifmap gif;
        vcl::TMemoryStream source(GiflibFile(image, colorBits, round % 3 == 0));
        gif.LoadFromStream(source);
        ASSERT_TRUE(gif.LastError().isEmpty()) << gif.LastError().toStdString();
        ExpectPixels(gif, image, true);
    }
}

TEST(FastPaths, TiffAgreesWithLibtiff)
{
    std::mt19937 random(1612);
    const uint16_t compressions[] = {COMPRESSION_LZW, COMPRESSION_PACKBITS, COMPRESSION_NONE};
    for (int round = 0; round < 45; ++round) {
        const int channels = round % 2 == 0 ? 1 : 3;
        const TImage image = RandomImage(random, channels, 256);
        const uint16_t compression = compressions[round % 3];
        const bool predictor = compression == COMPRESSION_LZW && round % 4 < 2;
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << image.Width << " x " << image.Height);
        Tifmap::TTifmap tif;
        vcl::TMemoryStream source(LibtiffFile(image, compression, predictor, 1 + random() % 9));
        tif.LoadFromStream(source);
        ExpectPixels(tif, image, false);
    }
}

namespace {

// A random LZW code stream and the bytes it spells, worked out by a plain model of the
// encoder: a table of byte vectors, strings appended one by one. The stream has codes
// one past the table (string, string, first byte) and runs of recent codes, whose
// strings grow long, and clear codes wherever the table is full; streams of long
// strings also have clear codes at random places.
struct TLzwStream {
    std::vector<std::pair<int, int>> Codes; // (code, width)
    std::vector<uint8_t> Output;
};

TLzwStream RandomLzwStream(std::mt19937& Random, bool Gif, int Roots, size_t Total, bool ShortStrings)
{
    TLzwStream stream;
    const int clear = Roots, firstWidth = Gif ? std::bit_width(unsigned(Roots)) : 9;
    std::vector<std::vector<uint8_t>> table;
    int width = firstWidth;
    std::vector<uint8_t> previous;
    const auto reset = [&] {
        stream.Codes.emplace_back(clear, width);
        table.assign(size_t(Roots + 2), {});
        for (int r = 0; r < Roots; ++r)
            table[size_t(r)] = {uint8_t(r)};
        width = firstWidth;
        previous.clear();
    };
    reset();
    while (stream.Output.size() < Total) {
        const int nextFree = int(table.size());
        if (!previous.empty() && (nextFree == 4096 || (!ShortStrings && Random() % 700 == 0))) {
            reset();
            continue;
        }
        int code = int(Random() % uint32_t(Roots));
        const uint32_t pick = Random() % 8;
        if (!previous.empty() && pick == 0)
            code = nextFree;
        else if (!previous.empty() && nextFree > Roots + 2 && pick >= (ShortStrings ? 7u : 3u))
            code = std::max(Roots + 2, nextFree - 1 - int(Random() % 24));
        std::vector<uint8_t> string = code == nextFree ? previous : table[size_t(code)];
        if (code == nextFree)
            string.push_back(previous[0]);
        stream.Codes.emplace_back(code, width);
        if (!previous.empty()) {
            previous.push_back(string[0]);
            table.push_back(previous);
            const int size = int(table.size());
            // GIF widens when the next code needs the bit, TIFF writers one code early.
            if (Gif ? size == (1 << width) && width < 12 : size == 511 || size == 1023 || size == 2047)
                ++width;
        }
        stream.Output.insert(stream.Output.end(), string.begin(), string.end());
        previous = string;
    }
    stream.Codes.emplace_back(clear + 1, width);
    return stream;
}

QByteArray PackCodes(const TLzwStream& Stream, bool MsbFirst)
{
    QByteArray bytes;
    uint64_t bits = 0;
    int count = 0;
    for (const auto& [code, width] : Stream.Codes) {
        bits = MsbFirst ? bits << width | uint64_t(code) : bits | uint64_t(code) << count;
        for (count += width; count >= 8; count -= 8) {
            bytes.append(char(MsbFirst ? bits >> (count - 8) : bits));
            if (!MsbFirst)
                bits >>= 8;
        }
    }
    if (count > 0)
        bytes.append(char(MsbFirst ? bits << (8 - count) : bits));
    return bytes;
}

QByteArray CodeStreamGif(int Width, int Height, int MinCodeSize, const QByteArray& Codes)
{
    QByteArray gif("GIF89a");
    const auto word = [&gif](int Value) { gif.append(char(Value & 0xFF)).append(char(Value >> 8)); };
    word(Width), word(Height);
    gif.append(char(0x87)).append('\0').append('\0');
    for (int i = 0; i < 256; ++i)
        gif.append(char(i)).append(char(255 - i)).append(char(i / 2));
    gif.append(',');
    word(0), word(0), word(Width), word(Height);
    gif.append('\0').append(char(MinCodeSize));
    for (qsizetype at = 0; at < Codes.size(); at += 255) {
        const QByteArray block = Codes.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    return gif.append('\0').append(';');
}

// An 8-bit grey (or with 3 samples RGB) TIFF whose strips hold the given LZW data as
// it stands.
QByteArray CodeStreamTiff(int Width, int Height, int RowsPerStrip, const std::vector<QByteArray>& Strips,
                          int Samples = 1)
{
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("codes.tif").toLocal8Bit();
    TIFF* tif = TIFFOpen(path.constData(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(Width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(Height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(Samples));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, Samples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(RowsPerStrip));
    for (size_t s = 0; s < Strips.size(); ++s)
        TIFFWriteRawStrip(tif, tstrip_t(s), const_cast<char*>(Strips[s].constData()), tmsize_t(Strips[s].size()));
    TIFFClose(tif);
    return ReadFile(dir.filePath("codes.tif"));
}

// The 8-bit indices of an assembled stream, top row first, without row padding.
std::vector<uint8_t> StreamIndices(const QByteArray& Bitmap)
{
    const TBitmapFields fields = ReadBitmapFields(Bitmap);
    const int stride = (fields.Width + 3) / 4 * 4;
    std::vector<uint8_t> indices;
    for (int y = 0; y < fields.Height; ++y) {
        const char* row = Bitmap.constData() + fields.PixelOffset + qsizetype(stride) * (fields.Height - 1 - y);
        indices.insert(indices.end(), row, row + fields.Width);
    }
    return indices;
}

} // namespace

TEST(FastPaths, GifCodeStreamsAgreeWithAPlainDecoder)
{
    // Code sizes 2 to 9 (9-bit roots spell their low byte); short strings fill the table
    // at 12 bits, which a clear code then empties.
    std::mt19937 random(1614);
    for (int round = 0; round < 48; ++round) {
        const bool shortStrings = round % 3 == 0;
        const int minCodeSize = 2 + round % 8, width = 1 + int(random() % 400);
        const int height = shortStrings ? 40 + int(random() % 40) : 1 + int(random() % 60);
        const TLzwStream stream = RandomLzwStream(random, true, 1 << minCodeSize, size_t(width) * height, shortStrings);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << width << " x " << height);
        const QByteArray gif = CodeStreamGif(width, height, minCodeSize, PackCodes(stream, false));
        std::vector<uint8_t> expected(stream.Output.begin(), stream.Output.begin() + ptrdiff_t(width) * height);
        EXPECT_EQ(StreamIndices(AssembleWithReader("gif", gif)), expected);
    }
}

TEST(FastPaths, TiffCodeStreamsAgreeWithAPlainDecoder)
{
    std::mt19937 random(1615);
    for (int round = 0; round < 30; ++round) {
        const bool shortStrings = round % 3 == 0;
        const int width = 1 + int(random() % 400), height = shortStrings ? 40 + int(random() % 40) : 1 + int(random() % 60);
        const int rowsPerStrip = shortStrings ? height : 1 + int(random() % uint32_t(height));
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << width << " x " << height);
        std::vector<QByteArray> strips;
        std::vector<uint8_t> expected;
        for (int row = 0; row < height; row += rowsPerStrip) {
            const size_t bytes = size_t(width) * std::min(rowsPerStrip, height - row);
            const TLzwStream stream = RandomLzwStream(random, false, 256, bytes, shortStrings);
            strips.push_back(PackCodes(stream, true));
            expected.insert(expected.end(), stream.Output.begin(), stream.Output.begin() + ptrdiff_t(bytes));
        }
        EXPECT_EQ(StreamIndices(AssembleWithReader("tif", CodeStreamTiff(width, height, rowsPerStrip, strips))), expected);
    }
}

TEST(FastPaths, RgbTiffLoadsAsItsAssembledStreamReadsBack)
{
    // A load decodes 24-bit rows straight into the bitmap's pixels; the assembled stream,
    // read back by Qt's BMP reader, must show the same, also where a strip's codes end
    // before its rows do (those rows stay black).
    std::mt19937 random(1616);
    for (int round = 0; round < 12; ++round) {
        const int width = 1 + int(random() % 200), height = 1 + int(random() % 30);
        const int rowsPerStrip = 1 + int(random() % uint32_t(height));
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << width << " x " << height);
        std::vector<QByteArray> strips;
        for (int row = 0; row < height; row += rowsPerStrip) {
            const size_t bytes = size_t(3 * width) * std::min(rowsPerStrip, height - row);
            strips.push_back(PackCodes(RandomLzwStream(random, false, 256, random() % 4 ? bytes : bytes / 2, false), true));
        }
        const QByteArray file = CodeStreamTiff(width, height, rowsPerStrip, strips, 3);
        Tifmap::TTifmap tif;
        vcl::TMemoryStream source(file);
        tif.LoadFromStream(source);
        EXPECT_EQ(tif.PixelFormat(), vcl::pf24bit);
        const QImage assembled = DecodeBitmapStream(AssembleWithReader("tif", file));
        EXPECT_EQ(FirstPixelDifference(tif.ToQImage().convertToFormat(QImage::Format_RGB888), assembled), QString());
    }
}

namespace {

// The plain reading of a BMP file: every pixel through its own conversion, as the bitmap
// read them before it read rows at a time.
QRgb PlainPixel(const QByteArray& File, int X, int Y)
{
    const auto* b = reinterpret_cast<const uchar*>(File.constData());
    const int width = qFromLittleEndian<int32_t>(b + 18), height = qFromLittleEndian<int32_t>(b + 22);
    const int bits = qFromLittleEndian<uint16_t>(b + 28);
    const uint32_t compression = qFromLittleEndian<uint32_t>(b + 30), used = qFromLittleEndian<uint32_t>(b + 46);
    const int stride = (width * bits + 31) / 32 * 4;
    const uchar* row = b + qFromLittleEndian<uint32_t>(b + 10) + stride * (height - 1 - Y);
    if (bits <= 8) {
        const uint32_t entries = used == 0 || used > (1u << bits) ? 1u << bits : used;
        const int perByte = 8 / bits;
        const uint32_t index = (row[X / perByte] >> (8 - bits * (X % perByte + 1))) & ((1u << bits) - 1);
        const uchar* e = b + HeadersSize + 4 * index;
        return index < entries ? qRgb(e[2], e[1], e[0]) : qRgb(0, 0, 0);
    }
    if (bits == 24)
        return qRgb(row[3 * X + 2], row[3 * X + 1], row[3 * X]);
    const uint32_t v = bits == 16 ? qFromLittleEndian<uint16_t>(row + 2 * X) : qFromLittleEndian<uint32_t>(row + 4 * X);
    uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
    if (bits == 16)
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (compression == 3)
        for (int i = 0; i < 3; ++i)
            masks[i] = qFromLittleEndian<uint32_t>(b + HeadersSize + 4 * i);
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        int shift = 0;
        while (!((masks[i] >> shift) & 1))
            ++shift;
        const uint32_t max = masks[i] >> shift;
        channel[i] = int((((v & masks[i]) >> shift) * 255 + max / 2) / max);
    }
    return qRgb(channel[0], channel[1], channel[2]);
}

QByteArray RandomBmp(std::mt19937& Random, int Bits, bool Bitfields)
{
    const int width = 1 + int(Random() % 70), height = 1 + int(Random() % 20);
    const uint32_t used = Bits <= 8 ? uint32_t(Random() % ((1u << Bits) + 1)) : 0;
    const int entries = Bits <= 8 ? int(used == 0 ? 1u << Bits : used) : 0;
    const int extra = Bitfields ? 12 : 4 * entries;
    const int stride = (width * Bits + 31) / 32 * 4;
    QByteArray file(HeadersSize + extra + stride * height, '\0');
    auto* b = reinterpret_cast<uchar*>(file.data());
    for (qsizetype i = HeadersSize; i < file.size(); ++i)
        b[i] = uchar(Random());
    b[0] = 'B', b[1] = 'M';
    qToLittleEndian<uint32_t>(uint32_t(file.size()), b + 2);
    qToLittleEndian<uint32_t>(uint32_t(HeadersSize + extra), b + 10);
    qToLittleEndian<uint32_t>(40, b + 14);
    qToLittleEndian<int32_t>(width, b + 18);
    qToLittleEndian<int32_t>(height, b + 22);
    qToLittleEndian<uint16_t>(1, b + 26);
    qToLittleEndian<uint16_t>(uint16_t(Bits), b + 28);
    qToLittleEndian<uint32_t>(Bitfields ? 3 : 0, b + 30);
    qToLittleEndian<uint32_t>(used, b + 46);
    if (Bitfields) {
        // Contiguous masks of random widths and places.
        for (int i = 0; i < 3; ++i) {
            const int size = 1 + int(Random() % 8), shift = int(Random() % uint32_t(Bits - size + 1));
            qToLittleEndian<uint32_t>(((1u << size) - 1) << shift, b + HeadersSize + 4 * i);
        }
    }
    return file;
}

} // namespace

TEST(FastPaths, BitmapRowsAgreeWithPixelByPixelReading)
{
    std::mt19937 random(1613);
    const std::pair<int, bool> kinds[] = {{1, false}, {4, false}, {8, false}, {16, false}, {16, true},
                                          {24, false}, {32, false}, {32, true}};
    for (int round = 0; round < 80; ++round) {
        const auto [bits, bitfields] = kinds[round % std::size(kinds)];
        const QByteArray file = RandomBmp(random, bits, bitfields);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << bits << " bits");
        vcl::TBitmap bitmap;
        vcl::TMemoryStream stream(file);
        bitmap.LoadFromStream(stream);
        const QImage shown = bitmap.ToQImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                ASSERT_EQ(shown.pixel(x, y) | 0xFF000000u, PlainPixel(file, x, y)) << x << "," << y;
    }
}
