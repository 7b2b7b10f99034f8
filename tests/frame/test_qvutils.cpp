#include "../graphics/graphicstest.h"

#include "frame/qvutils.h"
#include "vcl/core/unitstartup.h"

#include <gtest/gtest.h>
#include <random>

using namespace vcl;
using namespace Qvutils;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using graphicstest::RandomBitmap;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}, {clSilver, 'l'}, {clGray, 's'}, {clTeal, 't'}};

} // namespace

TEST(Qvutils, TablesSmallHelpersAndTheStartUpTable)
{
    EXPECT_EQ(AllSides.Bits(), 15);
    EXPECT_EQ((TSides{sdTop, sdBottom}).Bits(), 0b1010);
    EXPECT_EQ(ULFrameColor[fsButtonDown], 0x00FF00);
    EXPECT_EQ(LRFrameColor[fsButtonDown], 0x808000);
    EXPECT_EQ(ULFrameColor[fsButtonUp], 0x0000FF);
    EXPECT_EQ(LRFrameColor[fsRaised], clBtnFace);
    EXPECT_EQ(ColorValues[0], 0x000000);
    EXPECT_EQ(ColorValues[4], 0x800000);
    EXPECT_EQ(ColorValues[12], 0xFF0000);
    EXPECT_EQ(ColorValues[15], 0xFFFFFF);
    EXPECT_EQ(Max(3, 3), 3);
    EXPECT_EQ(Min(-4, -4), -4);
    EXPECT_EQ(Max(INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(Min(INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(LastChar(QStringLiteral("abc")), QLatin1Char('c'));
    EXPECT_TRUE(LastChar(QString()).isNull());
    EXPECT_EQ(PaletteColor(clBtnFace), 0x02C0C0C0);
    EXPECT_EQ(PaletteColor(clRed), 0x020000FF);
    // Both units are in the start-up table.
    int found = 0;
    for (const vcl::TPackageUnitEntry& entry : vcl::GetPackageInfoTable().UnitInfo)
        found += entry.Name == QLatin1String("Qvutils") || entry.Name == QLatin1String("Qvsedit");
    EXPECT_EQ(found, 2);
}

TEST(Qvutils, DrawSidesAndBevelsAndTheirEdgeCases)
{
    auto bmp = FilledBitmap(4, 3, clWhite);
    EXPECT_EQ(DrawSides(bmp->Canvas(), Rect(0, 0, 4, 3), clRed, clBlue, TSides{}), Rect(0, 0, 4, 3));
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"....", "....", "...."}));

    EXPECT_EQ(DrawSides(bmp->Canvas(), Rect(0, 0, 1, 1), clRed, clBlue, AllSides), Rect(1, 1, 0, 0));
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"b...", "....", "...."}));

    auto full = FilledBitmap(4, 3, clWhite);
    full->Canvas()->Pen()->SetWidth(1);
    EXPECT_EQ(DrawSides(full->Canvas(), Rect(0, 0, 4, 3), clRed, clBlue, AllSides), Rect(1, 1, 3, 2));
    EXPECT_EQ(Picture(*full, Legend), (Rows{"rrrb", "r..b", "bbbb"}));

    // A bevel shrinks the rectangle by its width.
    auto bevel = FilledBitmap(8, 8, clWhite);
    EXPECT_EQ(DrawBevel(bevel->Canvas(), Rect(0, 0, 8, 8), clRed, clBlue, 3, AllSides), Rect(3, 3, 5, 5));
    EXPECT_EQ(Picture(*bevel, Legend)[3], "rrr..bbb");
    EXPECT_EQ(DrawBevel(bevel->Canvas(), Rect(0, 0, 8, 8), clLime, clLime, 0, AllSides), Rect(0, 0, 8, 8));
    EXPECT_EQ(DrawBevel(bevel->Canvas(), Rect(0, 0, 8, 8), clLime, clLime, -2, AllSides), Rect(0, 0, 8, 8));
    EXPECT_EQ(bevel->Canvas()->Pixels(0, 0), clRed);
}

