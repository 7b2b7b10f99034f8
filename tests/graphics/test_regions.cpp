#include "graphicstest.h"

#include "vcl/graphics/canvas.h"
#include "vcl/graphics/gdi.h"
#include "vcl/graphics/icon.h"

#include <gtest/gtest.h>
#include <climits>
#include <functional>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clRed, 'r'}, {clBlue, 'b'}, {clLime, 'g'}};

// Two overlapping rectangles: A covers x 0-3, y 0-1; B covers x 2-5, y 1-3.
HRGN RegionA() { return CreateRectRgn(0, 0, 4, 2); }
HRGN RegionB() { return CreateRectRgnIndirect(Rect(2, 1, 6, 4)); }

// Makes A combined with B by Mode the clip region of DC (a copy is selected, so the
// handles are freed at once).
void ClipTo(HDC DC, int Mode)
{
    HRGN a = RegionA(), b = RegionB();
    CombineRgn(a, a, b, Mode);
    SelectClipRgn(DC, a);
    DeleteObject(a);
    DeleteObject(b);
}

// The clip regions under test with their pixels ('X' drawable), worked out by hand.
struct ClipCase {
    const char* Name;
    std::function<void(HDC)> Select;
    Rows Mask;
};

const std::vector<ClipCase>& ClipCases()
{
    static const std::vector<ClipCase> cases = {
        {"union", [](HDC dc) { ClipTo(dc, RGN_OR); }, {"XXXX..", "XXXXXX", "..XXXX", "..XXXX"}},
        {"difference", [](HDC dc) { ClipTo(dc, RGN_DIFF); }, {"XXXX..", "XX....", "......", "......"}},
        {"xor", [](HDC dc) { ClipTo(dc, RGN_XOR); }, {"XXXX..", "XX..XX", "..XXXX", "..XXXX"}},
        {"intersect and exclude",
            [](HDC dc) {
                IntersectClipRect(dc, 1, 0, 5, 4);
                ExcludeClipRect(dc, 2, 1, 4, 3);
            },
            {".XXXX.", ".X..X.", ".X..X.", ".XXXX."}},
        {"combined with the clip",
            [](HDC dc) {
                // Without a clip the first combination starts from the whole surface.
                HRGN a = RegionA(), b = RegionB();
                ExtSelectClipRgn(dc, a, RGN_AND);
                ExtSelectClipRgn(dc, b, RGN_XOR);
                DeleteObject(a);
                DeleteObject(b);
            },
            {"XXXX..", "XX..XX", "..XXXX", "..XXXX"}},
        {"selected as an object",
            [](HDC dc) {
                HRGN a = RegionA();
                EXPECT_EQ(SelectObject(dc, a), reinterpret_cast<HGDIOBJ>(intptr_t(SIMPLEREGION)));
                DeleteObject(a);
            },
            {"XXXX..", "XXXX..", "......", "......"}},
    };
    return cases;
}

} // namespace

TEST(RegionClipping, DrawingReachesExactlyTheClipRegion)
{
    // Each drawing with what it paints unclipped on the white 6x4 surface.
    struct Drawing {
        const char* Name;
        std::function<void(HDC)> Draw;
        Rows Unclipped;
    };
    auto source = FilledBitmap(6, 4, clBlue);
    const Drawing drawings[] = {
        {"FillRect",
            [](HDC dc) {
                HBRUSH red = CreateSolidBrush(clRed);
                FillRect(dc, Rect(0, 0, 6, 4), red);
                DeleteObject(red);
            },
            {"rrrrrr", "rrrrrr", "rrrrrr", "rrrrrr"}},
        {"lines",
            [](HDC dc) {
                HPEN lime = CreatePen(PS_SOLID, 1, clLime);
                SelectObject(dc, lime);
                MoveToEx(dc, 0, 1, nullptr);
                LineTo(dc, 6, 1);
                MoveToEx(dc, 3, 0, nullptr);
                LineTo(dc, 3, 4);
                SelectObject(dc, GetStockObject(BLACK_PEN));
                DeleteObject(lime);
            },
            {"...g..", "gggggg", "...g..", "...g.."}},
        {"BitBlt",
            [&](HDC dc) { BitBlt(dc, 1, 0, 5, 4, source->Canvas()->Handle(), 0, 0, SRCCOPY); },
            {".bbbbb", ".bbbbb", ".bbbbb", ".bbbbb"}},
    };
    for (const ClipCase& clip : ClipCases())
        for (const Drawing& drawing : drawings) {
            SCOPED_TRACE(std::string(clip.Name) + " / " + drawing.Name);
            auto bmp = FilledBitmap(6, 4, clWhite);
            HDC dc = bmp->Canvas()->Handle();
            clip.Select(dc);
            drawing.Draw(dc);
            Rows expected = drawing.Unclipped;
            for (size_t y = 0; y < expected.size(); ++y)
                for (size_t x = 0; x < expected[y].size(); ++x)
                    if (clip.Mask[y][x] != 'X')
                        expected[y][x] = '.';
            EXPECT_EQ(Picture(*bmp, Legend), expected);
        }
}

