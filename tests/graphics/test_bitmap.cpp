#include "graphicstest.h"

#include "vcl/core/streams.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/bmpformat.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using graphicstest::RunPython;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}, {clGray, 's'}, {clNavy, 'n'}};

QByteArray Le16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<uint16_t>(uint16_t(v), b.data());
    return b;
}

QByteArray Le32(int64_t v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<uint32_t>(uint32_t(v), b.data());
    return b;
}

// A 2x2 24-bit BMP built by hand, top-down when Height is -2.
QByteArray HandBuilt24(int Height)
{
    QByteArray rows;
    // Row stored first: top row for top-down files, bottom row otherwise.
    // Each row: two BGR pixels, then two bytes of padding.
    const QByteArray red("\x00\x00\xff", 3), blue("\xff\x00\x00", 3), white("\xff\xff\xff", 3), lime("\x00\xff\x00", 3);
    rows += red + blue + QByteArray(2, '\0');
    rows += white + lime + QByteArray(2, '\0');
    QByteArray bmp = "BM" + Le32(54 + rows.size()) + Le32(0) + Le32(54);
    bmp += Le32(40) + Le32(2) + Le32(Height) + Le16(1) + Le16(24) + Le32(0) + Le32(rows.size()) + Le32(0) + Le32(0)
        + Le32(0) + Le32(0);
    return bmp + rows;
}

std::unique_ptr<TBitmap> LoadBytes(const QByteArray& bytes)
{
    auto bmp = std::make_unique<TBitmap>();
    TMemoryStream stream(bytes);
    bmp->LoadFromStream(stream);
    return bmp;
}

QByteArray SaveBytes(TBitmap& bmp)
{
    TMemoryStream stream;
    bmp.SaveToStream(stream);
    return stream.Bytes();
}

} // namespace

TEST(BmpFiles, HandBuiltBottomUpAndTopDownReadUpToTheFileSize)
{
    auto up = LoadBytes(HandBuilt24(2));
    EXPECT_EQ(Picture(*up, Legend), (Rows{".g", "rb"}));
    EXPECT_EQ(up->PixelFormat(), pf24bit);
    auto down = LoadBytes(HandBuilt24(-2));
    EXPECT_EQ(Picture(*down, Legend), (Rows{"rb", ".g"}));
    // The stream is read only up to the file size.
    TMemoryStream stream(HandBuilt24(2) + QByteArray("tail"));
    TBitmap bmp;
    bmp.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), HandBuilt24(2).size());
}

TEST(BmpFiles, RoundTripAtEveryDepth)
{
    struct Case {
        TPixelFormat Format;
        int Bits;
    };
    const Case cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf24bit, 24}, {pf32bit, 32}};
    for (const Case& c : cases) {
        // Colours every palette holds exactly, in a width that needs row padding.
        auto bmp = FilledBitmap(7, 3, clWhite);
        bmp->Canvas()->SetPixels(0, 0, clBlack);
        bmp->Canvas()->SetPixels(6, 2, clBlack);
        if (c.Bits > 1) {
            bmp->Canvas()->SetPixels(1, 0, clRed);
            bmp->Canvas()->SetPixels(3, 1, clNavy);
            bmp->Canvas()->SetPixels(5, 2, clLime);
        }
        bmp->SetPixelFormat(c.Format);
        const Rows before = Picture(*bmp, Legend);
        const QByteArray bytes = SaveBytes(*bmp);
        EXPECT_EQ(qFromLittleEndian<uint16_t>(bytes.constData() + 28), c.Bits);
        const int stride = ((7 * c.Bits + 31) / 32) * 4;
        const int palette = c.Bits <= 8 ? (1 << c.Bits) * 4 : 0;
        EXPECT_EQ(bytes.size(), 54 + palette + 3 * stride) << c.Bits;
        auto back = LoadBytes(bytes);
        EXPECT_EQ(back->PixelFormat(), c.Format);
        EXPECT_EQ(back->Monochrome(), c.Format == pf1bit);
        EXPECT_EQ(Picture(*back, Legend), before) << c.Bits;
        EXPECT_EQ(back->Canvas()->Pixels(1, 0), c.Bits > 1 ? clRed : clWhite) << c.Bits;
    }
}

