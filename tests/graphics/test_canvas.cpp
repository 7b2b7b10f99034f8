#include "graphicstest.h"

#include "vcl/graphics/canvas.h"

#include <gtest/gtest.h>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}};

} // namespace

TEST(CanvasLines, EndPointIsExcluded)
{
    struct Case {
        TPoint From, To;
        Rows Expected;
    };
    const Case cases[] = {
        {{0, 0}, {4, 0}, {"####.", ".....", ".....", ".....", "....."}},
        {{4, 4}, {0, 4}, {".....", ".....", ".....", ".....", ".####"}},
        {{1, 0}, {1, 3}, {".#...", ".#...", ".#...", ".....", "....."}},
        {{0, 0}, {4, 4}, {"#....", ".#...", "..#..", "...#.", "....."}},
        {{4, 0}, {0, 4}, {"....#", "...#.", "..#..", ".#...", "....."}},
        {{2, 2}, {2, 2}, {".....", ".....", ".....", ".....", "....."}},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(5, 5, clWhite);
        bmp->Canvas()->MoveTo(c.From.X, c.From.Y);
        bmp->Canvas()->LineTo(c.To.X, c.To.Y);
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected) << c.From.X << "," << c.From.Y << " -> " << c.To.X << "," << c.To.Y;
        EXPECT_EQ(bmp->Canvas()->PenPos(), c.To);
    }
}

TEST(CanvasLines, PolylineDrawsJointsOnceAndLeavesLastPoint)
{
    auto bmp = FilledBitmap(4, 4, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetColor(clWhite);
    // XOR with white inverts; a pixel drawn twice would come back white.
    canvas->Polyline({{0, 0}, {3, 0}, {3, 3}, {0, 3}});
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"####", "...#", "...#", ".###"}));
    canvas->Polyline({{0, 0}, {3, 0}, {3, 3}, {0, 3}});
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"....", "....", "....", "...."}));
}

TEST(CanvasLines, ClearPenDrawsNothingAndDashesAlternate)
{
    auto bmp = FilledBitmap(30, 1, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Pen()->SetStyle(psClear);
    canvas->MoveTo(0, 0);
    canvas->LineTo(30, 0);
    EXPECT_EQ(Picture(*bmp, Legend)[0], std::string(30, '.'));
    canvas->Pen()->SetStyle(psDot);
    canvas->Brush()->SetStyle(bsClear);
    canvas->MoveTo(0, 0);
    canvas->LineTo(30, 0);
    EXPECT_EQ(Picture(*bmp, Legend)[0], "###...###...###...###...###...");
}

TEST(CanvasRectangles, OutlineFillExclusiveEdgesNormalisedAndClearPen)
{
    struct Case {
        TPenStyle Pen;
        TRect R;
        Rows Expected;
    };
    const Rows outlined{".####.", ".#rr#.", ".#rr#.", ".####.", "......"};
    const Case cases[] = {
        {psSolid, Rect(1, 0, 5, 4), outlined},
        {psSolid, Rect(5, 4, 1, 0), outlined}, // an inverted rectangle is normalised
        // Without a pen the fill is one pixel smaller on the right and bottom.
        {psClear, Rect(0, 0, 4, 3), {"rrr...", "rrr...", "......", "......", "......"}},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(6, 5, clWhite);
        bmp->Canvas()->Pen()->SetStyle(c.Pen);
        bmp->Canvas()->Brush()->SetColor(clRed);
        bmp->Canvas()->Rectangle(c.R.Left, c.R.Top, c.R.Right, c.R.Bottom);
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected) << c.R.Left << "," << c.R.Top << "," << c.R.Right << "," << c.R.Bottom;
    }
}

TEST(CanvasRectangles, FillRectRulesIncludingInverted)
{
    struct Case {
        TRect R;
        Rows Expected;
    };
    const Case cases[] = {
        {Rect(1, 1, 3, 3), {".....", ".rr..", ".rr..", "....."}},
        {Rect(0, 0, 0, 4), {".....", ".....", ".....", "....."}},
        // A negative width covers Right+1 .. Left.
        {Rect(3, 0, 1, 1), {"..rr.", ".....", ".....", "....."}},
        {Rect(0, 3, 1, 1), {".....", ".....", "r....", "r...."}},
        {Rect(-2, -2, 2, 1), {"rr...", ".....", ".....", "....."}},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(5, 4, clWhite);
        bmp->Canvas()->Brush()->SetColor(clRed);
        bmp->Canvas()->FillRect(c.R);
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected) << c.R.Left << "," << c.R.Top << "," << c.R.Right << "," << c.R.Bottom;
    }
}

TEST(CanvasRectangles, FrameRectAndFocusRect)
{
    auto bmp = FilledBitmap(5, 4, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetColor(clBlue);
    canvas->FrameRect(Rect(0, 0, 5, 4));
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"bbbbb", "b...b", "b...b", "bbbbb"}));

    auto focus = FilledBitmap(5, 4, clWhite);
    focus->Canvas()->DrawFocusRect(Rect(0, 0, 5, 4));
    EXPECT_EQ(Picture(*focus, Legend), (Rows{"#.#.#", ".....", "#...#", ".#.#."}));
    focus->Canvas()->DrawFocusRect(Rect(0, 0, 5, 4));
    EXPECT_EQ(Picture(*focus, Legend), (Rows{".....", ".....", ".....", "....."}));
}

