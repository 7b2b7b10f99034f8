#include "vcl/controls/winuser.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/invertoverlay.h"
#include "vcl/graphics/canvas.h"

#include <QApplication>
#include <utility>

namespace vcl {

HDC GetWindowDC(HWND Wnd)
{
    TWinControl* control = FindControl(Wnd);
    if (control == nullptr)
        return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(control);
    TCanvas* canvas = form != nullptr ? form->WindowCanvas() : control->Canvas();
    auto* dc = new TDeviceContext;
    dc->SetSurface(canvas->Surface(), false);
    return dc;
}

namespace {

// The inverting layer GetDCEx draws on: one per control, made on first use.
TInvertOverlay* OverlayOf(TWinControl& Control, bool Create)
{
    QWidget* surface = Control.ClientSurface();
    auto* overlay = surface->findChild<TInvertOverlay*>(QString(), Qt::FindDirectChildrenOnly);
    if (overlay == nullptr && Create)
        overlay = new TInvertOverlay(surface);
    return overlay;
}

} // namespace

HDC GetDCEx(HWND Wnd, HRGN, UINT)
{
    TWinControl* control = FindControl(Wnd);
    return control != nullptr ? OverlayOf(*control, true)->DC() : nullptr;
}

int ReleaseDC(HWND Wnd, HDC DC)
{
    if (TWinControl* control = FindControl(Wnd)) {
        TInvertOverlay* overlay = OverlayOf(*control, false);
        if (overlay != nullptr && overlay->DC() == DC) {
            overlay->Flush();
            return 1;
        }
    }
    if (!DeleteDC(DC))
        return 0;
    if (TWinControl* control = FindControl(Wnd))
        control->update();
    return 1;
}

BOOL GetWindowRect(HWND Wnd, TRect& Rect)
{
    TWinControl* control = FindControl(Wnd);
    if (control == nullptr)
        return false;
    const QPoint origin = control->mapToGlobal(QPoint(0, 0));
    Rect = Bounds(origin.x(), origin.y(), control->width(), control->height());
    return true;
}

BOOL GetClientRect(HWND Wnd, TRect& Rect)
{
    TWinControl* control = FindControl(Wnd);
    if (control == nullptr)
        return false;
    Rect = control->ClientRect();
    return true;
}

BOOL SetWindowPos(HWND Wnd, HWND, int X, int Y, int Width, int Height, UINT Flags)
{
    TWinControl* control = FindControl(Wnd);
    if (control == nullptr)
        return false;
    if (!(Flags & SWP_NOMOVE))
        control->SetBounds(X, Y, control->Width(), control->Height());
    if (!(Flags & SWP_NOSIZE))
        control->SetBounds(control->Left(), control->Top(), Width, Height);
    if (Flags & SWP_FRAMECHANGED)
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    return true;
}

BOOL RedrawWindow(HWND Wnd, const TRect*, void*, UINT Flags)
{
    TWinControl* control = FindControl(Wnd);
    if (control == nullptr)
        return false;
    auto* form = dynamic_cast<TCustomForm*>(control);
    // A form's frame is painted at once; its client area keeps what it shows.
    if (form != nullptr && (Flags & RDW_FRAME)) {
        form->RedrawFrame();
        return true;
    }
    if (Flags & RDW_INVALIDATE)
        control->Invalidate();
    if (Flags & RDW_UPDATENOW)
        control->Update();
    return true;
}

HWND GetActiveWindow()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return HWND();
    auto* control = dynamic_cast<TWinControl*>(QApplication::activeWindow());
    return control != nullptr && control->HandleAllocated() ? control->Handle() : HWND();
}

BOOL IsIconic(HWND Wnd)
{
    auto* form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
    return form != nullptr && form->WindowState() == wsMinimized;
}

BOOL IsZoomed(HWND Wnd)
{
    auto* form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
    return form != nullptr && form->WindowState() == wsMaximized;
}

namespace {
TBeepHandler& BeepHandler()
{
    static TBeepHandler handler;
    return handler;
}
} // namespace

BOOL MessageBeep(UINT Type)
{
    if (BeepHandler())
        BeepHandler()(Type);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        QApplication::beep();
    return true;
}

TBeepHandler SetBeepHandler(TBeepHandler Handler)
{
    return std::exchange(BeepHandler(), std::move(Handler));
}

} // namespace vcl
