// GIF reader: hand-built files for every failure of the error table and the edges of
// the LZW decoder, the interlace order and the assembled stream's layout.
#include "imagingtestsupport.h"

#include "imaging/gifmap.h"

#include <gtest/gtest.h>

using namespace imagingtest;

namespace {

// Packs codes least significant bit first, each with its own width.
struct TCodeWriter {
    QByteArray Bytes;
    uint32_t Accumulator = 0;
    int Bits = 0;
    void Put(int Code, int Width)
    {
        Accumulator |= uint32_t(Code) << Bits;
        Bits += Width;
        while (Bits >= 8) {
            Bytes.append(char(Accumulator & 0xFF));
            Accumulator >>= 8;
            Bits -= 8;
        }
    }
    QByteArray Finish()
    {
        if (Bits > 0)
            Bytes.append(char(Accumulator & 0xFF));
        Bits = 0;
        return Bytes;
    }
};

// Codes that send every pixel as a root code, with the code width growing the way a
// decoder grows it, and a clear code before the table fills.
QByteArray LiteralCodes(const std::vector<uint8_t>& Pixels, int MinCodeSize)
{
    const int clear = 1 << MinCodeSize;
    TCodeWriter w;
    int width = MinCodeSize + 1;
    int nextFree = clear + 2;
    bool first = true;
    w.Put(clear, width);
    for (uint8_t p : Pixels) {
        if (nextFree >= 4095) {
            w.Put(clear, width);
            width = MinCodeSize + 1;
            nextFree = clear + 2;
            first = true;
        }
        w.Put(p, width);
        if (!first && ++nextFree >= (1 << width) && width < 12)
            ++width;
        first = false;
    }
    w.Put(clear + 1, width);
    return w.Finish();
}

// Data sub-blocks of at most 255 bytes, and the terminator.
QByteArray SubBlocks(const QByteArray& Data)
{
    QByteArray out;
    for (qsizetype i = 0; i < Data.size(); i += 255) {
        const QByteArray part = Data.mid(i, 255);
        out.append(char(part.size())).append(part);
    }
    return out.append('\0');
}

QByteArray U16(int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8)); }

struct TGifBuilder {
    int Width = 2;
    int Height = 2;
    int TableExponent = 1; // 2^(e+1) colours
    bool GlobalTable = true;
    bool LocalTable = false;
    bool Interlaced = false;
    int MinCodeSize = 2;
    QByteArray BeforeImage; // extension blocks
    QByteArray ImageData;   // sub-blocks; made from Pixels when empty
    std::vector<uint8_t> Pixels;

    QByteArray Table() const
    {
        QByteArray t;
        for (int i = 0; i < (2 << TableExponent); ++i)
            t.append(char(10 * i + 1)).append(char(10 * i + 2)).append(char(10 * i + 3));
        return t;
    }
    QByteArray Build() const
    {
        QByteArray gif("GIF89a");
        gif += U16(Width) + U16(Height);                                          // logical screen size
        gif.append(char((GlobalTable ? 0x80 : 0) | TableExponent)).append('\0').append('\0');
        if (GlobalTable)
            gif += Table();
        gif += BeforeImage;
        gif.append(char(0x2C)) += U16(0) + U16(0) + U16(Width) + U16(Height);       // image descriptor
        gif.append(char((LocalTable ? 0x80 : 0) | (Interlaced ? 0x40 : 0) | TableExponent));
        if (LocalTable)
            gif += Table();
        gif.append(char(MinCodeSize));
        gif += ImageData.isEmpty() ? SubBlocks(LiteralCodes(Pixels, MinCodeSize)) : ImageData;
        return gif.append(char(0x3B));
    }
};

QString GifError(const QByteArray& Data)
{
    try {
        AssembleWithReader("gif", Data);
    } catch (const Gifmap::EGifException& e) {
        return e.Message();
    }
    return {};
}

// Palette indices of the decoded image, row by row (the image is 8-bit).
std::vector<uint8_t> Indices(const QByteArray& Bitmap)
{
    const QImage image = QImage::fromData(Bitmap, "BMP");
    std::vector<uint8_t> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.push_back(uint8_t(image.pixelIndex(x, y)));
    return out;
}

std::vector<uint8_t> Ramp(int Count, int Modulo)
{
    std::vector<uint8_t> v;
    for (int i = 0; i < Count; ++i)
        v.push_back(uint8_t(i % Modulo));
    return v;
}

} // namespace

