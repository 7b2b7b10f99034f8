#pragma once
// TSpeedButton: a windowless tool button with a glyph and a caption, flat or raised,
// that can stay down alone or as one of a group.
#include "vcl/controls/controls.h"

#include <memory>

namespace vcl {

class TBitmap;

class TSpeedButton : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_CLASSINFO("Default:Down", "False")
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_CLASSINFO("Default:GroupIndex", "0")
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_CLASSINFO("Default:AllowAllUp", "False")
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_CLASSINFO("Default:Flat", "False")
    Q_PROPERTY(vcl::Controls::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_CLASSINFO("Default:Layout", "blGlyphLeft")
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_CLASSINFO("Default:Spacing", "4")
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // Buttons of the same parent and non-zero GroupIndex stay down one at a time.
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    // Whether the down button of a group comes up when clicked again.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    // A flat button shows its edge only while the mouse is over it.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // Pixels between glyph and caption.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    // The picture; its bottom-left pixel's colour is see-through.
    TBitmap* Glyph() const { return FGlyph.get(); }
    bool MouseInControl() const { return FMouseInControl; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;

private:
    // Puts the other buttons of the group up.
    void UpdateExclusive();
    bool FDown = false;
    bool FPressed = false;
    bool FMouseInControl = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    std::unique_ptr<TBitmap> FGlyph;
};

} // namespace vcl
