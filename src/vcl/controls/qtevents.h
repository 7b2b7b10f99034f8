#pragma once
// Qt's input in the terms of window messages: virtual-key codes, shift states, the
// key flags and messages of mouse input, and the Qt cursor for a cursor identifier.
#include "vcl/controls/controls.h"

#include <QPointF>

namespace vcl {

// The Qt cursor shown for a cursor identifier (crDefault gives Qt::ArrowCursor).
Qt::CursorShape CursorShape(TCursor Cursor);
// The virtual-key code of a Qt key (0 for keys without one).
uint16_t VirtualKey(int QtKey);
TShiftState ShiftOf(Qt::KeyboardModifiers modifiers);
// The MK_ flags of a mouse message's WParam.
WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The message of a button going down, up or double-clicked; 0 for other buttons.
unsigned MouseMessage(Qt::MouseButton button, unsigned left, unsigned right, unsigned middle);
// A position as the LParam of a mouse message.
LPARAM PointParam(const QPointF& position);

} // namespace vcl
