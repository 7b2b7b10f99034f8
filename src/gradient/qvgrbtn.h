#pragma once
// Qvgrbtn: TqvGradientBtn, a focusable push button whose face is a colour gradient
// framed by a bevel, with a flat, raised or inset caption, an optional drop-down menu
// marked by a small triangle, and six design-time colour presets. A press shows the
// gradient with its two colours swapped.
#include "vcl/controls/controls.h"

#include <memory>

namespace vcl {
class TBitmap;
}

namespace Qvgrbtn {
Q_NAMESPACE

using vcl::TColor;

// The gradient's shape.
enum TGradientStyle { gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter };
Q_ENUM_NS(TGradientStyle)
// How the caption is drawn: flat, raised or inset.
enum TTextStyle { tsNormal, tsRaised, tsInset };
Q_ENUM_NS(TTextStyle)
// How strong the shading of a raised or inset caption is.
enum TShadeType { stLight, stHeavy };
Q_ENUM_NS(TShadeType)
// The caption's alignment.
enum TJustification { jLeft, jCenter, jRight };
Q_ENUM_NS(TJustification)
// The design-time colour presets.
enum TPreset { None, GoldCoast, LimeBox, Aluminum, SunRise, BrassedOff };
Q_ENUM_NS(TPreset)

// A focusable push button whose face is a colour gradient framed by a bevel, with a flat,
// raised or inset caption and an optional drop-down menu.
class TqvGradientBtn : public vcl::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::TColor DisabledColor READ DisabledColor WRITE SetDisabledColor)
    Q_CLASSINFO("Default:DisabledColor", "clGrayText")
    Q_PROPERTY(vcl::TColor BtnHiliteClr READ BtnHiliteClr WRITE SetBtnHiliteClr)
    Q_CLASSINFO("Default:BtnHiliteClr", "clBtnHighlight")
    Q_PROPERTY(vcl::TColor BtnShadowClr READ BtnShadowClr WRITE SetBtnShadowClr)
    Q_CLASSINFO("Default:BtnShadowClr", "clBtnShadow")
    Q_PROPERTY(int BtnFrameSize READ BtnFrameSize WRITE SetBtnFrameSize)
    Q_CLASSINFO("Default:BtnFrameSize", "1")
    Q_PROPERTY(vcl::TColor TxtHiliteClr READ TxtHiliteClr WRITE SetTxtHiliteClr)
    Q_CLASSINFO("Default:TxtHiliteClr", "clBtnHighlight")
    Q_PROPERTY(vcl::TColor TxtShadowClr READ TxtShadowClr WRITE SetTxtShadowClr)
    Q_CLASSINFO("Default:TxtShadowClr", "clBtnShadow")
    Q_PROPERTY(vcl::TColor BeginColor READ BeginColor WRITE SetBeginColor)
    Q_CLASSINFO("Default:BeginColor", "clNavy")
    Q_PROPERTY(vcl::TColor EndColor READ EndColor WRITE SetEndColor)
    Q_CLASSINFO("Default:EndColor", "clAqua")
    Q_PROPERTY(bool SwapColors READ SwapColors WRITE SetSwap)
    Q_CLASSINFO("Default:SwapColors", "True")
    Q_PROPERTY(bool ShowFocus READ ShowFocus WRITE SetShowFocus)
    Q_CLASSINFO("Default:ShowFocus", "True")
    Q_PROPERTY(Qvgrbtn::TGradientStyle GradientStyle READ GradientStyle WRITE SetGradientStyle)
    Q_CLASSINFO("Default:GradientStyle", "gsVertCenter")
    Q_PROPERTY(Qvgrbtn::TTextStyle TextStyle READ TextStyle WRITE SetTextStyle)
    Q_CLASSINFO("Default:TextStyle", "tsRaised")
    Q_PROPERTY(Qvgrbtn::TShadeType TextShadeType READ TextShadeType WRITE SetTextShadeType)
    Q_CLASSINFO("Default:TextShadeType", "stLight")
    Q_PROPERTY(Qvgrbtn::TPreset Presets READ Presets WRITE SetPreset)
    Q_CLASSINFO("Default:Presets", "None")
    Q_PROPERTY(Qvgrbtn::TJustification Justification READ Justification WRITE SetJustification)
    Q_CLASSINFO("Default:Justification", "jCenter")
    Q_PROPERTY(vcl::TPopupMenu* DropdownMenu READ DropdownMenu WRITE SetDropdownMenu)
    Q_CLASSINFO("Default:TabStop", "True")

