#include "vcl/graphics/framecontrol.h"

#include "vcl/graphics/gdiengine.h"

#include <QPainter>
#include <algorithm>
#include <initializer_list>

namespace vcl {

namespace {

constexpr UINT KindMask = 0x00FF;
// Where a caption button's glyph sits inside the button (left, top, right, bottom),
// and how far it moves right and down while the button is held.
constexpr QMargins GlyphInset(4, 3, 5, 4);
constexpr int PressedGlyphShift = 1;

QColor Sys(TColor Color)
{
    return ToQColor(Color);
}

void Frame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.left(), r.bottom(), r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
}

// Two overlapping windows: the restore glyph.
void RestoreGlyph(QPainter& p, const QRect& glyph, const QColor& face)
{
    const QRect back(glyph.left() + 2, glyph.top(), glyph.width() - 2, glyph.height() - 2);
    const QRect front(glyph.left(), glyph.top() + 2, glyph.width() - 2, glyph.height() - 2);
    p.drawRect(back.adjusted(0, 0, -1, -1));
    p.fillRect(front, face);
    p.drawRect(front.adjusted(0, 0, -1, -1));
    p.drawLine(front.left(), front.top() + 1, front.right() - 1, front.top() + 1);
}

// The glyph of a caption button in one colour: a cross, a bar, one window, two
// overlapping ones or a question mark.
void Glyph(QPainter& p, const QRect& glyph, UINT kind, const QColor& ink)
{
    p.setPen(QPen(ink, 1));
    switch (kind) {
    case DFCS_CAPTIONCLOSE:
        // Two pixels wide: each stroke again one pixel to the right.
        for (const QPoint shift : {QPoint(0, 0), QPoint(1, 0)}) {
            p.drawLine(glyph.topLeft() + shift, glyph.bottomRight() + shift);
            p.drawLine(glyph.bottomLeft() + shift, glyph.topRight() + shift);
        }
        break;
    case DFCS_CAPTIONMIN: p.fillRect(QRect(glyph.left(), glyph.bottom() - 1, glyph.width() - 2, 2), ink); break;
    case DFCS_CAPTIONRESTORE: RestoreGlyph(p, glyph, Sys(clBtnFace)); break;
    case DFCS_CAPTIONHELP: {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(glyph.height() + 2);
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.drawText(glyph, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    default:
        p.drawRect(glyph.adjusted(0, 0, -1, -1));
        p.drawLine(glyph.left(), glyph.top() + 1, glyph.right() - 1, glyph.top() + 1);
        break;
    }
}

} // namespace

void PaintRaisedEdge(QPainter& Painter, const QRect& Rect, bool Sunken)
{
    const QRect outer = Rect.adjusted(0, 0, -1, -1);
    if (Sunken) {
        Frame(Painter, outer, Sys(cl3DDkShadow), Sys(clBtnHighlight));
        Frame(Painter, outer.adjusted(1, 1, -1, -1), Sys(clBtnShadow), Sys(cl3DLight));
    } else {
        Frame(Painter, outer, Sys(cl3DLight), Sys(cl3DDkShadow));
        Frame(Painter, outer.adjusted(1, 1, -1, -1), Sys(clBtnHighlight), Sys(clBtnShadow));
    }
}

void PaintCaptionButton(QPainter& Painter, const QRect& Rect, UINT State)
{
    const bool pushed = State & DFCS_PUSHED;
    Painter.fillRect(Rect, Sys(clBtnFace));
    PaintRaisedEdge(Painter, Rect, pushed);
    const int shift = pushed ? PressedGlyphShift : 0;
    const QRect glyph = Rect.marginsRemoved(GlyphInset).translated(shift, shift);
    const UINT kind = State & KindMask;
    if (State & DFCS_INACTIVE) {
        // Embossed: a highlight copy one pixel down and right under a shadow copy.
        Glyph(Painter, glyph.translated(1, 1), kind, Sys(clBtnHighlight));
        Glyph(Painter, glyph, kind, Sys(clBtnShadow));
    } else {
        Glyph(Painter, glyph, kind, Sys(clBtnText));
    }
}

namespace {

// Fills a rectangle of the context in one colour, within its clip region.
void FillSpan(HDC DC, const TRect& Rect, TColor Color)
{
    TGdiBrush brush(BS_SOLID, Color);
    FillRect(DC, Rect, &brush);
}

// One colour of a pixel pattern: the letter that stands for it.
struct TInk {
    char Letter;
    TColor Color;
};

// Paints Rows (one string per row, left to right) with its top-left corner at (Left,
// Top); each letter in Inks gives its colour, any other character leaves the pixel.
void PaintPattern(HDC DC, int Left, int Top, std::initializer_list<const char*> Rows, std::initializer_list<TInk> Inks)
{
    int y = Top;
    for (const char* row : Rows) {
        for (int x = 0; row[x] != 0; ++x)
            for (const TInk& ink : Inks)
                if (ink.Letter == row[x])
                    SetPixel(DC, Left + x, y, ink.Color);
        ++y;
    }
}

// The DrawEdge flags for a frame control's look: one-colour with DFCS_MONO, flat with
// DFCS_FLAT.
UINT EdgeLook(UINT State, UINT Flags)
{
    if (State & DFCS_MONO)
        return Flags | BF_MONO;
    return (State & DFCS_FLAT) ? Flags | BF_FLAT : Flags;
}

void DrawPushButton(HDC DC, const TRect& Rect, UINT State)
{
    TRect face = Rect;
    const bool down = State & (DFCS_PUSHED | DFCS_CHECKED);
    DrawEdge(DC, face, down ? EDGE_SUNKEN : EDGE_RAISED, EdgeLook(State, BF_RECT | BF_SOFT | BF_ADJUST));
    FillSpan(DC, face, GetSysColor(COLOR_BTNFACE));
}

void DrawCheckBox(HDC DC, const TRect& Rect, UINT State)
{
    const int side = std::min(Rect.Width(), Rect.Height());
    TRect box = Bounds(Rect.Left, Rect.Top + (Rect.Height() - side) / 2, side, side);
    DrawEdge(DC, box, EDGE_SUNKEN, EdgeLook(State, BF_RECT | BF_ADJUST));
    const bool grey = State & (DFCS_PUSHED | DFCS_INACTIVE);
    FillSpan(DC, box, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    if (!(State & DFCS_CHECKED))
        return;
    const bool dim = State & (DFCS_INACTIVE | DFCS_BUTTON3STATE);
    // In a box smaller than the tick, the tick's middle shows.
    const int saved = SaveDC(DC);
    IntersectClipRect(DC, box.Left, box.Top, box.Right, box.Bottom);
    PaintPattern(DC, box.Left + (box.Width() - 7) / 2, box.Top + (box.Height() - 7) / 2,
        {"......x", ".....xx", "x...xxx", "xx.xxx.", "xxxxx..", ".xxx...", "..x...."},
        {{'x', GetSysColor(dim ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT)}});
    RestoreDC(DC, saved);
}

// The ring: shadow and dark shadow above the diagonal from the bottom-left to the
// top-right corner, highlight and light below it.
void DrawRadioButton(HDC DC, const TRect& Rect, UINT State)
{
    const int left = Rect.Left + (Rect.Width() - 12) / 2;
    const int top = Rect.Top + (Rect.Height() - 12) / 2;
    const bool grey = State & (DFCS_PUSHED | DFCS_INACTIVE);
    PaintPattern(DC, left, top,
        {"....ssss....", "..ssddddss..", ".sddwwwwdlh.", ".sdwwwwwwlh.", "sdwwwwwwwwlh", "sdwwwwwwwwlh",
            "sdwwwwwwwwlh", "sdwwwwwwwwlh", ".sdwwwwwwlh.", ".sllwwwwllh.", "..hhllllhh..", "....hhhh...."},
        {{'s', GetSysColor(COLOR_BTNSHADOW)}, {'d', GetSysColor(COLOR_3DDKSHADOW)},
            {'h', GetSysColor(COLOR_BTNHIGHLIGHT)}, {'l', GetSysColor(COLOR_3DLIGHT)},
            {'w', GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW)}});
    if (State & DFCS_CHECKED)
        PaintPattern(DC, left + 4, top + 4, {".xx.", "xxxx", "xxxx", ".xx."},
            {{'x', GetSysColor((State & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT)}});
}

BOOL DrawButton(HDC DC, const TRect& Rect, UINT State)
{
    if (State & DFCS_BUTTONPUSH)
        DrawPushButton(DC, Rect, State);
    else if (State & DFCS_BUTTONRADIO)
        DrawRadioButton(DC, Rect, State);
    else
        DrawCheckBox(DC, Rect, State);
    return true;
}

// A solid triangle pointing in the arrow's direction, Rows rows deep, its bounding box
// at (Left, Top).
void PaintArrow(HDC DC, UINT Kind, int Left, int Top, int Rows, TColor Color)
{
    for (int i = 0; i < Rows; ++i) {
        const int wide = 2 * (Rows - i) - 1; // the row's length, from the base
        const int inset = i;
        switch (Kind) {
        case DFCS_SCROLLUP: FillSpan(DC, Bounds(Left + inset, Top + Rows - 1 - i, wide, 1), Color); break;
        case DFCS_SCROLLLEFT: FillSpan(DC, Bounds(Left + Rows - 1 - i, Top + inset, 1, wide), Color); break;
        case DFCS_SCROLLRIGHT: FillSpan(DC, Bounds(Left + i, Top + inset, 1, wide), Color); break;
        default: FillSpan(DC, Bounds(Left + inset, Top + i, wide, 1), Color); break; // down and the combo arrow
        }
    }
}

BOOL DrawScrollButton(HDC DC, const TRect& Rect, UINT State)
{
    const UINT kind = State & KindMask;
    if (kind > DFCS_SCROLLRIGHT && kind != DFCS_SCROLLCOMBOBOX)
        return false;
    TRect face = Rect;
    const bool flat = State & (DFCS_PUSHED | DFCS_FLAT);
    if (flat)
        DrawEdge(DC, face, BDR_RAISEDOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
    else
        DrawEdge(DC, face, EDGE_RAISED, EdgeLook(State, BF_RECT | BF_ADJUST));
    FillSpan(DC, face, GetSysColor(COLOR_BTNFACE));
    const int rows = std::max(2, std::min(Rect.Width(), Rect.Height()) / 4);
    const bool across = kind == DFCS_SCROLLLEFT || kind == DFCS_SCROLLRIGHT;
    const int wide = across ? rows : 2 * rows - 1;
    const int high = across ? 2 * rows - 1 : rows;
    const int shift = (State & DFCS_PUSHED) ? 1 : 0;
    const int left = Rect.Left + (Rect.Width() - wide) / 2 + shift;
    const int top = Rect.Top + (Rect.Height() - high) / 2 + shift;
    if (State & DFCS_INACTIVE) {
        PaintArrow(DC, kind, left + 1, top + 1, rows, GetSysColor(COLOR_BTNHIGHLIGHT));
        PaintArrow(DC, kind, left, top, rows, GetSysColor(COLOR_BTNSHADOW));
    } else {
        PaintArrow(DC, kind, left, top, rows, GetSysColor(COLOR_BTNTEXT));
    }
    return true;
}

BOOL DrawCaptionButton(HDC DC, const TRect& Rect, UINT State)
{
    if ((State & KindMask) > DFCS_CAPTIONHELP)
        return false;
    const QRegion drawable = gdiengine::DrawableRegion(*DC);
    QPainter painter(DC->Surface());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRegion(drawable);
    PaintCaptionButton(painter, Rect.ToQRect(), State);
    return true;
}

} // namespace

BOOL DrawFrameControl(HDC DC, const TRect& Rect, UINT Type, UINT State)
{
    if (DC == nullptr || DC->Surface() == nullptr)
        return false;
    switch (Type) {
    case DFC_CAPTION: return DrawCaptionButton(DC, Rect, State);
    case DFC_SCROLL: return DrawScrollButton(DC, Rect, State);
    case DFC_BUTTON: return DrawButton(DC, Rect, State);
    default: return false;
    }
}

} // namespace vcl
