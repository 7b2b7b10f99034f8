// Lines, shapes, rectangles and edges of the drawing engine.
#include "vcl/graphics/gdi.h"

#include "vcl/graphics/gdiengine.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vcl {

using namespace gdiengine;

namespace gdiengine {

ShapeMask::ShapeMask(const QRect& Box)
    : FBox(Box)
    , FImage(std::max(Box.width(), 1), std::max(Box.height(), 1), QImage::Format_ARGB32_Premultiplied)
{
    FImage.fill(Qt::transparent);
}

namespace {

// Calls write(x, y) for each pixel the mask covers where drawing may reach.
template <typename Write>
void ForCovered(const TDeviceContext& DC, const QImage& Mask, const QRect& Box, Write write)
{
    ForEachDrawableRect(DC, Box, [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto* mline = reinterpret_cast<const uint32_t*>(Mask.constScanLine(y - Box.top()));
            for (int x = area.left(); x <= area.right(); ++x)
                if ((mline[x - Box.left()] >> 24) >= 0x80)
                    write(x, y);
        }
    });
}

} // namespace

void ShapeMask::ApplyBrush(TDeviceContext& DC, const BrushPattern& Brush) const
{
    if (Brush.IsNull() || !DC.Surface())
        return;
    // The surface's pixels found once, not through scanLine (and its detach check)
    // for every covered pixel.
    QImage& surface = *DC.Surface();
    auto* bits = reinterpret_cast<uint32_t*>(surface.bits());
    const qsizetype stride = surface.bytesPerLine() / 4;
    ForCovered(DC, FImage, FBox, [&](int x, int y) {
        uint32_t p;
        if (Brush.At(x, y, p)) {
            uint32_t& pixel = bits[y * stride + x];
            pixel = ApplyRop2(DC.Rop2, p, pixel);
        }
    });
}

void ShapeMask::ApplyPen(TDeviceContext& DC, uint32_t Pixel) const
{
    if (!DC.Surface())
        return;
    ForCovered(DC, FImage, FBox, [&](int x, int y) { PlotPen(DC, x, y, Pixel); });
}

