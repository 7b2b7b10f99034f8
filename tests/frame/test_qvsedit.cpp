#include "../graphics/graphicstest.h"

#include "frame/qvsedit.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

using namespace vcl;
using namespace Qvsedit;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using graphicstest::RandomBitmap;
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


// Rotation as it was first written, one polar conversion with its own arc tangent,
// sine and cosine per destination point, through Pixels and SetPixels: the reference
// the faster BMPRotate must match pixel for pixel.
void RotateByPolarForm(TBitmap* Source, TBitmap* Dest, int Angle)
{
    const long double a = Angle * std::numbers::pi_v<long double> / 180;
    const int sx = Source->Width() / 2, sy = Source->Height() / 2;
    const int dx = Dest->Width() / 2, dy = Dest->Height() / 2;
    const int n = std::max(Dest->Width(), Dest->Height()) / 2 - 1;
    auto round = [](long double v) { return static_cast<int>(std::nearbyintl(v)); };
    auto copy = [&](int fx, int fy, int tx, int ty) {
        const TColor c = Source->Canvas()->Pixels(fx, fy);
        if (c != CLR_INVALID)
            Dest->Canvas()->SetPixels(tx, ty, ColorToRGB(c) | PaletteRelativeFlag);
    };
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) {
            const long double theta = i == 0 ? std::numbers::pi_v<long double> / 2 + a
                                             : std::atan(static_cast<long double>(j) / i) + a;
            const int r = round(std::sqrt(static_cast<long double>(i * i + j * j)));
            const int u = round(r * std::cos(theta)), v = round(r * std::sin(theta));
            copy(sx + u, sy + v, dx + i, dy + j);
            copy(sx - u, sy - v, dx - i, dy - j);
            copy(sx + v, sy - u, dx + j, dy - i);
            copy(sx - v, sy + u, dx - j, dy + i);
        }
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

TEST(Qvsedit, TransparentBltDrawsAndLeavesTheBitmapAlsoOnAMonochromeCanvas)
{
    auto glyph = FilledBitmap(3, 2, clLime);
    glyph->Canvas()->SetPixels(1, 0, clRed);
    glyph->Canvas()->SetPixels(2, 1, clBlue);
    auto dest = FilledBitmap(5, 3, clWhite);
    TransparentBlt(dest->Canvas(), glyph.get(), 1, 1, clLime);
    EXPECT_EQ(Picture(*dest, Legend), (Rows{".....", "..r..", "...b."}));
    EXPECT_EQ(Picture(*glyph, Legend), (Rows{"grg", "ggb"}));

    // The masked path runs for a monochrome target; the bitmap it masks in place gets
    // its colours back, not their black-and-white copies.
    auto pair = FilledBitmap(2, 1, clRed);
    pair->Canvas()->SetPixels(1, 0, clLime);
    auto target = FilledBitmap(2, 1, clWhite);
    target->SetMonochrome(true);
    TransparentBlt(target->Canvas(), pair.get(), 0, 0, clLime);
    EXPECT_EQ(Picture(*pair, Legend), (Rows{"rg"}));
    EXPECT_EQ(Picture(*target, Legend), (Rows{"#."}));
}

TEST(Qvsedit, GreyLeavesGreysAndUsesRoundedMeanDarkenAndLightenRoundHalvesToEven)
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

    // Darken and lighten.
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
        auto pair = FilledBitmap(2, 1, c.In);
        pair->Canvas()->SetPixels(1, 0, clBlue);
        if (c.Darken)
            DarkenBMP(pair.get(), c.Percent, true, clBlue);
        else
            LightenBMP(pair.get(), c.Percent, true, clBlue);
        EXPECT_EQ(pair->Canvas()->Pixels(0, 0), c.Out) << int(c.Percent);
        EXPECT_EQ(pair->Canvas()->Pixels(1, 0), clBlue);
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

