#include "frame/qvsedit.h"

#include "frame/qvutils.h"
#include "vcl/core/unitstartup.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

using namespace vcl;

namespace Qvsedit {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvsedit"), {});

bool RasterOfset = false;

namespace {

// White as a red-green-blue key, and the mask of a pixel's colour bits.
constexpr uint32_t WhiteKey = 0x00FFFFFFu;

} // namespace

namespace {

// Rounds half to even, as the original's Round does (the default rounding mode;
// lrint rounds as nearbyint does without saving the floating-point environment).
int RoundEven(long double Value)
{
    return static_cast<int>(std::lrint(Value));
}

// The same for a double of magnitude below 2^51, without a library call: adding and
// taking away 1.5 * 2^52 leaves no fraction bits, and the addition rounds half to even.
int RoundHalfEven(double Value)
{
    constexpr double Shift = 0x1.8p52;
    return static_cast<int>((Value + Shift) - Shift);
}

TColor FlaggedRgb(int R, int G, int B)
{
    return RGB(R, G, B) | PaletteRelativeFlag;
}

// Calls Fn(x, y) for every pixel, outer loop over x, inner over y.
void ForEachPixel(TBitmap* Bitmap, const std::function<void(int, int)>& Fn)
{
    for (int x = 0; x < Bitmap->Width(); ++x)
        for (int y = 0; y < Bitmap->Height(); ++y)
            Fn(x, y);
}

// Shifts every channel by Delta, clamped to 0..255.
void ShiftChannels(TBitmap* Bitmap, int Delta, bool UseTransparent, TColor TransparentColor)
{
    TCanvas* canvas = Bitmap->Canvas();
    ForEachPixel(Bitmap, [&](int x, int y) {
        const TColor c = canvas->Pixels(x, y);
        // The transparent colour is compared as stored, without resolving it.
        if (UseTransparent && c == TransparentColor)
            return;
        const TColor rgb = ColorToRGB(c);
        auto shift = [&](int channel) { return std::clamp(channel + Delta, 0, 255); };
        canvas->SetPixels(x, y, FlaggedRgb(shift(GetRValue(rgb)), shift(GetGValue(rgb)), shift(GetBValue(rgb))));
    });
}

// round(Percent * 2.55) with ties to even, in exact integer arithmetic: a binary
// 2.55 is not exact and would turn the ties (25.5, 76.5 ...) one way or the other.
int PercentAmount(uint8_t Percent)
{
    const int scaled = Percent * 255;
    const int whole = scaled / 100, rest = scaled % 100;
    return whole + ((rest > 50 || (rest == 50 && whole % 2 == 1)) ? 1 : 0);
}

// One pixel in four, staggered: columns 1 and 5 of even rows, 3 and 7 of odd rows.
bool BasePattern(int X, int Y)
{
    const int m = X % 8;
    return (Y % 2) ? (m == 3 || m == 7) : (m == 1 || m == 5);
}

// Read access to the rows of a bitmap's pixels.
class PixelRows {
public:
    explicit PixelRows(const QImage& Image)
        : FBits(reinterpret_cast<const uint32_t*>(Image.constBits()))
        , FStride(Image.bytesPerLine() / 4)
        , FWidth(Image.width())
        , FHeight(Image.height())
    {
    }
    // False for a point outside the bitmap.
    bool At(int X, int Y, uint32_t& Pixel) const
    {
        if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
            return false;
        Pixel = FBits[Y * FStride + X];
        return true;
    }

private:
    const uint32_t* FBits;
    qsizetype FStride;
    int FWidth, FHeight;
};

// Writes pixels straight into a bitmap's rows as its canvas's SetPixels would (within
// the canvas's clip box, black or white on a monochrome bitmap), and reports one change
// for all of them at the end, when a palette bitmap maps them onto its palette.
class PixelWriter {
public:
    explicit PixelWriter(TBitmap& Bitmap)
        : FCanvas(Bitmap.Canvas())
        , FMonochrome(Bitmap.Monochrome())
    {
        GetClipBox(FCanvas->Handle(), FBounds);
        FCanvas->Changing();
        QImage& image = Bitmap.Handle()->Image;
        FBits = reinterpret_cast<uint32_t*>(image.bits());
        FStride = image.bytesPerLine() / 4;
    }
    ~PixelWriter() { FCanvas->Changed(); }
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;

