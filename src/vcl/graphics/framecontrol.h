#pragma once
// DrawFrameControl in the classic look: caption buttons (close, minimise, maximise,
// restore, help), push buttons, check boxes and radio buttons, scroll-bar arrows and
// the combo box arrow; and the caption button on a QPainter for the forms' own title
// bar.
#include "vcl/graphics/gdi.h"

#include <QRect>

class QPainter;

namespace vcl {

enum : UINT { DFC_CAPTION = 1, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : UINT {
    DFCS_CAPTIONCLOSE = 0x0000,
    DFCS_CAPTIONMIN = 0x0001,
    DFCS_CAPTIONMAX = 0x0002,
    DFCS_CAPTIONRESTORE = 0x0003,
    DFCS_CAPTIONHELP = 0x0004,

    DFCS_SCROLLUP = 0x0000,
    DFCS_SCROLLDOWN = 0x0001,
    DFCS_SCROLLLEFT = 0x0002,
    DFCS_SCROLLRIGHT = 0x0003,
    DFCS_SCROLLCOMBOBOX = 0x0005,

    DFCS_BUTTONCHECK = 0x0000,
    DFCS_BUTTONRADIO = 0x0004,
    DFCS_BUTTON3STATE = 0x0008,
    DFCS_BUTTONPUSH = 0x0010,

    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_CHECKED = 0x0400,
    DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000,
};

// Draws the control of kind Type in Rect with State (a DFCS_ kind and flags), within
// the context's clip region; false for an unknown kind.
//  - Buttons: a push button is a raised soft edge around the face (sunken when
//    DFCS_PUSHED or DFCS_CHECKED; one shadow line with DFCS_FLAT, one frame line with
//    DFCS_MONO). A check box is a 13x13-style sunken box in the square at the left of
//    Rect (centred vertically), white inside (button face when pushed or inactive),
//    with the classic 7x7 tick when checked; a three-state box shows the tick in grey.
//    A radio button is the classic 12x12 ring centred in Rect, with a 4x4 dot when
//    checked.
//  - Scroll arrows and the combo arrow: a raised button (flat shadow frame when pushed
//    or DFCS_FLAT, the glyph then one pixel right and down) with a solid triangle of
//    min(width, height) / 4 rows (at least 2), centred; embossed grey when inactive.
BOOL DrawFrameControl(HDC DC, const TRect& Rect, UINT Type, UINT State);

// A caption button on a painter: face, raised edge (sunken with DFCS_PUSHED) and its
// glyph (embossed grey with DFCS_INACTIVE).
void PaintCaptionButton(QPainter& Painter, const QRect& Rect, UINT State);
// The classic two-line raised (or, Sunken, pressed) edge just inside Rect.
void PaintRaisedEdge(QPainter& Painter, const QRect& Rect, bool Sunken);

} // namespace vcl
