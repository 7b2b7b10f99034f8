#include "vcl/controls/extctrls.h"

#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"

namespace vcl {

namespace {

// One line from (X1, Y1) to (X2, Y2) (end point excluded) in a colour.
void Line(TCanvas* Canvas, TColor Color, int X1, int Y1, int X2, int Y2)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

// ---------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 41);
}

template <class T>
void TPanel::Change(T& Field, T Value)
{
    // The bevels decide where the children go.
    if (ChangeProperty(Field, Value))
        Realign();
}

void TPanel::SetBevelInner(TPanelBevel Value) { Change(FBevelInner, Value); }
void TPanel::SetBevelOuter(TPanelBevel Value) { Change(FBevelOuter, Value); }
void TPanel::SetBevelWidth(int Value) { Change(FBevelWidth, std::max(Value, 1)); }
void TPanel::SetBorderWidth(int Value) { Change(FBorderWidth, std::max(Value, 0)); }
void TPanel::SetAlignment(TAlignment Value) { Change(FAlignment, Value); }

int TPanel::FrameWidth() const
{
    int width = FBorderWidth;
    if (FBevelOuter != bvNone)
        width += FBevelWidth;
    if (FBevelInner != bvNone)
        width += FBevelWidth;
    return width;
}

void TPanel::AlignControls(TRect& Rect)
{
    const int inset = FrameWidth();
    Rect = vcl::Rect(Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset);
    TCustomControl::AlignControls(Rect);
}

void TPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        const TColor topLeft = kind == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor bottomRight = kind == bvLowered ? clBtnHighlight : clBtnShadow;
        // A space bevel takes room without lines.
        if (kind == bvSpace)
            Frame3D(canvas, r, Color(), Color(), FBevelWidth);
        else
            Frame3D(canvas, r, topLeft, bottomRight, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(canvas, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    unsigned flags = DT_SINGLELINE | DT_VCENTER;
    flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawText(canvas->Handle(), Text(), -1, r, flags);
}

// ---------------------------------------------------------------------------
// TPaintBox

TPaintBox::TPaintBox(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetColor(Color());
    if (OnPaint)
        OnPaint(this);
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FPicture(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool Value)
{
    ChangeProperty(FStretch, Value);
}

void TImage::SetCenter(bool Value)
{
    ChangeProperty(FCenter, Value);
}

void TImage::Paint()
{
    if (FPicture->Empty())
        return;
    TCanvas* canvas = Canvas();
    if (FStretch) {
        canvas->StretchDraw(ClientRect(), FPicture.get());
        return;
    }
    const int x = FCenter ? (Width() - FPicture->Width()) / 2 : 0;
    const int y = FCenter ? (Height() - FPicture->Height()) / 2 : 0;
    canvas->Draw(x, y, FPicture.get());
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 65);
    FPen.OnChange = [this](TObject*) { Invalidate(); };
    FBrush.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value)
{
    ChangeProperty(FShape, Value);
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetPen(&FPen);
    canvas->SetBrush(&FBrush);
    // The outline is centred on the control's edge pixels.
    int x = FPen.Width() / 2;
    int y = x;
    int w = Width() - FPen.Width() + 1;
    int h = Height() - FPen.Width() + 1;
    const int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
    }
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
    ChangeProperty(FShape, Value);
}

void TBevel::SetStyle(TBevelStyle Value)
{
    ChangeProperty(FStyle, Value);
}

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    const TColor shadow = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor light = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    auto box = [&](TColor topLeft, TColor bottomRight, const TRect& r) {
        canvas->Pen()->SetColor(topLeft);
        canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
        canvas->Pen()->SetColor(bottomRight);
        canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)});
    };
    switch (FShape) {
    case bsBox: box(shadow, light, Rect(0, 0, w - 1, h - 1)); break;
    case bsFrame:
        // Two boxes offset by a pixel: an etched (or bumped) line.
        box(light, light, Rect(1, 1, w - 1, h - 1));
        box(shadow, shadow, Rect(0, 0, w - 2, h - 2));
        break;
    case bsTopLine:
        Line(canvas, shadow, 0, 0, w, 0);
        Line(canvas, light, 0, 1, w, 1);
        break;
    case bsBottomLine:
        Line(canvas, shadow, 0, h - 2, w, h - 2);
        Line(canvas, light, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        Line(canvas, shadow, 0, 0, 0, h);
        Line(canvas, light, 1, 0, 1, h);
        break;
    case bsRightLine:
        Line(canvas, shadow, w - 2, 0, w - 2, h);
        Line(canvas, light, w - 1, 0, w - 1, h);
        break;
    case bsSpacer: break;
    }
}

} // namespace vcl
