#include "gradient/coolpckgradbtn.h"

#include "vcl/controls/application.h"
#include "vcl/controls/controlevents.h"
#include "vcl/controls/mouse.h"
#include "vcl/graphics/bitmap.h"

#include <cmath>

namespace Coolpck {

using namespace vcl;

static const bool GradientButtonEventsPublished = [] {
    PublishMouseEvents<TqvCoolGradientButton>();
    RegisterEvent<TqvCoolGradientButton, TqvCoolGradientButton>(&TqvCoolGradientButton::OnMouseEnter, "OnMouseEnter");
    return RegisterEvent<TqvCoolGradientButton, TqvCoolGradientButton>(&TqvCoolGradientButton::OnMouseLeave, "OnMouseLeave");
}();

namespace {

// The caption moves left by this much beside a marked drop-down menu.
constexpr int DropDownShift = 4;
// Extra pixels between glyph and caption in the vertical layouts' block height.
constexpr int BlockGap = 2;

// Channel Step of Steps from A towards B: A + round((B - A) / Steps * Step), in
// extended precision and rounding half to even, so that 255 / 100 * 50 is exactly
// 127.5 and gives 128.
int RampChannel(int A, int B, int Step, int Steps)
{
    const long double share = (long double)(std::abs(B - A)) / Steps * Step;
    const int delta = int(std::nearbyintl(share));
    return B > A ? A + delta : A - delta;
}

} // namespace

TqvCoolGradientButton::TqvCoolGradientButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TStreamedBitmap>())
{
    SetControlStyle(TControlStyle(csCaptureMouse) | csClickEvents | csOpaque | csDoubleClicks);
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
}

TqvCoolGradientButton::~TqvCoolGradientButton() = default;

void TqvCoolGradientButton::SetSColor(TColor Value)
{
    ChangeProperty(FLightColor, Value);
}

void TqvCoolGradientButton::SetEColor(TColor Value)
{
    ChangeProperty(FShadowColor, Value);
}

void TqvCoolGradientButton::SetFlat(bool Value)
{
    FFlat = Value;
    FHot = !Value;
    Invalidate();
}

void TqvCoolGradientButton::SetGlyph(const TBitmap* Value)
{
    FGlyph->Assign(Value);
    GlyphChanged();
    Invalidate();
}

void TqvCoolGradientButton::GlyphChanged()
{
    if (FGlyph->Height() > 0) {
        FGlyphTransparent = FGlyph->TransparentColor();
        FGlyphWidth = FGlyph->Width();
    } else {
        FGlyphWidth = 0;
    }
}

void TqvCoolGradientButton::Loaded()
{
    TGraphicControl::Loaded();
    GlyphChanged();
}

void TqvCoolGradientButton::SetPopup(TPopupMenu* Value)
{
    if (FDropDownMenu == Value)
        return;
    if (FDropDownMenu != nullptr)
        FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    if (FMarkDropDown)
        Invalidate();
}

void TqvCoolGradientButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDropDownMenu) {
        FDropDownMenu = nullptr;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------
// Grouping

template <class Action>
void TqvCoolGradientButton::ForGroup(Action Act)
{
    if (Parent() == nullptr || FGroupIndex == 0)
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TqvCoolGradientButton*>(Parent()->Controls(i));
        if (other != nullptr && other != this && other->FGroupIndex == FGroupIndex)
            Act(other);
    }
}

void TqvCoolGradientButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 || Value == FDown)
        return;
    FDown = Value;
    Invalidate();
    if (Value)
        ForGroup([](TqvCoolGradientButton* other) { other->ChangeProperty(other->FDown, false); });
}

void TqvCoolGradientButton::SetGroupIndex(int Value)
{
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    if (Value == 0) {
        ChangeProperty(FDown, false);
        return;
    }
    // A down button joining a group puts that group's down button up, so a group
    // never has two down.
    if (FDown)
        ForGroup([](TqvCoolGradientButton* other) { other->ChangeProperty(other->FDown, false); });
}

void TqvCoolGradientButton::SetAllUp(bool Value)
{
    FAllowAllUp = Value;
    ForGroup([Value](TqvCoolGradientButton* other) { other->FAllowAllUp = Value; });
}

// ---------------------------------------------------------------------------
// Painting

void TqvCoolGradientButton::Paint()
{
    TBitmap face;
    face.SetSize(Width(), Height());
    TCanvas* canvas = face.Canvas();
    PaintRamp(canvas);
    PaintContent(canvas);
    PaintFrame(canvas);
    Canvas()->Draw(0, 0, &face);
}

