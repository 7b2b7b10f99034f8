#include "dialogs/qvcolorpicture.h"

#include <algorithm>
#include <cmath>

namespace Qvcolorsort {

namespace {

int Clamp255(int Value) { return std::clamp(Value, 0, 255); }

// 255 / 60: the change of a component per degree of hue.
int HueStep(double Degrees) { return RoundHalfEven(4.25 * Degrees); }

} // namespace

TColor ToColor(const TRgbValue& Value) { return RGB(Value.Red, Value.Green, Value.Blue); }

TRgbValue FromColor(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

int RoundHalfEven(double Value) { return static_cast<int>(std::nearbyint(Value)); }

double TRingGeometry::Distance(int X, int Y) const
{
    return std::hypot(static_cast<double>(X - Radius), static_cast<double>(Radius - Y));
}

bool TRingGeometry::OnRing(int X, int Y) const
{
    const double d = Distance(X, Y);
    return Inner < d && d < Outer;
}

bool TRingGeometry::InSquare(int X, int Y) const
{
    return SquareFrom <= X && X <= SquareTo && SquareFrom <= Y && Y <= SquareTo;
}

TRingGeometry RingGeometry(int Width, int Height)
{
    TRingGeometry g;
    g.Radius = std::min(Width / 2, Height / 2);
    g.Outer = RoundHalfEven(0.9 * g.Radius);
    g.Inner = RoundHalfEven(0.7 * g.Radius);
    g.SquareFrom = RoundHalfEven(0.52 * g.Radius);
    g.SquareTo = RoundHalfEven(1.48 * g.Radius);
    g.SquareWidth = RoundHalfEven(0.96 * g.Radius);
    return g;
}

double HueAngle(int Dx, int Dy)
{
    if (Dy == 0)
        return Dx > 0 ? 90.0 : 270.0;
    double h = std::atan(static_cast<double>(Dx) / Dy) * 57.29577951308232;
    if (Dy < 0)
        h += 180.0;
    else if (Dx <= 0)
        h += 360.0;
    return h;
}

TRgbValue HueColor(double Angle)
{
    if (Angle < 60)
        return {255, HueStep(Angle), 0};
    if (Angle < 120)
        return {HueStep(120 - Angle), 255, 0};
    if (Angle < 180)
        return {0, 255, HueStep(Angle - 120)};
    if (Angle < 240)
        return {0, HueStep(240 - Angle), 255};
    if (Angle < 300)
        return {HueStep(Angle - 240), 0, 255};
    return {255, 0, HueStep(360 - Angle)};
}

TRgbValue SquareColor(const TRingGeometry& Geometry, const TRgbValue& Hue, int X, int Y)
{
    // The square's last row and column can lie a pixel or two beyond SquareWidth, which
    // would push a component past 255 or below 0; the fractions stay within 0..1.
    const double w = std::max(Geometry.SquareWidth, 1);
    const double s = std::clamp(1.0 - (X - Geometry.SquareFrom) / w, 0.0, 1.0);
    const double t = std::clamp(1.0 - (Y - Geometry.SquareFrom) / w, 0.0, 1.0);
    auto component = [&](int c) {
        const int a = RoundHalfEven((255 - c) * s);
        return Clamp255(RoundHalfEven((255 - a) * t));
    };
    return {component(Hue.Red), component(Hue.Green), component(Hue.Blue)};
}

TRgbValue PlaneColor(int Mode, int Xv, int Yv, const TRgbValue& Mixer)
{
    switch (Mode) {
    case 0: return {Yv, Mixer.Green, Xv};
    case 1: return {Mixer.Red, Xv, Yv};
    default: return {Xv, Yv, Mixer.Blue};
    }
}

TRgbValue PlaneClick(int NewMode, int Xv, int Yv, TRgbValue Mixer)
{
    switch (NewMode) {
    case 0: Mixer.Red = Xv; Mixer.Green = Yv; break;
    case 1: Mixer.Blue = Xv; Mixer.Red = Yv; break;
    default: Mixer.Green = Xv; Mixer.Blue = Yv; break;
    }
    return Mixer;
}

int PlaneValue(int Position, int Extent)
{
    return Extent > 0 ? Clamp255(RoundHalfEven(static_cast<double>(Position) / Extent * 255)) : 0;
}

void PaintRing(TCanvas* Canvas, int Width, int Height)
{
    Canvas->Pen()->SetColor(clWhite);
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(Rect(0, 0, Width, Height));
    const TRingGeometry g = RingGeometry(Width, Height);
    for (int x = 0; x <= 2 * g.Radius; ++x)
        for (int y = 0; y <= 2 * g.Radius; ++y)
            if (g.OnRing(x, y))
                Canvas->SetPixels(x, y, ToColor(HueColor(HueAngle(x - g.Radius, g.Radius - y))));
}

void PaintSquare(TCanvas* Canvas, const TRingGeometry& Geometry, const TRgbValue& Hue)
{
    for (int x = Geometry.SquareFrom; x <= Geometry.SquareTo; ++x)
        for (int y = Geometry.SquareFrom; y <= Geometry.SquareTo; ++y)
            Canvas->SetPixels(x, y, ToColor(SquareColor(Geometry, Hue, x, y)));
}

void PaintPlane(TCanvas* Canvas, int Width, int Height, int Mode, const TRgbValue& Mixer)
{
    for (int x = 0; x <= Width; ++x)
        for (int y = 0; y <= Height; ++y)
            Canvas->SetPixels(x, y, ToColor(PlaneColor(Mode, PlaneValue(x, Width), PlaneValue(y, Height), Mixer)));
}

} // namespace Qvcolorsort
