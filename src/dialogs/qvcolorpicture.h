#pragma once
// The pictures of the colour selection window: the hue ring with its saturation and
// brightness square, and the two-component colour planes, as pure pixel formulas and
// as painting onto a canvas.
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/colors.h"

namespace Qvcolorsort {

using namespace vcl;

// Red, green and blue, each 0 to 255.
struct TRgbValue {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    bool operator==(const TRgbValue&) const = default;
};

TColor ToColor(const TRgbValue& Value);
TRgbValue FromColor(TColor Color);

// The nearest integer, halves going to the even neighbour.
int RoundHalfEven(double Value);

// Where the ring and the square lie on a page of the given size.
struct TRingGeometry {
    int Radius = 0;
    int Outer = 0;
    int Inner = 0;
    // The square runs from SquareFrom to SquareTo in both directions.
    int SquareFrom = 0;
    int SquareTo = 0;
    int SquareWidth = 0;

    // Distance of (X, Y) from the centre (Radius, Radius).
    double Distance(int X, int Y) const;
    bool OnRing(int X, int Y) const;
    bool InSquare(int X, int Y) const;
};
TRingGeometry RingGeometry(int Width, int Height);

// The hue angle in degrees, clockwise from straight up, of the offset (Dx, Dy) from the
// centre, Dy counted upward; 0 < angle <= 360 above the centre line.
double HueAngle(int Dx, int Dy);
// The fully saturated colour of a hue angle.
TRgbValue HueColor(double Angle);
// The square's colour at (X, Y) for Hue: the hue on the left edge, white on the right,
// black at the bottom. Kept within 0 to 255 where the square's edges fall between
// whole pixels.
TRgbValue SquareColor(const TRingGeometry& Geometry, const TRgbValue& Hue, int X, int Y);

// The colour plane shown in Mode (0, 1 or 2) at the scaled position (Xv, Yv), the
// third component taken from Mixer.
TRgbValue PlaneColor(int Mode, int Xv, int Yv, const TRgbValue& Mixer);
// A click on the plane of the previous mode sets two of Mixer's components: NewMode is
// the mode after the click turned the plane.
TRgbValue PlaneClick(int NewMode, int Xv, int Yv, TRgbValue Mixer);
// Position scaled to 0..255 over Extent.
int PlaneValue(int Position, int Extent);

void PaintRing(TCanvas* Canvas, int Width, int Height);
void PaintSquare(TCanvas* Canvas, const TRingGeometry& Geometry, const TRgbValue& Hue);
void PaintPlane(TCanvas* Canvas, int Width, int Height, int Mode, const TRgbValue& Mixer);

} // namespace Qvcolorsort
