#include "graphicstest.h"

#include "vcl/graphics/canvas.h"
#include "vcl/graphics/gdi.h"

#include <gtest/gtest.h>
#include <functional>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}, {clSilver, 'l'}, {clGray, 's'}};

// A bitmap whose pixels are the given colours in one row.
std::unique_ptr<TBitmap> RowBitmap(const std::vector<TColor>& Colors)
{
    auto bmp = FilledBitmap(int(Colors.size()), 1, clWhite);
    for (size_t i = 0; i < Colors.size(); ++i)
        bmp->Canvas()->SetPixels(int(i), 0, Colors[i]);
    return bmp;
}

} // namespace

TEST(RasterOperations, TruthTablesOverAllPatternSourceDestinationCombinations)
{
    using Fn = std::function<bool(bool P, bool S, bool D)>;
    struct Op {
        const char* Name;
        DWORD Rop;
        Fn Expected;
    };
    const Op ops[] = {
        {"SRCCOPY", SRCCOPY, [](bool, bool s, bool) { return s; }},
        {"SRCPAINT", SRCPAINT, [](bool, bool s, bool d) { return s || d; }},
        {"SRCAND", SRCAND, [](bool, bool s, bool d) { return s && d; }},
        {"SRCINVERT", SRCINVERT, [](bool, bool s, bool d) { return s != d; }},
        {"SRCERASE", SRCERASE, [](bool, bool s, bool d) { return s && !d; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](bool, bool s, bool) { return !s; }},
        {"NOTSRCERASE", NOTSRCERASE, [](bool, bool s, bool d) { return !(s || d); }},
        {"MERGECOPY", MERGECOPY, [](bool p, bool s, bool) { return p && s; }},
        {"MERGEPAINT", MERGEPAINT, [](bool, bool s, bool d) { return !s || d; }},
        {"PATCOPY", PATCOPY, [](bool p, bool, bool) { return p; }},
        {"PATPAINT", PATPAINT, [](bool p, bool s, bool d) { return p || !s || d; }},
        {"PATINVERT", PATINVERT, [](bool p, bool, bool d) { return p != d; }},
        {"DSTINVERT", DSTINVERT, [](bool, bool, bool d) { return !d; }},
        {"BLACKNESS", BLACKNESS, [](bool, bool, bool) { return false; }},
        {"WHITENESS", WHITENESS, [](bool, bool, bool) { return true; }},
    };
    // Pixel i holds pattern bit 2, source bit 1 and destination bit 0 of i.
    std::vector<TColor> pattern, source, dest;
    for (int i = 0; i < 8; ++i) {
        pattern.push_back((i & 4) ? clWhite : clBlack);
        source.push_back((i & 2) ? clWhite : clBlack);
        dest.push_back((i & 1) ? clWhite : clBlack);
    }
    auto patternBitmap = RowBitmap(pattern);
    auto src = RowBitmap(source);
    for (const Op& op : ops) {
        auto dst = RowBitmap(dest);
        HBRUSH brush = CreatePatternBrush(patternBitmap->Handle());
        HGDIOBJ old = SelectObject(dst->Canvas()->Handle(), brush);
        BitBlt(dst->Canvas()->Handle(), 0, 0, 8, 1, src->Canvas()->Handle(), 0, 0, op.Rop);
        SelectObject(dst->Canvas()->Handle(), old);
        DeleteObject(brush);
        for (int i = 0; i < 8; ++i) {
            const bool expected = op.Expected(i & 4, i & 2, i & 1);
            EXPECT_EQ(dst->Canvas()->Pixels(i, 0), expected ? clWhite : clBlack) << op.Name << " P,S,D=" << ((i >> 2) & 1)
                                                                                  << ((i >> 1) & 1) << (i & 1);
        }
    }
}

TEST(RasterOperations, WorkBitwiseOnColours)
{
    auto src = RowBitmap({0x123456});
    struct Case {
        DWORD Rop;
        TColor Expected;
    };
    const Case cases[] = {{SRCAND, 0x123456 & 0x0FF00F}, {SRCPAINT, 0x123456 | 0x0FF00F}, {SRCINVERT, 0x123456 ^ 0x0FF00F},
        {NOTSRCCOPY, ~0x123456 & 0xFFFFFF}, {DSTINVERT, ~0x0FF00F & 0xFFFFFF}};
    for (const Case& c : cases) {
        auto dst = RowBitmap({0x0FF00F});
        BitBlt(dst->Canvas()->Handle(), 0, 0, 1, 1, src->Canvas()->Handle(), 0, 0, c.Rop);
        EXPECT_EQ(dst->Canvas()->Pixels(0, 0), c.Expected) << std::hex << c.Rop;
    }
}

