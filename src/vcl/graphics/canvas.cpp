#include "vcl/graphics/canvas.h"

#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/gdiengine.h"

namespace vcl {

namespace {

int GdiPenStyle(TPenStyle Style)
{
    switch (Style) {
    case psSolid: return PS_SOLID;
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    }
    return PS_SOLID;
}

int Rop2Of(TPenMode Mode)
{
    static constexpr int Codes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
        R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN,
        R2_XORPEN, R2_NOTXORPEN};
    return Codes[Mode];
}

bool SameLogFont(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic
        && a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet
        && a.lfPitchAndFamily == b.lfPitchAndFamily && a.lfFaceName == b.lfFaceName && a.lfEscapement == b.lfEscapement;
}

} // namespace

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QImage* Image, bool Monochrome)
{
    SetSurface(Image, Monochrome);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetSurface(QImage* Image, bool Monochrome)
{
    FDC.Bitmap = nullptr;
    FDC.SetSurface(Image, Monochrome);
}

void TCanvas::SelectBitmap(HBITMAP Bitmap)
{
    if (Bitmap)
        SelectObject(&FDC, Bitmap);
    else
        SetSurface(nullptr);
}

TRect TCanvas::ClipRect() const
{
    TRect rect;
    GetClipBox(const_cast<TDeviceContext*>(&FDC), rect);
    return rect;
}

QRegion TCanvas::ClipRegion() const
{
    return gdiengine::DrawableRegion(FDC);
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCanvas::RequirePen()
{
    FGdiPen.Style = GdiPenStyle(FPen.Style());
    FGdiPen.Width = FPen.Width();
    FGdiPen.Color = ColorToRGB(FPen.Color());
    FDC.Pen = &FGdiPen;
    FDC.Rop2 = Rop2Of(FPen.Mode());
}

void TCanvas::RequireBrush()
{
    static constexpr int Hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    const TColor color = ColorToRGB(FBrush.Color());
    FGdiBrush.Color = color;
    FGdiBrush.Pattern = QImage();
    if (FBrush.Bitmap() && !FBrush.Bitmap()->Empty()) {
        FGdiBrush.Style = BS_PATTERN;
        const QImage& image = FBrush.Bitmap()->Handle()->Image;
        FGdiBrush.Pattern = image.copy(0, 0, std::min(gdiengine::BrushPattern::TileSize, image.width()),
            std::min(gdiengine::BrushPattern::TileSize, image.height()));
        FGdiBrush.PatternMonochrome = FBrush.Bitmap()->Monochrome();
    } else if (FBrush.Style() == bsClear) {
        FGdiBrush.Style = BS_NULL;
    } else if (FBrush.Style() == bsSolid) {
        FGdiBrush.Style = BS_SOLID;
    } else {
        FGdiBrush.Style = BS_HATCHED;
        FGdiBrush.Hatch = Hatches[FBrush.Style()];
    }
    FDC.Brush = &FGdiBrush;
    if (FBrush.Style() == bsSolid) {
        FDC.BkColor = color;
        FDC.BkMode = OPAQUE;
    } else {
        // Hatches and text draw without a background under a non-solid brush. The
        // background colour still counts where a blit from this canvas makes a
        // monochrome mask (pixels of the background colour turn white) and for the
        // gaps of a monochrome pattern; the brush colour's inverse is the one colour
        // sure to differ from it, so the brush's own pixels never count as background.
        FDC.BkColor = TColorOf(~uint32_t(color) & 0xFFFFFF);
        FDC.BkMode = TRANSPARENT;
    }
}

void TCanvas::RequireFont()
{
    const LOGFONT lf = LogFontOf(FFont);
    if (!FGdiFont || !SameLogFont(FGdiFont->LogFont, lf))
        FGdiFont = std::make_unique<TGdiFont>(lf);
    FDC.Font = FGdiFont.get();
    FDC.TextColor = ColorToRGB(FFont.Color());
}

TColor TCanvas::Pixels(int X, int Y) const
{
    return GetPixel(const_cast<TDeviceContext*>(&FDC), X, Y);
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    Changing();
    SetPixel(&FDC, X, Y, ColorToRGB(Value));
    FChangedArea = QRect(X, Y, 1, 1);
    Changed();
    FChangedArea = QRect();
}

void TCanvas::MoveTo(int X, int Y)
{
    MoveToEx(&FDC, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::LineTo(&FDC, X, Y);
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Polyline(&FDC, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Polygon(&FDC, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Rectangle(&FDC, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::RoundRect(&FDC, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Ellipse(&FDC, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Arc(&FDC, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Pie(&FDC, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequirePen();
    RequireBrush();
    vcl::Chord(&FDC, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::FillRect(const TRect& Rect)
{
    Changing();
    RequireBrush();
    vcl::FillRect(&FDC, Rect, FDC.Brush);
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect)
{
    Changing();
    RequireBrush();
    vcl::FrameRect(&FDC, Rect, FDC.Brush);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect)
{
    Changing();
    vcl::DrawFocusRect(&FDC, Rect);
    Changed();
}

void TCanvas::TextOut(int X, int Y, const QString& Text)
{
    Changing();
    RequireFont();
    RequireBrush();
    ExtTextOut(&FDC, X, Y, 0, nullptr, Text);
    MoveTo(X + TextWidth(Text), Y);
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const QString& Text)
{
    Changing();
    RequireFont();
    RequireBrush();
    const UINT options = UINT(ETO_CLIPPED) | (FBrush.Style() != bsClear ? UINT(ETO_OPAQUE) : 0u);
    ExtTextOut(&FDC, X, Y, options, &Rect, Text);
    Changed();
}

TSize TCanvas::TextExtent(const QString& Text)
{
    RequireFont();
    TSize size;
    GetTextExtentPoint32(&FDC, Text, -1, size);
    return size;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Changing();
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Changing();
    Graphic->Draw(this, Rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source)
{
    if (!Canvas)
        return;
    Changing();
    RequireBrush();
    Canvas->RequireBrush();
    StretchBlt(&FDC, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->Handle(), Source.Left, Source.Top,
        Source.Width(), Source.Height(), FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color)
{
    if (!Bitmap || Bitmap->Empty())
        return;
    Changing();
    RequireBrush();
    TDeviceContext source;
    source.SetSurface(&Bitmap->Handle()->Image, Bitmap->Monochrome());
    gdiengine::StretchKeyed(&FDC, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), &source, Source.Left,
        Source.Top, Source.Width(), Source.Height(), ColorToRGB(Color), FDC.Brush);
    Changed();
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->Pen()->SetWidth(1);
    --Rect.Bottom;
    --Rect.Right;
    while (Width-- > 0) {
        // Each polyline leaves out its last point, so every ring pixel is drawn once.
        Canvas->Pen()->SetColor(TopColor);
        Canvas->Polyline({{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}});
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->Polyline({{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}});
        ++Rect.Left;
        ++Rect.Top;
        --Rect.Right;
        --Rect.Bottom;
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

} // namespace vcl
