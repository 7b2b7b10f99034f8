#include "../graphics/graphicstest.h"

#include "frame/qvsedit.h"

#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvsedit;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using Rows = std::vector<std::string>;

namespace {

const std::vector<std::pair<TColor, char>> Legend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'},
    {clLime, 'g'}, {clYellow, 'y'}};

// A bitmap whose every pixel has a colour of its own.
std::unique_ptr<TBitmap> Numbered(int W, int H)
{
    auto bmp = FilledBitmap(W, H, clWhite);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            bmp->Canvas()->SetPixels(x, y, RGB(10 + x * 20, 10 + y * 20, 77));
    return bmp;
}

struct RasterGuard {
    ~RasterGuard() { RasterOfset = false; }
};

} // namespace

TEST(Qvsedit, ReplaceMirrorAndFlip)
{
    auto bmp = FilledBitmap(3, 2, clWhite);
    bmp->Canvas()->SetPixels(0, 0, clRed);
    bmp->Canvas()->SetPixels(2, 1, clRed);
    bmp->Canvas()->SetPixels(1, 0, clBlue);
    ReplaceColor(bmp.get(), clRed, clLime);
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"gb.", "..g"}));
    MirrorBMP(bmp.get());
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{".bg", "g.."}));
    FlipBMP(bmp.get());
    EXPECT_EQ(Picture(*bmp, Legend), (Rows{"g..", ".bg"}));

    auto numbered = Numbered(5, 4);
    std::vector<TColor> original;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            original.push_back(numbered->Canvas()->Pixels(x, y));
    FlipBMP(numbered.get());
    EXPECT_EQ(numbered->Canvas()->Pixels(0, 0), original[15]);
    FlipBMP(numbered.get());
    MirrorBMP(numbered.get());
    EXPECT_EQ(numbered->Canvas()->Pixels(0, 0), original[4]);
    MirrorBMP(numbered.get());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(numbered->Canvas()->Pixels(x, y), original[size_t(y * 5 + x)]);
}

TEST(Qvsedit, TransparentBltDrawsAndLeavesTheBitmap)
{
    auto glyph = FilledBitmap(3, 2, clLime);
    glyph->Canvas()->SetPixels(1, 0, clRed);
    glyph->Canvas()->SetPixels(2, 1, clBlue);
    auto dest = FilledBitmap(5, 3, clWhite);
    TransparentBlt(dest->Canvas(), glyph.get(), 1, 1, clLime);
    EXPECT_EQ(Picture(*dest, Legend), (Rows{".....", "..r..", "...b."}));
    EXPECT_EQ(Picture(*glyph, Legend), (Rows{"grg", "ggb"}));
}

TEST(Qvsedit, GreyLeavesGreysAndUsesRoundedMean)
{
    auto bmp = FilledBitmap(4, 1, clWhite);
    bmp->Canvas()->SetPixels(0, 0, 0x808080);
    bmp->Canvas()->SetPixels(1, 0, RGB(10, 20, 31));
    bmp->Canvas()->SetPixels(2, 0, RGB(1, 2, 0));  // mean 1: (1,1,1)
    bmp->Canvas()->SetPixels(3, 0, clRed);
    GreyBMP(bmp.get(), true, clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), 0x808080);
    EXPECT_EQ(bmp->Canvas()->Pixels(1, 0), RGB(20, 20, 20));
    EXPECT_EQ(bmp->Canvas()->Pixels(2, 0), RGB(1, 1, 1));
    EXPECT_EQ(bmp->Canvas()->Pixels(3, 0), clRed);
    GreyBMP(bmp.get(), false, clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(3, 0), RGB(85, 85, 85));
}