TEST(MonochromeConversion, BackgroundColourBecomesWhiteAndBackAndBrushesSnapToBlackOrWhite)
{
    auto colour = RowBitmap({clRed, clWhite, clBlue, clRed});
    HDC source = colour->Canvas()->Handle();
    SetBkColor(source, clRed);
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP bits = CreateBitmap(4, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(mono, bits);
    BitBlt(mono, 0, 0, 4, 1, source, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(mono, 0, 0), clWhite);
    EXPECT_EQ(GetPixel(mono, 1, 0), clBlack);
    EXPECT_EQ(GetPixel(mono, 2, 0), clBlack);
    EXPECT_EQ(GetPixel(mono, 3, 0), clWhite);

    // Monochrome to colour: white takes the background colour, black the text colour.
    auto dest = RowBitmap({clBlack, clBlack, clBlack, clBlack});
    SetBkColor(dest->Canvas()->Handle(), clYellow);
    SetTextColor(dest->Canvas()->Handle(), clBlue);
    BitBlt(dest->Canvas()->Handle(), 0, 0, 4, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(Picture(*dest, Legend), (Rows{"ybby"}));
    SelectObject(mono, old);
    DeleteObject(bits);

    // Brushes snap to black or white.
    HBITMAP three = CreateBitmap(3, 1, 1, 1, nullptr);
    old = SelectObject(mono, three);
    HBRUSH light = CreateSolidBrush(RGB(200, 200, 200));
    HBRUSH dark = CreateSolidBrush(RGB(100, 100, 100));
    FillRect(mono, Rect(0, 0, 2, 1), light);
    FillRect(mono, Rect(1, 0, 3, 1), dark);
    EXPECT_EQ(GetPixel(mono, 0, 0), clWhite);
    EXPECT_EQ(GetPixel(mono, 1, 0), clBlack);
    DeleteObject(light);
    DeleteObject(dark);
    SelectObject(mono, old);
    DeleteObject(three);
    DeleteDC(mono);
}

TEST(StretchModes, ShrinkingCombinesOrDeletesLines)
{
    struct Case {
        int Mode;
        std::string Expected;
    };
    const Case cases[] = {
        {COLORONCOLOR, "rb"},
        {BLACKONWHITE, "#b"}, // red AND lime, blue AND white
        {WHITEONBLACK, "y."}, // red OR lime, blue OR white
    };
    auto src = RowBitmap({clRed, clLime, clBlue, clWhite});
    for (const Case& c : cases) {
        auto dst = FilledBitmap(2, 1, clGray);
        SetStretchBltMode(dst->Canvas()->Handle(), c.Mode);
        StretchBlt(dst->Canvas()->Handle(), 0, 0, 2, 1, src->Canvas()->Handle(), 0, 0, 4, 1, SRCCOPY);
        EXPECT_EQ(Picture(*dst, Legend)[0], c.Expected) << c.Mode;
    }
}

TEST(StretchModes, EnlargingRepeatsNegativeExtentsMirrorAndOutsideIsLeft)
{
    auto src = RowBitmap({clRed, clBlue});
    auto dst = FilledBitmap(4, 1, clWhite);
    StretchBlt(dst->Canvas()->Handle(), 0, 0, 4, 1, src->Canvas()->Handle(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(Picture(*dst, Legend)[0], "rrbb");
    StretchBlt(dst->Canvas()->Handle(), 3, 0, -4, 1, src->Canvas()->Handle(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(Picture(*dst, Legend)[0], "bbrr");
    StretchBlt(dst->Canvas()->Handle(), 0, 0, 4, 1, src->Canvas()->Handle(), 1, 0, -2, 1, SRCCOPY);
    EXPECT_EQ(Picture(*dst, Legend)[0], "bbrr");
    // A source outside its surface leaves the destination.
    dst = FilledBitmap(4, 1, clWhite);
    BitBlt(dst->Canvas()->Handle(), 0, 0, 4, 1, src->Canvas()->Handle(), -1, 0, SRCCOPY);
    EXPECT_EQ(Picture(*dst, Legend)[0], ".rb.");
}

TEST(PatternBlits, NegativeExtentsPatInvertTwiceAndCheckerBrushesAlignedToTheOrigin)
{
    auto bmp = FilledBitmap(5, 1, clWhite);
    HDC dc = bmp->Canvas()->Handle();
    HBRUSH red = CreateSolidBrush(clRed);
    HGDIOBJ old = SelectObject(dc, red);
    PatBlt(dc, 3, 0, -2, 1, PATCOPY);
    EXPECT_EQ(Picture(*bmp, Legend)[0], "..rr.");
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    PatBlt(dc, 0, 0, 5, 1, PATINVERT);
    EXPECT_EQ(Picture(*bmp, Legend)[0], "##??#");
    PatBlt(dc, 0, 0, 5, 1, PATINVERT);
    EXPECT_EQ(Picture(*bmp, Legend)[0], "..rr.");
    SelectObject(dc, old);
    DeleteObject(red);

    // Checker pattern brushes align to the origin.
    const uint8_t checker[16] = {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, checker);
    HBRUSH brush = CreatePatternBrush(pattern);
    auto checked = FilledBitmap(4, 2, clWhite);
    dc = checked->Canvas()->Handle();
    SelectObject(dc, brush);
    PatBlt(dc, 0, 0, 4, 2, PATINVERT);
    // 0x55 sets the odd columns of even rows: white bits XOR the background (white)
    // colour invert; black bits XOR the text colour (black) leave the pixel.
    EXPECT_EQ(Picture(*checked, Legend), (Rows{".#.#", "#.#."}));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    DeleteObject(pattern);
}

TEST(Edges, RaisedSunkenAdjustAndOnlyTheRequestedSides)
{
    struct Case {
        UINT Edge;
        Rows Expected;
    };
    const Case cases[] = {
        {EDGE_RAISED, {"lll#", "l.s#", "lss#", "####"}},
        {EDGE_SUNKEN, {"sss.", "s#l.", "sll.", "...."}},
        {EDGE_ETCHED, {"sss.", "s.s.", "sss.", "...."}},
        {BDR_RAISEDINNER, {"...s", ".rrs", ".rrs", "ssss"}},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(4, 4, clRed);
        TRect r = Rect(0, 0, 4, 4);
        DrawEdge(bmp->Canvas()->Handle(), r, c.Edge, BF_RECT | BF_ADJUST);
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected) << c.Edge;
        const int width = (c.Edge & BDR_OUTER) && (c.Edge & BDR_INNER) ? 2 : 1;
        EXPECT_EQ(r, Rect(width, width, 4 - width, 4 - width));
    }
    // Only the requested sides, and no adjustment unless asked for.
    auto bmp = FilledBitmap(4, 3, clRed);
    TRect r = Rect(0, 0, 4, 3);
    DrawEdge(bmp->Canvas()->Handle(), r, BDR_SUNKENOUTER, BF_TOP | BF_RIGHT);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"sss.", "rrr.", "rrr."}));
    EXPECT_EQ(r, Rect(0, 0, 4, 3));
}

TEST(Text, CalcRectWordBreakAndVerticalCentre)
{
    auto bmp = FilledBitmap(200, 60, clWhite);
    HDC dc = bmp->Canvas()->Handle();
    TSize one;
    GetTextExtentPoint32(dc, QStringLiteral("Hello"), -1, one);
    TRect r = Rect(10, 5, 10, 5);
    EXPECT_EQ(DrawText(dc, QStringLiteral("Hello"), -1, r, DT_CALCRECT | DT_SINGLELINE), one.cy);
    EXPECT_EQ(r, Rect(10, 5, 10 + one.cx, 5 + one.cy));

    TSize two;
    GetTextExtentPoint32(dc, QStringLiteral("aaa bbb"), -1, two);
    TRect wrap = Rect(0, 0, two.cx + 1, 0);
    EXPECT_EQ(DrawText(dc, QStringLiteral("aaa bbb ccc"), -1, wrap, DT_CALCRECT | DT_WORDBREAK), 2 * one.cy);
    EXPECT_EQ(wrap.Bottom, 2 * one.cy);
    EXPECT_LE(wrap.Right, two.cx + 1);

    TRect tabs = Rect(0, 0, 0, 0);
    DrawText(dc, QStringLiteral("a\tb"), -1, tabs, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    TSize b;
    GetTextExtentPoint32(dc, QStringLiteral("b"), -1, b);
    EXPECT_EQ(tabs.Right, 8 * tm.tmAveCharWidth + b.cx);

    SetBkMode(dc, TRANSPARENT);
    TRect box = Rect(0, 0, 200, 60);
    DrawText(dc, QStringLiteral("Hello"), -1, box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    int top = 60, bottom = -1, left = 200, right = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (bmp->Canvas()->Pixels(x, y) != clWhite) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int cellTop = (60 - one.cy) / 2;
    EXPECT_GE(top, cellTop);
    EXPECT_LT(bottom, cellTop + one.cy);
    EXPECT_GE(left, (200 - one.cx) / 2 - 1);
    EXPECT_LE(right, (200 + one.cx) / 2 + 1);
}

TEST(Text, EndEllipsisStaysInsideAndPrefixUnderlines)
{
    auto plain = FilledBitmap(120, 30, clWhite);
    auto prefixed = FilledBitmap(120, 30, clWhite);
    TRect r = Rect(0, 0, 120, 30);
    DrawText(plain->Canvas()->Handle(), QStringLiteral("File"), -1, r, DT_SINGLELINE | DT_NOPREFIX);
    DrawText(prefixed->Canvas()->Handle(), QStringLiteral("&File"), -1, r, DT_SINGLELINE);
    int onlyPrefixed = 0, onlyPlain = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool a = plain->Canvas()->Pixels(x, y) != clWhite;
            const bool b = prefixed->Canvas()->Pixels(x, y) != clWhite;
            onlyPrefixed += b && !a;
            onlyPlain += a && !b;
        }
    EXPECT_GT(onlyPrefixed, 2);
    EXPECT_EQ(onlyPlain, 0);

    auto narrow = FilledBitmap(100, 20, clWhite);
    TRect cut = Rect(10, 0, 50, 20);
    DrawText(narrow->Canvas()->Handle(), QStringLiteral("A long caption that does not fit"), -1, cut,
        DT_SINGLELINE | DT_END_ELLIPSIS);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            if (x < 10 || x >= 50) {
                EXPECT_EQ(narrow->Canvas()->Pixels(x, y), clWhite) << x << "," << y;
            }
}

TEST(DeviceContexts, MemoryContextStartsMonochromeAndSelectReturnsPrevious)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP compatible = CreateCompatibleBitmap(dc, 2, 2);
    EXPECT_TRUE(compatible->Monochrome);
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 2, 2);
    EXPECT_FALSE(colour->Monochrome);
    HGDIOBJ first = SelectObject(dc, colour);
    EXPECT_EQ(SelectObject(dc, first), colour);
    EXPECT_EQ(GetPixel(dc, 5, 5), CLR_INVALID);
    DeleteObject(compatible);
    DeleteObject(colour);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(CreateBitmap(2, 2, 2, 1, nullptr), nullptr);
}

TEST(BlockTransfers, SameSizeCopiesFollowThePixelRuleOnRandomRectanglesClipsAndOperations)
{
    // The rule, written out here: a destination pixel inside the target rectangle, the
    // clip and the surface whose source pixel lies inside the source surface becomes
    // op(source with alpha forced opaque, destination); every other pixel is left. The
    // operations' truth tables by hand: SRCCOPY s, SRCINVERT s ^ d, SRCAND s & d,
    // NOTSRCCOPY ~s, MERGEPAINT ~s | d; results are opaque.
    struct Op {
        DWORD Rop;
        uint32_t (*Apply)(uint32_t S, uint32_t D);
    };
    const Op ops[] = {
        {SRCCOPY, [](uint32_t S, uint32_t) { return S; }},
        {SRCINVERT, [](uint32_t S, uint32_t D) { return S ^ D; }},
        {SRCAND, [](uint32_t S, uint32_t D) { return S & D; }},
        {NOTSRCCOPY, [](uint32_t S, uint32_t) { return ~S; }},
        {MERGEPAINT, [](uint32_t S, uint32_t D) { return ~S | D; }},
    };
    std::mt19937 rng(20261207);
    auto randomBitmap = [&](int w, int h) {
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetSize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bmp->ScanLine(y)[x] = rng(); // any alpha, too
        return bmp;
    };
    for (int round = 0; round < 200; ++round) {
        const Op& op = ops[round % 3 == 0 ? 1 + round % 4 : 0];
        const int sw = 1 + int(rng() % 40), sh = 1 + int(rng() % 30), dw = 1 + int(rng() % 40), dh = 1 + int(rng() % 30);
        const auto src = randomBitmap(sw, sh), dst = randomBitmap(dw, dh);
        const QImage before = dst->Handle()->Image.copy();
        const int x = int(rng() % 50) - 10, y = int(rng() % 40) - 10, w = 1 + int(rng() % 45), h = 1 + int(rng() % 35);
        const int xs = int(rng() % 50) - 10, ys = int(rng() % 40) - 10;
        const QRect clip(int(rng() % 50) - 10, int(rng() % 40) - 10, 1 + int(rng() % 50), 1 + int(rng() % 40));
        const bool clipped = round % 2 == 1;
        if (clipped)
            IntersectClipRect(dst->Canvas()->Handle(), clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1);
        BitBlt(dst->Canvas()->Handle(), x, y, w, h, src->Canvas()->Handle(), xs, ys, op.Rop);
        SCOPED_TRACE(testing::Message() << "round " << round);
        int differ = 0;
        for (int py = 0; py < dh; ++py)
            for (int px = 0; px < dw; ++px) {
                const int sx = px - x + xs, sy = py - y + ys;
                const bool reached = px >= x && px < x + w && py >= y && py < y + h && (!clipped || clip.contains(px, py))
                    && sx >= 0 && sx < sw && sy >= 0 && sy < sh;
                const uint32_t d = reinterpret_cast<const uint32_t*>(before.constScanLine(py))[px];
                const uint32_t want = reached ? op.Apply(src->ScanLine(sy)[sx] | 0xFF000000u, d) | 0xFF000000u : d;
                differ += dst->ScanLine(py)[px] != want;
            }
        EXPECT_EQ(differ, 0);
    }
}
