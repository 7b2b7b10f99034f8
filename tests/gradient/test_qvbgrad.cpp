// TqvBackGradient: pixels of its back buffer, checked against values worked out by hand.
#include "gradient/qvbgrad.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <QImage>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace vcl;
using Qvbgrad::TqvBackGradient;

namespace {

QRgb Px(const TqvBackGradient& g, int x, int y)
{
    return g.BackBuffer().pixel(x, y) | 0xFF000000u;
}

// Renders a control of the given size and style.
std::unique_ptr<TqvBackGradient> Render(int w, int h, Qvbgrad::TGradientStyle style)
{
    auto g = std::make_unique<TqvBackGradient>(nullptr);
    g->SetBounds(0, 0, w, h);
    g->SetGradientStyle(style);
    g->Repaint();
    return g;
}

// A control of the given size and settings, painted once.
std::unique_ptr<TqvBackGradient> Painted(int w, int h, Qvbgrad::TGradientStyle style, int steps, int start, TColor begin,
    TColor end)
{
    auto g = std::make_unique<TqvBackGradient>(nullptr);
    g->SetBounds(0, 0, w, h);
    g->SetGradientStyle(style);
    g->SetSteps(steps);
    g->SetStartAngle(start);
    g->SetBeginColor(begin);
    g->SetEndColor(end);
    g->Repaint();
    return g;
}

// Band k of n between two colours, per channel begin + (k * (end - begin)) / n with
// the quotient truncated toward zero; n = 0 gives the begin colour.
TColor Band(TColor begin, TColor end, int64_t k, int64_t n)
{
    auto channel = [&](int b, int e) { return n == 0 ? b : int(b + k * (e - b) / n); };
    return RGB(channel(GetRValue(begin), GetRValue(end)), channel(GetGValue(begin), GetGValue(end)),
        channel(GetBValue(begin), GetBValue(end)));
}

// The banded styles painted the straightforward way, one canvas fill per band in band
// order with the rectangles' edges stepped as floating-point sums: the reference the
// control must match pixel for pixel.
QImage BandByBand(int w, int h, Qvbgrad::TGradientStyle style, int s, TColor begin, TColor end)
{
    TBitmap bmp;
    bmp.SetSize(w, h);
    TCanvas* c = bmp.Canvas();
    auto fill = [&](int64_t k, int64_t n, int l, int t, int r, int b) {
        c->Brush()->SetColor(Band(begin, end, k, n));
        c->FillRect(Rect(l, t, r, b));
    };
    if (style == Qvbgrad::qvHorizontal || style == Qvbgrad::qvVertical) {
        const int64_t n = int64_t(s) + 1;
        for (int64_t i = 0; i <= s; ++i) {
            if (style == Qvbgrad::qvHorizontal)
                fill(i, s, int(i * w / n), 0, int((i + 1) * w / n), h);
            else
                fill(i, s, 0, int(i * h / n), w, int((i + 1) * h / n));
        }
    } else if (style == Qvbgrad::qvRectangle) {
        fill(0, s, 0, 0, w, h);
        double x1 = 0, x2 = w + 2, y1 = 0, y2 = h + 2;
        const double dx = (w / 2.0) / s, dy = (h / 2.0) / s;
        for (int i = 0; i <= s; ++i) {
            x1 += dx;
            x2 -= dx;
            y1 += dy;
            y2 -= dy;
            fill(i, s, int(x1), int(y1), int(x2), int(y2));
        }
    } else {
        const bool columns = style == Qvbgrad::qvHorizCenter;
        const int extent = columns ? w : h, half = extent / 2;
        for (int i = 0; i <= half; ++i)
            for (int line : {i, extent - i - 1})
                columns ? fill(i, half, line, 0, line + 1, h) : fill(i, half, 0, line, w, line + 1);
    }
    return bmp.ToQImage();
}

// The elliptic style's rule, pixel by pixel: the last of 156 ellipses centred on
// ((w + 3) / 2, (h + 3) / 2), half-axes 3w/4 + 3/2 - (i + 1) * (3w/4) / 155 (and likewise
// down), that holds the pixel's centre; band 0 when none does.
int EllipseBandOf(int w, int h, int x, int y)
{
    const double X = x + 0.5 - (w + 3) / 2.0, Y = y + 0.5 - (h + 3) / 2.0;
    int band = 0;
    for (int i = 0; i <= 155; ++i) {
        const double a = 0.75 * w + 1.5 - (i + 1) * ((w / 2.0 + w / 4.0) / 155);
        const double b = 0.75 * h + 1.5 - (i + 1) * ((h / 2.0 + h / 4.0) / 155);
        if (X * X * (b * b) + Y * Y * (a * a) <= (a * a) * (b * b))
            band = i;
    }
    return band;
}

// The conical styles' rule, pixel by pixel: rays at whole degrees clockwise from up
// around (w / 2, h / 2), the ray opposite k its exact negation; the pixel centre lies
// in the sector it is on or clockwise of and anticlockwise of the next ray. 360 wedges
// of two sectors from StartAngle, each over the one before, the last over the first;
// wedge s has colour s, back down after each Sweep.
int ConeBandOf(int w, int h, int x, int y, int start, int sweep)
{
    auto ray = [](int k) {
        const double r = (k % 180) * M_PI / 180.0, sign = k < 180 ? 1.0 : -1.0;
        return std::pair(sign * std::sin(r), sign * -std::cos(r));
    };
    const double X = x + 0.5 - w / 2, Y = y + 0.5 - h / 2;
    auto clockwise = [&](int k) { const auto [rx, ry] = ray(k); return rx * Y - ry * X; };
    int sector = -1;
    for (int k = 0; k < 360; ++k)
        if (clockwise(k) >= 0 && clockwise((k + 1) % 360) < 0)
            sector = k;
    const int s = ((sector - start) % 360 + 360) % 360;
    const int wedge = s == 0 ? 359 : s;
    const int phase = wedge % (2 * sweep);
    return phase < sweep ? phase : 2 * sweep - 1 - phase;
}

} // namespace

