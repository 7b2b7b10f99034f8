#pragma once
// The subset of the platform's window-manager functions that units call on windows:
// a device context over the whole window (frame and title bar included), the window
// and client rectangles, frame-changed and redraw requests, the active window, whether
// a window is minimised or maximised, and the alert sound. Only forms have a frame; for other windowed
// controls the window is the control.
#include "vcl/controls/messages.h"
#include "vcl/graphics/gdi.h"

#include <functional>

namespace vcl {

// A context drawing on the window's surface in window coordinates (origin at the
// window's top-left corner, frame included); null for a dead handle. What is drawn
// shows once ReleaseDC gives it back.
HDC GetWindowDC(HWND Wnd);
enum : UINT { DCX_WINDOW = 0x01, DCX_CACHE = 0x02, DCX_CLIPSIBLINGS = 0x10, DCX_PARENTCLIP = 0x20 };
// A context over the control's client area that draws above its child controls, for
// drag feedback that crosses them. Drawing through it must invert (PatBlt with
// PATINVERT or DSTINVERT, InvertRect): drawing a figure a second time gives back the
// pixels under it. ReleaseDC shows what was drawn. Region and Flags are not used: the
// whole client area is reachable. Null for a dead handle.
HDC GetDCEx(HWND Wnd, HRGN Region, UINT Flags);
// Frees a context from GetWindowDC, or gives back one from GetDCEx, and shows what was
// drawn through it.
int ReleaseDC(HWND Wnd, HDC DC);

// The window's rectangle on the screen; false (Rect untouched) for a dead handle.
BOOL GetWindowRect(HWND Wnd, TRect& Rect);

// The control's client area in its own coordinates (left and top 0); false (Rect
// untouched) for a dead handle.
BOOL GetClientRect(HWND Wnd, TRect& Rect);

enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_FRAMECHANGED = 0x0020,
};
// Moves and sizes the window unless SWP_NOMOVE / SWP_NOSIZE; SWP_FRAMECHANGED paints
// the frame again at once. The z-order is left alone (InsertAfter is not used).
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags);

enum : UINT { RDW_INVALIDATE = 0x0001, RDW_ERASE = 0x0004, RDW_UPDATENOW = 0x0100, RDW_FRAME = 0x0400 };
// Marks the window for painting (RDW_INVALIDATE) and paints it at once (RDW_UPDATENOW);
// with RDW_FRAME a form paints its frame and title bar at once and nothing else. The whole window is painted: Rect and Region are not used.
BOOL RedrawWindow(HWND Wnd, const TRect* Rect, void* Region, UINT Flags);

// The application's active top-level window (a null handle when none of ours is).
HWND GetActiveWindow();
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);

enum : UINT {
    MB_OK = 0x00,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_SIMPLEBEEP = 0xFFFFFFFF,
};
// Sounds the alert for the given type. Qt offers one alert sound, so every type sounds
// the same; the type still reaches a replaced sound handler.
BOOL MessageBeep(UINT Type);
using TBeepHandler = std::function<void(UINT Type)>;
// Replaces what MessageBeep does (tests count the beeps); an empty handler restores
// the desktop's sound. Returns the handler that was in place.
TBeepHandler SetBeepHandler(TBeepHandler Handler);

} // namespace vcl
