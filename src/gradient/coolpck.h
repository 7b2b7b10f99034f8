#pragma once
// Coolpck: the cool-look family's shared part: its text styles, the alignment flags
// of its captions, and the free drawing helpers (transparent bitmaps, a greyed copy
// of a small picture, and the platform's button edges).
#include "frame/qvutils.h"
#include "vcl/controls/stdctrls.h"

#include <array>

namespace Coolpck {
Q_NAMESPACE

using vcl::TColor;

// How a caption is drawn: plain, raised, recessed or with a shadow.
enum TTextStyle { tsNone, tsRaised, tsRecessed, taShadow };
Q_ENUM_NS(TTextStyle)

// The text-drawing flag of each caption alignment (left, right, centre).
extern const std::array<unsigned, 3> TextAlignments;

// The transparent helpers behave exactly as the drawing utilities' own.
using Qvutils::DrawBitmapTransparent;
// Stretches the part SrcRect of Bitmap onto (DstX, DstY, DstW, DstH), leaving out
// TransparentColor.
void StretchBitmapRectTransparent(vcl::TCanvas* Dest, int DstX, int DstY, int DstW, int DstH, const vcl::TRect& SrcRect,
    vcl::TBitmap* Bitmap, TColor TransparentColor);
// Draws the part SrcRect of Bitmap at (DstX, DstY) at its own size, leaving out
// TransparentColor.
void DrawBitmapRectTransparent(
    vcl::TCanvas* Dest, int DstX, int DstY, const vcl::TRect& SrcRect, vcl::TBitmap* Bitmap, TColor TransparentColor);

// Pictures with more pixels than this are left as they are by mygrayedbmp.
constexpr int64_t GrayedPixelLimit = 10000;
// Greys a small picture in four tones by the sum s of each pixel's red, green and
// blue: s >= 551 white, 251..550 Light, below 61 black, else Dark. Pixels of the
// top-left pixel's colour (the background) stay as they are.
void mygrayedbmp(vcl::TBitmap* Bitmap, TColor Light, TColor Dark);
// The platform's two-pixel button edges around Rect, raised or pressed.
void myDrawButtonFace(vcl::TCanvas* Canvas, vcl::TRect Rect, bool Pressed);

} // namespace Coolpck
