#include "vcl/controls/controlcanvas.h"

#include "vcl/controls/controls.h"

namespace vcl {

void TControlCanvas::SetControl(TControl* Value)
{
    FControl = Value;
    // The control's own canvas makes sure the back buffer has the control's size.
    QImage* surface = Value != nullptr ? Value->TControl::Canvas()->Surface() : nullptr;
    FSurfaceSize = surface != nullptr ? surface->size() : QSize();
    SetSurface(surface);
}

void TControlCanvas::Changing()
{
    if (FControl.isNull()) {
        if (Surface() != nullptr)
            SetSurface(nullptr);
    } else if (FControl->size().expandedTo(QSize(1, 1)) != FSurfaceSize) {
        SetControl(FControl.data());
    }
    TCanvas::Changing();
}

void TControlCanvas::Changed()
{
    TCanvas::Changed();
    if (!FControl.isNull())
        FControl->update();
}

} // namespace vcl