void ThinLine(TDeviceContext& DC, int X0, int Y0, int X1, int Y1)
{
    const TGdiPen* pen = DC.Pen;
    if (!pen || pen->Style == PS_NULL)
        return;
    // On and off runs of the styled pens, in pixels.
    static const std::array<std::vector<int>, 5> Dashes = {{
        {},
        {18, 6},
        {3, 3},
        {9, 6, 3, 6},
        {9, 3, 3, 3, 3, 3},
    }};
    const std::vector<int>& dashes = Dashes[size_t(pen->Style >= PS_DASH && pen->Style <= PS_DASHDOTDOT ? pen->Style : 0)];
    const uint32_t fore = SurfacePixel(pen->Color, DC.Monochrome());
    const uint32_t back = SurfacePixel(DC.BkColor, DC.Monochrome());
    size_t dash = 0;
    int left = dashes.empty() ? 0 : dashes[0];

    const int dx = std::abs(X1 - X0), dy = -std::abs(Y1 - Y0);
    const int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
    int err = dx + dy;
    int x = X0, y = Y0;
    while (x != X1 || y != Y1) {
        if (dashes.empty() || dash % 2 == 0)
            PlotPen(DC, x, y, fore);
        else if (DC.BkMode == OPAQUE)
            // Gaps of a styled line take the background colour in opaque mode.
            PlotPen(DC, x, y, back);
        if (!dashes.empty() && --left == 0) {
            dash = (dash + 1) % dashes.size();
            left = dashes[dash];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace gdiengine

namespace {

// A wide pen: stroke the path with round caps and joins into a mask.
void WideStroke(TDeviceContext& DC, const QPainterPath& Path)
{
    const int width = DC.Pen->Width;
    const QRect box = Path.boundingRect().toAlignedRect().adjusted(-width, -width, width, width);
    ShapeMask mask(box);
    QPainter painter(&mask.Image());
    painter.translate(-box.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(Path);
    painter.end();
    mask.ApplyPen(DC, SurfacePixel(DC.Pen->Color, DC.Monochrome()));
}

bool ThinPen(const TDeviceContext& DC)
{
    return DC.Pen && DC.Pen->Style != PS_NULL && DC.Pen->Width <= 1;
}

bool NullPen(const TDeviceContext& DC)
{
    return !DC.Pen || DC.Pen->Style == PS_NULL;
}

void NormaliseRect(int& Left, int& Top, int& Right, int& Bottom)
{
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
}

// Fills a QPainter-drawn figure with the brush, then draws its outline with the pen.
// Outline and Fill draw into masks whose origin is the device origin.
template <typename FillFn, typename OutlineFn>
void DrawFigure(TDeviceContext& DC, const QRect& Box, FillFn Fill, OutlineFn Outline)
{
    if (!DC.Surface())
        return;
    const int grow = DC.Pen ? DC.Pen->Width : 1;
    const QRect box = Box.adjusted(-grow, -grow, grow, grow);
    const BrushPattern brush(DC, DC.Brush);
    if (!brush.IsNull()) {
        ShapeMask mask(box);
        QPainter painter(&mask.Image());
        painter.translate(-box.topLeft());
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        Fill(painter);
        painter.end();
        mask.ApplyBrush(DC, brush);
    }
    if (!NullPen(DC)) {
        ShapeMask mask(box);
        QPainter painter(&mask.Image());
        painter.translate(-box.topLeft());
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::white, DC.Pen->Width <= 1 ? 0 : DC.Pen->Width));
        painter.setBrush(Qt::NoBrush);
        Outline(painter);
        painter.end();
        mask.ApplyPen(DC, SurfacePixel(DC.Pen->Color, DC.Monochrome()));
    }
}

// Angle in degrees (counter-clockwise, 0 = east) of the radial through (X, Y).
double RadialAngle(const QRect& Box, int X, int Y)
{
    const double cx = Box.left() + Box.width() / 2.0, cy = Box.top() + Box.height() / 2.0;
    return std::atan2(-(Y - cy), X - cx) * 180.0 / M_PI;
}

double SpanAngle(double Start, double End)
{
    double span = End - Start;
    while (span <= 0)
        span += 360;
    return span;
}

enum class ArcKind { Arc, Pie, Chord };

BOOL ArcFigure(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd, ArcKind Kind)
{
    if (!DC)
        return false;
    NormaliseRect(Left, Top, Right, Bottom);
    const QRect box(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1));
    const QRectF figure(Left, Top, Right - Left - 1, Bottom - Top - 1);
    const double start = RadialAngle(box, XStart, YStart);
    const double span = SpanAngle(start, RadialAngle(box, XEnd, YEnd));
    const int a = static_cast<int>(std::lround(start * 16)), s = static_cast<int>(std::lround(span * 16));
    auto outline = [&](QPainter& p) {
        switch (Kind) {
        case ArcKind::Arc: p.drawArc(figure, a, s); break;
        case ArcKind::Pie: p.drawPie(figure, a, s); break;
        case ArcKind::Chord: p.drawChord(figure, a, s); break;
        }
    };
    if (Kind == ArcKind::Arc) {
        // An arc is an outline only.
        HBRUSH old = DC->Brush;
        DC->Brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        DrawFigure(*DC, box, outline, outline);
        DC->Brush = old;
    } else {
        DrawFigure(*DC, box, outline, outline);
    }
    return true;
}

} // namespace

BOOL MoveToEx(HDC DC, int X, int Y, TPoint* Old)
{
    if (!DC)
        return false;
    if (Old)
        *Old = DC->PenPos;
    DC->PenPos = {X, Y};
    return true;
}

BOOL LineTo(HDC DC, int X, int Y)
{
    if (!DC)
        return false;
    const TPoint from = DC->PenPos;
    DC->PenPos = {X, Y};
    if (!DC->Surface() || NullPen(*DC))
        return true;
    if (ThinPen(*DC)) {
        ThinLine(*DC, from.X, from.Y, X, Y);
    } else {
        QPainterPath path(QPointF(from.X, from.Y));
        path.lineTo(X, Y);
        WideStroke(*DC, path);
    }
    return true;
}

BOOL Polyline(HDC DC, const TPoint* Points, int Count)
{
    if (!DC || !Points || Count < 2)
        return false;
    const TPoint saved = DC->PenPos;
    if (ThinPen(*DC) || NullPen(*DC)) {
        DC->PenPos = Points[0];
        for (int i = 1; i < Count; ++i)
            LineTo(DC, Points[i].X, Points[i].Y);
    } else if (DC->Surface()) {
        QPainterPath path(QPointF(Points[0].X, Points[0].Y));
        for (int i = 1; i < Count; ++i)
            path.lineTo(Points[i].X, Points[i].Y);
        WideStroke(*DC, path);
    }
    // Polyline neither uses nor moves the current position.
    DC->PenPos = saved;
    return true;
}

BOOL Polygon(HDC DC, const TPoint* Points, int Count)
{
    if (!DC || !Points || Count < 2)
        return false;
    QPolygon polygon;
    for (int i = 0; i < Count; ++i)
        polygon << Points[i].ToQPoint();
    auto fill = [&](QPainter& p) { p.drawPolygon(polygon, Qt::OddEvenFill); };
    if (ThinPen(*DC)) {
        DrawFigure(*DC, polygon.boundingRect(), fill, [](QPainter&) {});
        std::vector<TPoint> closed(Points, Points + Count);
        closed.push_back(Points[0]);
        const TPoint saved = DC->PenPos;
        DC->PenPos = closed[0];
        for (size_t i = 1; i < closed.size(); ++i)
            LineTo(DC, closed[i].X, closed[i].Y);
        DC->PenPos = saved;
    } else {
        DrawFigure(*DC, polygon.boundingRect(), fill, fill);
    }
    return true;
}

BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return false;
    NormaliseRect(Left, Top, Right, Bottom);
    const BrushPattern brush(*DC, DC->Brush);
    if (NullPen(*DC)) {
        // Without a pen the platform fills one pixel less to the right and bottom.
        FillWithBrush(*DC, QRect(QPoint(Left, Top), QPoint(Right - 2, Bottom - 2)), brush);
        return true;
    }
    const int width = DC->Pen->Width;
    // A pen of width w centred on the outline covers (w-1)/2 pixels outside it; an
    // inside-frame pen stays within the rectangle.
    const int out = DC->Pen->Style == PS_INSIDEFRAME ? 0 : (width - 1) / 2;
    const int outer[4] = {Left - out, Top - out, Right + (DC->Pen->Style == PS_INSIDEFRAME ? 0 : width / 2),
        Bottom + (DC->Pen->Style == PS_INSIDEFRAME ? 0 : width / 2)};
    FillWithBrush(*DC, QRect(QPoint(outer[0] + width, outer[1] + width), QPoint(outer[2] - width - 1, outer[3] - width - 1)), brush);
    if (width <= 1) {
        const TPoint saved = DC->PenPos;
        const TPoint corners[5] = {{Left, Top}, {Right - 1, Top}, {Right - 1, Bottom - 1}, {Left, Bottom - 1}, {Left, Top}};
        DC->PenPos = corners[0];
        for (int i = 1; i < 5; ++i)
            LineTo(DC, corners[i].X, corners[i].Y);
        if (Right - Left == 1 && Bottom - Top == 1)
            // The outline of a single pixel has only empty segments.
            PlotPen(*DC, Left, Top, SurfacePixel(DC->Pen->Color, DC->Monochrome()));
        DC->PenPos = saved;
        return true;
    }
    const uint32_t pixel = SurfacePixel(DC->Pen->Color, DC->Monochrome());
    for (int y = outer[1]; y < outer[3]; ++y)
        for (int x = outer[0]; x < outer[2]; ++x)
            if (y < outer[1] + width || y >= outer[3] - width || x < outer[0] + width || x >= outer[2] - width)
                PlotPen(*DC, x, y, pixel);
    return true;
}

BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return false;
    NormaliseRect(Left, Top, Right, Bottom);
    const QRect figure(Left, Top, Right - Left - 1, Bottom - Top - 1);
    auto draw = [&](QPainter& p) { p.drawEllipse(figure); };
    DrawFigure(*DC, QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)), draw, draw);
    return true;
}

BOOL Arc(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd)
{
    return ArcFigure(DC, Left, Top, Right, Bottom, XStart, YStart, XEnd, YEnd, ArcKind::Arc);
}

BOOL Pie(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd)
{
    return ArcFigure(DC, Left, Top, Right, Bottom, XStart, YStart, XEnd, YEnd, ArcKind::Pie);
}

BOOL Chord(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd)
{
    return ArcFigure(DC, Left, Top, Right, Bottom, XStart, YStart, XEnd, YEnd, ArcKind::Chord);
}

BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int EllipseWidth, int EllipseHeight)
{
    if (!DC)
        return false;
    NormaliseRect(Left, Top, Right, Bottom);
    const QRect figure(Left, Top, Right - Left - 1, Bottom - Top - 1);
    auto draw = [&](QPainter& p) { p.drawRoundedRect(figure, EllipseWidth / 2.0, EllipseHeight / 2.0); };
    DrawFigure(*DC, QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)), draw, draw);
    return true;
}

