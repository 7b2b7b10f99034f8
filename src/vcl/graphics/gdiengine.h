#pragma once
// Internals shared by the drawing engine's source files: pixel access, raster
// operations and brush patterns. Not part of the public interface.
#include "vcl/graphics/gdi.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>

namespace vcl::gdiengine {

constexpr uint32_t RgbMask = 0x00FFFFFFu;
constexpr uint32_t OpaqueAlpha = 0xFF000000u;
constexpr uint32_t BlackPixel = 0xFF000000u;
constexpr uint32_t WhitePixel = 0xFFFFFFFFu;

// Binary raster operation (R2_ code) of pen P over destination D.
inline uint32_t ApplyRop2(int Rop2, uint32_t P, uint32_t D)
{
    if (Rop2 == R2_COPYPEN)
        return P | OpaqueAlpha;
    // R2 code - 1 is the truth table; bit (2*P + D) gives the result bit.
    const unsigned table = unsigned(Rop2 - 1) & 0xF;
    uint32_t r = 0;
    if (table & 8)
        r |= P & D;
    if (table & 4)
        r |= P & ~D;
    if (table & 2)
        r |= ~P & D;
    if (table & 1)
        r |= ~P & ~D;
    return (r & RgbMask) | OpaqueAlpha;
}

// Ternary raster operation code (truth table: bit 4*P + 2*S + D).
inline uint32_t ApplyRop3(uint8_t Code, uint32_t P, uint32_t S, uint32_t D)
{
    uint32_t r;
    switch (Code) {
    case 0xCC: r = S; break;
    case 0x88: r = S & D; break;
    case 0xEE: r = S | D; break;
    case 0x66: r = S ^ D; break;
    case 0x33: r = ~S; break;
    case 0x55: r = ~D; break;
    case 0xF0: r = P; break;
    case 0x5A: r = P ^ D; break;
    case 0x00: r = 0; break;
    case 0xFF: r = ~0u; break;
    default:
        r = 0;
        for (int i = 0; i < 8; ++i) {
            if (!(Code & (1 << i)))
                continue;
            r |= ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
        }
    }
    return (r & RgbMask) | OpaqueAlpha;
}

inline bool RopUsesSource(uint8_t Code) { return (((Code >> 2) ^ Code) & 0x33) != 0; }
inline bool RopUsesPattern(uint8_t Code) { return (((Code >> 4) ^ Code) & 0x0F) != 0; }

// Maps a width or height that may be negative to the covered range: a negative extent
// starting at Pos covers Pos+Extent+1 .. Pos (the platform's rule).
inline void NormaliseExtent(int Pos, int Extent, int& Start, int& End)
{
    if (Extent >= 0) {
        Start = Pos;
        End = Pos + Extent;
    } else {
        Start = Pos + Extent + 1;
        End = Pos + 1;
    }
}

// The brush of a context as a pixel source, aligned to the brush origin.
class BrushPattern {
public:
    // The side of a brush's tile, as the platform's brushes: hatches are 8x8 and a
    // pattern brush takes the top-left 8x8 pixels of its bitmap.
    static constexpr int TileSize = 8;

    BrushPattern(const TDeviceContext& DC, const TGdiBrush* Brush);
    // False where the brush leaves the pixel alone (null brush, hatch gaps when the
    // background mode is transparent).
    bool IsNull() const { return FNull; }
    bool At(int X, int Y, uint32_t& Pixel) const
    {
        if (FNull)
            return false;
        if (FSolid) {
            Pixel = FColor;
            return true;
        }
        const int px = ((X - FOriginX) % TileSize + TileSize) % TileSize;
        const int py = ((Y - FOriginY) % TileSize + TileSize) % TileSize;
        const uint32_t value = FTile[py * TileSize + px];
        if (value == 0)
            return false;
        Pixel = value;
        return true;
    }

private:
    bool FNull = false;
    bool FSolid = true;
    uint32_t FColor = 0;
    int FOriginX = 0;
    int FOriginY = 0;
    // The brush repeats every TileSize pixels across and down; 0 marks a pixel left
    // alone (real pixels always carry alpha 0xFF).
    uint32_t FTile[TileSize * TileSize] = {};
};

// The pixels drawing may reach: the surface within the clip region (empty without a
// surface).
QRegion DrawableRegion(const TDeviceContext& DC);

// Whether drawing may reach pixel (X, Y).
inline bool MayDraw(const TDeviceContext& DC, int X, int Y)
{
    const QImage* image = DC.Surface();
    return image && X >= 0 && Y >= 0 && X < image->width() && Y < image->height()
        && (!DC.HasClip || DC.ClipRegion.contains(QPoint(X, Y)));
}

// Calls Draw(rect) for each rectangle of Area that drawing may reach (rectangles of
// the clip region within Area and the surface; none overlap).
template <typename DrawFn>
void ForEachDrawableRect(const TDeviceContext& DC, const QRect& Area, DrawFn Draw)
{
    if (!DC.Surface())
        return;
    const QRect bounded = Area.intersected(DC.Surface()->rect());
    if (bounded.isEmpty())
        return;
    if (!DC.HasClip) {
        Draw(bounded);
        return;
    }
    for (const QRect& rect : DC.ClipRegion.intersected(bounded))
        Draw(rect);
}

// Writes a pen-coloured pixel through the context's binary raster operation.
inline void PlotPen(TDeviceContext& DC, int X, int Y, uint32_t Pixel)
{
    if (!MayDraw(DC, X, Y))
        return;
    auto* line = reinterpret_cast<uint32_t*>(DC.Surface()->scanLine(Y));
    line[X] = ApplyRop2(DC.Rop2, Pixel, line[X]);
}

// Handles of the objects the Create functions made and DeleteObject has not freed, so
// that a stale or foreign handle is refused instead of being used.
void TrackObject(TGdiObject* Object);
bool IsLiveObject(const TGdiObject* Object);
// The region behind a live region handle, else null.
TGdiRegion* LiveRegion(HRGN Region);

// Fills the device rectangle (exclusive right and bottom) with the brush through the
// binary raster operation (shape interiors).
void FillWithBrush(TDeviceContext& DC, const QRect& Area, const BrushPattern& Brush);

// Renders a shape with QPainter (antialiasing off) into a coverage mask the size of
// Box and writes the covered pixels: the fill with the context's brush, then the
// outline with its pen, both through the binary raster operation.
class ShapeMask {
public:
    explicit ShapeMask(const QRect& Box);
    QImage& Image() { return FImage; }
    const QRect& Box() const { return FBox; }
    void ApplyBrush(TDeviceContext& DC, const BrushPattern& Brush) const;
    void ApplyPen(TDeviceContext& DC, uint32_t Pixel) const;

private:
    QRect FBox;
    QImage FImage;
};

// Snaps the pixels of Area to black or white (after Qt drew on a monochrome surface).
void SnapToMonochrome(QImage& Image, const QRect& Area);

// Draws a one-pixel line from (X0, Y0) towards (X1, Y1) with the pen's style; the
// end point itself is not drawn.
void ThinLine(TDeviceContext& DC, int X0, int Y0, int X1, int Y1);

} // namespace vcl::gdiengine

namespace vcl::gdiengine {

// Stretches the source rectangle onto the destination rectangle (extents may be
// negative to mirror), leaving out the source pixels of colour Key; with a
// Replacement brush those pixels take the brush instead (the platform's brush copy).
void StretchKeyed(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int XSrc, int YSrc, int WidthSrc,
    int HeightSrc, TColor Key, const TGdiBrush* Replacement);

} // namespace vcl::gdiengine