TEST(Qvutils, GrooveBumpAndThreeDimensionalBordersOnSomeOrAllSides)
{
    struct Case {
        TFramesStyle Style;
        TSides Sides;
        TRect Inside; // two one-pixel rings off each side drawn
        Rows Expected;
    };
    const Case cases[] = {
        // Groove on the left and top sets the upper-left corners.
        {fsGroove, TSides{sdLeft, sdTop}, Rect(2, 2, 5, 5), {"sssss", "s....", "s.rrr", "s.rrr", "s.rrr"}},
        {fsGroove, AllSides, Rect(2, 2, 3, 3), {"ssss.", "s..s.", "s.rs.", "ssss.", "....."}},
        {fsBump, AllSides, Rect(2, 2, 3, 3), {"....s", ".ss.s", ".sr.s", "....s", "sssss"}},
        // Corner pixels (4,0) and (0,4) take the highlight; the rings run on the right and bottom.
        {fsGroove, TSides{sdRight, sdBottom}, Rect(0, 0, 3, 3), {"rrrs.", "rrrs.", "rrrs.", "ssss.", "....."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.Style << ", sides " << c.Sides.Bits());
        auto bmp = FilledBitmap(5, 5, clRed);
        EXPECT_EQ(DrawBorderSides(bmp->Canvas(), Rect(0, 0, 5, 5), c.Style, c.Sides), c.Inside);
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected);
    }

    // Three-dimensional borders.
    const std::pair<TFramesStyle, Rows> borders[] = {
        {fsButtonUp, {"...#", ".ls#", ".ss#", "####"}},
        {fsButtonDown, {"####", "#ss#", "#ss#", "####"}},
        {fsRaised, {"lll#", "l.s#", "lss#", "####"}},
        {fsLowered, {"sss.", "s#l.", "sll.", "...."}},
        {fsFlat, {"####", "#rr#", "#rr#", "####"}},
        {fsNone, {"rrrr", "rrrr", "rrrr", "rrrr"}},
    };
    for (const auto& [style, expected] : borders) {
        auto bmp = FilledBitmap(4, 4, clRed);
        DrawBorderSides(bmp->Canvas(), Rect(0, 0, 4, 4), style, AllSides);
        EXPECT_EQ(Picture(*bmp, Legend), expected) << style;
    }

    // DrawFrame clears a two-pixel ring.
    auto frame = FilledBitmap(6, 6, clRed);
    DrawFrame(frame->Canvas(), 6, 6, fsNone, clYellow, clBlue, AllSides);
    EXPECT_EQ(Picture(*frame, Legend), (Rows{"yyyyyy", "yyyyyy", "yyrryy", "yyrryy", "yyyyyy", "yyyyyy"}));
    DrawFrame(frame->Canvas(), 6, 6, fsFlat, clYellow, clBlue, TSides{sdLeft});
    EXPECT_EQ(Picture(*frame, Legend), (Rows{"byyyyy", "byyyyy", "byrryy", "byrryy", "byyyyy", "byyyyy"}));
}