TEST(RegionClipping, TextShapesAndStretchesChangeNoPixelOutsideTheClip)
{
    // Each drawing covers the whole 6x4 surface when unclipped, so every pixel inside
    // the clip must change and none outside it.
    auto source = FilledBitmap(3, 2, clBlue);
    const std::pair<const char*, std::function<void(TCanvas*)>> drawings[] = {
        {"TextOut",
            [](TCanvas* c) {
                HDC dc = c->Handle();
                HFONT font = CreateFontIndirect([] {
                    LOGFONT lf;
                    lf.lfHeight = -30;
                    lf.lfFaceName = TFont::DefaultName();
                    return lf;
                }());
                SelectObject(dc, font);
                SetBkMode(dc, OPAQUE);
                SetBkColor(dc, clYellow);
                TextOut(dc, 0, 0, QStringLiteral("WW"));
                SelectObject(dc, GetStockObject(SYSTEM_FONT));
                DeleteObject(font);
            }},
        {"Ellipse", [](TCanvas* c) { c->Brush()->SetColor(clRed); c->Ellipse(-3, -3, 10, 8); }},
        {"Polygon", [](TCanvas* c) { c->Brush()->SetColor(clRed); c->Polygon({{-1, -1}, {20, -1}, {-1, 20}}); }},
        {"wide pen", [](TCanvas* c) { c->Pen()->SetWidth(5); c->MoveTo(0, 2); c->LineTo(6, 2); }},
        {"StretchBlt", [&](TCanvas* c) { c->CopyRect(Rect(0, 0, 6, 4), source->Canvas(), Rect(0, 0, 3, 2)); }},
        {"BrushCopy",
            [&](TCanvas* c) { c->Brush()->SetColor(clRed); c->BrushCopy(Rect(0, 0, 6, 4), source.get(), Rect(0, 0, 3, 2), clBlue); }},
        {"icon",
            [](TCanvas* c) {
                QImage red(3, 2, QImage::Format_ARGB32);
                red.fill(Qt::red);
                TIcon icon;
                icon.AssignImage(red);
                c->StretchDraw(Rect(0, 0, 6, 4), &icon);
            }},
        {"pixels",
            [](TCanvas* c) {
                for (int i = 0; i < 24; ++i)
                    c->SetPixels(i % 6, i / 6, clRed);
            }},
    };
    for (const ClipCase& clip : ClipCases())
        for (const auto& [name, draw] : drawings) {
            SCOPED_TRACE(std::string(clip.Name) + " / " + name);
            auto bmp = FilledBitmap(6, 4, clWhite);
            clip.Select(bmp->Canvas()->Handle());
            draw(bmp->Canvas());
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 6; ++x)
                    EXPECT_EQ(bmp->Canvas()->Pixels(x, y) != clWhite, clip.Mask[size_t(y)][size_t(x)] == 'X')
                        << "pixel " << x << "," << y;
        }
}