TEST(BackGradient, BandedStylesMatchBandByBandFillingOnRandomSizes)
{
    std::mt19937 rng(20261206);
    const Qvbgrad::TGradientStyle styles[] = {Qvbgrad::qvHorizontal, Qvbgrad::qvVertical, Qvbgrad::qvRectangle,
        Qvbgrad::qvVertCenter, Qvbgrad::qvHorizCenter};
    for (int round = 0; round < 150; ++round) {
        const auto style = styles[round % 5];
        const int w = 1 + int(rng() % 70), h = 1 + int(rng() % 50);
        // Up to a few times the pixel count along an axis, and never more bands than
        // pixels for the rectangles (beyond that their edges are exact, not summed).
        int steps = 1 + int(rng() % (round % 3 == 0 ? 4 : 3 * std::max(w, h)));
        if (style == Qvbgrad::qvRectangle)
            steps = std::min(steps, w * h);
        const TColor begin = TColor(rng() & 0xFFFFFF), end = TColor(rng() & 0xFFFFFF);
        const auto g = Painted(w, h, style, steps, 0, begin, end);
        SCOPED_TRACE(testing::Message() << "style " << style << " " << w << "x" << h << " steps " << steps);
        const QImage expected = BandByBand(w, h, style, steps, begin, end);
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differ += Px(*g, x, y) != (expected.pixel(x, y) | 0xFF000000u);
        EXPECT_EQ(differ, 0);
    }
}

// A gradient whose paints start from a surface in Marker, clipped to Clip on the canvas
// and with the canvas's copy mode set to CopyMode, as a form's paint may leave them.
class ClippedGradient : public TqvBackGradient {
public:
    ClippedGradient(const QRect& Clip, TCopyMode CopyMode)
        : TqvBackGradient(nullptr)
        , FClip(Clip)
        , FCopyMode(CopyMode)
    {
    }
    static constexpr QRgb Marker = 0xFF123456u;

protected:
    void Paint() override
    {
        Canvas()->Surface()->fill(Marker);
        IntersectClipRect(Canvas()->Handle(), FClip.left(), FClip.top(), FClip.right() + 1, FClip.bottom() + 1);
        Canvas()->SetCopyMode(FCopyMode);
        TqvBackGradient::Paint();
        SelectClipRgn(Canvas()->Handle(), nullptr);
    }

private:
    QRect FClip;
    TCopyMode FCopyMode;
};

