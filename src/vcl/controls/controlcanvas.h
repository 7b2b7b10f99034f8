#pragma once
// TControlCanvas: a canvas on a control's surface that works outside Paint too. What
// it draws lands in the control's back buffer and is shown at the next paint cycle
// (drag feedback, a frame drawn after the control painted itself).
#include "vcl/graphics/canvas.h"

#include <QPointer>

namespace vcl {

class TControl;

class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;

    TControl* Control() const { return FControl.data(); }
    // Binds the canvas to a control (null: to none, and drawing does nothing). The
    // canvas lets go of a control that is destroyed.
    void SetControl(TControl* Value);
    // Before each drawing call: follows the control's back buffer when the control
    // was resized, and drops the surface of a control that is gone.
    void Changing() override;
    void Changed() override;

private:
    QPointer<TControl> FControl;
    QSize FSurfaceSize;
};

} // namespace vcl
