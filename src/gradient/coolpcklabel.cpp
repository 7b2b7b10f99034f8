#include "gradient/coolpcklabel.h"

#include "vcl/controls/controlevents.h"
#include "vcl/graphics/bitmap.h"

namespace Coolpck {

using namespace vcl;

static const bool LabelEventsPublished = [] {
    PublishMouseEvents<TqvCoolLabel>();
    RegisterEvent<TqvCoolLabel, TqvCoolLabel>(&TqvCoolLabel::OnMouseEnter, "OnMouseEnter");
    return RegisterEvent<TqvCoolLabel, TqvCoolLabel>(&TqvCoolLabel::OnMouseLeave, "OnMouseLeave");
}();

namespace {
constexpr int DefaultWidth = 180;
constexpr int DefaultHeight = 30;
constexpr int DefaultFontSize = 20;
} // namespace

TqvCoolLabel::TqvCoolLabel(TComponent* AOwner)
    : TLabel(AOwner)
{
    SetControlStyle(ControlStyle() & ~TControlStyle(csOpaque));
    SetCursor(crHandPoint);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(DefaultFontSize);
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
}

void TqvCoolLabel::SetShadowWidth(int Value)
{
    if (Value >= 0 && Value < WidthLimit)
        ChangeProperty(FNormal.ShadowWidth, Value);
}

void TqvCoolLabel::SetOnMouseBorderWidth(int Value)
{
    if (Value >= 0 && Value < WidthLimit)
        SetMouse(FMouse.BorderWidth, Value);
}

void TqvCoolLabel::SetOnMouseShadowWidth(int Value)
{
    if (Value >= 0 && Value < WidthLimit)
        SetMouse(FMouse.ShadowWidth, Value);
}

void TqvCoolLabel::ShowLook()
{
    if (!Enabled())
        return;
    if (Transparent())
        Invalidate();
    else
        Repaint();
}

void TqvCoolLabel::CMMouseEnter(TMessage& Message)
{
    TLabel::CMMouseEnter(Message);
    // A second enter without a leave changes nothing.
    if (FInside)
        return;
    FInside = true;
    ShowLook();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TqvCoolLabel::CMMouseLeave(TMessage& Message)
{
    TLabel::CMMouseLeave(Message);
    if (!FInside)
        return;
    FInside = false;
    FClickShowsNormal = false;
    ShowLook();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TqvCoolLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPaintOnClick && Button == mbLeft) {
        FClickShowsNormal = true;
        ShowLook();
    }
    TLabel::MouseDown(Button, Shift, X, Y);
}

void TqvCoolLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPaintOnClick && Button == mbLeft) {
        FClickShowsNormal = false;
        ShowLook();
    }
    TLabel::MouseUp(Button, Shift, X, Y);
}

unsigned TqvCoolLabel::TextFlags() const
{
    unsigned flags = TextAlignments[size_t(Alignment())] | DT_EXPANDTABS;
    if (WordWrap())
        flags |= DT_WORDBREAK;
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    return flags;
}

void TqvCoolLabel::TextPass(TCanvas* Canvas, TColor Color, int Dx, int Dy)
{
    const TRect client = ClientRect();
    TRect r = Rect(client.Left + Dx, client.Top + Dy, client.Right + Dx, client.Bottom + Dy);
    Canvas->Font()->SetColor(Color);
    // The text call draws with the device context's font, colour and background mode.
    Canvas->RequireFont();
    Canvas->RequireBrush();
    DrawText(Canvas->Handle(), Caption(), -1, r, TextFlags());
}

void TqvCoolLabel::Paint()
{
    TBitmap face;
    face.SetSize(Width(), Height());
    TCanvas* canvas = face.Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    const TLook& look = CurrentLook();
    if (Enabled()) {
        switch (look.Style) {
        case tsRaised:
            TextPass(canvas, clBtnShadow, 1, 1);
            TextPass(canvas, clBtnHighlight, -1, -1);
            break;
        case tsRecessed:
            TextPass(canvas, clBtnHighlight, 1, 1);
            TextPass(canvas, clBtnShadow, -1, -1);
            break;
        case taShadow: TextPass(canvas, look.ShadowColor, look.ShadowWidth, look.ShadowWidth); break;
        case tsNone: break;
        }
        // An outline BorderWidth pixels wide: every diagonal offset up to the width.
        for (int i = 1; i <= look.BorderWidth; ++i)
            for (int j = 1; j <= look.BorderWidth; ++j)
                for (const auto& [sx, sy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})
                    TextPass(canvas, look.BorderColor, sx * i, sy * j);
    }
    TextPass(canvas, Enabled() ? Font()->Color() : clGrayText, 0, 0);
    if (Transparent())
        DrawBitmapTransparent(Canvas(), 0, 0, &face, Color());
    else
        Canvas()->Draw(0, 0, &face);
}

} // namespace Coolpck