TEST(BackGradient, LineStylesPaintTheirBitmapsPixelsWithinTheClipAndCopyMode)
{
    // Inside the clip a pixel is the bitmap's pixel combined with the marker by the copy
    // mode's rule (worked out per mode below); outside it keeps the marker. Each control
    // is painted twice: filled directly while its bitmap is not asked for, then copied
    // from the bitmap once it has been.
    struct Mode {
        TCopyMode Code;
        QRgb (*Combine)(QRgb S, QRgb D);
    };
    const Mode modes[] = {
        {cmSrcCopy, [](QRgb S, QRgb) { return S; }},
        {cmSrcInvert, [](QRgb S, QRgb D) { return S ^ D; }},
        {cmSrcPaint, [](QRgb S, QRgb D) { return S | D; }},
        {cmNotSrcCopy, [](QRgb S, QRgb) { return ~S; }},
    };
    const Qvbgrad::TGradientStyle styles[] = {Qvbgrad::qvHorizontal, Qvbgrad::qvVertical, Qvbgrad::qvVertCenter,
        Qvbgrad::qvHorizCenter};
    std::mt19937 rng(20261207);
    for (int round = 0; round < 48; ++round) {
        const Mode& mode = modes[round % 4];
        const auto style = styles[round / 4 % 4];
        const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 40);
        const int cx = int(rng() % (w + 4)) - 2, cy = int(rng() % (h + 4)) - 2;
        const QRect clip(cx, cy, 1 + int(rng() % (w + 2)), 1 + int(rng() % (h + 2)));
        const int steps = round % 5 == 4 ? 0 : 1 + int(rng() % (2 * std::max(w, h)));
        const TColor begin = TColor(rng() & 0xFFFFFF), end = TColor(rng() & 0xFFFFFF);
        ClippedGradient g(clip, mode.Code);
        g.SetBounds(0, 0, w, h);
        g.SetGradientStyle(style);
        g.SetSteps(steps);
        g.SetBeginColor(begin);
        g.SetEndColor(end);
        SCOPED_TRACE(testing::Message() << "round " << round << " style " << style << " " << w << "x" << h);
        const QImage expected = BandByBand(w, h, style, steps, begin, end);
        for (int pass = 0; pass < 2; ++pass) {
            g.Repaint();
            int differ = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const QRgb d = ClippedGradient::Marker;
                    const QRgb want = clip.contains(x, y) ? mode.Combine(expected.pixel(x, y), d) : d;
                    differ += Px(g, x, y) != (want | 0xFF000000u);
                }
            EXPECT_EQ(differ, 0) << "pass " << pass;
            g.Bitmap();
        }
    }
}

TEST(BackGradient, TheLargestStepCountRendersItsPixels)
{
    // Steps = INT_MAX is 2^31 bands; filling them one by one never ends, and Steps + 1
    // overflows an int. Worked out by hand, from black to red (255, 0, 0), S = 2^31 - 1:
    // vertical over 4 rows: row y lies in band ceil((y + 1) * 2^31 / 4) - 1 =
    // (y + 1) * 2^29 - 1, whose red is that * 255 / S truncated: 63, 127, 191, 255.
    TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, 4, 4);
    g.SetSteps(INT_MAX);
    g.SetBeginColor(clBlack);
    g.SetEndColor(clRed);
    g.Repaint();
    const int rowRed[] = {63, 127, 191, 255};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Px(g, 2, y), qRgb(rowRed[y], 0, 0)) << y;
    // Rectangles on 4 x 4: band i's edges are (i + 1) * 4 / 2S and 6 less that, rounded
    // down. Line 0 stays inside while 4(i + 1) < 2S, so up to band 2^30 - 2 (red 127);
    // line 1 while 4(i + 1) < 4S, up to S - 2 (254); line 3 while the far edge is above
    // 3, up to S - 1 (254); line 2 to the last band (255). A pixel takes the lower
    // band of its column and row.
    g.SetGradientStyle(Qvbgrad::qvRectangle);
    g.Repaint();
    const int lineRed[] = {127, 254, 255, 254};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Px(g, x, y), qRgb(std::min(lineRed[x], lineRed[y]), 0, 0)) << x << "," << y;
    g.SetGradientStyle(Qvbgrad::qvHorizontal);
    g.SetBounds(0, 0, 4, 1);
    g.Repaint();
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(Px(g, x, 0), qRgb(rowRed[x], 0, 0)) << x;
}