TEST(Regions, CombineGivesTheKindAndBoxOfTheResult)
{
    // Boxes and kinds worked out by hand; a union or XOR that forms one rectangle is
    // merged into a simple region, as on the platform.
    struct Row {
        TRect A, B;
        int Mode, Kind;
        TRect Box;
    };
    const TRect a{0, 0, 4, 2}, b{2, 1, 6, 4}, left{0, 0, 2, 2}, right{2, 0, 4, 2}, below{0, 2, 2, 3};
    const Row rows[] = {
        {a, b, RGN_AND, SIMPLEREGION, {2, 1, 4, 2}},
        {a, b, RGN_OR, COMPLEXREGION, {0, 0, 6, 4}},
        {a, b, RGN_XOR, COMPLEXREGION, {0, 0, 6, 4}},
        {a, b, RGN_DIFF, COMPLEXREGION, {0, 0, 4, 2}},
        {a, b, RGN_COPY, SIMPLEREGION, {0, 0, 4, 2}},
        {left, right, RGN_AND, NULLREGION, {}}, // touching edges do not overlap
        {left, right, RGN_OR, SIMPLEREGION, {0, 0, 4, 2}},
        {left, right, RGN_XOR, SIMPLEREGION, {0, 0, 4, 2}},
        {left, below, RGN_OR, SIMPLEREGION, {0, 0, 2, 3}},
        {a, a, RGN_DIFF, NULLREGION, {}},
        {a, a, RGN_XOR, NULLREGION, {}},
        {a, b, 0, ERROR, {}},
        {a, b, 6, ERROR, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.Mode << " B " << row.B.Left << "," << row.B.Top);
        HRGN ra = CreateRectRgnIndirect(row.A), rb = CreateRectRgnIndirect(row.B);
        // The destination is the first source, as callers often write it.
        EXPECT_EQ(CombineRgn(ra, ra, rb, row.Mode), row.Kind);
        TRect box{9, 9, 9, 9};
        if (row.Kind != ERROR) {
            EXPECT_EQ(GetRgnBox(ra, box), row.Kind);
            EXPECT_EQ(box, row.Box);
        }
        DeleteObject(ra);
        DeleteObject(rb);
    }
}

