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
    int Red = 0; // 0 to 255.
    int Green = 0; // 0 to 255.
    int Blue = 0; // 0 to 255.
    bool operator==(const TRgbValue&) const = default; // Equal when all three components are.
};

// The colour of the three components.
TColor ToColor(const TRgbValue& Value);
TRgbValue FromColor(TColor Color); // The components of Color (system colours resolved).

// The nearest integer, halves going to the even neighbour.
int RoundHalfEven(double Value);

// Where the ring and the square lie on a page of the given size.
struct TRingGeometry {
    int Radius = 0; // Half the shorter side of the page.
    int Outer = 0; // The ring's outer radius, 0.9 x Radius.
    int Inner = 0; // The ring's inner radius, 0.7 x Radius.
    // The square runs from SquareFrom to SquareTo in both directions.
    int SquareFrom = 0;
    int SquareTo = 0; // (see SquareFrom)
    int SquareWidth = 0; // The square's side, 0.96 x Radius.

    // Distance of (X, Y) from the centre (Radius, Radius).
    double Distance(int X, int Y) const;
    bool OnRing(int X, int Y) const; // True strictly between the inner and the outer radius.
    bool InSquare(int X, int Y) const; // True inside the square, edges included.
};
TRingGeometry RingGeometry(int Width, int Height); // The geometry for a page of Width x Height pixels.

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

// Paints the hue ring on a page of Width x Height pixels.
void PaintRing(TCanvas* Canvas, int Width, int Height);
void PaintSquare(TCanvas* Canvas, const TRingGeometry& Geometry, const TRgbValue& Hue); // Paints the square for Hue.
void PaintPlane(TCanvas* Canvas, int Width, int Height, int Mode, const TRgbValue& Mixer); // Paints the plane of Mode over Width x Height pixels.

} // namespace Qvcolorsort