TEST(BackGradient, DefaultControlBandsOverItsRows)
{
    TqvBackGradient g(nullptr);
    EXPECT_EQ(g.Width(), 75);
    EXPECT_EQ(g.Height(), 75);
    g.Repaint();
    // 256 bands over 75 rows: band 3 is the first with height (4*75/256 = 1), so row 0
    // is band 3 of 255 between navy (0,0,128) and aqua (0,255,255):
    // green 3*255/255 = 3, blue 128 + 3*127/255 = 129.
    EXPECT_EQ(Px(g, 0, 0), qRgb(0, 3, 129));
    EXPECT_EQ(Px(g, 74, 0), qRgb(0, 3, 129));
    // Row 37 is band 129 (129*75/256 = 37, 130*75/256 = 38): green 129,
    // blue 128 + 129*127/255 = 128 + 64.
    EXPECT_EQ(Px(g, 10, 37), qRgb(0, 129, 192));
    EXPECT_EQ(Px(g, 10, 74), qRgb(0, 255, 255));
}

TEST(BackGradient, TwoBandsSplitTheWidth)
{
    TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, 11, 4);
    g.SetGradientStyle(Qvbgrad::qvHorizontal);
    g.SetSteps(1);
    g.SetBeginColor(RGB(10, 20, 30));
    g.SetEndColor(RGB(200, 100, 50));
    g.Repaint();
    // Band 0 covers columns 0 .. 11*1/2 = 5 (exclusive).
    for (int x = 0; x < 11; ++x)
        EXPECT_EQ(Px(g, x, 2), x < 5 ? qRgb(10, 20, 30) : qRgb(200, 100, 50)) << x;
}

TEST(BackGradient, EqualColoursFillEveryStyleUniformly)
{
    for (int style = Qvbgrad::qvHorizontal; style <= Qvbgrad::qvRadial2; ++style) {
        TqvBackGradient g(nullptr);
        g.SetBounds(0, 0, 40, 30);
        g.SetGradientStyle(static_cast<Qvbgrad::TGradientStyle>(style));
        g.SetBeginColor(RGB(12, 34, 56));
        g.SetEndColor(RGB(12, 34, 56));
        g.Repaint();
        int others = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                others += Px(g, x, y) != qRgb(12, 34, 56);
        EXPECT_EQ(others, 0) << "style " << style;
    }
}

TEST(BackGradient, SystemColoursAreUsedAsStored)
{
    TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, 8, 8);
    // clBtnFace is 0x8000000F: red 15, green 0, blue 0 (not the button face grey).
    g.SetBeginColor(clBtnFace);
    g.SetEndColor(clBtnFace);
    g.Repaint();
    EXPECT_EQ(Px(g, 4, 4), qRgb(15, 0, 0));
}

TEST(BackGradient, CentreStylesRunFromBothEdgesToTheMiddle)
{
    auto g = Render(6, 10, Qvbgrad::qvVertCenter);
    g->SetBeginColor(RGB(0, 0, 0));
    g->SetEndColor(RGB(250, 0, 0));
    g->Repaint();
    // h = 5: row i and row 9 - i take band i (red 50 * i).
    // Rows 4 and 5 both end with the middle band, 5.
    for (int y = 0; y < 10; ++y) {
        const int band = y == 4 || y == 5 ? 5 : std::min(y, 9 - y);
        EXPECT_EQ(Px(*g, 3, y), qRgb(50 * band, 0, 0)) << y;
    }
    auto c = Render(7, 3, Qvbgrad::qvHorizCenter);
    c->SetBeginColor(RGB(0, 0, 0));
    c->SetEndColor(RGB(0, 0, 90));
    c->Repaint();
    // w = 3: columns 0 and 6 band 0, 1 and 5 band 1, 2 and 4 band 2, 3 band 3.
    const int blue[] = {0, 30, 60, 90, 60, 30, 0};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(Px(*c, x, 1), qRgb(0, 0, blue[x])) << x;
}

TEST(BackGradient, DegenerateSizesAndStepsPaintTheBeginColour)
{
    struct Case { int w, h, style, steps; };
    const Case cases[] = {
        {5, 1, Qvbgrad::qvVertCenter, 255},
        {1, 5, Qvbgrad::qvHorizCenter, 255},
        {5, 5, Qvbgrad::qvHorizontal, 0},
        {5, 5, Qvbgrad::qvVertical, -3},
        {5, 5, Qvbgrad::qvRectangle, 0},
        {5, 5, Qvbgrad::qvRectangle, -1},
    };
    for (const Case& c : cases) {
        TqvBackGradient g(nullptr);
        g.SetBounds(0, 0, c.w, c.h);
        g.SetGradientStyle(static_cast<Qvbgrad::TGradientStyle>(c.style));
        g.SetSteps(c.steps);
        g.SetBeginColor(RGB(1, 2, 3));
        g.Repaint();
        EXPECT_EQ(Px(g, c.w - 1, c.h - 1), qRgb(1, 2, 3)) << c.style << " " << c.steps;
        EXPECT_EQ(Px(g, 0, 0), qRgb(1, 2, 3)) << c.style << " " << c.steps;
    }
}