public:
    static constexpr int DefaultWidth = 75; // The size of a new button, in pixels.
    static constexpr int DefaultHeight = 25; // (see DefaultWidth)

    // Creates the button, owned (and freed) by AOwner.
    explicit TqvGradientBtn(vcl::TComponent* AOwner);
    ~TqvGradientBtn() override;

    // The caption's colour while the button is disabled.
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor Value) { ChangeProperty(FDisabledColor, Value); }
    // The bevel's light colour.
    TColor BtnHiliteClr() const { return FBtnHiliteClr; }
    void SetBtnHiliteClr(TColor Value) { ChangeProperty(FBtnHiliteClr, Value); }
    // The bevel's dark colour.
    TColor BtnShadowClr() const { return FBtnShadowClr; }
    void SetBtnShadowClr(TColor Value) { ChangeProperty(FBtnShadowClr, Value); }
    // The bevel's width; a value over Width div 2 - 5 or Height div 2 - 5 is ignored.
    int BtnFrameSize() const { return FBtnFrameSize; }
    void SetBtnFrameSize(int Value);
    // The light colour of a raised or inset caption.
    TColor TxtHiliteClr() const { return FTxtHiliteClr; }
    void SetTxtHiliteClr(TColor Value) { ChangeProperty(FTxtHiliteClr, Value); }
    // The dark colour of a raised or inset caption.
    TColor TxtShadowClr() const { return FTxtShadowClr; }
    void SetTxtShadowClr(TColor Value) { ChangeProperty(FTxtShadowClr, Value); }
    // The gradient's colours, used as stored (a system colour's low bytes as they are).
    TColor BeginColor() const { return FBeginColor; }
    void SetBeginColor(TColor Value) { ChangeProperty(FBeginColor, Value); }
    // The gradient's end colour.
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value) { ChangeProperty(FEndColor, Value); }
    // Show the gradient with its colours swapped while the button is pressed.
    bool SwapColors() const { return FSwapColors; }
    void SetSwap(bool Value) { FSwapColors = Value; }
    // Draws a focus rectangle while the button has the focus.
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool Value) { FShowFocus = Value; }
    // The gradient's shape.
    TGradientStyle GradientStyle() const { return FGradientStyle; }
    void SetGradientStyle(TGradientStyle Value) { ChangeProperty(FGradientStyle, Value); }
    // How the caption is drawn.
    TTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle Value) { ChangeProperty(FTextStyle, Value); }
    // How strong the caption's shading is.
    TShadeType TextShadeType() const { return FTextShadeType; }
    void SetTextShadeType(TShadeType Value) { ChangeProperty(FTextShadeType, Value); }
    // A preset changes the look only while designing; at run time nothing happens.
    TPreset Presets() const { return FPresets; }
    void SetPreset(TPreset Value);
    // The caption's alignment.
    TJustification Justification() const { return FJustification; }
    void SetJustification(TJustification Value) { ChangeProperty(FJustification, Value); }
    // Pops up under the button when it is pressed with the left button.
    vcl::TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(vcl::TPopupMenu* Value);

    // True while the button shows its pressed face.
    bool Pressed() const { return !FUp; }
    // The caption without its accelerator marks ("&&" stays one "&").
    QString DisplayCaption() const;
    // The face as last painted.
    vcl::TBitmap* Bitmap() const { return FBitmap.get(); }

    vcl::TNotifyEvent OnMouseEnter; // Called when the mouse enters the button.
    vcl::TNotifyEvent OnMouseLeave; // Called when the mouse leaves the button.

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void Click() override;
    void KeyPress(QChar& Key) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void DoEnter() override;
    void DoExit() override;
    void CMDialogChar(vcl::TMessage& Message) override;
    void CMMouseEnter(vcl::TMessage& Message) override;
    void CMMouseLeave(vcl::TMessage& Message) override;
    void WMEraseBkgnd(vcl::TMessage& Message) override;

private:
    void RenderGradient();
    void DrawMenuMark();
    void DrawCaption();
    // Draws the caption once in Color, moved by (Dx, Dy) from its anchor.
    void TextPass(TColor Color, int Dx, int Dy);
    // Back to the up face, showing the colours unswapped again.
    void Release();

    bool FMenuShown = false;
    vcl::TPopupMenu* FDropdownMenu = nullptr;
    TColor FDisabledColor = vcl::clGrayText;
    TColor FBtnHiliteClr = vcl::clBtnHighlight;
    TColor FBtnShadowClr = vcl::clBtnShadow;
    int FBtnFrameSize = 1;
    TColor FTxtHiliteClr = vcl::clBtnHighlight;
    TColor FTxtShadowClr = vcl::clBtnShadow;
    TColor FBeginColor = vcl::clNavy;
    TColor FEndColor = vcl::clAqua;
    bool FSwapColors = true;
    bool FShowFocus = true;
    TGradientStyle FGradientStyle = gsVertCenter;
    TTextStyle FTextStyle = tsRaised;
    TShadeType FTextShadeType = stLight;
    TJustification FJustification = jCenter;
    bool FUp = true;
    // Set by a press that swapped the colours; the release swaps them back whatever
    // SwapColors says by then.
    bool FSwapped = false;
    std::unique_ptr<vcl::TBitmap> FBitmap;
    TPreset FPresets = None;
};

} // namespace Qvgrbtn