TEST(BmpFiles, FilesWrittenByOtherPrograms)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString script = QStringLiteral(
        "from PIL import Image\n"
        "im = Image.new('RGB', (5, 3), (255, 255, 255))\n"
        "im.putpixel((0, 0), (255, 0, 0)); im.putpixel((4, 0), (0, 0, 255)); im.putpixel((2, 2), (0, 255, 0))\n"
        "im.save('rgb24.bmp')\n"
        "im.save('src.png')\n"
        "im.convert('P', palette=Image.ADAPTIVE, colors=8).save('p8.bmp')\n"
        "m = Image.new('1', (9, 2), 1); m.putpixel((0, 0), 0); m.putpixel((8, 1), 0); m.save('mono.bmp')\n");
    ASSERT_EQ(RunPython(dir.path(), script), 0);
    // ImageMagick: the old 12-byte header, a 4-bit palette image and RLE8.
    ASSERT_EQ(QProcess::execute(QStringLiteral("convert"), {dir.filePath("src.png"), QStringLiteral("BMP2:") + dir.filePath("core.bmp")}), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("convert"), {dir.filePath("src.png"), QStringLiteral("-type"), QStringLiteral("Palette"),
                  QStringLiteral("BMP3:") + dir.filePath("p4.bmp")}), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("convert"), {dir.filePath("src.png"), QStringLiteral("-type"), QStringLiteral("Palette"),
                  QStringLiteral("-colors"), QStringLiteral("200"), QStringLiteral("-compress"), QStringLiteral("RLE"),
                  QStringLiteral("BMP3:") + dir.filePath("rle8.bmp")}), 0);

    const Rows expected = {"r...b", ".....", "..g.."};
    struct Case {
        const char* File;
        TPixelFormat Format;
    };
    const Case cases[] = {{"rgb24.bmp", pf24bit}, {"p8.bmp", pf8bit}, {"core.bmp", pf24bit}, {"p4.bmp", pf4bit}};
    for (const Case& c : cases) {
        TBitmap bmp;
        bmp.LoadFromFile(dir.filePath(QString::fromLatin1(c.File)));
        EXPECT_EQ(Picture(bmp, Legend), expected) << c.File;
        EXPECT_EQ(bmp.PixelFormat(), c.Format) << c.File;
    }
    TBitmap rle;
    rle.LoadFromFile(dir.filePath("rle8.bmp"));
    EXPECT_EQ(Picture(rle, Legend), expected);

    TBitmap mono;
    mono.LoadFromFile(dir.filePath("mono.bmp"));
    EXPECT_TRUE(mono.Monochrome());
    EXPECT_EQ(Picture(mono, Legend), (Rows{"#........", "........#"}));

    // And ours read by ImageMagick.
    auto ours = FilledBitmap(3, 2, clWhite);
    ours->Canvas()->SetPixels(2, 1, clRed);
    ours->SetPixelFormat(pf8bit);
    ours->SaveToFile(dir.filePath("ours.bmp"));
    QProcess identify;
    identify.start(QStringLiteral("convert"), {dir.filePath("ours.bmp"), QStringLiteral("-format"),
                                                QStringLiteral("%w %h %[pixel:p{2,1}] %[pixel:p{0,0}]"), QStringLiteral("info:")});
    ASSERT_TRUE(identify.waitForFinished(30000));
    EXPECT_EQ(identify.readAllStandardOutput().toStdString(), "3 2 srgb(255,0,0) srgb(255,255,255)");
}

