#pragma once
// Qvcombobox: TqvCustomComboBox, the combo box base of the package's lists. On top of
// the framework combo box it adds type-ahead search in the list styles (typed keys
// select the first entry that starts with them; a pause of 1.5 s starts a new search),
// auto-completion in the editable style (the text completes to the first matching
// entry, the completed tail selected), and a flat frame with a flat drop-down button
// that follow focus and mouse hover.
#include "frame/qvutils.h"
#include "vcl/controls/combobox.h"

#include <memory>

namespace vcl {
class TControlCanvas;
class TTimer;
} // namespace vcl

namespace Qvcombobox {
Q_NAMESPACE

// The sides the frame is drawn on, with the bits of Qvutils::TSides.
enum TFrameSide : unsigned { sdLeft = 0x1, sdTop = 0x2, sdRight = 0x4, sdBottom = 0x8 };
Q_DECLARE_FLAGS(TFrameSides, TFrameSide)
Q_FLAG_NS(TFrameSides)

using Qvutils::TFramesStyle;

// The combo box base of the package's lists: type-ahead search in the list styles,
// completion in the editable style, and a flat frame and drop-down button that follow
// focus and hover.
class TqvCustomComboBox : public vcl::TCustomComboBox {
    Q_OBJECT
public:
    // Timings (milliseconds) and sizes (pixels).
    enum ComboMetrics {
        // Typing pauses longer than this start a new search.
        SearchResetMs = 1500,
        // The ring painted over the framework's own border.
        FrameRingWidth = 2,
        // Half the width of the flat button's arrow (also its height).
        ArrowHalfWidth = 5,
    };

    // Creates the combo box, owned (and freed) by AOwner.
    explicit TqvCustomComboBox(vcl::TComponent* AOwner);
    ~TqvCustomComboBox() override;

    // Item helpers over Items.
    //@{
    int Add(const QString& S);
    int AddObject(const QString& S, vcl::TObject* AObject);
    void Delete(int Index);
    int IndexOf(const QString& S) const;
    void Insert(int Index, const QString& S);
    void InsertObject(int Index, const QString& S, vcl::TObject* AObject);
    int Count() const;
    //@}
    // Selects the entry whose text equals S, ignoring case; false when there is none.
    bool FindItem(const QString& S);
    // The first entry from the top that starts with S, ignoring case, or -1.
    int FindClosest(const QString& S);

    // In the editable style, whether text other than the entries may be typed, deleted or
    // pasted; when false the text stays a completion of an entry.
    bool AllowEdit() const { return FAllowEdit; }
    void SetAllowEdit(bool Value) { FAllowEdit = Value; }
    // Beeps when a typed key matches no entry.
    bool BeepOnInvalidKey() const { return FBeepOnInvalidKey; }
    void SetBeepOnInvalidKey(bool Value) { FBeepOnInvalidKey = Value; }
    // The width of the drop-down list (never narrower than the box); 0: the box's width.
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    // Draws the drop-down button flat while the box is neither focused nor hovered.
    bool FlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool Value);
    // The frame's colour in the fsFlat style.
    vcl::TColor BorderFrameColor() const { return FBorderFrameColor; }
    void SetBorderFrameColor(vcl::TColor Value);
    // Whether the frame style follows focus and hover (BorderFrameFocusStyle while
    // focused or hovered, else BorderFrameFlatStyle).
    bool BorderFrameFlat() const { return FBorderFrameFlat; }
    void SetBorderFrameFlat(bool Value);
    // The frame style while neither focused nor hovered (with BorderFrameFlat).
    TFramesStyle BorderFrameFlatStyle() const { return FBorderFrameFlatStyle; }
    void SetBorderFrameFlatStyle(TFramesStyle Value);
    // The frame style while focused or hovered (with BorderFrameFlat).
    TFramesStyle BorderFrameFocusStyle() const { return FBorderFrameFocusStyle; }
    void SetBorderFrameFocusStyle(TFramesStyle Value);
    // The sides the frame is drawn on.
    TFrameSides BorderFrameSides() const { return FBorderFrameSides; }
    void SetBorderFrameSides(TFrameSides Value);
    // The style painted.
    TFramesStyle BorderFrameStyle() const { return FBorderFrameStyle; }
    void SetBorderFrameStyle(TFramesStyle Value);
    // Whether the package's frame is painted over the framework's border.
    bool BorderFrameVisible() const { return FBorderFrameVisible; }
    void SetBorderFrameVisible(bool Value);

