#pragma once
// DrawFrameControl for caption buttons (close, minimise, maximise, restore, help) in
// the classic look, and the same drawing on a QPainter for the forms' own title bar.
#include "vcl/graphics/gdi.h"

#include <QRect>

class QPainter;

namespace vcl {

enum : UINT { DFC_CAPTION = 1 };
enum : UINT {
    DFCS_CAPTIONCLOSE = 0x0000,
    DFCS_CAPTIONMIN = 0x0001,
    DFCS_CAPTIONMAX = 0x0002,
    DFCS_CAPTIONRESTORE = 0x0003,
    DFCS_CAPTIONHELP = 0x0004,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
};

// Draws the control of kind Type in Rect with State (a DFCS_ kind and flags), within
// the context's clip region. Only DFC_CAPTION is known: false for other kinds.
BOOL DrawFrameControl(HDC DC, const TRect& Rect, UINT Type, UINT State);

// A caption button on a painter: face, raised edge (sunken with DFCS_PUSHED) and its
// glyph (embossed grey with DFCS_INACTIVE).
void PaintCaptionButton(QPainter& Painter, const QRect& Rect, UINT State);
// The classic two-line raised (or, Sunken, pressed) edge just inside Rect.
void PaintRaisedEdge(QPainter& Painter, const QRect& Rect, bool Sunken);

} // namespace vcl
