// PCX reader: hand-built files for the run-length decoding, the plane layouts, the
// palettes and every failure of the error table.
#include "imagingtestsupport.h"

#include "imaging/pcxmap.h"

#include <gtest/gtest.h>

using namespace imagingtest;

namespace {

struct TPcxBuilder {
    int Version = 5;
    int BitsPerPixel = 8;
    int Planes = 1;
    int Width = 4;
    int Height = 1;
    int BytesPerLine = 4;
    int XMin = 0;
    QByteArray ColorMap; // 48 bytes; a ramp when empty
    QByteArray Body;     // encoded lines
    QByteArray Trailer;  // appended as it is

    QByteArray Build() const
    {
        QByteArray h(128, '\0');
        h[0] = 0x0A;
        h[1] = char(Version);
        h[2] = 1;
        h[3] = char(BitsPerPixel);
        const auto put16 = [&](int at, int v) { h[at] = char(v & 0xFF); h[at + 1] = char((v >> 8) & 0xFF); };
        put16(4, XMin);
        put16(8, XMin + Width - 1);
        put16(10, Height - 1);
        for (int i = 0; i < 48; ++i)
            h[16 + i] = ColorMap.isEmpty() ? char(i * 5) : ColorMap[i];
        h[65] = char(Planes);
        put16(66, BytesPerLine);
        return h + Body + Trailer;
    }
};

QString PcxError(const QByteArray& Data)
{
    try {
        AssembleWithReader("pcx", Data);
    } catch (const Pcxmap::EPcxException& e) {
        return e.Message();
    }
    return {};
}

QByteArray Hex(const char* Text) { return QByteArray::fromHex(Text); }

QByteArray Palette256()
{
    QByteArray t("\x0C", 1);
    for (int i = 0; i < 256; ++i)
        t.append(char(i)).append(char(255 - i)).append(char(i / 2));
    return t;
}

// The stored pixel bytes of the assembled stream (rows bottom-up, padded).
QByteArray PixelBytes(const QByteArray& Bitmap) { return Bitmap.mid(ReadBitmapFields(Bitmap).PixelOffset); }

} // namespace

TEST(Pcxmap, RunLengthDecoding)
{
    // 0xC5 0x07 is a run of five 7s; a byte below 0xC0 stands for itself; 0xC1 0xC8 is
    // how a byte of 0xC0 or more is written.
    TPcxBuilder b;
    b.Version = 3; // no palette trailer
    b.Width = b.BytesPerLine = 8;
    b.Body = Hex("c507" "01" "c1c8" "02");
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(PixelBytes(bitmap).toHex(), "0707070707 01c802"_qba.replace(" ", ""));
}

