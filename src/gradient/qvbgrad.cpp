#include "gradient/qvbgrad.h"

#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

#include <cmath>

namespace Qvbgrad {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvbgrad"), {});

using namespace vcl;

namespace {

// Every band of the elliptic style: 156 ellipses shrinking towards the centre.
constexpr int EllipticLastBand = 155;
// How much farther out than the radius the ends of a conical wedge are taken.
constexpr int WedgeScale = 16;

int Red(TColor c) { return int(uint32_t(c) & 0xFF); }
int Green(TColor c) { return int((uint32_t(c) >> 8) & 0xFF); }
int Blue(TColor c) { return int((uint32_t(c) >> 16) & 0xFF); }

// The point at Angle degrees on the circle of radius R around (Cx, Cy): 0 is straight
// up and angles grow clockwise; coordinates round half to even.
TPoint AnglePoint(int Cx, int Cy, int R, int Angle)
{
    const double radians = Angle * M_PI / 180.0;
    return Point(Cx + static_cast<int>(std::nearbyint(R * std::sin(radians))),
        Cy - static_cast<int>(std::nearbyint(R * std::cos(radians))));
}

} // namespace

TqvBackGradient::TqvBackGradient(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FBitmap(std::make_unique<TBitmap>())
{
    SetControlStyle(ControlStyle() | csOpaque | csNoStdEvents);
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
    // No outlines on the ellipses and pies.
    FBitmap->Canvas()->Pen()->SetStyle(psClear);
    FBitmap->Canvas()->SetCopyMode(cmSrcCopy);
}

TqvBackGradient::~TqvBackGradient() = default;

template <class T>
void TqvBackGradient::Change(T& Field, T Value)
{
    if (ChangeProperty(Field, Value))
        FDirty = true;
}

void TqvBackGradient::SetBeginColor(TColor Value) { Change(FBeginColor, Value); }
void TqvBackGradient::SetEndColor(TColor Value) { Change(FEndColor, Value); }
void TqvBackGradient::SetGradientStyle(TGradientStyle Value) { Change(FGradientStyle, Value); }
void TqvBackGradient::SetSteps(int Value) { Change(FSteps, Value); }
void TqvBackGradient::SetCtl3D(bool Value) { Change(FCtl3D, Value); }
void TqvBackGradient::SetStartAngle(int Value) { Change(FStartAngle, Value); }

void TqvBackGradient::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

TColor TqvBackGradient::BandColor(int k, int n) const
{
    // n is 0 only for a centre style on a control one pixel high (or wide): its single
    // band takes the begin colour instead of dividing by zero.
    auto channel = [&](int begin, int end) { return n == 0 ? begin : begin + Muldv(k, end - begin, n); };
    // Colours are used as stored: a system colour's low three bytes are taken as they are.
    return RGB(channel(Red(FBeginColor), Red(FEndColor)), channel(Green(FBeginColor), Green(FEndColor)),
        channel(Blue(FBeginColor), Blue(FEndColor)));
}

void TqvBackGradient::Paint()
{
    const int w = Width();
    const int h = Height();
    if (FBitmap->Width() == w && FBitmap->Height() == h && !FDirty) {
        Canvas()->Draw(0, 0, FBitmap.get());
        return;
    }
    FBitmap->SetSize(w, h);
    if (w > 0 && h > 0) {
        Render();
        if (FCtl3D)
            Draw3DFrame();
    }
    Canvas()->Draw(0, 0, FBitmap.get());
    FDirty = false;
}

void TqvBackGradient::Render()
{
    // Steps below 1 would divide by zero in the banded styles; the gradient then has
    // a single band in the begin colour (an implementer's choice).
    const bool usesSteps = FGradientStyle == qvHorizontal || FGradientStyle == qvVertical || FGradientStyle == qvRectangle;
    if (usesSteps && FSteps < 1) {
        TCanvas* canvas = FBitmap->Canvas();
        canvas->Brush()->SetColor(BandColor(0, 0));
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    switch (FGradientStyle) {
    case qvHorizontal: RenderBands(true); break;
    case qvVertical: RenderBands(false); break;
    case qvElliptic: RenderElliptic(); break;
    case qvRectangle: RenderRectangle(); break;
    case qvVertCenter: RenderCenter(false); break;
    case qvHorizCenter: RenderCenter(true); break;
    case qvRadial1: RenderRadial(180); break;
    case qvRadial2: RenderRadial(90); break;
    }
}

void TqvBackGradient::RenderBands(bool Columns)
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int h = Height();
    const int s = FSteps;
    for (int i = 0; i <= s; ++i) {
        canvas->Brush()->SetColor(BandColor(i, s));
        if (Columns)
            canvas->FillRect(Rect(Muldv(i, w, s + 1), 0, Muldv(i + 1, w, s + 1), h));
        else
            canvas->FillRect(Rect(0, Muldv(i, h, s + 1), w, Muldv(i + 1, h, s + 1)));
    }
}

void TqvBackGradient::RenderElliptic()
{
    TCanvas* canvas = FBitmap->Canvas();
    const double w = Width();
    const double h = Height();
    double x1 = -w / 4, x2 = w + w / 4 + 4;
    double y1 = -h / 4, y2 = h + h / 4 + 4;
    const double dx = (w / 2 + w / 4) / EllipticLastBand;
    const double dy = (h / 2 + h / 4) / EllipticLastBand;
    for (int i = 0; i <= EllipticLastBand; ++i) {
        x1 += dx;
        x2 -= dx;
        y1 += dy;
        y2 -= dy;
        canvas->Brush()->SetColor(BandColor(i, EllipticLastBand));
        canvas->Ellipse(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2));
    }
}

void TqvBackGradient::RenderRectangle()
{
    TCanvas* canvas = FBitmap->Canvas();
    const int s = FSteps;
    // The rectangles step inward before the first fill, which leaves a strip along
    // the edges that no band covers; it takes the begin colour rather than whatever
    // the bitmap held before.
    canvas->Brush()->SetColor(BandColor(0, s));
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    double x1 = 0, x2 = Width() + 2;
    double y1 = 0, y2 = Height() + 2;
    const double dx = (Width() / 2.0) / s;
    const double dy = (Height() / 2.0) / s;
    for (int i = 0; i <= s; ++i) {
        x1 += dx;
        x2 -= dx;
        y1 += dy;
        y2 -= dy;
        canvas->Brush()->SetColor(BandColor(i, s));
        canvas->FillRect(Rect(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2)));
    }
}