int FillRect(HDC DC, const TRect& Rect, HBRUSH Brush)
{
    if (!DC || !Brush)
        return 0;
    HBRUSH old = std::exchange(DC->Brush, Brush);
    PatBlt(DC, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, PATCOPY);
    DC->Brush = old;
    return 1;
}

int FrameRect(HDC DC, const TRect& Rect, HBRUSH Brush)
{
    if (!DC || !Brush)
        return 0;
    if (Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top)
        return 1;
    HBRUSH old = std::exchange(DC->Brush, Brush);
    const int w = Rect.Width(), h = Rect.Height();
    PatBlt(DC, Rect.Left, Rect.Top, w, 1, PATCOPY);
    PatBlt(DC, Rect.Left, Rect.Bottom - 1, w, 1, PATCOPY);
    PatBlt(DC, Rect.Left, Rect.Top, 1, h, PATCOPY);
    PatBlt(DC, Rect.Right - 1, Rect.Top, 1, h, PATCOPY);
    DC->Brush = old;
    return 1;
}

BOOL InvertRect(HDC DC, const TRect& Rect)
{
    return PatBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), DSTINVERT);
}

BOOL DrawFocusRect(HDC DC, const TRect& Rect)
{
    if (!DC || !DC->Surface())
        return false;
    if (Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top)
        return true;
    // Every other pixel of the one-pixel frame is inverted (a checkered pattern in
    // device coordinates), so drawing the same focus rectangle twice removes it.
    QImage& image = *DC->Surface();
    auto invert = [&](int x, int y) {
        if (((x + y) & 1) != 0 || !MayDraw(*DC, x, y))
            return;
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        line[x] = (~line[x] & RgbMask) | OpaqueAlpha;
    };
    for (int x = Rect.Left; x < Rect.Right; ++x) {
        invert(x, Rect.Top);
        if (Rect.Bottom - 1 != Rect.Top)
            invert(x, Rect.Bottom - 1);
    }
    for (int y = Rect.Top + 1; y < Rect.Bottom - 1; ++y) {
        invert(Rect.Left, y);
        if (Rect.Right - 1 != Rect.Left)
            invert(Rect.Right - 1, y);
    }
    return true;
}

