#include "frame/qvsedit.h"

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

// Rounds half to even, as the original's Round does.
int RoundEven(long double Value)
{
    return static_cast<int>(std::nearbyintl(Value));
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
    HDC save = CreateCompatibleDC(source);
    HDC mask = CreateCompatibleDC(source);
    HDC inverse = CreateCompatibleDC(source);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP inverseBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP memoryBitmap = CreateCompatibleBitmap(target, w, h);
    HBITMAP saveBitmap = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldSource = SelectObject(source, Bitmap->Handle());
    HGDIOBJ oldSave = SelectObject(save, saveBitmap);
    HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
    HGDIOBJ oldInverse = SelectObject(inverse, inverseBitmap);
    HGDIOBJ oldMemory = SelectObject(memory, memoryBitmap);

    BitBlt(save, 0, 0, w, h, source, 0, 0, SRCCOPY);
    const TColor oldBack = SetBkColor(source, Color);
    BitBlt(mask, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);
    BitBlt(memory, 0, 0, w, h, target, X, Y, SRCCOPY);
    BitBlt(memory, 0, 0, w, h, mask, 0, 0, SRCAND);
    BitBlt(source, 0, 0, w, h, inverse, 0, 0, SRCAND);
    BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCPAINT);
    BitBlt(target, X, Y, w, h, memory, 0, 0, SRCCOPY);
    // Give the bitmap its own pixels back.
    BitBlt(source, 0, 0, w, h, save, 0, 0, SRCCOPY);

    SelectObject(source, oldSource);
    DeleteObject(SelectObject(save, oldSave));
    DeleteObject(SelectObject(mask, oldMask));
    DeleteObject(SelectObject(inverse, oldInverse));
    DeleteObject(SelectObject(memory, oldMemory));
    for (HDC dc : {source, save, mask, inverse, memory})
        DeleteDC(dc);
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
    const long double a = Angle * std::numbers::pi_v<long double> / 180;
    const int sx = Source->Width() / 2, sy = Source->Height() / 2;
    const int dx = Dest->Width() / 2, dy = Dest->Height() / 2;
    const int n = std::max(Dest->Width(), Dest->Height()) / 2 - 1;
    TCanvas* from = Source->Canvas();
    TCanvas* to = Dest->Canvas();
    auto copy = [&](int fx, int fy, int tx, int ty) {
        const TColor c = from->Pixels(fx, fy);
        // Source points outside the source leave the destination pixel as it was.
        if (c != CLR_INVALID)
            to->SetPixels(tx, ty, ColorToRGB(c) | PaletteRelativeFlag);
    };
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) {
            const long double theta = i == 0 ? std::numbers::pi_v<long double> / 2 + a : std::atan(static_cast<long double>(j) / i) + a;
            const int r = RoundEven(std::sqrt(static_cast<long double>(i * i + j * j)));
            const int u = RoundEven(r * std::cos(theta));
            const int v = RoundEven(r * std::sin(theta));
            copy(sx + u, sy + v, dx + i, dy + j);
            copy(sx - u, sy - v, dx - i, dy - j);
            copy(sx + v, sy - u, dx + j, dy - i);
            copy(sx - v, sy + u, dx - j, dy + i);
        }
}

} // namespace Qvsedit