    // What has been typed so far (the search or completion string).
    const QString& SearchString() const { return FSearchStr; }
    // Forgets what was typed: the next key starts a new search.
    void ClearSearchString();
    bool MouseInControl() const { return FMouseInControl; } // True while the pointer is over the box.

    vcl::TNotifyEvent OnMatch; // Called when typing selected a matching entry.
    vcl::TNotifyEvent OnMouseEnter; // Called when the pointer enters the box.
    vcl::TNotifyEvent OnMouseLeave; // Called when the pointer leaves the box.

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void KeyDown(uint16_t& Key, vcl::TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void CNCommand(vcl::TMessage& Message) override;
    void CMTextChanged(vcl::TMessage& Message) override;
    void CMMouseEnter(vcl::TMessage& Message) override;
    void CMMouseLeave(vcl::TMessage& Message) override;
    void WMNCPaint(vcl::TMessage& Message) override;
    void WMSize(vcl::TMessage& Message) override;
    void DoEnter() override;
    void DoExit() override;

    // Beeps when BeepOnInvalidKey is set.
    virtual void InvalidKeyPressed();
    // Raises OnMatch after a successful completion.
    virtual void Match();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Selects the first entry starting with S; true when one was found (the completed
    // tail is then selected in the edit field). PassKey: OnKeyPress gets the last
    // character of S.
    bool FindListItem(const QString& S, bool PassKey);
    // Type-ahead in the list styles.
    void UpdateIndex(const QString& S);
    // The search string follows the text; a matching entry is selected and completed.
    void UpdateSearchStr();
    // Focus (Mouse false) or hover (Mouse true) changed to On.
    void UpdateFrame(bool Mouse, bool On);

private:
    void SelectEntry(int Index);
    void RaiseSelectionChange();
    void PassKeyPress(QChar Key);
    void ListKeyPress(QChar& Key);
    void ListBackspace();
    void EditKeyPress(QChar& Key);
    void EditKeyDown(uint16_t& Key, vcl::TShiftState Shift);
    void EditBackspace(uint16_t& Key);
    void SearchTimerFired();
    void HookEdit();
    void EditWindowProc(vcl::TMessage& Message);
    void PaintFlatButton(vcl::TCanvas* Canvas);
    void SetText_NoSearch(const QString& Text);

    bool FAllowEdit = true;
    bool FBeepOnInvalidKey = true;
    bool FFlatButtons = true;
    vcl::TColor FBorderFrameColor = vcl::clBtnShadow;
    bool FBorderFrameFlat = false;
    TFramesStyle FBorderFrameFlatStyle = Qvutils::fsStatus;
    TFramesStyle FBorderFrameFocusStyle = Qvutils::fsLowered;
    TFrameSides FBorderFrameSides = TFrameSides(sdLeft | sdTop | sdRight | sdBottom);
    TFramesStyle FBorderFrameStyle = Qvutils::fsFlat;
    bool FBorderFrameVisible = false;
    QString FSearchStr;
    int FSavedDropDownWidth = 0;
    int FDropDownWidth = 0;
    bool FInKey = false;
    std::unique_ptr<vcl::TTimer> FSearchTimer;
    bool FSettingText = false;
    bool FPasting = false;
    std::unique_ptr<vcl::TControlCanvas> FFrameCanvas;
    bool FFocused = false;
    bool FMouseInControl = false;
    vcl::TWinControl* FHookedEdit = nullptr;
    vcl::TWndMethod FEditWindowProc;
};

} // namespace Qvcombobox

Q_DECLARE_OPERATORS_FOR_FLAGS(Qvcombobox::TFrameSides)