namespace {

// One ring of an edge: upper-left lines first, then lower-right ones, which win at
// the corners they share; returns the rectangle inside the ring.
TRect EdgeRing(HDC DC, const TRect& R, int UpperLeft, int LowerRight, UINT Sides)
{
    TGdiPen pen(PS_SOLID, 1, clBlack);
    HGDIOBJ old = SelectObject(DC, &pen);
    const int rop = std::exchange(DC->Rop2, R2_COPYPEN);
    if (UpperLeft >= 0) {
        pen.Color = GetSysColor(UpperLeft);
        if (Sides & BF_LEFT)
            ThinLine(*DC, R.Left, R.Top, R.Left, R.Bottom);
        if (Sides & BF_TOP)
            ThinLine(*DC, R.Left, R.Top, R.Right, R.Top);
    }
    if (LowerRight >= 0) {
        pen.Color = GetSysColor(LowerRight);
        if (Sides & BF_RIGHT)
            ThinLine(*DC, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        if (Sides & BF_BOTTOM)
            ThinLine(*DC, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
    }
    DC->Rop2 = rop;
    SelectObject(DC, old);
    TRect inner = R;
    if (Sides & BF_LEFT)
        ++inner.Left;
    if (Sides & BF_TOP)
        ++inner.Top;
    if (Sides & BF_RIGHT)
        --inner.Right;
    if (Sides & BF_BOTTOM)
        --inner.Bottom;
    return inner;
}

} // namespace

BOOL DrawEdge(HDC DC, TRect& Rect, UINT Edge, UINT Flags)
{
    if (!DC)
        return false;
    // System colour numbers of the outer and inner lines, indexed by the edge bits
    // (raised/sunken outer in bits 0-1, inner in bits 2-3); -1 draws no line. With
    // only an inner edge, it is drawn as the single (outer) line.
    constexpr int N = -1;
    constexpr int HL = COLOR_BTNHIGHLIGHT, SH = COLOR_BTNSHADOW, DK = COLOR_3DDKSHADOW, LT = COLOR_3DLIGHT;
    static constexpr int LTOuter[16] = {N, LT, SH, N, HL, LT, SH, N, DK, LT, SH, N, N, LT, SH, N};
    static constexpr int RBOuter[16] = {N, DK, HL, N, SH, DK, HL, N, LT, DK, HL, N, N, DK, HL, N};
    static constexpr int LTInner[16] = {N, N, N, N, N, HL, HL, N, N, DK, DK, N, N, N, N, N};
    static constexpr int RBInner[16] = {N, N, N, N, N, SH, SH, N, N, LT, LT, N, N, N, N, N};
    static constexpr int LTOuterSoft[16] = {N, HL, DK, N, LT, HL, DK, N, SH, HL, DK, N, N, HL, DK, N};
    static constexpr int LTInnerSoft[16] = {N, N, N, N, N, LT, LT, N, N, SH, SH, N, N, N, N, N};
    const unsigned e = Edge & 0xF;
    const UINT sides = Flags & BF_RECT;
    TRect r = Rect;
    if (Flags & (BF_FLAT | BF_MONO)) {
        const int outer = (Flags & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
        r = EdgeRing(DC, r, e ? outer : N, e ? outer : N, sides);
        if ((e & BDR_OUTER) && (e & BDR_INNER) && !(Flags & BF_MONO))
            r = EdgeRing(DC, r, COLOR_BTNFACE, COLOR_BTNFACE, sides);
    } else {
        const bool soft = Flags & BF_SOFT;
        r = EdgeRing(DC, r, soft ? LTOuterSoft[e] : LTOuter[e], RBOuter[e], sides);
        if (LTInner[e] != N || RBInner[e] != N)
            r = EdgeRing(DC, r, soft ? LTInnerSoft[e] : LTInner[e], RBInner[e], sides);
    }
    if (Flags & BF_MIDDLE) {
        TGdiBrush face(BS_SOLID, GetSysColor((Flags & (BF_FLAT | BF_MONO)) ? COLOR_WINDOW : COLOR_BTNFACE));
        FillRect(DC, r, &face);
    }
    if (Flags & BF_ADJUST)
        Rect = r;
    return true;
}

} // namespace vcl
