#pragma once
// Coolpck: TqvCoolButton, an image button with up, down, mouse-over and disabled
// pictures; the up picture stands in for any that is missing.
#include "gradient/coolpck.h"
#include "vcl/graphics/streamedbitmap.h"

#include <memory>

namespace Coolpck {

// An image button with up, down, mouse-over and disabled pictures; the up picture stands
// in for any that is missing.
class TqvCoolButton : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStreamedBitmap* UpImage READ UpImage WRITE SetUpImage)
    Q_PROPERTY(vcl::TStreamedBitmap* DownImage READ DownImage WRITE SetDownImage)
    Q_PROPERTY(vcl::TStreamedBitmap* MouseOverImage READ MouseOverImage WRITE SetMouseOverImage)
    Q_PROPERTY(vcl::TStreamedBitmap* DisabledImage READ DisabledImage WRITE SetDisabledImage)
    Q_PROPERTY(bool Stretch READ Stretch WRITE Setstretch)
    Q_CLASSINFO("Default:Stretch", "False")
    Q_PROPERTY(bool Transparent READ Transparent WRITE Settrans)
    Q_CLASSINFO("Default:Transparent", "False")
    Q_PROPERTY(vcl::TColor TransparentColor READ TransparentColor WRITE Settransclr)
    Q_CLASSINFO("Default:TransparentColor", "clWhite")

public:
    static constexpr int DefaultSize = 50; // The width and height of a new button, in pixels.

    // Creates the button, owned (and freed) by AOwner.
    explicit TqvCoolButton(vcl::TComponent* AOwner);
    ~TqvCoolButton() override;

    // The pictures (owned). Setting the up picture fills the missing ones with it.
    vcl::TStreamedBitmap* UpImage() const { return FUpImage.get(); }
    void SetUpImage(const vcl::TBitmap* Value);
    // The picture shown while the button is pressed.
    vcl::TStreamedBitmap* DownImage() const { return FDownImage.get(); }
    void SetDownImage(const vcl::TBitmap* Value);
    // The picture shown while the mouse is over the button.
    vcl::TStreamedBitmap* MouseOverImage() const { return FMouseOverImage.get(); }
    void SetMouseOverImage(const vcl::TBitmap* Value);
    // The picture shown while the button is disabled.
    vcl::TStreamedBitmap* DisabledImage() const { return FDisabledImage.get(); }
    void SetDisabledImage(const vcl::TBitmap* Value);

    // Draws the picture stretched to the button's size.
    bool Stretch() const { return FStretch; }
    void Setstretch(bool Value) { ChangeProperty(FStretch, Value); }
    // A transparent button leaves the pixels of TransparentColor to its parent.
    bool Transparent() const { return FTransparent; }
    void Settrans(bool Value);
    // The colour a transparent button leaves out.
    TColor TransparentColor() const { return FTransparentColor; }
    void Settransclr(TColor Value) { ChangeProperty(FTransparentColor, Value); }

    // True while the mouse is over the button.
    bool MouseOver() const { return FMouseOver; }
    bool Pressed() const { return FPressed; } // True while the button is held down.
    // The picture the next paint shows (null: none, the face is plain).
    vcl::TBitmap* ChosenImage() const;

    vcl::TNotifyEvent OnMouseEnter; // Called when the mouse enters the button.
    vcl::TNotifyEvent OnMouseLeave; // Called when the mouse leaves the button.

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(vcl::TMessage& Message) override;
    void CMMouseLeave(vcl::TMessage& Message) override;

private:
    // Every picture narrower than one pixel becomes a copy of the up picture.
    void check();
    void ShowState();

    std::unique_ptr<vcl::TStreamedBitmap> FUpImage;
    std::unique_ptr<vcl::TStreamedBitmap> FDownImage;
    std::unique_ptr<vcl::TStreamedBitmap> FMouseOverImage;
    std::unique_ptr<vcl::TStreamedBitmap> FDisabledImage;
    bool FMouseOver = false;
    bool FStretch = false;
    bool FTransparent = false;
    TColor FTransparentColor = vcl::clWhite;
    bool FPressed = false;
};

} // namespace Coolpck