TEST(Regions, RightAndBottomEdgesAreExclusiveAndNullOrFreedHandlesAreRefused)
{
    HRGN r = CreateRectRgn(4, 6, 1, 2); // swapped edges are put in order: (1, 2, 4, 6)
    TRect box;
    EXPECT_EQ(GetRgnBox(r, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(1, 2, 4, 6));
    const std::tuple<int, int, bool> points[] = {
        {1, 2, true}, {3, 5, true}, {4, 5, false}, {3, 6, false}, {0, 2, false}, {1, 1, false}};
    for (const auto& [x, y, inside] : points)
        EXPECT_EQ(PtInRegion(r, x, y), inside) << x << "," << y;
    EXPECT_EQ(OffsetRgn(r, -1, 1), SIMPLEREGION);
    EXPECT_EQ(GetRgnBox(r, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 3, 3, 7));
    EXPECT_TRUE(PtInRegion(r, 0, 3));
    EXPECT_FALSE(PtInRegion(r, 3, 3));
    // Moving past the coordinate range fails and leaves the region where it was.
    EXPECT_EQ(OffsetRgn(r, INT_MAX, 0), ERROR);
    EXPECT_EQ(OffsetRgn(r, 0, INT_MIN), ERROR);
    GetRgnBox(r, box);
    EXPECT_EQ(box, Rect(0, 3, 3, 7));
    DeleteObject(r);

    HRGN empty = CreateRectRgn(3, 3, 3, 9);
    box = Rect(1, 1, 1, 1);
    EXPECT_EQ(GetRgnBox(empty, box), NULLREGION);
    EXPECT_EQ(box, TRect{});
    EXPECT_FALSE(PtInRegion(empty, 3, 3));
    EXPECT_EQ(OffsetRgn(empty, INT_MAX, INT_MAX), NULLREGION);
    DeleteObject(empty);

    // Extreme edges are limited to the coordinate range instead of overflowing.
    HRGN huge = CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(PtInRegion(huge, 0, 0));
    EXPECT_TRUE(PtInRegion(huge, -100000, 100000));
    EXPECT_EQ(GetRgnBox(huge, box), SIMPLEREGION);
    EXPECT_LT(box.Left, 0);
    EXPECT_GT(box.Right, 0);
    DeleteObject(huge);

    // Null and freed handles are refused.
    HDC dc = CreateCompatibleDC(nullptr);
    HRGN live = CreateRectRgn(0, 0, 1, 1);
    HRGN freed = CreateRectRgn(0, 0, 2, 2);
    EXPECT_TRUE(DeleteObject(freed));
    // freed is only compared, never read, from here on.
    EXPECT_FALSE(DeleteObject(freed));
    for (HRGN bad : {static_cast<HRGN>(nullptr), freed}) {
        SCOPED_TRACE(bad ? "freed" : "null");
        TRect unread{1, 2, 3, 4};
        EXPECT_EQ(CombineRgn(bad, live, live, RGN_OR), ERROR);
        EXPECT_EQ(CombineRgn(live, bad, live, RGN_OR), ERROR);
        EXPECT_EQ(CombineRgn(live, live, bad, RGN_AND), ERROR);
        EXPECT_EQ(OffsetRgn(bad, 1, 1), ERROR);
        EXPECT_FALSE(PtInRegion(bad, 0, 0));
        EXPECT_EQ(GetRgnBox(bad, unread), ERROR);
        EXPECT_EQ(unread, Rect(1, 2, 3, 4));
    }
    EXPECT_EQ(SelectClipRgn(dc, freed), ERROR);
    EXPECT_EQ(ExtSelectClipRgn(dc, freed, RGN_AND), ERROR);
    EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_OR), ERROR);
    EXPECT_EQ(ExtSelectClipRgn(dc, live, 99), ERROR);
    EXPECT_EQ(GetClipRgn(dc, freed), -1);
    EXPECT_EQ(GetClipRgn(nullptr, live), -1);
    // The second source is not read when copying.
    EXPECT_EQ(CombineRgn(live, live, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(SelectClipRgn(nullptr, live), ERROR);
    EXPECT_EQ(IntersectClipRect(nullptr, 0, 0, 1, 1), ERROR);
    EXPECT_EQ(ExcludeClipRect(nullptr, 0, 0, 1, 1), ERROR);
    EXPECT_EQ(GetClipBox(nullptr, box), ERROR);
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_FALSE(RestoreDC(nullptr, -1));
    DeleteObject(live);
    DeleteDC(dc);
}

TEST(RegionClipping, ClipIsACopyAndSurvivesSaveAndRestore)
{
    auto bmp = FilledBitmap(6, 4, clWhite);
    HDC dc = bmp->Canvas()->Handle();
    TRect box;
    EXPECT_EQ(GetClipBox(dc, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 6, 4));
    HRGN left = CreateRectRgn(0, 0, 3, 4);
    HRGN copy = CreateRectRgn(9, 9, 10, 10);
    EXPECT_EQ(GetClipRgn(dc, copy), 0);
    EXPECT_EQ(SelectClipRgn(dc, left), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    EXPECT_EQ(GetRgnBox(copy, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 3, 4));
    DeleteObject(copy);
    // Changing or freeing the region afterwards leaves the selected copy alone.
    OffsetRgn(left, 3, 0);
    DeleteObject(left);
    EXPECT_EQ(SaveDC(dc), 1);
    EXPECT_EQ(ExcludeClipRect(dc, 1, 1, 2, 2), COMPLEXREGION);
    SetBkColor(dc, clLime);
    EXPECT_EQ(SaveDC(dc), 2);
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    SetBkColor(dc, clBlue);
    EXPECT_EQ(GetClipBox(dc, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 6, 4));

    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetBkColor(dc), clLime);
    EXPECT_EQ(GetClipBox(dc, box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(0, 0, 3, 4));
    EXPECT_EQ(bmp->Canvas()->ClipRect(), Rect(0, 0, 3, 4));
    HBRUSH red = CreateSolidBrush(clRed);
    FillRect(dc, Rect(0, 0, 6, 4), red);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"rrr...", "r.r...", "rrr...", "rrr..."}));

    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetClipBox(dc, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 3, 4));
    FillRect(dc, Rect(0, 0, 6, 4), red);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"rrr...", "rrr...", "rrr...", "rrr..."}));
    // Restoring drops the restored level and every later one.
    EXPECT_FALSE(RestoreDC(dc, 1));
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_EQ(SaveDC(dc), 1);
    EXPECT_FALSE(RestoreDC(dc, 0));
    EXPECT_FALSE(RestoreDC(dc, 2));
    EXPECT_FALSE(RestoreDC(dc, -2));
    EXPECT_TRUE(RestoreDC(dc, -1));
    DeleteObject(red);

    // A memory context gets its selected bitmap back.
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 2, 2);
    SaveDC(memory);
    SelectObject(memory, bitmap);
    EXPECT_TRUE(RestoreDC(memory, -1));
    EXPECT_NE(SelectObject(memory, bitmap), bitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
}