TEST(Qvutils, FontMeasurementsAndRotatedFonts)
{
    TFont font;
    font.SetHeight(-14);
    auto bmp = FilledBitmap(2, 2, clWhite);
    bmp->Canvas()->SetFont(&font);
    const int letters = bmp->Canvas()->TextWidth(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(GetAvgCharWidth(&font), static_cast<int>(std::nearbyint(letters / 52.0)));
    EXPECT_GT(GetAvgCharWidth(&font), 3);
    EXPECT_EQ(GetMinFontHeight(&font), bmp->Canvas()->TextHeight(QStringLiteral("Ag")) + 2);

    // RotateFont builds the logical font.
    TFont named;
    named.SetName(QStringLiteral("DejaVu Sans Condensed Bold Oblique With A Long Name"));
    named.SetHeight(-20);
    named.SetStyle(fsBold | fsUnderline);
    named.SetPitch(fpVariable);
    HFONT rotated = RotateFont(&named, 90);
    EXPECT_EQ(rotated->LogFont.lfHeight, -20);
    EXPECT_EQ(rotated->LogFont.lfEscapement, 900);
    EXPECT_EQ(rotated->LogFont.lfOrientation, 0);
    EXPECT_EQ(rotated->LogFont.lfWeight, 700);
    EXPECT_EQ(rotated->LogFont.lfItalic, 0);
    EXPECT_EQ(rotated->LogFont.lfUnderline, 1);
    EXPECT_EQ(rotated->LogFont.lfCharSet, 1);
    EXPECT_EQ(rotated->LogFont.lfPitchAndFamily, 2);
    EXPECT_EQ(rotated->LogFont.lfFaceName.size(), 31);

    // Text drawn with it runs upwards: taller than wide.
    TFont plain;
    plain.SetHeight(-16);
    HFONT up = RotateFont(&plain, 90);
    auto drawn = FilledBitmap(60, 120, clWhite);
    HDC dc = drawn->Canvas()->Handle();
    HGDIOBJ old = SelectObject(dc, up);
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 20, 100, QStringLiteral("Rotated"));
    SelectObject(dc, old);
    DeleteObject(up);
    DeleteObject(rotated);
    int left = 60, right = -1, top = 120, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 60; ++x)
            if (drawn->Canvas()->Pixels(x, y) != clWhite) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_GT(bottom - top, 2 * (right - left));
    EXPECT_LE(bottom, 100);
}

TEST(Qvutils, StretchBitmapTransparentSizesKeysAndSourceLeftAlone)
{
    auto glyph = FilledBitmap(2, 2, clLime);
    glyph->Canvas()->SetPixels(0, 0, clRed);
    glyph->Canvas()->SetPixels(1, 1, clBlue);

    auto dest = FilledBitmap(4, 4, clWhite);
    StretchBitmapTransparent(dest->Canvas(), glyph.get(), clLime, 1, 1, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Picture(*dest, Legend), (Rows{"....", ".r..", "..b.", "...."}));

    auto plain = FilledBitmap(4, 4, clWhite);
    StretchBitmapTransparent(plain->Canvas(), glyph.get(), clNone, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Picture(*plain, Legend), (Rows{"rg..", "gb..", "....", "...."}));

    auto big = FilledBitmap(4, 4, clWhite);
    StretchBitmapTransparent(big->Canvas(), glyph.get(), clLime, 0, 0, 4, 4, 0, 0, 2, 2);
    EXPECT_EQ(Picture(*big, Legend), (Rows{"rr..", "rr..", "..bb", "..bb"}));

    auto part = FilledBitmap(4, 4, clWhite);
    DrawBitmapTransparent(part->Canvas(), 2, 0, glyph.get(), clRed);
    EXPECT_EQ(Picture(*part, Legend), (Rows{"...g", "..gb", "....", "...."}));

    // A monochrome bitmap uses white as the key, whatever colour is asked for.
    auto mono = FilledBitmap(2, 1, clWhite);
    mono->Canvas()->SetPixels(1, 0, clBlack);
    mono->SetMonochrome(true);
    auto onRed = FilledBitmap(2, 1, clRed);
    StretchBitmapTransparent(onRed->Canvas(), mono.get(), clBlack, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Picture(*onRed, Legend), (Rows{"r#"}));

    // Transparent drawing leaves the bitmap and its events alone.
    auto striped = FilledBitmap(3, 1, clRed);
    striped->Canvas()->SetPixels(1, 0, clBlue);
    int changes = 0;
    striped->OnChange = [&](TObject*) { ++changes; };
    auto row = FilledBitmap(3, 1, clWhite);
    StretchBitmapTransparent(row->Canvas(), striped.get(), clRed, 0, 0, 3, 1, 0, 0, 3, 1);
    EXPECT_EQ(Picture(*row, Legend), (Rows{".b."}));
    EXPECT_EQ(Picture(*striped, Legend), (Rows{"rbr"}));
    EXPECT_EQ(changes, 0);
    // The canvas handler is back: drawing on the bitmap notifies again.
    striped->Canvas()->SetPixels(0, 0, clLime);
    EXPECT_EQ(changes, 1);
}