// By zero only the central square is copied; by half a turn the pixels reflect through
// the centre; from a smaller source some stay unreached; onto itself the original
// pixels are read.
TEST(Qvsedit, RotateByZeroAndByHalfATurnFromASmallerSourceAndOntoItself)
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

    auto numbered = Numbered(9, 9);
    auto turned = FilledBitmap(9, 9, clWhite);
    BMPRotate(numbered.get(), turned.get(), 180);
    for (int j = -3; j <= 3; ++j)
        for (int i = -3; i <= 3; ++i)
            EXPECT_EQ(turned->Canvas()->Pixels(4 + i, 4 + j), numbered->Canvas()->Pixels(4 - i, 4 - j)) << i << "," << j;
    EXPECT_EQ(turned->Canvas()->Pixels(0, 0), clWhite);

    auto small = FilledBitmap(2, 2, clRed);
    auto large = FilledBitmap(8, 8, clWhite);
    BMPRotate(small.get(), large.get(), 90);
    int red = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (large->Canvas()->Pixels(x, y) == clRed) {
                ++red;
                EXPECT_TRUE(std::abs(x - 4) <= 2 && std::abs(y - 4) <= 2) << x << "," << y;
            }
    EXPECT_GT(red, 0);

    auto bmp = Numbered(9, 9);
    auto expected = Numbered(9, 9);
    BMPRotate(numbered.get(), expected.get(), 90); // numbered is still the untouched picture
    BMPRotate(bmp.get(), bmp.get(), 90);
    EXPECT_EQ(bmp->ToQImage(), expected->ToQImage());
}

TEST(Qvsedit, RotationEqualsThePolarFormOnRandomInputs)
{
    // Random sizes (source and destination apart, odd and even), angles of every kind
    // (the ones with exact half-pixel results on the axes, 30 and 60 degrees, among
    // them) and destinations in colour, monochrome and 256 colours.
    std::mt19937 rng(2026);
    const int special[] = {0, 30, 45, 60, 90, 120, 150, 180, 210, 270, 300, 330, -30, 390, 720};
    const TPixelFormat formats[] = {pf24bit, pf24bit, pf1bit, pf8bit};
    for (int round = 0; round < 120; ++round) {
        const int angle = round < 15 ? special[round] : int(rng() % 1441) - 720;
        auto source = RandomBitmap(rng, 1 + int(rng() % 40), 1 + int(rng() % 40), pf24bit);
        const int dw = 1 + int(rng() % 40), dh = 1 + int(rng() % 40);
        auto fast = RandomBitmap(rng, dw, dh, formats[round % 4]);
        TBitmap reference;
        reference.Assign(fast.get());
        SCOPED_TRACE(testing::Message() << "round " << round << " angle " << angle);
        BMPRotate(source.get(), fast.get(), angle);
        RotateByPolarForm(source.get(), &reference, angle);
        EXPECT_EQ(fast->ToQImage(), reference.ToQImage());
    }
}

TEST(Qvsedit, OnePassTransparentBltEqualsTheMaskTechnique)
{
    std::mt19937 rng(15);
    const TColor keys[] = {clLime, clBlack, clWhite, clRed, RGB(1, 2, 3), clBtnFace};
    for (int round = 0; round < 200; ++round) {
        const bool mono = rng() % 4 == 0;
        auto glyph = RandomBitmap(rng, 1 + int(rng() % 12), 1 + int(rng() % 12), mono ? pf1bit : pf24bit);
        const QImage before = glyph->ToQImage();
        auto onePass = RandomBitmap(rng, 12, 12, pf24bit);
        TBitmap masked;
        masked.Assign(onePass.get());
        const int x = int(rng() % 16) - 4, y = int(rng() % 16) - 4;
        const TColor key = keys[rng() % 6];
        SCOPED_TRACE(testing::Message() << "round " << round);
        TransparentBlt(onePass->Canvas(), glyph.get(), x, y, key);
        HDC source = CreateCompatibleDC(masked.Canvas()->Handle());
        HGDIOBJ old = SelectObject(source, glyph->Handle());
        TransparentBltMasked(masked.Canvas()->Handle(), source, x, y, glyph->Width(), glyph->Height(), key);
        SelectObject(source, old);
        DeleteDC(source);
        EXPECT_EQ(onePass->ToQImage(), masked.ToQImage());
        EXPECT_EQ(glyph->ToQImage(), before);
    }
}