TEST(CanvasRectangles, Frame3DBottomRightWinsCorners)
{
    auto bmp = FilledBitmap(5, 4, clWhite);
    TRect r = Rect(0, 0, 5, 4);
    Frame3D(bmp->Canvas(), r, clRed, clBlue, 1);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"rrrrb", "r...b", "r...b", "bbbbb"}));
    EXPECT_EQ(r, Rect(1, 1, 4, 3));
    Frame3D(bmp->Canvas(), r, clLime, clYellow, 1);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"rrrrb", "rggyb", "ryyyb", "bbbbb"}));
}

TEST(CanvasPixels, OutsideReadsMinusOneAndWritesNothing)
{
    auto bmp = FilledBitmap(3, 3, clWhite);
    TCanvas* canvas = bmp->Canvas();
    EXPECT_EQ(canvas->Pixels(-1, 0), -1);
    EXPECT_EQ(canvas->Pixels(3, 0), -1);
    EXPECT_EQ(canvas->Pixels(0, 3), -1);
    canvas->SetPixels(5, 5, clRed);
    canvas->SetPixels(1, 1, clBtnShadow);
    EXPECT_EQ(canvas->Pixels(1, 1), 0x808080);
    canvas->SetPixels(2, 2, 0x02123456);
    EXPECT_EQ(canvas->Pixels(2, 2), 0x123456);
}

TEST(CanvasShapes, EllipseStaysInsideItsBoxAndIsSymmetric)
{
    auto bmp = FilledBitmap(12, 10, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->Ellipse(1, 1, 11, 9);
    const Rows pic = Picture(*bmp, Legend);
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(pic[0][size_t(x)], '.');
        EXPECT_EQ(pic[9][size_t(x)], '.');
    }
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(pic[size_t(y)][0], '.');
        EXPECT_EQ(pic[size_t(y)][11], '.');
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(pic[size_t(y)][size_t(x)], pic[size_t(y)][size_t(11 - x)]) << x << "," << y;
    }
    EXPECT_EQ(pic[4][5], 'r');
    EXPECT_EQ(pic[1][5], '#');
    EXPECT_EQ(pic[4][1], '#');
    EXPECT_EQ(pic[4][10], '#');
    EXPECT_EQ(pic[8][5], '#');
}

