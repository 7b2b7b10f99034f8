#include "gradient/coolpckbutton.h"

#include "vcl/controls/controlevents.h"
#include "vcl/graphics/bitmap.h"

namespace Coolpck {

using namespace vcl;

static const bool ButtonEventsPublished = [] {
    PublishMouseEvents<TqvCoolButton>();
    RegisterEvent<TqvCoolButton, TqvCoolButton>(&TqvCoolButton::OnMouseEnter, "OnMouseEnter");
    return RegisterEvent<TqvCoolButton, TqvCoolButton>(&TqvCoolButton::OnMouseLeave, "OnMouseLeave");
}();

namespace {
// The up picture must be at least this wide to be drawn at all.
constexpr int MinPictureWidth = 2;
} // namespace

TqvCoolButton::TqvCoolButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FUpImage(std::make_unique<TStreamedBitmap>())
    , FDownImage(std::make_unique<TStreamedBitmap>())
    , FMouseOverImage(std::make_unique<TStreamedBitmap>())
    , FDisabledImage(std::make_unique<TStreamedBitmap>())
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
}

TqvCoolButton::~TqvCoolButton() = default;

void TqvCoolButton::SetUpImage(const TBitmap* Value)
{
    FUpImage->Assign(Value);
    check();
    Invalidate();
}

void TqvCoolButton::SetDownImage(const TBitmap* Value)
{
    FDownImage->Assign(Value);
    Invalidate();
}

void TqvCoolButton::SetMouseOverImage(const TBitmap* Value)
{
    FMouseOverImage->Assign(Value);
}

void TqvCoolButton::SetDisabledImage(const TBitmap* Value)
{
    FDisabledImage->Assign(Value);
}

void TqvCoolButton::Settrans(bool Value)
{
    FTransparent = Value;
    // A transparent button shows its parent where it leaves pixels out.
    if (Value)
        SetControlStyle(ControlStyle() & ~TControlStyle(csOpaque));
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

void TqvCoolButton::check()
{
    if (FUpImage->Width() < 1)
        return;
    for (TBitmap* picture : {FDownImage.get(), FMouseOverImage.get(), FDisabledImage.get()})
        if (picture->Width() < 1)
            picture->Assign(FUpImage.get());
}

void TqvCoolButton::ShowState()
{
    if (FTransparent)
        Invalidate();
    else
        Repaint();
}

void TqvCoolButton::CMMouseEnter(TMessage& Message)
{
    TGraphicControl::CMMouseEnter(Message);
    FMouseOver = true;
    ShowState();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TqvCoolButton::CMMouseLeave(TMessage& Message)
{
    TGraphicControl::CMMouseLeave(Message);
    FMouseOver = false;
    ShowState();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TqvCoolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !Enabled())
        return;
    FPressed = true;
    Refresh();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TqvCoolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !Enabled())
        return;
    FPressed = false;
    Refresh();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

TBitmap* TqvCoolButton::ChosenImage() const
{
    if (FUpImage->Width() < MinPictureWidth)
        return nullptr;
    if (!Enabled())
        return FDisabledImage.get();
    if (FPressed)
        return FDownImage.get();
    return FMouseOver ? FMouseOverImage.get() : FUpImage.get();
}

void TqvCoolButton::Paint()
{
    if (FUpImage->Empty() || FMouseOverImage->Empty())
        check();
    TBitmap face;
    face.SetSize(Width(), Height());
    TCanvas* canvas = face.Canvas();
    TBitmap* picture = ChosenImage();
    // Without an up picture the face is plain button face; an opaque button is
    // otherwise filled with its parent's colour first.
    canvas->Brush()->SetColor(picture == nullptr ? clBtnFace
            : FTransparent || Parent() == nullptr ? FTransparentColor
                                                  : Parent()->Color());
    canvas->FillRect(ClientRect());
    const TColor see = FTransparent ? FTransparentColor : clNone;
    // The disabled picture is never stretched.
    if (picture != nullptr && FStretch && picture != FDisabledImage.get())
        Qvutils::StretchBitmapTransparent(canvas, picture, see, 0, 0, Width(), Height(), 0, 0, 0, 0);
    else if (picture != nullptr)
        DrawBitmapTransparent(canvas, 0, 0, picture, see);
    if (FTransparent)
        DrawBitmapTransparent(Canvas(), 0, 0, &face, FTransparentColor);
    else
        Canvas()->Draw(0, 0, &face);
}

} // namespace Coolpck