TEST(BmpFiles, BadInputAndMissingResourcesRaiseAndKeepTheBitmap)
{
    const QByteArray good = HandBuilt24(2);
    auto patched = [&](int offset, const QByteArray& bytes) {
        QByteArray b = good;
        b.replace(offset, bytes.size(), bytes);
        return b;
    };
    struct Case {
        const char* Name;
        QByteArray Data;
        const char* Message;
    };
    const Case cases[] = {
        {"empty", QByteArray(), "no BM signature"},
        {"signature", patched(0, "XX"), "no BM signature"},
        {"truncated header", good.left(30), "truncated"},
        {"truncated rows", good.left(good.size() - 1), "truncated pixel data"},
        {"zero width", patched(18, Le32(0)), "dimensions"},
        {"huge", patched(18, Le32(50000000)), "too large"},
        {"huge height", patched(22, Le32(0x7FFFFFFF)), "too large"},
        {"bit count", patched(28, Le16(7)), "bit count"},
        {"planes", patched(26, Le16(2)), "plane count"},
        {"header size", patched(14, Le32(20)), "header size"},
        {"offset beyond", patched(10, Le32(100000)), "beyond"},
        {"rle with 24 bits", patched(30, Le32(1)), "compression"},
        {"palette past end", patched(28, Le16(8)), "truncated palette"},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(2, 1, clRed);
        TMemoryStream stream(c.Data);
        try {
            bmp->LoadFromStream(stream);
            ADD_FAILURE() << c.Name << " was accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.Message))) << c.Name << ": " << e.Message().toStdString();
        }
        EXPECT_EQ(Picture(*bmp, Legend), (Rows{"rr"})) << c.Name;
    }
    // A missing resource raises too.
    TBitmap missing;
    EXPECT_THROW(missing.LoadFromResourceName(QStringLiteral("NO_SUCH_BITMAP")), EResNotFound);
}

TEST(BmpFiles, RunLengthDataThatRunsOffTheImageIsClipped)
{
    // 4x2, 8 bits, RLE8: a run of 200 pixels, a delta far outside, an absolute run
    // that claims more bytes than there are.
    QByteArray palette = Le32(0x00FF0000) + Le32(0x00FFFFFF); // red, white (BGRA bytes)
    QByteArray data;
    data += QByteArray("\xC8\x01", 2);     // 200 x index 1
    data += QByteArray("\x00\x02\xFF\x00", 4); // delta 255, 0
    data += QByteArray("\x00\x09\x01", 3);   // absolute run of 9, only one byte present
    QByteArray bmp = "BM" + Le32(0) + Le32(0) + Le32(14 + 40 + 8);
    bmp += Le32(40) + Le32(4) + Le32(2) + Le16(1) + Le16(8) + Le32(1) + Le32(data.size()) + Le32(0) + Le32(0) + Le32(2) + Le32(0);
    bmp += palette + data;
    auto target = std::make_unique<TBitmap>();
    TMemoryStream stream(bmp);
    EXPECT_THROW(target->LoadFromStream(stream), EInvalidGraphic);
    bmp.chop(3);
    auto ok = LoadBytes(bmp + QByteArray("\x00\x01", 2));
    EXPECT_EQ(Picture(*ok, Legend), (Rows{"rrrr", "...."}));
}

TEST(Monochrome, ColourToMonochromeAndBack)
{
    auto bmp = FilledBitmap(4, 1, clWhite);
    bmp->Canvas()->SetPixels(1, 0, clRed);
    bmp->Canvas()->SetPixels(2, 0, RGB(254, 255, 255));
    bmp->SetMonochrome(true);
    EXPECT_EQ(bmp->PixelFormat(), pf1bit);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{".##."}));
    // Drawing on a monochrome bitmap snaps colours to black or white.
    bmp->Canvas()->Brush()->SetColor(clYellow);
    bmp->Canvas()->FillRect(Rect(3, 0, 4, 1));
    bmp->Canvas()->Brush()->SetColor(clNavy);
    bmp->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"###."}));
    bmp->SetMonochrome(false);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"###."}));

    // Drawn onto a colour canvas a monochrome bitmap stays black and white.
    auto glyph = FilledBitmap(2, 1, clWhite);
    glyph->Canvas()->SetPixels(0, 0, clBlack);
    glyph->SetMonochrome(true);
    auto target = FilledBitmap(2, 1, clRed);
    target->Canvas()->Font()->SetColor(clBlue);
    target->Canvas()->Brush()->SetColor(clYellow);
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Picture(*target, Legend), (Rows{"#."}));
}

