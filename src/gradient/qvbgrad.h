#pragma once
// Qvbgrad: TqvBackGradient, a windowless control that fills its rectangle with a
// colour gradient in one of eight styles, typically aligned to fill a form or panel.
#include "vcl/controls/controls.h"

#include <memory>

namespace vcl {
class TBitmap;
}

namespace Qvbgrad {
Q_NAMESPACE

using vcl::TColor;

enum TGradientStyle {
    qvHorizontal,
    qvVertical,
    qvElliptic,
    qvRectangle,
    qvVertCenter,
    qvHorizCenter,
    qvRadial1,
    qvRadial2,
};
Q_ENUM_NS(TGradientStyle)

class TqvBackGradient : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TColor BeginColor READ BeginColor WRITE SetBeginColor)
    Q_CLASSINFO("Default:BeginColor", "clNavy")
    Q_PROPERTY(vcl::TColor EndColor READ EndColor WRITE SetEndColor)
    Q_CLASSINFO("Default:EndColor", "clAqua")
    Q_PROPERTY(Qvbgrad::TGradientStyle GradientStyle READ GradientStyle WRITE SetGradientStyle)
    Q_CLASSINFO("Default:GradientStyle", "qvVertical")
    Q_PROPERTY(int Steps READ Steps WRITE SetSteps)
    Q_CLASSINFO("Default:Steps", "255")
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_CLASSINFO("Default:Ctl3D", "False")
    Q_PROPERTY(int StartAngle READ StartAngle WRITE SetStartAngle)
    Q_CLASSINFO("Default:StartAngle", "0")

public:
    static constexpr TColor DefaultBeginColor = vcl::clNavy;
    static constexpr TColor DefaultEndColor = vcl::clAqua;
    static constexpr int DefaultSteps = 255;
    static constexpr int DefaultSize = 75;

    explicit TqvBackGradient(vcl::TComponent* AOwner);
    ~TqvBackGradient() override;

    TColor BeginColor() const { return FBeginColor; }
    void SetBeginColor(TColor Value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    TGradientStyle GradientStyle() const { return FGradientStyle; }
    void SetGradientStyle(TGradientStyle Value);
    // Number of bands minus one, for qvHorizontal, qvVertical and qvRectangle.
    int Steps() const { return FSteps; }
    void SetSteps(int Value);
    // A sunken two-pixel frame around the gradient.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    // Rotation of the conical styles, in degrees (0 is straight up, clockwise).
    int StartAngle() const { return FStartAngle; }
    void SetStartAngle(int Value);

    // The rendered gradient (valid after a paint).
    vcl::TBitmap* Bitmap() const { return FBitmap.get(); }

protected:
    void Paint() override;
    // The gradient covers every pixel: nothing is erased before painting.
    void WMEraseBkgnd(vcl::TMessage& Message) override;

private:
    // Store a changed value, mark the gradient for rendering and invalidate.
    template <class T>
    void Change(T& Field, T Value);
    void Render();
    // The colour of band k of n: begin + Muldv(k, end - begin, n) per channel.
    TColor BandColor(int k, int n) const;
    void RenderBands(bool Columns);
    void RenderElliptic();
    void RenderRectangle();
    void RenderCenter(bool Columns);
    void RenderRadial(int Sweep);
    void Draw3DFrame();

    TColor FBeginColor = DefaultBeginColor;
    TColor FEndColor = DefaultEndColor;
    TGradientStyle FGradientStyle = qvVertical;
    int FSteps = DefaultSteps;
    bool FCtl3D = false;
    int FStartAngle = 0;
    bool FDirty = true;
    std::unique_ptr<vcl::TBitmap> FBitmap;
};

} // namespace Qvbgrad