TEST(BackGradient, EllipsesAndConesMatchTheirPixelRulesOnRandomSizes)
{
    std::mt19937 rng(20261207);
    const Qvbgrad::TGradientStyle styles[] = {Qvbgrad::qvElliptic, Qvbgrad::qvRadial1, Qvbgrad::qvRadial2};
    for (int round = 0; round < 90; ++round) {
        const auto style = styles[round % 3];
        const int w = 1 + int(rng() % 64), h = 1 + int(rng() % 64);
        const int start = int(rng() % 1000) - 500, steps = int(rng() % 600) - 50;
        const TColor begin = TColor(rng() & 0xFFFFFF), end = TColor(rng() & 0xFFFFFF);
        const auto g = Painted(w, h, style, steps, start, begin, end);
        SCOPED_TRACE(testing::Message() << "style " << style << " " << w << "x" << h << " start " << start);
        int differ = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const TColor expected = style == Qvbgrad::qvElliptic
                    ? Band(begin, end, EllipseBandOf(w, h, x, y), 155)
                    : Band(begin, end, ConeBandOf(w, h, x, y, start, style == Qvbgrad::qvRadial1 ? 180 : 90),
                          style == Qvbgrad::qvRadial1 ? 180 : 90);
                differ += Px(*g, x, y) != (RgbToQRgb(expected) | 0xFF000000u);
            }
        }
        EXPECT_EQ(differ, 0);
    }
}

TEST(BackGradient, EllipseAndConePixelsWorkedOutByHand)
{
    // 10 x 10 elliptic from black to green 155, so green is the band: centre (6.5, 6.5),
    // half-axes 9 - (i + 1) * 3/62. A pixel centre (X, Y) from the centre is in ellipse i
    // while X^2 + Y^2 <= a^2: (0,0) at (-6,-6) needs a >= 8.485, i + 1 <= 10.6, band 9;
    // (1,6) at (-5,0) needs a >= 5, band 81; (9,9) at (3,3) needs a >= 4.243, band 97;
    // (6,6) is the centre itself, in every ellipse: band 155.
    // 20 x 20 cone (sweep 180) from black to green 180: centre (10, 10). Pixel (10,0) is
    // at (0.5, -9.5), atan(0.5/9.5) = 3.01 degrees clockwise from up: wedge 3; (19,10)
    // at 93.01 degrees: wedge 93; (10,19) at 176.99: wedge 176; (0,10) at 266.99: wedge
    // 266, whose colour runs back: 359 - 266 = 93. Starting at 30 degrees turns every
    // wedge back by 30: (19,10) is then wedge 63.
    struct Case {
        Qvbgrad::TGradientStyle style;
        int size, start, bands, x, y, green;
    };
    const Case cases[] = {
        {Qvbgrad::qvElliptic, 10, 0, 155, 0, 0, 9},
        {Qvbgrad::qvElliptic, 10, 0, 155, 1, 6, 81},
        {Qvbgrad::qvElliptic, 10, 0, 155, 9, 9, 97},
        {Qvbgrad::qvElliptic, 10, 0, 155, 6, 6, 155},
        {Qvbgrad::qvRadial1, 20, 0, 180, 10, 0, 3},
        {Qvbgrad::qvRadial1, 20, 0, 180, 19, 10, 93},
        {Qvbgrad::qvRadial1, 20, 0, 180, 10, 19, 176},
        {Qvbgrad::qvRadial1, 20, 0, 180, 0, 10, 93},
        {Qvbgrad::qvRadial1, 20, 30, 180, 19, 10, 63},
    };
    for (const Case& c : cases) {
        const auto g = Painted(c.size, c.size, c.style, 255, c.start, clBlack, RGB(0, c.bands, 0));
        EXPECT_EQ(Px(*g, c.x, c.y), qRgb(0, c.green, 0)) << c.style << " at " << c.x << "," << c.y;
    }
}