TEST(CanvasShapes, PieAndPolygonFillTheirInside)
{
    auto bmp = FilledBitmap(20, 20, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->Pen()->SetColor(clBlue);
    // The upper-right quarter, counter-clockwise from east to north.
    canvas->Pie(0, 0, 20, 20, 20, 10, 10, 0);
    const Rows pic = Picture(*bmp, Legend);
    EXPECT_EQ(pic[5][14], 'r');
    EXPECT_EQ(pic[5][5], '.');
    EXPECT_EQ(pic[14][14], '.');

    auto poly = FilledBitmap(10, 10, clWhite);
    poly->Canvas()->Brush()->SetColor(clRed);
    poly->Canvas()->Polygon({{1, 1}, {8, 1}, {8, 8}, {1, 8}});
    const Rows p = Picture(*poly, Legend);
    EXPECT_EQ(p[1].substr(1, 8), "########");
    EXPECT_EQ(p[8].substr(1, 8), "########");
    EXPECT_EQ(p[4].substr(1, 8), "#rrrrrr#");
    EXPECT_EQ(p[0], "..........");
    EXPECT_EQ(p[9], "..........");
}

TEST(CanvasText, TextOutDrawsInsideItsExtentAndMovesThePen)
{
    auto bmp = FilledBitmap(80, 30, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    const TSize extent = canvas->TextExtent(QStringLiteral("Hello"));
    EXPECT_GT(extent.cx, 10);
    EXPECT_GT(extent.cy, 8);
    canvas->TextOut(5, 3, QStringLiteral("Hello"));
    EXPECT_EQ(canvas->PenPos(), Point(5 + extent.cx, 3));
    int black = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const TColor c = canvas->Pixels(x, y);
            EXPECT_TRUE(c == clWhite || c == clBlack) << "antialiasing left " << std::hex << c;
            if (c == clBlack) {
                ++black;
                EXPECT_TRUE(x >= 5 && x < 5 + extent.cx + 1 && y >= 3 && y < 3 + extent.cy) << x << "," << y;
            }
        }
    EXPECT_GT(black, 20);
}

TEST(CanvasText, TextRectClipsAndFillsWithTheBrush)
{
    auto bmp = FilledBitmap(60, 20, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->Font()->SetColor(clBlue);
    canvas->TextRect(Rect(10, 2, 20, 18), 0, 2, QStringLiteral("WWWWWWWWWW"));
    const Rows pic = Picture(*bmp, Legend);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inside = x >= 10 && x < 20 && y >= 2 && y < 18;
            if (!inside)
                EXPECT_EQ(pic[size_t(y)][size_t(x)], '.') << x << "," << y;
            else
                EXPECT_NE(pic[size_t(y)][size_t(x)], '.') << x << "," << y;
        }
}

TEST(CanvasCopy, CopyRectMirrorsWithNegativeExtents)
{
    auto src = FilledBitmap(3, 2, clWhite);
    src->Canvas()->SetPixels(0, 0, clRed);
    src->Canvas()->SetPixels(1, 0, clLime);
    src->Canvas()->SetPixels(2, 1, clBlue);
    auto dst = FilledBitmap(3, 2, clWhite);
    dst->Canvas()->CopyRect(Rect(0, 0, 3, 2), src->Canvas(), Rect(2, 0, -1, 2));
    EXPECT_EQ(Picture(*dst, Legend), (Rows{".gr", "b.."}));
    dst->Canvas()->CopyRect(Rect(0, 0, 3, 2), src->Canvas(), Rect(0, 1, 3, -1));
    EXPECT_EQ(Picture(*dst, Legend), (Rows{"..b", "rg."}));
    // Onto itself: the source is read before it is overwritten.
    src->Canvas()->CopyRect(Rect(0, 0, 3, 2), src->Canvas(), Rect(2, 0, -1, 2));
    EXPECT_EQ(Picture(*src, Legend), (Rows{".gr", "b.."}));
}

TEST(CanvasCopy, BrushCopyReplacesOneColourByTheBrush)
{
    auto src = FilledBitmap(3, 1, clRed);
    src->Canvas()->SetPixels(1, 0, clBlue);
    auto dst = FilledBitmap(3, 1, clWhite);
    dst->Canvas()->Brush()->SetColor(clYellow);
    dst->Canvas()->BrushCopy(Rect(0, 0, 3, 1), src.get(), Rect(0, 0, 3, 1), clRed);
    EXPECT_EQ(Picture(*dst, Legend), (Rows{"yby"}));
}

TEST(CanvasCopy, ChangeEventsSurroundDrawing)
{
    auto bmp = FilledBitmap(3, 3, clWhite);
    int bitmapChanges = 0;
    bmp->OnChange = [&](TObject*) { ++bitmapChanges; };
    bmp->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(bitmapChanges, 1);

    TCanvas canvas(new QImage(2, 2, QImage::Format_RGB32));
    std::string log;
    canvas.OnChanging = [&](TObject*) { log += '<'; };
    canvas.OnChange = [&](TObject*) { log += '>'; };
    canvas.FillRect(Rect(0, 0, 1, 1));
    canvas.LineTo(1, 1);
    EXPECT_EQ(log, "<><>");
    delete canvas.Surface();
}

TEST(CanvasPens, WidePensCoverTheirWidthAndInsideFrameStaysInside)
{
    auto bmp = FilledBitmap(9, 7, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Pen()->SetWidth(3);
    canvas->MoveTo(1, 3);
    canvas->LineTo(7, 3);
    const Rows pic = Picture(*bmp, Legend);
    EXPECT_EQ(pic[2][4], '#');
    EXPECT_EQ(pic[3][4], '#');
    EXPECT_EQ(pic[4][4], '#');
    EXPECT_EQ(pic[0][4], '.');
    EXPECT_EQ(pic[6][4], '.');

    auto frame = FilledBitmap(7, 6, clWhite);
    frame->Canvas()->Pen()->SetWidth(2);
    frame->Canvas()->Pen()->SetStyle(psInsideFrame);
    frame->Canvas()->Brush()->SetColor(clRed);
    frame->Canvas()->Rectangle(0, 0, 7, 6);
    EXPECT_EQ(Picture(*frame, Legend), (Rows{"#######", "#######", "##rrr##", "##rrr##", "#######", "#######"}));
}

TEST(CanvasBrushes, HatchesAndBitmapPatterns)
{
    auto bmp = FilledBitmap(8, 8, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetStyle(bsCross);
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 8, 8));
    const Rows pic = Picture(*bmp, Legend);
    // A cross hatch: one full row and one full column, the rest left alone.
    EXPECT_EQ(pic[3], "bbbbbbbb");
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(pic[size_t(y)][4], 'b');
        if (y != 3) {
            EXPECT_EQ(pic[size_t(y)][0], '.');
        }
    }

    auto pattern = FilledBitmap(2, 2, clRed);
    pattern->Canvas()->SetPixels(1, 1, clLime);
    auto tiled = FilledBitmap(4, 3, clWhite);
    tiled->Canvas()->Brush()->SetBitmap(pattern.get());
    tiled->Canvas()->FillRect(Rect(0, 0, 4, 3));
    tiled->Canvas()->Brush()->SetBitmap(nullptr);
    EXPECT_EQ(Picture(*tiled, Legend), (Rows{"rrrr", "rgrg", "rrrr"}));
}
