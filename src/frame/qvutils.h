#pragma once
// Drawing utilities shared by the painted controls: integer helpers, font
// measurements, a rotated-font factory, one-pixel sides and bevels, framed borders,
// and transparent drawing of bitmaps (plain and stretched).
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/gdi.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace Qvutils {
Q_NAMESPACE

using vcl::TColor;
using vcl::TRect;

// One side of a rectangle.
enum TSide { sdLeft, sdTop, sdRight, sdBottom };

// A set of sides, one bit per side (bit 0 left ... bit 3 bottom).
class TSides {
public:
    constexpr TSides() = default;
    // The set of the listed sides.
    constexpr TSides(std::initializer_list<TSide> Sides)
    {
        for (TSide side : Sides)
            FBits = uint8_t(FBits | (1u << side));
    }
    // The set of the sides whose bits (0 left ... 3 bottom) are set; higher bits are ignored.
    static constexpr TSides FromBits(uint8_t Bits)
    {
        TSides sides;
        sides.FBits = uint8_t(Bits & 0x0F);
        return sides;
    }
    // True when Side is in the set.
    constexpr bool Contains(TSide Side) const { return (FBits >> Side) & 1u; }
    constexpr uint8_t Bits() const { return FBits; } // The set as bits, bit 0 left ... bit 3 bottom.
    friend constexpr bool operator==(TSides, TSides) = default;

private:
    uint8_t FBits = 0;
};

// Left, top, right and bottom.
constexpr TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

// The border styles of DrawBorderSides and DrawFrame.
enum TFramesStyle { fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup };
Q_ENUM_NS(TFramesStyle)

// Upper-left and lower-right line colours of each frame style.
extern const std::array<TColor, 10> ULFrameColor;
extern const std::array<TColor, 10> LRFrameColor; // Indexed by TFramesStyle, as ULFrameColor.
// The sixteen standard colours, black to white.
extern const std::array<TColor, 16> ColorValues;

// The larger of A and B.
int Max(int A, int B);
int Min(int A, int B); // The smaller of A and B.
// The last character of S; a null character for an empty string.
QChar LastChar(const QString& S);

// Average character width of the font: the width of "A..Za..z" divided by 52,
// rounded half to even.
int GetAvgCharWidth(vcl::TFont* Font);
// The font's character height (ascent + descent) plus 2.
int GetMinFontHeight(vcl::TFont* Font);
// A new font object like Font, turned by Angle degrees; the caller deletes it
// (DeleteObject).
vcl::HFONT RotateFont(vcl::TFont* Font, int Angle);

// One-pixel lines on the chosen sides of Rect (upper-left colour on the left and top,
// lower-right colour on the right and bottom, which wins at shared corners); returns
// Rect shrunk by one pixel on each side drawn.
TRect DrawSides(vcl::TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, TSides Sides);
// Width rings of DrawSides; returns the rectangle inside them.
TRect DrawBevel(vcl::TCanvas* Canvas, TRect Rect, TColor ULColor, TColor LRColor, int Width, TSides Sides);
// The border of Style on the chosen sides (fsNone draws nothing); returns the rectangle
// inside it.
TRect DrawBorderSides(vcl::TCanvas* Canvas, TRect Rect, TFramesStyle Style, TSides Sides);
// A push button's two-ring border, sunken when Down; returns the rectangle inside it.
TRect DrawButtonBorderSides(vcl::TCanvas* Canvas, TRect Rect, bool Down, TSides Sides);
// The classic three-dimensional two-ring border, sunken when Lowered; returns the
// rectangle inside it.
TRect DrawCtl3DBorderSides(vcl::TCanvas* Canvas, TRect Rect, bool Lowered, TSides Sides);
// Clears a two-pixel ring of (0, 0, Width, Height) with Fill, then draws the border
// of Style (Flat colours the flat style's line).
void DrawFrame(vcl::TCanvas* Canvas, int Width, int Height, TFramesStyle Style, TColor Fill, TColor Flat, TSides Sides);

// Draws Bitmap at (X, Y) in its own size, leaving out TransparentColor (clNone: a plain
// copy).
void DrawBitmapTransparent(vcl::TCanvas* Dest, int X, int Y, vcl::TBitmap* Bitmap, TColor TransparentColor);
// Stretches a source rectangle of Bitmap onto the destination rectangle leaving out
// TransparentColor (clNone: a plain copy). A destination width or height of 0 or less
// takes the bitmap's; a source width or height of 0 or less takes the whole bitmap.
void StretchBitmapTransparent(vcl::TCanvas* Dest, vcl::TBitmap* Bitmap, TColor TransparentColor, int DstX, int DstY,
    int DstW, int DstH, int SrcX, int SrcY, int SrcW, int SrcH);
// A memory device context compatible with another, holding Bitmap for the mask
// technique's scratch work; the context and the bitmap are freed with this object.
class TScratchDC {
public:
    // Selects Bitmap into a new memory context compatible with CompatibleWith.
    TScratchDC(vcl::HDC CompatibleWith, vcl::HBITMAP Bitmap);
    ~TScratchDC();
    TScratchDC(const TScratchDC&) = delete;
    TScratchDC& operator=(const TScratchDC&) = delete;

    operator vcl::HDC() const { return FDC; } // The memory device context.

private:
    vcl::HDC FDC;
    vcl::HGDIOBJ FOldBitmap;
};

// The mask technique on device contexts: source pixels of TransparentColor (an
// explicit red-green-blue value) leave the destination as it was. Computed in one pass
// where that gives the same pixels, else with StretchBltMasked.
void StretchBltTransparent(vcl::HDC DstDC, int DstX, int DstY, int DstW, int DstH, vcl::HDC SrcDC, int SrcX, int SrcY,
    int SrcW, int SrcH, vcl::HPALETTE Palette, TColor TransparentColor);
// The mask technique as eight block transfers through monochrome masks and scratch
// bitmaps (the source's map mode is set to the destination's).
void StretchBltMasked(vcl::HDC DstDC, int DstX, int DstY, int DstW, int DstH, vcl::HDC SrcDC, int SrcX, int SrcY,
    int SrcW, int SrcH, vcl::HPALETTE Palette, TColor TransparentColor);
// The mask technique's result computed in one pass over the destination, where one
// pass gives the same pixels: source pixels of colour Key (0x00RRGGBB; a monochrome
// source's pixels count as black or white) leave the destination as it was, the
// others are copied, stretched as the block transfers stretch. Returns false, drawing
// nothing, for a monochrome destination, extents of 0 or less, or source and
// destination on one surface.
bool StretchKeyedOnePass(vcl::HDC DstDC, int DstX, int DstY, int DstW, int DstH, vcl::HDC SrcDC, int SrcX, int SrcY,
    int SrcW, int SrcH, uint32_t Key);
// The colour resolved to red-green-blue with the palette-relative flag.
TColor PaletteColor(TColor Color);

} // namespace Qvutils