TEST(BackGradient, RectanglesNestTowardsTheCentre)
{
    auto g = Render(40, 20, Qvbgrad::qvRectangle);
    g->SetSteps(4);
    g->SetBeginColor(RGB(0, 0, 0));
    g->SetEndColor(RGB(0, 200, 0));
    g->Repaint();
    // dx = 20/4 = 5, dy = 10/4 = 2.5: band 0 is (5,2)-(37,19), band 1 (10,5)-(32,17) ...
    EXPECT_EQ(Px(*g, 6, 3), qRgb(0, 0, 0));
    // The strip outside the first rectangle takes the begin colour too.
    EXPECT_EQ(Px(*g, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Px(*g, 39, 19), qRgb(0, 0, 0));
    EXPECT_EQ(Px(*g, 11, 6), qRgb(0, 50, 0));
    EXPECT_EQ(Px(*g, 20, 10), qRgb(0, 200, 0));
}

TEST(BackGradient, AQuarterTurnOfTheStartAngleRotatesTheDoubleCone)
{
    auto a = Render(60, 60, Qvbgrad::qvRadial2);
    auto b = Render(60, 60, Qvbgrad::qvRadial2);
    b->SetStartAngle(90);
    b->Repaint();
    // Straight up from the centre: the begin colour at angle 0, the end colour after
    // the quarter turn (the ramp reverses every 90 degrees).
    EXPECT_LE(qGreen(Px(*a, 30, 5)), 10);
    EXPECT_GE(qGreen(Px(*b, 30, 5)), 245);
    // Each pixel of b equals the pixel of a turned back by a quarter turn about the
    // middle of the square, (x, y) -> (y, 59 - x), but for the few pixels next to
    // the centre where one pixel spans many degrees.
    int differ = 0, compared = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (std::hypot(x - 29.5, y - 29.5) < 10)
                continue;
            ++compared;
            differ += std::abs(qGreen(Px(*b, x, y)) - qGreen(Px(*a, y, 59 - x))) > 12;
        }
    }
    EXPECT_LT(differ, compared / 50);
    // Nothing is left uncovered between the wedges (a new bitmap is white).
    int white = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            white += Px(*a, x, y) == qRgb(255, 255, 255);
    EXPECT_EQ(white, 0);
}

TEST(BackGradient, ARenderIsReusedUntilSomethingChanges)
{
    TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, 20, 20);
    g.Repaint();
    // Mark the rendered bitmap: a repaint that only copies it shows the mark.
    g.Bitmap()->Canvas()->SetPixels(5, 5, clRed);
    g.Repaint();
    EXPECT_EQ(Px(g, 5, 5), qRgb(255, 0, 0));
    // A resize renders again even though no property changed.
    g.SetBounds(0, 0, 20, 21);
    g.Repaint();
    EXPECT_NE(Px(g, 5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(Px(g, 5, 20), qRgb(0, 255, 255));
    g.Bitmap()->Canvas()->SetPixels(5, 5, clRed);
    g.SetSteps(10);
    g.Repaint();
    EXPECT_NE(Px(g, 5, 5), qRgb(255, 0, 0));
}

TEST(BackGradient, Ctl3DDrawsTwoSunkenLines)
{
    TqvBackGradient g(nullptr);
    g.SetBounds(0, 0, 20, 20);
    g.SetCtl3D(true);
    g.Repaint();
    EXPECT_EQ(Px(g, 0, 8), qRgb(128, 128, 128));
    EXPECT_EQ(Px(g, 8, 0), qRgb(128, 128, 128));
    EXPECT_EQ(Px(g, 19, 8), qRgb(255, 255, 255));
    EXPECT_EQ(Px(g, 8, 19), qRgb(255, 255, 255));
    EXPECT_EQ(Px(g, 1, 8), qRgb(0, 0, 0));
    EXPECT_EQ(Px(g, 8, 1), qRgb(0, 0, 0));
    EXPECT_EQ(Px(g, 18, 8), qRgb(192, 192, 192));
    EXPECT_EQ(Px(g, 8, 18), qRgb(192, 192, 192));
    // Inside the frame: the gradient (row 8 of 20 is band 115: 115*20/256 = 8, 116*20/256 = 9).
    EXPECT_EQ(qRed(Px(g, 8, 8)), 0);
    EXPECT_EQ(qGreen(Px(g, 8, 8)), 115);
}