    // Source points outside the source leave the destination pixel as it was.
    void Copy(const PixelRows& From, int FromX, int FromY, int ToX, int ToY)
    {
        uint32_t p;
        if (!From.At(FromX, FromY, p) || ToX < FBounds.Left || ToY < FBounds.Top || ToX >= FBounds.Right
            || ToY >= FBounds.Bottom)
            return;
        FBits[ToY * FStride + ToX] = FMonochrome ? SurfacePixel(FromQRgb(p), true) : p | 0xFF000000u;
    }

private:
    TCanvas* FCanvas;
    bool FMonochrome;
    TRect FBounds;
    uint32_t* FBits = nullptr;
    qsizetype FStride = 0;
};

} // namespace

void ReplaceColor(TBitmap* Bitmap, TColor OldColor, TColor NewColor)
{
    const TRect all = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
    TBitmap temp;
    temp.SetSize(Bitmap->Width(), Bitmap->Height());
    temp.Canvas()->Brush()->SetColor(NewColor);
    temp.Canvas()->BrushCopy(all, Bitmap, all, OldColor);
    Bitmap->Canvas()->CopyRect(all, temp.Canvas(), all);
}

void MirrorBMP(TBitmap* Bitmap)
{
    const int w = Bitmap->Width(), h = Bitmap->Height();
    Bitmap->Canvas()->CopyRect(Rect(0, 0, w, h), Bitmap->Canvas(), Rect(w - 1, 0, -1, h));
}

void FlipBMP(TBitmap* Bitmap)
{
    const int w = Bitmap->Width(), h = Bitmap->Height();
    Bitmap->Canvas()->CopyRect(Rect(0, 0, w, h), Bitmap->Canvas(), Rect(0, h - 1, w, -1));
}

void TransparentBlt(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y, TColor Color)
{
    const int w = Bitmap->Width(), h = Bitmap->Height();
    HDC target = Canvas->Handle();
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ oldSource = SelectObject(source, Bitmap->Handle());
    // The mask is the bitmap itself when it is monochrome (its white pixels are left
    // out), else made from it with Color as the background colour.
    const uint32_t key = Bitmap->Monochrome() ? WhiteKey : SurfacePixel(Color, false) & WhiteKey;
    if (!Qvutils::StretchKeyedOnePass(target, X, Y, w, h, source, 0, 0, w, h, key))
        TransparentBltMasked(target, source, X, Y, w, h, Color);
    SelectObject(source, oldSource);
    DeleteDC(source);
}

// The bitmap is masked in place and given its pixels back at the end, from a copy of
// its own kind (a copy of the target's kind would lose a colour bitmap's colours on a
// monochrome target).
void TransparentBltMasked(HDC Target, HDC Source, int X, int Y, int Width, int Height, TColor Color)
{
    const int w = Width, h = Height;
    Qvutils::TScratchDC save(Source, CreateCompatibleBitmap(Source, w, h));
    Qvutils::TScratchDC mask(Source, CreateBitmap(w, h, 1, 1, nullptr));
    Qvutils::TScratchDC inverse(Source, CreateBitmap(w, h, 1, 1, nullptr));
    Qvutils::TScratchDC memory(Source, CreateCompatibleBitmap(Target, w, h));

    BitBlt(save, 0, 0, w, h, Source, 0, 0, SRCCOPY);
    const TColor oldBack = SetBkColor(Source, Color);
    BitBlt(mask, 0, 0, w, h, Source, 0, 0, SRCCOPY);
    SetBkColor(Source, oldBack);
    BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);
    BitBlt(memory, 0, 0, w, h, Target, X, Y, SRCCOPY);
    BitBlt(memory, 0, 0, w, h, mask, 0, 0, SRCAND);
    BitBlt(Source, 0, 0, w, h, inverse, 0, 0, SRCAND);
    BitBlt(memory, 0, 0, w, h, Source, 0, 0, SRCPAINT);
    BitBlt(Target, X, Y, w, h, memory, 0, 0, SRCCOPY);
    BitBlt(Source, 0, 0, w, h, save, 0, 0, SRCCOPY);
}

void GreyBMP(TBitmap* Bitmap, bool UseTransparent, TColor TransparentColor)
{
    TCanvas* canvas = Bitmap->Canvas();
    ForEachPixel(Bitmap, [&](int x, int y) {
        const TColor c = canvas->Pixels(x, y);
        if (UseTransparent && c == TransparentColor)
            return;
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        if (r == g && b == g)
            return;
        const int grey = RoundEven((r + g + b) / 3.0L);
        canvas->SetPixels(x, y, FlaggedRgb(grey, grey, grey));
    });
}

