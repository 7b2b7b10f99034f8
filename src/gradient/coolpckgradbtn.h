#pragma once
// Coolpck: TqvCoolGradientButton, a flat or framed button painted with a two-colour
// line ramp, with a glyph, a caption, a drop-down menu and grouping.
#include "gradient/coolpck.h"
#include "vcl/graphics/streamedbitmap.h"

#include <memory>

namespace Coolpck {

// A flat or framed button painted with a two-colour line ramp, with a glyph, a caption,
// a drop-down menu and grouping.
class TqvCoolGradientButton : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::TColor LightColor READ LightColor WRITE SetSColor)
    Q_CLASSINFO("Default:LightColor", "clBtnHighlight")
    Q_PROPERTY(vcl::TColor ShadowColor READ ShadowColor WRITE SetEColor)
    Q_CLASSINFO("Default:ShadowColor", "clBtnShadow")
    Q_PROPERTY(vcl::TStreamedBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(vcl::TPopupMenu* DropDownMenu READ DropDownMenu WRITE SetPopup)
    Q_PROPERTY(bool GrayedInactive READ GrayedInactive WRITE SetGray)
    Q_CLASSINFO("Default:GrayedInactive", "True")
    // No declared default: the layout is always stored.
    Q_PROPERTY(vcl::Controls::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE Setbevel)
    Q_CLASSINFO("Default:BevelWidth", "1")
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_CLASSINFO("Default:Down", "False")
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_CLASSINFO("Default:GroupIndex", "0")
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_CLASSINFO("Default:AllowAllUp", "False")
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_CLASSINFO("Default:Flat", "False")
    Q_PROPERTY(bool MarkDropDown READ MarkDropDown WRITE SetMark)
    Q_CLASSINFO("Default:MarkDropDown", "True")
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_CLASSINFO("Default:Spacing", "1")
    Q_PROPERTY(bool Vertical READ Vertical WRITE Setvertical)
    Q_CLASSINFO("Default:Vertical", "False")
    Q_PROPERTY(bool WindowCaption READ WindowCaption WRITE SetWindowCaption)
    Q_CLASSINFO("Default:WindowCaption", "False")

public:
    static constexpr int DefaultSize = 25; // The width and height of a new button, in pixels.

    // Creates the button, owned (and freed) by AOwner.
    explicit TqvCoolGradientButton(vcl::TComponent* AOwner);
    ~TqvCoolGradientButton() override;

    // The ramp runs from LightColor (left, or top when Vertical) to ShadowColor.
    TColor LightColor() const { return FLightColor; }
    virtual void SetSColor(TColor Value);
    // The ramp's end colour.
    TColor ShadowColor() const { return FShadowColor; }
    virtual void SetEColor(TColor Value);
    // Runs the ramp from top to bottom instead of from left to right.
    bool Vertical() const { return FVertical; }
    void Setvertical(bool Value) { ChangeProperty(FVertical, Value); }
    // The frame's width in pixels.
    int BevelWidth() const { return FBevelWidth; }
    void Setbevel(int Value) { ChangeProperty(FBevelWidth, Value); }
    // A flat button shows its frame only while the mouse is over it.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // Pixels between the glyph and the caption.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value) { ChangeProperty(FSpacing, Value); }
    // The picture beside the caption (owned); its transparent colour is left out.
    vcl::TStreamedBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const vcl::TBitmap* Value);
    int GlyphWidth() const { return FGlyphWidth; } // The glyph's width in pixels.
    // Stored and repainted; the drawing does not change with it.
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetGray(bool Value) { ChangeProperty(FGrayedInactive, Value); }
    // Moves a centred caption left to leave room for a drop-down menu.
    bool MarkDropDown() const { return FMarkDropDown; }
    void SetMark(bool Value) { ChangeProperty(FMarkDropDown, Value); }
    // The menu that pops up under the button when it is pressed.
    vcl::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetPopup(vcl::TPopupMenu* Value);
    // Where the glyph sits beside the caption.
    vcl::TButtonLayout Layout() const { return FLayout; }
    void SetLayout(vcl::TButtonLayout Value) { ChangeProperty(FLayout, Value); }
    // Of the buttons of one parent and one non-zero GroupIndex one at most is down.
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // The group the button belongs to (0: none).
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // Whether the down button of a group may come up, leaving none down.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    // Sets AllowAllUp on this button and every other of its group.
    void SetAllUp(bool Value);
    // A window caption is never pressed and opens no menu.
    bool WindowCaption() const { return FWindowCaption; }
    void SetWindowCaption(bool Value) { FWindowCaption = Value; }

    // Whether the frame shows (always for a framed button, under the mouse for a flat one).
    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; } // True while the button is held down.
    // Takes the glyph's width and colour again once a form file has filled it in.
    void Loaded() override;

    vcl::TNotifyEvent OnMouseEnter; // Called when the mouse enters the button.
    vcl::TNotifyEvent OnMouseLeave; // Called when the mouse leaves the button.

protected:
    void Paint() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(vcl::TMessage& Message) override;
    void CMMouseLeave(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;

private:
    void PaintRamp(vcl::TCanvas* Canvas);
    void PaintContent(vcl::TCanvas* Canvas);
    void PaintFrame(vcl::TCanvas* Canvas);
    // Takes the glyph's width and transparent colour (width 0 without a picture).
    void GlyphChanged();
    // Runs Action on every other button of this one's parent and group.
    template <class Action>
    void ForGroup(Action Act);
    bool CanPress() const;

    bool FVertical = false;
    TColor FLightColor = vcl::clBtnHighlight;
    TColor FShadowColor = vcl::clBtnShadow;
    int FBevelWidth = 1;
    bool FFlat = false;
    int FSpacing = 1;
    TColor FGlyphTransparent = vcl::clWhite;
    int FGlyphWidth = 0;
    bool FHot = true;
    std::unique_ptr<vcl::TStreamedBitmap> FGlyph;
    bool FGrayedInactive = true;
    bool FMarkDropDown = true;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    vcl::TPopupMenu* FDropDownMenu = nullptr;
    vcl::TButtonLayout FLayout = vcl::blGlyphTop;
    bool FWindowCaption = false;
    bool FPressed = false;
};

} // namespace Coolpck
