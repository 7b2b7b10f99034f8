#include "vcl/graphics/framecontrol.h"

#include "vcl/graphics/gdiengine.h"

#include <QPainter>

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

BOOL DrawFrameControl(HDC DC, const TRect& Rect, UINT Type, UINT State)
{
    if (DC == nullptr || Type != DFC_CAPTION || (State & KindMask) > DFCS_CAPTIONHELP)
        return false;
    QImage* image = DC->Surface();
    if (image == nullptr)
        return false;
    const QRegion drawable = gdiengine::DrawableRegion(*DC);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRegion(drawable);
    PaintCaptionButton(painter, Rect.ToQRect(), State);
    return true;
}

} // namespace vcl