void DarkenBMP(TBitmap* Bitmap, uint8_t Percent, bool UseTransparent, TColor TransparentColor)
{
    ShiftChannels(Bitmap, -PercentAmount(Percent), UseTransparent, TransparentColor);
}

void LightenBMP(TBitmap* Bitmap, uint8_t Percent, bool UseTransparent, TColor TransparentColor)
{
    ShiftChannels(Bitmap, PercentAmount(Percent), UseTransparent, TransparentColor);
}

void RasterBMP(TBitmap* Bitmap, TColor Color, TqvRast Raster)
{
    TCanvas* canvas = Bitmap->Canvas();
    switch (Raster) {
    case Rast25:
        ForEachPixel(Bitmap, [&](int x, int y) {
            if (BasePattern(x, y) != RasterOfset)
                canvas->SetPixels(x, y, Color);
        });
        break;
    case Rast50:
        ForEachPixel(Bitmap, [&](int x, int y) {
            const bool differentParity = (x % 2) != (y % 2);
            if (differentParity != RasterOfset)
                canvas->SetPixels(x, y, Color);
        });
        break;
    case Rast75:
        for (int x = 0; x <= Bitmap->Width() - 2; ++x)
            for (int y = 0; y <= Bitmap->Height() - 2; ++y)
                if (BasePattern(x, y)) {
                    canvas->SetPixels(x, y, Color);
                    canvas->SetPixels(x + 1, y, Color);
                    canvas->SetPixels(x, y + 1, Color);
                }
        break;
    }
}

void BMPRotate(TBitmap* Source, TBitmap* Dest, int Angle)
{
    // Destination point (i, j) from the centre, in polar form (rho, phi), takes the
    // source point at the radius rounded, r, and the angle phi + a:
    // r * cos(phi + a) = r / rho * (i * cos a - j * sin a), and likewise for the sine,
    // so the sine and cosine are taken once. The radius is rounded before it turns, so
    // the mapping is not linear and each point costs a square root instead of a step.
    // A result can be an exact half only where phi is a whole number of degrees, on
    // the axes and the diagonal; there the long double sine and cosine of the
    // direction's own angle give the ties (at 30 or 60 degrees, say) the polar form
    // gives, and elsewhere double precision rounds as it does.
    struct Direction {
        long double Cos, Sin;
    };
    const long double a = Angle * std::numbers::pi_v<long double> / 180;
    auto direction = [a](long double phi) { return Direction{std::cos(phi + a), std::sin(phi + a)}; };
    const Direction alongI = direction(0), alongJ = direction(std::numbers::pi_v<long double> / 2);
    const Direction diagonal = direction(std::atan(1.0L));
    const double c = static_cast<double>(alongI.Cos), s = static_cast<double>(alongI.Sin);
    // Rotating a bitmap onto itself reads a copy of it, not the pixels already turned.
    const QImage source = Source == Dest ? Source->ToQImage() : Source->Handle()->Image;
    const PixelRows from(source);
    PixelWriter to(*Dest);
    const int sx = Source->Width() / 2, sy = Source->Height() / 2;
    const int dx = Dest->Width() / 2, dy = Dest->Height() / 2;
    const int n = std::max(Dest->Width(), Dest->Height()) / 2 - 1;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) {
            int u, v;
            if (i == 0 || j == 0 || i == j) {
                const Direction& d = i == 0 ? alongJ : j == 0 ? alongI : diagonal;
                const int r = RoundEven(std::sqrt(static_cast<long double>(i * i + j * j)));
                u = RoundEven(r * d.Cos);
                v = RoundEven(r * d.Sin);
            } else {
                const double rho = std::sqrt(static_cast<double>(i * i + j * j));
                const double scale = RoundHalfEven(rho) / rho;
                u = RoundHalfEven(scale * (i * c - j * s));
                v = RoundHalfEven(scale * (j * c + i * s));
            }
            to.Copy(from, sx + u, sy + v, dx + i, dy + j);
            to.Copy(from, sx - u, sy - v, dx - i, dy - j);
            to.Copy(from, sx + v, sy - u, dx + j, dy - i);
            to.Copy(from, sx - v, sy + u, dx - j, dy + i);
        }
}

} // namespace Qvsedit