TEST(Pcxmap, ErrorTable)
{
    struct Case { const char* What; QByteArray Data; const char* Message; };
    TPcxBuilder ok;
    ok.Version = 3;
    ok.Body = Hex("01020304");
    QByteArray notPcx = ok.Build();
    notPcx[0] = 0x0B;
    TPcxBuilder tooBig = ok;
    tooBig.Planes = 3;
    tooBig.BytesPerLine = 1025;
    tooBig.Width = 1025;
    TPcxBuilder runPastLine = ok;
    runPastLine.Body = Hex("0102c3aa"); // a run of 3 after 2 bytes of a 4-byte line
    TPcxBuilder shortLine = ok;
    shortLine.Body = Hex("0102");
    TPcxBuilder v5NoTrailer = ok;
    v5NoTrailer.Version = 5;
    v5NoTrailer.Trailer = QByteArray(769, '\x01');
    TPcxBuilder shortTrailer = ok;
    shortTrailer.Version = 5;
    TPcxBuilder twoPlanes = ok;
    twoPlanes.BitsPerPixel = 1;
    twoPlanes.Planes = 2;
    TPcxBuilder twoBits = ok;
    twoBits.BitsPerPixel = 2;
    TPcxBuilder inverted = ok;
    inverted.XMin = 10; // XMax = 13 ... then forced below XMin
    QByteArray invertedData = inverted.Build();
    invertedData[8] = 2;
    TPcxBuilder widerThanLine = ok;
    widerThanLine.Width = 5;
    // 3072 x 21846 pixels, more than the bitmap holds, with data enough for them in
    // theory (2 bytes a 63-byte run); and rows refused for want of data before room is
    // made for them.
    TPcxBuilder huge = ok;
    huge.Width = 3072;
    huge.BytesPerLine = 3072;
    huge.Height = 21846;
    huge.Body = QByteArray(98 * 21846, '\0');
    TPcxBuilder unfillable = huge;
    unfillable.Body = Hex("01020304");

    const Case cases[] = {
        {"short header", ok.Build().left(127), "Bad data"},
        {"manufacturer", notPcx, "Not a PCX file"},
        {"3 planes of 1025 bytes", tooBig.Build(), "File Too big"},
        {"run past the end of the line", runPastLine.Build(), "Bad data"},
        {"data ends inside a line", shortLine.Build(), "Bad data"},
        {"trailer mark missing", v5NoTrailer.Build(), "Bad data"},
        {"file shorter than a trailer", shortTrailer.Build(), "Bad data"},
        {"1 bit in 2 planes", twoPlanes.Build(), "Unsupported Format"},
        {"2 bits in 1 plane", twoBits.Build(), "Unsupported Format"},
        {"maximum below minimum", invertedData, "Bad data"},
        {"width beyond the bytes per line", widerThanLine.Build(), "Bad data"},
        {"3072 x 21846 pixels", huge.Build(), "File Too big"},
        {"more rows than the data holds", unfillable.Build(), "Bad data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(PcxError(c.Data).toStdString(), c.Message);
    }
}

TEST(Pcxmap, LineLengthLimit)
{
    TPcxBuilder b;
    b.Version = 3;
    b.Planes = 3;
    b.Width = b.BytesPerLine = 1024;
    for (int i = 0; i < 3 * 1024 / 63; ++i)
        b.Body += Hex("ff11");
    b.Body += Hex("f011"); // the last 3072 - 48 × 63 = 48 bytes
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(ReadBitmapFields(bitmap).BitCount, 24);
    EXPECT_EQ(ReadBitmapFields(bitmap).Width, 1024);
}

TEST(Pcxmap, FourPlanesPackIntoNibbles)
{
    // Width 3: pixel values 0b0101, 0b1010, 0b1111 spread over four planes of one byte.
    TPcxBuilder b;
    b.BitsPerPixel = 1;
    b.Planes = 4;
    b.Width = 3;
    b.BytesPerLine = 1;
    // plane p holds bit p of each pixel, pixel 0 in the top bit
    b.Body = Hex("a0" "60" "a0" "60");
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    const TBitmapFields f = ReadBitmapFields(bitmap);
    EXPECT_EQ(f.BitCount, 4);
    EXPECT_EQ(f.PixelOffset, uint32_t(HeadersSize) + 64);
    // (p0 << 4 | p1), (p2 << 4), then the rest of the 4-byte row
    EXPECT_EQ(PixelBytes(bitmap).left(2).toHex(), "5af0");
    EXPECT_EQ(PixelBytes(bitmap).size(), 4);
    // 16 palette entries from the header map, as blue, green, red, 0
    EXPECT_EQ(bitmap.mid(HeadersSize, 8).toHex(), "0a05000019140f00");
}

TEST(Pcxmap, FourBitsInOnePlane)
{
    TPcxBuilder b;
    b.BitsPerPixel = 4;
    b.Width = 4;
    b.BytesPerLine = 2;
    b.Body = Hex("12" "34");
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(ReadBitmapFields(bitmap).BitCount, 4);
    EXPECT_EQ(PixelBytes(bitmap).left(2).toHex(), "1234");
    const QImage image = QImage::fromData(bitmap, "BMP");
    EXPECT_EQ(image.pixelIndex(3, 0), 4);
}

TEST(Pcxmap, MonochromeIgnoresHeaderMap)
{
    TPcxBuilder b;
    b.BitsPerPixel = 1;
    b.Width = 9;
    b.BytesPerLine = 2;
    b.Height = 2;
    b.Body = Hex("8080" "c1ff00");
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(ReadBitmapFields(bitmap).PixelOffset, 62u);
    EXPECT_EQ(bitmap.mid(HeadersSize, 8).toHex(), "00000000ffffff00");
    EXPECT_EQ(PixelBytes(bitmap).toHex(), "ff000000" "80800000");
}

TEST(Pcxmap, EightBitPalettes)
{
    TPcxBuilder b;
    b.Width = b.BytesPerLine = 2;
    b.Body = Hex("0511");
    b.Trailer = Palette256();
    QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    // entry 5 from the trailer: (5, 250, 2) stored as blue, green, red
    EXPECT_EQ(bitmap.mid(HeadersSize + 4 * 5, 4).toHex(), "02fa0500");
    // An older version keeps the 16 header colours and leaves the rest black.
    b.Version = 4;
    b.Trailer.clear();
    bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(bitmap.mid(HeadersSize + 4 * 5, 4).toHex(), "5550 4b00"_qba.replace(" ", ""));
    EXPECT_EQ(bitmap.mid(HeadersSize + 4 * 16, 4 * 240), QByteArray(4 * 240, '\0'));
}

TEST(Pcxmap, TrueColourPlanesBecomeBlueGreenRed)
{
    TPcxBuilder b;
    b.Version = 3;
    b.Planes = 3;
    b.Width = 2;
    b.BytesPerLine = 2;
    b.Body = Hex("1011" "2021" "3031");
    const QByteArray bitmap = AssembleWithReader("pcx", b.Build());
    EXPECT_EQ(PixelBytes(bitmap).toHex(), "302010312111" "0000"_qba);
}

TEST(Pcxmap, LoadFromStreamSwallowsFailures)
{
    Pcxmap::TPcxmap pcx;
    vcl::TMemoryStream bad(QByteArray(10, '\x0A'));
    EXPECT_NO_THROW(pcx.LoadFromStream(bad));
    EXPECT_EQ(pcx.LastError().toStdString(), "Bad data");
}
