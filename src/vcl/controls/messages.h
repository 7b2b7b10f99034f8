#pragma once
// The message layer: TMessage, the classic message numbers, window handles with
// replaceable window procedures, and SendMessage/PostMessage between them.
//
// Every control with a window (and every message-only window from AllocateHWnd)
// owns an HWND. A handle's window procedure can be replaced and restored
// (SetWindowProc / CallWindowProc), which is how a component subclasses a window;
// destroying and re-creating a window yields a new handle with the default procedure.
#include <QtGlobal>
#include <cstdint>
#include <functional>

namespace vcl {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// A window handle: a number that stays unique for the life of the process, so a
// message posted to a window that has gone since is dropped instead of misdelivered.
struct HWND {
    quint64 Value = 0;
    explicit operator bool() const { return Value != 0; }
    friend bool operator==(HWND, HWND) = default;
};

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage& Message)>;

// Win32 window messages (the numbers are the classic ones).
enum : unsigned {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUERYENDSESSION = 0x0011,
    WM_ERASEBKGND = 0x0014,
    WM_SYSCOLORCHANGE = 0x0015,
    WM_SHOWWINDOW = 0x0018,
    WM_WININICHANGE = 0x001A,
    WM_SETTINGCHANGE = WM_WININICHANGE,
    WM_ACTIVATEAPP = 0x001C,
    WM_SETCURSOR = 0x0020,
    WM_GETMINMAXINFO = 0x0024,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NOTIFY = 0x004E,
    // A request for a context menu; LParam the screen point (-1: asked from the keyboard).
    WM_CONTEXTMENU = 0x007B,
    WM_DISPLAYCHANGE = 0x007E,
    WM_SETICON = 0x0080,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_NCACTIVATE = 0x0086,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2,
    WM_NCLBUTTONDBLCLK = 0x00A3,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_INITMENUPOPUP = 0x0117,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_DROPFILES = 0x0233,
    WM_MOUSELEAVE = 0x02A3,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};

// The framework's component messages (CM_) and the notifications it reflects
// back to the control that caused them (CN_).
enum : unsigned {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_ENABLEDCHANGED = CM_BASE + 11,
    CM_COLORCHANGED = CM_BASE + 12,
    CM_FONTCHANGED = CM_BASE + 13,
    CM_CURSORCHANGED = CM_BASE + 14,
    CM_CTL3DCHANGED = CM_BASE + 15,
    CM_PARENTCTL3DCHANGED = CM_BASE + 16,
    CM_TEXTCHANGED = CM_BASE + 17,
    CM_MOUSEENTER = CM_BASE + 18,
    CM_MOUSELEAVE = CM_BASE + 19,
    CM_MENUCHANGED = CM_BASE + 20,
    CM_APPKEYDOWN = CM_BASE + 21,
    CM_BUTTONPRESSED = CM_BASE + 24,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27,
    CM_SHOWHINTCHANGED = CM_BASE + 29,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 30,
    CM_SYSCOLORCHANGE = CM_BASE + 31,
    CM_WININICHANGE = CM_BASE + 32,
    CM_FONTCHANGE = CM_BASE + 33,
    CM_TIMECHANGE = CM_BASE + 34,
    CM_VISIBLECHANGED = CM_BASE + 36,
    CM_HINTSHOW = CM_BASE + 48,
    CM_RECREATEWND = CM_BASE + 51,
    CM_BORDERCHANGED = CM_BASE + 59,

    CN_BASE = 0xBC00,
    CN_CHARTOITEM = CN_BASE + 0x002F,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
    CN_CHAR = CN_BASE + WM_CHAR,
};

// Hit-test codes answered to WM_NCHITTEST and carried by WM_SETCURSOR.
enum : int {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTMINBUTTON = 8,
    HTMAXBUTTON = 9,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
};

// Key-state flags of mouse messages' WParam.
enum : WPARAM {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// System commands (WM_SYSCOMMAND's WParam).
enum : WPARAM {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

constexpr uint16_t LOWORD(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t HIWORD(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>(static_cast<int32_t>((static_cast<uint32_t>(high) << 16) | (static_cast<uint32_t>(low) & 0xFFFF)));
}
// Signed coordinates packed by MAKELPARAM (as GET_X_LPARAM / GET_Y_LPARAM).
constexpr int GET_X_LPARAM(LPARAM v) { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(v))); }
constexpr int GET_Y_LPARAM(LPARAM v) { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(v))); }

// Makes a window handle whose messages go to Method: a message-only window, or the
// handle of a control's window. UI thread only.
HWND AllocateHWnd(TWndMethod Method);
// Frees a handle from AllocateHWnd; messages still queued for it are dropped.
void DeallocateHWnd(HWND Wnd);

// True while Wnd names a live window.
bool IsWindow(HWND Wnd);

// Calls Wnd's window procedure at once and returns its result (0 for a dead handle).
LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam);
// Queues the message for Wnd on the user-interface thread; safe from any thread.
// False when there is no application event loop to deliver it.
bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam);

// The window procedure now installed for Wnd (empty for a dead handle).
TWndMethod GetWindowProc(HWND Wnd);
// Installs Proc as Wnd's window procedure and returns the one it replaces; a
// subclasser keeps that one, calls it for what it does not handle and puts it
// back when it unhooks.
TWndMethod SetWindowProc(HWND Wnd, TWndMethod Proc);
LRESULT CallWindowProc(const TWndMethod& Proc, TMessage& Message);

// Sends WM_TIMER (WParam = IDEvent) to Wnd every Elapse milliseconds on the
// user-interface thread; a second call with the same IDEvent restarts the timer.
// False without an application event loop or for a dead handle.
bool SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse);
bool KillTimer(HWND Wnd, uintptr_t IDEvent);

} // namespace vcl