TEST(Transparency, BottomLeftPixelUnlessSet)
{
    auto bmp = FilledBitmap(3, 2, clWhite);
    bmp->Canvas()->SetPixels(0, 1, clLime);
    EXPECT_EQ(bmp->TransparentColor(), clLime);
    bmp->SetTransparentColor(clRed);
    EXPECT_EQ(bmp->TransparentMode(), tmFixed);
    EXPECT_EQ(bmp->TransparentColor(), clRed);
    bmp->SetTransparentMode(tmAuto);
    EXPECT_EQ(bmp->TransparentColor(), clLime);

    bmp->SetTransparent(true);
    auto target = FilledBitmap(3, 2, clBlue);
    target->Canvas()->Draw(0, 0, bmp.get());
    EXPECT_EQ(Picture(*target, Legend), (Rows{"...", "b.."}));
}

TEST(Palettes, IndexedFormatsKeepPixelsOnThePalette)
{
    auto bmp = FilledBitmap(2, 1, clWhite);
    bmp->SetPixelFormat(pf4bit);
    ASSERT_EQ(bmp->PaletteColors().size(), 16u);
    bmp->Canvas()->Brush()->SetColor(RGB(250, 10, 10));
    bmp->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), clRed);
    bmp->SetPaletteColors({clBlack, clNavy});
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"#n"}));
}

TEST(Assign, CopiesPixelsIndependently)
{
    auto a = FilledBitmap(2, 2, clRed);
    TBitmap b;
    b.Assign(a.get());
    a->Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Width(), 2);
    b.Canvas()->SetPixels(1, 1, clLime);
    EXPECT_EQ(a->Canvas()->Pixels(1, 1), clRed);
    const QImage image = b.ToQImage();
    EXPECT_EQ(image.pixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFF0000u);
}

TEST(BmpFiles, SixteenBitsWithAndWithoutMasks)
{
    // 2x1 pixels: 5-6-5 with explicit masks, then the default 5-5-5 layout.
    const QByteArray masks = Le32(0xF800) + Le32(0x07E0) + Le32(0x001F);
    const QByteArray row565 = Le16(0xF800) + Le16(0x07E0);
    QByteArray bmp = "BM" + Le32(0) + Le32(0) + Le32(14 + 40 + 12);
    bmp += Le32(40) + Le32(2) + Le32(1) + Le16(1) + Le16(16) + Le32(3) + Le32(4) + Le32(0) + Le32(0) + Le32(0) + Le32(0);
    auto bitfields = LoadBytes(bmp + masks + row565);
    EXPECT_EQ(Picture(*bitfields, Legend), (Rows{"rg"}));
    EXPECT_EQ(bitfields->PixelFormat(), pf16bit);

    const QByteArray row555 = Le16(0x001F) + Le16(0x7FFF);
    QByteArray plain = "BM" + Le32(0) + Le32(0) + Le32(14 + 40);
    plain += Le32(40) + Le32(2) + Le32(1) + Le16(1) + Le16(16) + Le32(0) + Le32(4) + Le32(0) + Le32(0) + Le32(0) + Le32(0);
    auto rgb555 = LoadBytes(plain + row555);
    EXPECT_EQ(Picture(*rgb555, Legend), (Rows{"b."}));
}
