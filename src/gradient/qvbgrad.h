#pragma once
// Qvbgrad: TqvBackGradient, a windowless control that fills its rectangle with a
// colour gradient in one of eight styles, typically aligned to fill a form or panel.
#include "vcl/controls/controls.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vcl {
class TBitmap;
}

namespace Qvbgrad {
Q_NAMESPACE

using vcl::TColor;

// How TqvBackGradient lays its colours out. Each style runs from BeginColor to EndColor.
enum TGradientStyle {
    qvHorizontal, // Steps + 1 vertical bands, BeginColor at the left to EndColor at the right.
    qvVertical, // Steps + 1 horizontal bands, BeginColor at the top to EndColor at the bottom.
    qvElliptic, // 156 nested ellipses, BeginColor outside to EndColor in the middle.
    qvRectangle, // Steps + 1 nested rectangles, BeginColor at the edges to EndColor in the middle.
    qvVertCenter, // Horizontal bands, BeginColor at the top and bottom edges to EndColor in the middle row.
    qvHorizCenter, // Vertical bands, BeginColor at the left and right edges to EndColor in the middle column.
    qvRadial1, // A cone around the centre: BeginColor to EndColor over 180 degrees from StartAngle, then back.
    qvRadial2, // As qvRadial1 over 90 degrees, so the colours go round twice.
};
Q_ENUM_NS(TGradientStyle)

// A windowless control that paints its whole rectangle with a gradient from BeginColor
// to EndColor in the chosen GradientStyle.
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
    static constexpr TColor DefaultBeginColor = vcl::clNavy; // BeginColor's default.
    static constexpr TColor DefaultEndColor = vcl::clAqua; // EndColor's default.
    static constexpr int DefaultSteps = 255; // Steps' default.
    static constexpr int DefaultSize = 75; // The width and height of a new control, in pixels.

    // Creates a 75 x 75 pixel control, owned (and freed) by AOwner.
    explicit TqvBackGradient(vcl::TComponent* AOwner);
    ~TqvBackGradient() override;

    // The colour the gradient starts from (at its edges, top or left). Setting any
    // property to a new value repaints the control, rendering the gradient again.
    TColor BeginColor() const { return FBeginColor; }
    void SetBeginColor(TColor Value);
    // The colour the gradient ends in (in its middle, bottom or right).
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    // How the colours are laid out; qvVertical by default.
    TGradientStyle GradientStyle() const { return FGradientStyle; }
    void SetGradientStyle(TGradientStyle Value);
    // Number of bands minus one, for qvHorizontal, qvVertical and qvRectangle; below 1
    // the control is one band in BeginColor.
    int Steps() const { return FSteps; }
    void SetSteps(int Value);
    // A sunken two-pixel frame around the gradient; off by default.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    // Rotation of the conical styles qvRadial1 and qvRadial2, in degrees (0 is straight
    // up, growing clockwise).
    int StartAngle() const { return FStartAngle; }
    void SetStartAngle(int Value);

    // The rendered gradient, rendered anew when asked for after a change; owned by
    // the control. While it is not asked for, a paint of a line style (qvHorizontal,
    // qvVertical, qvVertCenter, qvHorizCenter) fills the canvas directly; once it is,
    // paints copy it until something changes.
    vcl::TBitmap* Bitmap() const;

protected:
    void Paint() override;
    // The gradient covers every pixel: nothing is erased before painting.
    void WMEraseBkgnd(vcl::TMessage& Message) override;

private:
    // Store a changed value, mark the gradient for rendering and invalidate.
    template <class T>
    void Change(T& Field, T Value);
    bool IsLineStyle() const;
    // Whether a line style's lines are columns (qvHorizontal, qvHorizCenter) or rows.
    bool LinesAreColumns() const;
    // Fills the canvas with a line style where that gives the pixels a copy of the
    // bitmap would; false (nothing drawn) where it would not.
    bool PaintLinesOnCanvas();
    // Renders the gradient into the bitmap.
    void Render() const;
    // The colour of band k of n: begin + Muldv(k, end - begin, n) per channel.
    TColor BandColor(int k, int n) const;
    // The pixel of each row (or, for qvHorizontal and qvHorizCenter, each column) of a
    // line style.
    std::vector<uint32_t> LinePixels() const;
    void RenderElliptic() const;
    void RenderRectangle() const;
    void RenderRadial(int Sweep) const;
    void Draw3DFrame() const;

    TColor FBeginColor = DefaultBeginColor;
    TColor FEndColor = DefaultEndColor;
    TGradientStyle FGradientStyle = qvVertical;
    int FSteps = DefaultSteps;
    bool FCtl3D = false;
    int FStartAngle = 0;
    mutable bool FBitmapStale = true; // the bitmap does not hold the current gradient
    std::unique_ptr<vcl::TBitmap> FBitmap;
};

} // namespace Qvbgrad
