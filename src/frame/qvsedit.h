#pragma once
// Bitmap effects: colour replacement, mirroring, transparent drawing, greying,
// darkening, lightening, stippling with a raster pattern and rotation.
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/colors.h"

#include <cstdint>

namespace Qvsedit {

using vcl::TColor;

// The raster patterns of RasterBMP: a quarter, half or three quarters of the pixels.
enum TqvRast { Rast25, Rast50, Rast75 };

// Moves the raster patterns of RasterBMP (Rast25 becomes its complement, Rast50 the
// other checkerboard); initially false.
extern bool RasterOfset;

// Replaces every pixel of colour OldColor by NewColor.
void ReplaceColor(vcl::TBitmap* Bitmap, TColor OldColor, TColor NewColor);
// Mirrors left to right (column x takes column W-1-x).
void MirrorBMP(vcl::TBitmap* Bitmap);
// Mirrors top to bottom (row y takes row H-1-y).
void FlipBMP(vcl::TBitmap* Bitmap);
// Draws Bitmap at (X, Y) leaving out the pixels of Color (the white ones of a
// monochrome bitmap); the bitmap is unchanged. Computed in one pass where that gives
// the same pixels, else with TransparentBltMasked.
void TransparentBlt(vcl::TCanvas* Canvas, vcl::TBitmap* Bitmap, int X, int Y, TColor Color);
// The mask technique with block transfers: Source (a context on the bitmap, Width x
// Height) drawn on Target at (X, Y) leaving out Color.
void TransparentBltMasked(vcl::HDC Target, vcl::HDC Source, int X, int Y, int Width, int Height, TColor Color);
// Turns every coloured pixel grey (the mean of its channels, rounded half to even);
// with UseTransparent, pixels of TransparentColor are left alone.
void GreyBMP(vcl::TBitmap* Bitmap, bool UseTransparent, TColor TransparentColor);
// Subtracts round(Percent * 2.55) from every channel (at least 0).
void DarkenBMP(vcl::TBitmap* Bitmap, uint8_t Percent, bool UseTransparent, TColor TransparentColor);
// Adds round(Percent * 2.55) to every channel (at most 255).
void LightenBMP(vcl::TBitmap* Bitmap, uint8_t Percent, bool UseTransparent, TColor TransparentColor);
// Sets the pixels of a stipple pattern of about 25, 50 or 75 percent to Color.
void RasterBMP(vcl::TBitmap* Bitmap, TColor Color, TqvRast Raster);
// Fills Dest with Source turned by Angle degrees about the centres (inverse mapping);
// Dest keeps its size and the pixels no source pixel reaches.
void BMPRotate(vcl::TBitmap* Source, vcl::TBitmap* Dest, int Angle);

} // namespace Qvsedit
