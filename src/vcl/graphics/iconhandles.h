#pragma once
// Icon handles for drawing through a device context: an icon copied at a size from a
// Qt icon (forms and the application keep their icons as QIcons), drawn with
// DrawIconEx and freed with DestroyIcon, and the platform's standard application icon.
#include "vcl/graphics/gdi.h"

#include <QIcon>

namespace vcl {

class TGdiIcon : public TGdiObject {
public:
    QImage Image; // ARGB32 premultiplied
};
using HICON = TGdiIcon*;

// The platform's CopyImage of an icon at a size, from a Qt icon; null for a null icon
// or a size below 1. Free it with DestroyIcon.
HICON CreateIconFrom(const QIcon& Icon, int Width, int Height);
// Frees an icon from CreateIconFrom; false for a handle that is not a live icon.
BOOL DestroyIcon(HICON Icon);

enum : UINT { DI_MASK = 0x1, DI_IMAGE = 0x2, DI_NORMAL = 0x3 };
// Blends the icon over the context at (X, Y), scaled to Width x Height (the icon's own
// size when 0), within the context's clip region. The animation step and the
// flicker-free brush are not used.
BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int Width, int Height, UINT StepIfAniCur, HBRUSH FlickerFreeDraw,
    UINT Flags);

// The platform's standard application icon (the style's window-menu icon).
QIcon StandardApplicationIcon();

} // namespace vcl