TEST(Gifmap, ErrorTable)
{
    struct Case { const char* What; QByteArray Data; const char* Message; };
    TGifBuilder good;
    good.Pixels = {0, 1, 2, 3};
    const QByteArray base = good.Build();

    TGifBuilder noGlobal = good;
    noGlobal.GlobalTable = false;
    noGlobal.LocalTable = true;
    TGifBuilder codeSize1 = good;
    codeSize1.MinCodeSize = 1;
    codeSize1.ImageData = SubBlocks(QByteArray(4, '\0'));
    TGifBuilder codeSize10 = codeSize1;
    codeSize10.MinCodeSize = 10;
    TGifBuilder noData = good;
    noData.ImageData = QByteArray(1, '\0');
    TGifBuilder endAfterClear = good;
    {
        TCodeWriter w;
        w.Put(4, 3), w.Put(4, 3), w.Put(5, 3);
        endAfterClear.ImageData = SubBlocks(w.Finish());
    }
    TGifBuilder aboveNextFree = good;
    {
        TCodeWriter w;
        w.Put(4, 3), w.Put(0, 3), w.Put(7, 3); // next free is 6
        aboveNextFree.ImageData = SubBlocks(w.Finish());
    }
    // Sizes the bitmap could not hold, or that the data could never fill: refused
    // before room is made for their rows.
    TGifBuilder huge = good;
    huge.Width = 2048;
    huge.Height = 65535;
    {
        TCodeWriter w;
        w.Put(4, 3), w.Put(5, 3);
        huge.ImageData = SubBlocks(w.Finish());
    }
    TGifBuilder unfillable = huge;
    unfillable.Height = 2048;
    // Enough data to fill 2048 x 40000 pixels in theory: the size itself is refused.
    TGifBuilder tooLarge = huge;
    tooLarge.Height = 40000;
    tooLarge.ImageData = SubBlocks(QByteArray(9000, '\0'));
    TGifBuilder wide = good;
    wide.Width = 2049;
    wide.Height = 1;
    wide.Pixels = Ramp(2049, 4);

    const Case cases[] = {
        {"not a gif", QByteArray("PNG89a") + base.mid(6), "Not a GIF file"},
        {"global table missing, local present", noGlobal.Build(), "Missing color table"},
        {"code size 1", codeSize1.Build(), "Bad code size"},
        {"code size 10", codeSize10.Build(), "Bad code size"},
        {"empty sub-block", noData.Build(), "No data"},
        {"end code after clear", endAfterClear.Build(), "Bad code"},
        {"code above next free", aboveNextFree.Build(), "Bad code"},
        {"width 2049", wide.Build(), "Bad bit size"},
        {"2048 x 65535 pixels from 2 bytes", huge.Build(), "Unexpected EOF"},
        {"2048 x 2048 pixels from 2 bytes", unfillable.Build(), "Unexpected EOF"},
        {"2048 x 40000 pixels", tooLarge.Build(), "Bad bit size"},
        {"header only", base.left(6), "Unexpected EOF"},
        {"colour table past the end", base.left(13 + 5), "Unexpected EOF"},
        {"no image block", base.left(13 + 12), "Unexpected EOF"},
        {"data ends inside a sub-block", base.left(base.size() - 4), "Unexpected EOF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(GifError(c.Data).toStdString(), c.Message);
    }
}

TEST(Gifmap, DecodesPixelsAndPadsRows)
{
    TGifBuilder b;
    b.Width = 3;
    b.Height = 2;
    b.Pixels = {0, 1, 2, 3, 2, 1};
    const QByteArray bitmap = AssembleWithReader("gif", b.Build());
    const TBitmapFields f = ReadBitmapFields(bitmap);
    EXPECT_EQ(f.PixelOffset, uint32_t(PixelOffset8Bit));
    EXPECT_EQ(f.BitCount, 8);
    // Two rows of 3 bytes stored as 4, bottom row first.
    ASSERT_EQ(bitmap.size(), PixelOffset8Bit + 8);
    EXPECT_EQ(bitmap.mid(PixelOffset8Bit).toHex(), "0302010000010200");
    EXPECT_EQ(Indices(bitmap), (std::vector<uint8_t>{0, 1, 2, 3, 2, 1}));
    // Four table colours, blue-green-red-0, then zeros to 256 entries.
    EXPECT_EQ(bitmap.mid(HeadersSize, 8).toHex(), "030201000d0c0b00");
    EXPECT_EQ(bitmap.mid(HeadersSize + 16, 1024 - 16), QByteArray(1024 - 16, '\0'));
}

// One reader loads an image whose table learns strings at codes 6 and up, then one with
// 9-bit roots: codes 300 to 303 must spell their low bytes 44 to 47 (worked out by hand),
// not strings the first image left behind at those codes.
TEST(Gifmap, RootsOfALaterImageAreNotStringsOfAnEarlierOne)
{
    Gifmap::TGifmap gif;
    TGifBuilder small;
    small.Width = 64;
    small.Height = 64;
    small.Pixels = Ramp(64 * 64, 4);
    vcl::TMemoryStream first(small.Build());
    ASSERT_NE(gif.AssembleBitmapStream(first), nullptr);

    TCodeWriter w;
    for (const int code : {512, 300, 301, 302, 303, 513})
        w.Put(code, 10);
    TGifBuilder wide;
    wide.MinCodeSize = 9;
    wide.ImageData = SubBlocks(w.Finish());
    vcl::TMemoryStream second(wide.Build());
    EXPECT_EQ(Indices(gif.AssembleBitmapStream(second)->Bytes()), (std::vector<uint8_t>{44, 45, 46, 47}));
}

TEST(Gifmap, LocalTableReplacesGlobal)
{
    TGifBuilder b;
    b.LocalTable = true;
    b.TableExponent = 0; // two colours each
    b.Pixels = {0, 1, 1, 0};
    const QByteArray gif = b.Build();
    QByteArray patched = gif;
    patched[13 + 6 + 10] = char(0xEE); // first local colour's red (global table is 6 bytes)
    const QByteArray bitmap = AssembleWithReader("gif", patched);
    EXPECT_EQ(uchar(bitmap[HeadersSize + 2]), 0xEE);
    EXPECT_EQ(bitmap.mid(HeadersSize + 8, 1024 - 8), QByteArray(1024 - 8, '\0'));
}

TEST(Gifmap, WidthLimit)
{
    TGifBuilder b;
    b.Width = 2048;
    b.Height = 2;
    b.Pixels = Ramp(4096, 4);
    EXPECT_EQ(Indices(AssembleWithReader("gif", b.Build())), b.Pixels);
    b.Width = 0;
    EXPECT_EQ(GifError(b.Build()).toStdString(), "Bad bitmap");
}

TEST(Gifmap, InterlacedRowsComeOutInOrder)
{
    // Passes store rows 0, 4, 2, 1, 3 for height 5; for heights below 5 the empty passes
    // are passed over, so the lines still reach their rows.
    for (int height : {1, 2, 3, 4, 5, 9, 17}) {
        SCOPED_TRACE(height);
        std::vector<int> order;
        for (int start : {0, 4, 2, 1})
            for (int row = start; row < height; row += start == 0 || start == 4 ? 8 : start == 2 ? 4 : 2)
                order.push_back(row);
        TGifBuilder b;
        b.Width = 2;
        b.Height = height;
        b.Interlaced = true;
        b.MinCodeSize = 5;
        b.TableExponent = 4;
        std::vector<uint8_t> expected(size_t(2 * height));
        for (size_t line = 0; line < order.size(); ++line) {
            b.Pixels.push_back(uint8_t(order[line]));
            b.Pixels.push_back(uint8_t(order[line]));
            expected[2 * order[line]] = expected[2 * order[line] + 1] = uint8_t(order[line]);
        }
        EXPECT_EQ(Indices(AssembleWithReader("gif", b.Build())), expected);
    }
}

TEST(Gifmap, TableFullAtTwelveBits)
{
    // Root codes only: the table fills after 4096 - 258 strings. A clear code right then
    // lets the data go on; any other code fails.
    const int m = 8;
    const auto fill = [&](TCodeWriter& w, int& width) {
        w.Put(256, 9);
        width = 9;
        int nextFree = 258;
        for (int i = 0; nextFree < 4096; ++i) {
            w.Put(i % 256, width);
            if (i > 0 && ++nextFree >= (1 << width) && width < 12)
                ++width;
        }
    };
    TGifBuilder b;
    b.MinCodeSize = m;
    b.TableExponent = 7;
    b.Width = 1;
    b.Height = 3840;
    {
        TCodeWriter w;
        int width;
        fill(w, width);
        w.Put(7, 12); // not a clear code
        w.Put(257, 12);
        b.ImageData = SubBlocks(w.Finish());
        EXPECT_EQ(GifError(b.Build()).toStdString(), "Bad bit size");
    }
    {
        TCodeWriter w;
        int width;
        fill(w, width);
        w.Put(256, 12);
        w.Put(42, 9);
        w.Put(257, 9);
        b.Height = 3839 + 1;
        b.ImageData = SubBlocks(w.Finish());
        const auto indices = Indices(AssembleWithReader("gif", b.Build()));
        ASSERT_EQ(indices.size(), 3840u);
        EXPECT_EQ(indices[300], 300 % 256);
        EXPECT_EQ(indices[3839], 42);
    }
}

TEST(Gifmap, StringCodesAndFirstCodeWithoutClear)
{
    // 0 1, then code 6 (the string "0 1"), then code 8, the code not yet in the table,
    // whose string is the previous string plus its own first byte ("0 1 0").
    TGifBuilder b;
    b.Width = 7;
    b.Height = 1;
    TCodeWriter w;
    w.Put(0, 3);                 // no clear code first: the table starts cleared
    w.Put(1, 3);                 // adds 6 = 0 1
    w.Put(6, 3);                 // adds 7 = 1 0, next free 8: width 4
    w.Put(8, 4);                 // 8 = 0 1 0
    w.Put(5, 4);
    b.ImageData = SubBlocks(w.Finish());
    EXPECT_EQ(Indices(AssembleWithReader("gif", b.Build())), (std::vector<uint8_t>{0, 1, 0, 1, 0, 1, 0}));
}

TEST(Gifmap, ExtensionsBeforeTheImageArePassedOver)
{
    TGifBuilder b;
    b.Pixels = {3, 2, 1, 0};
    const QByteArray comment = QByteArray("\x21\xFE\x05hello\x00", 9);
    const QByteArray control = QByteArray("\x21\xF9\x04\x01\x0A\x00\x02\x00", 8); // transparent index 2
    const QByteArray application = QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const QByteArray plainText = QByteArray("\x21\x01\x0C", 3) + QByteArray(12, '\x01') + QByteArray("\x02hi\x00", 4);
    b.BeforeImage = comment + control + application + plainText + QByteArray("\x99", 1);
    const QByteArray bitmap = AssembleWithReader("gif", b.Build());
    EXPECT_EQ(Indices(bitmap), (std::vector<uint8_t>{3, 2, 1, 0}));
    // The transparent index keeps its colour.
    EXPECT_EQ(bitmap.mid(HeadersSize + 8, 4).toHex(), "17161500");
}

TEST(Gifmap, LoadFromStreamSwallowsFailures)
{
    Gifmap::TGifmap gif;
    vcl::TMemoryStream bad(QByteArray("GIF89a"));
    EXPECT_NO_THROW(gif.LoadFromStream(bad));
    EXPECT_EQ(gif.LastError().toStdString(), "Unexpected EOF");

    TGifBuilder b;
    b.Pixels = {0, 1, 2, 3};
    vcl::TMemoryStream good(b.Build());
    gif.LoadFromStream(good);
    EXPECT_TRUE(gif.LastError().isEmpty());
}

TEST(Gifmap, DecodingStopsWhenEveryRowIsFilledAndAnEarlyEndLeavesRowsBlack)
{
    // 8 pixels, then 20000 more codes: once the rows are filled nothing more is read.
    TGifBuilder b;
    b.Width = 4;
    b.Height = 2;
    b.Pixels = Ramp(20000, 4);
    Gifmap::TGifmap gif;
    vcl::TMemoryStream source(b.Build());
    const QByteArray bitmap = gif.AssembleBitmapStream(source)->Bytes();
    EXPECT_EQ(Indices(bitmap), (std::vector<uint8_t>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_LE(gif.CodesDecoded(), 8 + 1); // the pixels and the leading clear code

    // An early end code leaves the missing rows black.
    TGifBuilder early;
    early.Width = 2;
    early.Height = 3;
    early.Pixels = {1, 2, 3}; // the second row is left unfinished
    const QByteArray shortBitmap = AssembleWithReader("gif", early.Build());
    EXPECT_EQ(ReadBitmapFields(shortBitmap).FileSize, uint32_t(shortBitmap.size()));
    EXPECT_EQ(Indices(shortBitmap), (std::vector<uint8_t>{1, 2, 0, 0, 0, 0}));
}