TEST(Qvutils, StretchBltTransparentShrinksWithTheMask)
{
    // 4x1 source shrunk to 2x1: destination pixel 0 stands for source pixels 0-1,
    // pixel 1 for 2-3. The scratch bitmaps stretch with AND (their own default mode,
    // whatever the destination's): the mask of a fold is transparent only when all of
    // it is, and the masked colours AND a transparent pixel's black in, so a fold of
    // red and lime comes out black, as does blue and lime; lime and lime shows through.
    auto src = FilledBitmap(6, 1, clLime);
    src->Canvas()->SetPixels(0, 0, clRed);
    src->Canvas()->SetPixels(2, 0, clBlue);
    auto dest = FilledBitmap(3, 1, clWhite);
    SetStretchBltMode(dest->Canvas()->Handle(), COLORONCOLOR);
    StretchBltTransparent(dest->Canvas()->Handle(), 0, 0, 3, 1, src->Canvas()->Handle(), 0, 0, 6, 1, nullptr, clLime);
    EXPECT_EQ(Picture(*dest, Legend), (Rows{"##."}));
}

TEST(Qvutils, OnePassTransparentStretchEqualsTheMaskTechnique)
{
    // Random sources (some monochrome), sizes, stretch factors both ways, offsets
    // reaching outside both surfaces, keys and clipped destinations: the one-pass path
    // of StretchBltTransparent must leave exactly the pixels of the eight blits.
    std::mt19937 rng(16);
    const TColor keys[] = {clLime, clBlack, clWhite, clRed, RGB(1, 2, 3), clBtnFace};
    for (int round = 0; round < 300; ++round) {
        const int sw = 1 + int(rng() % 12), sh = 1 + int(rng() % 12);
        int srcX = int(rng() % (sw + 4)) - 2, srcY = int(rng() % (sh + 4)) - 2;
        int srcW = 1 + int(rng() % (sw + 2)), srcH = 1 + int(rng() % (sh + 2));
        if (round % 3 == 0) {
            // Every third a rectangle inside the source, drawn at its own size.
            srcX = int(rng() % uint32_t(sw));
            srcY = int(rng() % uint32_t(sh));
            srcW = 1 + int(rng() % uint32_t(sw - srcX));
            srcH = 1 + int(rng() % uint32_t(sh - srcY));
        }
        const int dw = round % 3 == 0 ? srcW : 1 + int(rng() % 24), dh = round % 3 == 0 ? srcH : 1 + int(rng() % 24);
        const int dstX = int(rng() % 12) - 4, dstY = int(rng() % 12) - 4;
        const TColor key = keys[rng() % 6];
        auto source = RandomBitmap(rng, sw, sh, rng() % 4 == 0 ? pf1bit : pf24bit);
        auto onePass = RandomBitmap(rng, 16, 16, pf24bit);
        TBitmap masked;
        masked.Assign(onePass.get());
        if (round % 5 == 0)
            for (TBitmap* b : {onePass.get(), &masked})
                IntersectClipRect(b->Canvas()->Handle(), 2, 3, 13, 11);
        SCOPED_TRACE(testing::Message() << "round " << round);
        // The inputs are all of the kind one pass takes.
        TBitmap scratch;
        scratch.SetSize(4, 4);
        EXPECT_TRUE(StretchKeyedOnePass(scratch.Canvas()->Handle(), dstX, dstY, dw, dh, source->Canvas()->Handle(), srcX,
            srcY, srcW, srcH, 0));
        StretchBltTransparent(onePass->Canvas()->Handle(), dstX, dstY, dw, dh, source->Canvas()->Handle(), srcX, srcY,
            srcW, srcH, nullptr, key);
        StretchBltMasked(masked.Canvas()->Handle(), dstX, dstY, dw, dh, source->Canvas()->Handle(), srcX, srcY, srcW,
            srcH, nullptr, key);
        EXPECT_EQ(onePass->ToQImage(), masked.ToQImage());
    }
}