void TqvBackGradient::RenderCenter(bool Columns)
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int h = Height();
    const int extent = Columns ? w : h;
    const int half = extent / 2;
    for (int i = 0; i <= half; ++i) {
        canvas->Brush()->SetColor(BandColor(i, half));
        // Band i at distance i from the near edge, then at distance i from the far
        // edge: the mirrored line is extent - i - 1, so both edges take the begin
        // colour and the gradient is symmetric.
        const int mirror = extent - i - 1;
        if (Columns) {
            canvas->FillRect(Rect(i, 0, i + 1, h));
            canvas->FillRect(Rect(mirror, 0, mirror + 1, h));
        } else {
            canvas->FillRect(Rect(0, i, w, i + 1));
            canvas->FillRect(Rect(0, mirror, w, mirror + 1));
        }
    }
}

void TqvBackGradient::RenderRadial(int Sweep)
{
    TCanvas* canvas = FBitmap->Canvas();
    const int w = Width();
    const int h = Height();
    const int cx = w / 2;
    const int cy = h / 2;
    const int r = w > h ? w / 2 : h / 2;
    // The pie box is larger than the bitmap so the wedges cover its corners.
    const TRect box = Rect(-(w / 4), -(h / 4), w + w / 4, h + h / 4);
    for (int step = 0; step < 360; ++step) {
        const int a = FStartAngle + step;
        // Each Sweep degrees the colour runs from begin to end, then back over the next.
        const int phase = step % (2 * Sweep);
        const int k = phase < Sweep ? phase : 2 * Sweep - 1 - phase;
        canvas->Brush()->SetColor(BandColor(k, Sweep));
        // The wedge's ends are taken on a circle WedgeScale times the radius: only
        // their direction counts, and on the radius itself neighbouring ends round
        // to the same few pixels, leaving pixels no wedge covers (or, when both ends
        // of a wedge coincide, drawing a whole ellipse over everything).
        const TPoint from = AnglePoint(cx, cy, WedgeScale * r, a + 2);
        const TPoint to = AnglePoint(cx, cy, WedgeScale * r, a);
        canvas->Pie(box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y, to.X, to.Y);
    }
}

void TqvBackGradient::Draw3DFrame()
{
    TCanvas* canvas = FBitmap->Canvas();
    canvas->Pen()->SetStyle(psSolid);
    TRect r = Rect(0, 0, Width(), Height());
    Frame3D(canvas, r, clGray, clWhite, 2);
    r = Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    Frame3D(canvas, r, clBlack, clSilver, 1);
    canvas->Pen()->SetStyle(psClear);
}

} // namespace Qvbgrad
