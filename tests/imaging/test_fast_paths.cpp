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
