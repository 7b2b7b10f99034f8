#pragma once
// TCanvas: drawing with pen, brush and font on a QImage, with the platform's pixel rules.
#include "vcl/core/classes.h"
#include "vcl/graphics/gdi.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QImage>
#include <initializer_list>
#include <memory>
#include <vector>

namespace vcl {

class TBitmap;
class TGraphic;

// How CopyRect and Draw combine source, destination and brush (a raster operation).
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// A canvas draws on a surface: a QImage it does not own (a control's back buffer, a
// bitmap's pixels). Lines exclude their end point, rectangles their right and bottom
// edges. Every drawing call fires OnChanging before and OnChange after it draws.
class TCanvas : public TPersistent {
public:
    TCanvas();
    // Draws on Image (converted to 32-bit pixels if it is not); Monochrome makes it a
    // black-and-white surface.
    explicit TCanvas(QImage* Image, bool Monochrome = false);
    ~TCanvas() override;

    // Changes the surface (null: none; drawing then does nothing).
    void SetSurface(QImage* Image, bool Monochrome = false);
    QImage* Surface() const { return FDC.Surface(); }
    // Makes a bitmap object the surface, as selecting it into the device context.
    void SelectBitmap(HBITMAP Bitmap);

    // The device context, for the GDI functions (BitBlt, DrawText, DrawEdge ...).
    HDC Handle() { return &FDC; }
    bool HandleAllocated() const { return FDC.Surface() != nullptr; }

    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    TFont* Font() { return &FFont; }
    void SetPen(const TPen* Value) { FPen.Assign(Value); }
    void SetBrush(const TBrush* Value) { FBrush.Assign(Value); }
    void SetFont(const TFont* Value) { FFont.Assign(Value); }

    TPoint PenPos() const { return FDC.PenPos; }
    void SetPenPos(const TPoint& Value) { FDC.PenPos = Value; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    // The bounding rectangle of what drawing may reach: the surface, within the clip
    // region when one is set (SelectClipRgn, IntersectClipRect on Handle()).
    TRect ClipRect() const;
    // The pixels drawing may reach, for code that draws on Surface() with a QPainter.
    QRegion ClipRegion() const;

    // Pixels: reading outside the surface returns -1.
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Value);

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polyline(std::initializer_list<TPoint> Points) { Polyline(std::vector<TPoint>(Points)); }
    void Polygon(const std::vector<TPoint>& Points);
    void Polygon(std::initializer_list<TPoint> Points) { Polygon(std::vector<TPoint>(Points)); }
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // Fills with the brush; an inverted rectangle covers the columns (rows) from
    // Right+1 to Left (Bottom+1 to Top), as the platform's pattern fill does.
    void FillRect(const TRect& Rect);
    // A one-pixel border in the brush.
    void FrameRect(const TRect& Rect);
    void DrawFocusRect(const TRect& Rect);

    void TextOut(int X, int Y, const QString& Text);
    // Text at (X, Y) clipped to Rect; the rectangle is filled with the brush unless
    // the brush is clear.
    void TextRect(const TRect& Rect, int X, int Y, const QString& Text);
    TSize TextExtent(const QString& Text);
    int TextWidth(const QString& Text) { return TextExtent(Text).cx; }
    int TextHeight(const QString& Text) { return TextExtent(Text).cy; }

    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    // Copies Source of Canvas to Dest of this canvas with CopyMode, stretching;
    // negative extents mirror.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source of Bitmap to Dest, replacing the pixels of Color by the brush.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

    // Brings the device context in line with Pen, Brush and Font.
    void RequirePen();
    void RequireBrush();
    void RequireFont();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Fire OnChanging and OnChange; for code that draws on Surface() directly.
    virtual void Changing();
    virtual void Changed();
    // The pixels the drawing call being reported touched, when it is known to be
    // small (a single pixel); empty means anywhere.
    const QRect& ChangedArea() const { return FChangedArea; }

private:
    TDeviceContext FDC;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TCopyMode FCopyMode = cmSrcCopy;
    TGdiPen FGdiPen{PS_SOLID, 1, clBlack};
    TGdiBrush FGdiBrush{BS_SOLID, clWhite};
    std::unique_ptr<TGdiFont> FGdiFont;
    QRect FChangedArea;
};

// Draws a bevel of Width one-pixel rings: TopColor on the left and top, BottomColor on
// the right and bottom (which win at the shared corners); Rect shrinks by Width.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

} // namespace vcl
