#pragma once
// Coolpck: TqvCoolLabel, a label whose caption is drawn raised, recessed, shadowed or
// outlined, with a second look that shows while the mouse is over it.
#include "gradient/coolpck.h"

namespace Coolpck {

// A label whose caption is drawn raised, recessed, shadowed or outlined, with a second
// look that shows while the mouse is over it.
class TqvCoolLabel : public vcl::TLabel {
    Q_OBJECT
    Q_PROPERTY(vcl::TColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_CLASSINFO("Default:BorderColor", "clYellow")
    Q_PROPERTY(vcl::TColor OnMouseBorderColor READ OnMouseBorderColor WRITE SetOnMouseBorderColor)
    Q_CLASSINFO("Default:OnMouseBorderColor", "clYellow")
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_CLASSINFO("Default:BorderWidth", "0")
    Q_PROPERTY(int OnMouseBorderWidth READ OnMouseBorderWidth WRITE SetOnMouseBorderWidth)
    Q_CLASSINFO("Default:OnMouseBorderWidth", "1")
    Q_PROPERTY(Coolpck::TTextStyle TextStyle READ TextStyle WRITE SetTextStyle)
    Q_CLASSINFO("Default:TextStyle", "tsNone")
    Q_PROPERTY(Coolpck::TTextStyle OnMouseTextStyle READ OnMouseTextStyle WRITE SetOnMouseTextStyle)
    Q_CLASSINFO("Default:OnMouseTextStyle", "tsNone")
    Q_PROPERTY(vcl::TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_CLASSINFO("Default:ShadowColor", "clBtnShadow")
    Q_PROPERTY(vcl::TColor OnMouseShadowColor READ OnMouseShadowColor WRITE SetOnMouseShadowColor)
    Q_CLASSINFO("Default:OnMouseShadowColor", "clBtnShadow")
    Q_PROPERTY(int ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_CLASSINFO("Default:ShadowWidth", "1")
    Q_PROPERTY(int OnMouseShadowWidth READ OnMouseShadowWidth WRITE SetOnMouseShadowWidth)
    Q_CLASSINFO("Default:OnMouseShadowWidth", "1")
    Q_PROPERTY(bool PaintOnClick READ PaintOnClick WRITE SetPaintOnClick)
    Q_CLASSINFO("Default:PaintOnClick", "False")
    Q_CLASSINFO("Default:Cursor", "crHandPoint")
    // The label brings a font of its own (Arial, 20 points) instead of its parent's.
    Q_CLASSINFO("Default:ParentFont", "False")

public:
    // Widths from this value up are refused (BorderWidth takes any byte).
    static constexpr int WidthLimit = 10;

    // Creates the label, owned (and freed) by AOwner.
    explicit TqvCoolLabel(vcl::TComponent* AOwner);

    // One look: what the caption's passes are drawn with.
    struct TLook {
        TTextStyle Style = tsNone; // The text style.
        TColor BorderColor = vcl::clYellow; // The outline's colour.
        int BorderWidth = 0; // The outline's width in pixels (0: none).
        int ShadowWidth = 1; // The shadow's offset in pixels.
        TColor ShadowColor = vcl::clBtnShadow; // The shadow's colour.
        friend bool operator==(const TLook&, const TLook&) = default;
    };

    // The normal look; the mouse-over look is kept apart, so entering and leaving
    // never changes these values.
    TTextStyle TextStyle() const { return FNormal.Style; }
    void SetTextStyle(TTextStyle Value) { ChangeProperty(FNormal.Style, Value); }
    // The outline's colour.
    TColor BorderColor() const { return FNormal.BorderColor; }
    void SetBorderColor(TColor Value) { ChangeProperty(FNormal.BorderColor, Value); }
    // The outline's width in pixels.
    int BorderWidth() const { return FNormal.BorderWidth; }
    // Any byte; values outside 0..255 are refused.
    void SetBorderWidth(int Value)
    {
        if (Value >= 0 && Value <= 255)
            ChangeProperty(FNormal.BorderWidth, Value);
    }
    // The shadow's offset in pixels; values from WidthLimit up are refused.
    int ShadowWidth() const { return FNormal.ShadowWidth; }
    void SetShadowWidth(int Value);
    // The shadow's colour.
    TColor ShadowColor() const { return FNormal.ShadowColor; }
    void SetShadowColor(TColor Value) { ChangeProperty(FNormal.ShadowColor, Value); }

    // The mouse-over look, one property for each of the normal look's above.
    //@{
    TTextStyle OnMouseTextStyle() const { return FMouse.Style; }
    void SetOnMouseTextStyle(TTextStyle Value) { SetMouse(FMouse.Style, Value); }
    TColor OnMouseBorderColor() const { return FMouse.BorderColor; }
    void SetOnMouseBorderColor(TColor Value) { SetMouse(FMouse.BorderColor, Value); }
    int OnMouseBorderWidth() const { return FMouse.BorderWidth; }
    void SetOnMouseBorderWidth(int Value);
    int OnMouseShadowWidth() const { return FMouse.ShadowWidth; }
    void SetOnMouseShadowWidth(int Value);
    TColor OnMouseShadowColor() const { return FMouse.ShadowColor; }
    void SetOnMouseShadowColor(TColor Value) { SetMouse(FMouse.ShadowColor, Value); }
    //@}


    // While set, a left press shows the normal look until the button comes up.
    bool PaintOnClick() const { return FPaintOnClick; }
    void SetPaintOnClick(bool Value) { FPaintOnClick = Value; }

    bool MouseInside() const { return FInside; } // True while the mouse is over the label.
    // The look the next paint uses.
    const TLook& CurrentLook() const { return FInside && !FClickShowsNormal ? FMouse : FNormal; }

    vcl::TNotifyEvent OnMouseEnter; // Called when the mouse enters the label.
    vcl::TNotifyEvent OnMouseLeave; // Called when the mouse leaves the label.

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(vcl::TMessage& Message) override;
    void CMMouseLeave(vcl::TMessage& Message) override;

private:
    // The mouse-over look shows only under the mouse, which a designer never is: its
    // setters store, and repaint only outside a designer.
    template <class T>
    void SetMouse(T& Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        if (!ComponentState().testFlag(vcl::csDesigning))
            Invalidate();
    }
    // Shows a change of look: at once on an opaque label, at the next paint cycle on
    // a transparent one (its parent must paint first).
    void ShowLook();
    unsigned TextFlags() const;
    // Draws the caption in Color moved by (Dx, Dy).
    void TextPass(vcl::TCanvas* Canvas, TColor Color, int Dx, int Dy);

    TLook FNormal;
    TLook FMouse{tsNone, vcl::clYellow, 1, 1, vcl::clBtnShadow};
    bool FPaintOnClick = false;
    bool FInside = false;
    bool FClickShowsNormal = false;
};

} // namespace Coolpck