void TqvCoolGradientButton::PaintRamp(TCanvas* Canvas)
{
    const TColor a = ColorToRGB(FLightColor);
    const TColor b = ColorToRGB(FShadowColor);
    const int w = Width();
    const int h = Height();
    const int steps = FVertical ? h : w;
    if (steps <= 0)
        return;
    Canvas->Pen()->SetWidth(1);
    for (int i = 0; i <= steps; ++i) {
        Canvas->Pen()->SetColor(RGB(RampChannel(GetRValue(a), GetRValue(b), i, steps),
            RampChannel(GetGValue(a), GetGValue(b), i, steps), RampChannel(GetBValue(a), GetBValue(b), i, steps)));
        Canvas->MoveTo(FVertical ? 0 : i, FVertical ? i : 0);
        Canvas->LineTo(FVertical ? w : i, FVertical ? i : h);
    }
}

void TqvCoolGradientButton::PaintContent(TCanvas* Canvas)
{
    Canvas->SetFont(Font());
    Canvas->Brush()->SetStyle(bsClear);
    const int w = Width(), h = Height();
    const int tw = Canvas->TextWidth(Caption()), th = Canvas->TextHeight(Caption());
    const int gw = FGlyphWidth, gh = FGlyph->Height(), s = FSpacing;
    const int m = FMarkDropDown && FDropDownMenu != nullptr ? DropDownShift : 0;
    const int t = h / 2 - (gh + th + BlockGap + s) / 2;
    int cx = w / 2 - tw / 2 - m, cy = t, gx = w / 2 - gw / 2, gy = t;
    switch (FLayout) {
    case blGlyphLeft:
        cx = gw == 0 ? w - tw - s : w / 2 - tw / 2 + gw / 2 + s;
        cy = h / 2 - th / 2;
        gx = cx - s - gw;
        gy = h / 2 - gh / 2;
        break;
    case blGlyphRight:
        cx = gw == 0 ? s : w / 2 - tw / 2 - s - gw / 2;
        cy = h / 2 - th / 2;
        gx = w / 2 + tw / 2 + s - gw / 2;
        gy = h / 2 - gh / 2;
        break;
    case blGlyphTop: cy = t + gh + s; break;
    case blGlyphBottom:
        // The glyph goes below the caption, spaced as in the glyph-top layout (the
        // block height counts the caption's height above it).
        gy = t + th + s;
        break;
    }
    TRect r = Rect(cx, cy, w - FBevelWidth - 1 - m, h);
    // The text call draws with the device context's font, colour and background mode.
    Canvas->RequireFont();
    Canvas->RequireBrush();
    DrawText(Canvas->Handle(), Caption(), -1, r, DT_NOCLIP | DT_LEFT | DT_TOP);
    if (gh > 0)
        DrawBitmapTransparent(Canvas, gx, gy, FGlyph.get(), FGlyphTransparent);
}

void TqvCoolGradientButton::PaintFrame(TCanvas* Canvas)
{
    const bool sunken = FPressed || FDown;
    if (FHot && FFlat) {
        TRect r = ClientRect();
        Frame3D(Canvas, r, sunken ? FShadowColor : FLightColor, sunken ? FLightColor : FShadowColor, FBevelWidth);
    }
    if (!FFlat && FBevelWidth > 0)
        myDrawButtonFace(Canvas, ClientRect(), sunken);
}

// ---------------------------------------------------------------------------
// Mouse

void TqvCoolGradientButton::CMMouseEnter(TMessage& Message)
{
    TGraphicControl::CMMouseEnter(Message);
    FHot = true;
    if (FFlat && Enabled())
        Repaint();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TqvCoolGradientButton::CMMouseLeave(TMessage& Message)
{
    TGraphicControl::CMMouseLeave(Message);
    FHot = !FFlat;
    if (FFlat && Enabled())
        Repaint();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

bool TqvCoolGradientButton::CanPress() const
{
    return Enabled() && !FWindowCaption;
}

void TqvCoolGradientButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !CanPress())
        return;
    FPressed = true;
    Repaint();
    if (FDropDownMenu == nullptr)
        return;
    Application()->ProcessMessages();
    // The menu takes over the mouse: the button shows itself released under it.
    FHot = !FFlat;
    FPressed = false;
    Repaint();
    FDropDownMenu->SetPopupComponent(this);
    const TPoint corner = ClientToScreen(Point(0, Height()));
    FDropDownMenu->Popup(corner.X, corner.Y);
}

void TqvCoolGradientButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !CanPress())
        return;
    FPressed = false;
    Repaint();
}

void TqvCoolGradientButton::CMDialogChar(TMessage& Message)
{
    if (!IsAccel(uint16_t(Message.WParam), Caption()) || !Enabled() || !Visible()) {
        TGraphicControl::CMDialogChar(Message);
        return;
    }
    // Pressed and released where the pointer is, so the face shows the press.
    const TPoint at = ScreenToClient(Mouse()->CursorPos());
    Application()->ProcessMessages();
    MouseDown(mbLeft, ssLeft, at.X, at.Y);
    Application()->ProcessMessages();
    MouseUp(mbLeft, ssLeft, at.X, at.Y);
    Application()->ProcessMessages();
    Click();
    Message.Result = 1;
}

} // namespace Coolpck