TEST(Qvsedit, DarkenAndLighten)
{
    struct Case {
        bool Darken;
        uint8_t Percent;
        TColor In, Out;
    };
    const Case cases[] = {
        {true, 100, RGB(200, 100, 255), RGB(0, 0, 0)},
        {false, 100, RGB(0, 100, 1), RGB(255, 255, 255)},
        {true, 0, RGB(12, 34, 56), RGB(12, 34, 56)},
        {false, 0, RGB(12, 34, 56), RGB(12, 34, 56)},
        // Amounts: 10 * 2.55 = 25.5 and 30 * 2.55 = 76.5 round to the even 26 and 76;
        // 70 * 2.55 = 178.5 to 178; 20 * 2.55 = 51 exactly.
        {true, 10, RGB(100, 20, 26), RGB(74, 0, 0)},
        {true, 30, RGB(100, 76, 200), RGB(24, 0, 124)},
        {false, 70, RGB(0, 77, 10), RGB(178, 255, 188)},
        {false, 20, RGB(100, 250, 0), RGB(151, 255, 51)},
        {true, 255, RGB(255, 255, 255), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        auto bmp = FilledBitmap(2, 1, c.In);
        bmp->Canvas()->SetPixels(1, 0, clBlue);
        if (c.Darken)
            DarkenBMP(bmp.get(), c.Percent, true, clBlue);
        else
            LightenBMP(bmp.get(), c.Percent, true, clBlue);
        EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), c.Out) << int(c.Percent);
        EXPECT_EQ(bmp->Canvas()->Pixels(1, 0), clBlue);
    }
}

TEST(Qvsedit, RasterPatterns)
{
    RasterGuard guard;
    auto two = FilledBitmap(2, 2, clWhite);
    RasterBMP(two.get(), clBlack, Rast50);
    EXPECT_EQ(Picture(*two, Legend), (Rows{".#", "#."}));
    auto ofset = FilledBitmap(2, 2, clWhite);
    RasterOfset = true;
    RasterBMP(ofset.get(), clBlack, Rast50);
    EXPECT_EQ(Picture(*ofset, Legend), (Rows{"#.", ".#"}));

    auto quarter = FilledBitmap(9, 2, clWhite);
    RasterOfset = false;
    RasterBMP(quarter.get(), clBlack, Rast25);
    EXPECT_EQ(Picture(*quarter, Legend), (Rows{".#...#...", "...#...#."}));
    auto complement = FilledBitmap(9, 2, clWhite);
    RasterOfset = true;
    RasterBMP(complement.get(), clBlack, Rast25);
    EXPECT_EQ(Picture(*complement, Legend), (Rows{"#.###.###", "###.###.#"}));

    // Rast75 ignores RasterOfset and reaches the last column and row only through
    // the neighbours of pattern pixels.
    auto threeQuarters = FilledBitmap(6, 3, clWhite);
    RasterBMP(threeQuarters.get(), clBlack, Rast75);
    EXPECT_EQ(Picture(*threeQuarters, Legend), (Rows{".##...", ".#.##.", "...#.."}));
}

TEST(Qvsedit, RotateByZeroCopiesTheCentralSquareOnly)
{
    struct Case {
        int Size;
        int Low, High; // first and last column/row written
    };
    const Case cases[] = {{8, 1, 7}, {9, 1, 7}};
    for (const Case& c : cases) {
        auto source = Numbered(c.Size, c.Size);
        auto dest = FilledBitmap(c.Size, c.Size, clWhite);
        BMPRotate(source.get(), dest.get(), 0);
        for (int y = 0; y < c.Size; ++y)
            for (int x = 0; x < c.Size; ++x) {
                const bool written = x >= c.Low && x <= c.High && y >= c.Low && y <= c.High;
                EXPECT_EQ(dest->Canvas()->Pixels(x, y), written ? source->Canvas()->Pixels(x, y) : clWhite)
                    << c.Size << ": " << x << "," << y;
            }
    }
}

TEST(Qvsedit, RotateByHalfATurnReflectsThroughTheCentre)
{
    auto source = Numbered(9, 9);
    auto dest = FilledBitmap(9, 9, clWhite);
    BMPRotate(source.get(), dest.get(), 180);
    for (int j = -3; j <= 3; ++j)
        for (int i = -3; i <= 3; ++i)
            EXPECT_EQ(dest->Canvas()->Pixels(4 + i, 4 + j), source->Canvas()->Pixels(4 - i, 4 - j)) << i << "," << j;
    EXPECT_EQ(dest->Canvas()->Pixels(0, 0), clWhite);
}

TEST(Qvsedit, RotateFromASmallerSourceLeavesUnreachedPixels)
{
    auto source = FilledBitmap(2, 2, clRed);
    auto dest = FilledBitmap(8, 8, clWhite);
    BMPRotate(source.get(), dest.get(), 90);
    int red = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (dest->Canvas()->Pixels(x, y) == clRed) {
                ++red;
                EXPECT_TRUE(std::abs(x - 4) <= 2 && std::abs(y - 4) <= 2) << x << "," << y;
            }
    EXPECT_GT(red, 0);
}
