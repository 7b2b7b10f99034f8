#include "vcl/controls/combobox.h"

#include "vcl/controls/controlcanvas.h"
#include "vcl/controls/itemlist.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/graphics/canvas.h"

#include <QLineEdit>
#include <algorithm>

namespace vcl {

namespace {

// The button's width: the classic width of a vertical scroll bar.
constexpr int ButtonWidth = 17;
// The sunken frame around the face, and the gap between it and the edit part.
constexpr int FrameWidth = 2;
constexpr int EditInset = 3;
// F4 opens and closes the list.
constexpr uint16_t VK_F4 = VK_F1 + 3;
// Default size of a new combo box.
constexpr int DefaultWidth = 145;

} // namespace

// The edit part of the editable styles: an edit window whose keys, after its own
// window procedure, reach the combo box's key events and navigation.
class TComboEditPart : public TEdit {
public:
    explicit TComboEditPart(TCustomComboBox* Combo)
        : TEdit(nullptr)
        , FCombo(Combo)
    {
        auto* line = static_cast<QLineEdit*>(InnerWidget());
        line->setFrame(false);
        connect(line, &QLineEdit::textEdited, this, [this](const QString& Text) { FCombo->EditTextEdited(Text); });
    }
    QLineEdit* Line() const { return static_cast<QLineEdit*>(InnerWidget()); }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override { FCombo->KeyDown(Key, Shift); }
    void KeyUp(uint16_t& Key, TShiftState Shift) override { FCombo->KeyUp(Key, Shift); }
    void KeyPress(QChar& Key) override { FCombo->KeyPress(Key); }
    void DoEnter() override { FCombo->DoEnter(); }
    void DoExit() override { FCombo->DoExit(); }

private:
    TCustomComboBox* FCombo;
};

// The list of the combo box: a popup window under the box, or in csSimple a child
// under the edit part. In the popup the item under the mouse is highlighted, and a
// click or Enter chooses it.
class TComboDropDown : public TCustomItemList {
public:
    TComboDropDown(TCustomComboBox* Combo, bool Popup)
        : TCustomItemList(nullptr, Popup ? TFrame::Single : TFrame::Sunken)
        , FCombo(Combo)
        , FPopup(Popup)
    {
        if (Popup) {
            QWidget::setParent(Combo, Qt::Popup);
            // A click on the box that closes the list must not open it again.
            setAttribute(Qt::WA_NoMouseReplay);
        } else {
            SetParent(Combo);
            setFocusPolicy(Qt::NoFocus);
        }
    }

    int ItemCount() const override { return FCombo->Items()->Count(); }
    bool IsPopup() const { return FPopup; }
    bool ListKey(uint16_t Key) { return NavigateKey(Key); }
    void Open()
    {
        FChosen = false;
        show();
        raise();
        activateWindow();
    }
    void Close(bool Chosen)
    {
        FChosen = Chosen;
        hide();
    }
    using TCustomItemList::ItemsChanged;

protected:
    int ItemHeightAt(int Index) const override { return FCombo->ItemHeightAt(Index); }
    void DrawListItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State) override
    {
        FCombo->PaintItem(DC, Index, Rect, State);
    }
    bool ShowsFocus() const override { return FPopup || FCombo->Focused(); }
    void UserSelected() override
    {
        if (!FPopup)
            FCombo->UserSelect(ItemIndex());
    }
    void KeyDown(uint16_t& Key, TShiftState Shift) override { FCombo->KeyDown(Key, Shift); }
    void KeyPress(QChar& Key) override { FCombo->KeyPress(Key); }
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        if (FPopup)
            SelectAt(X, Y);
        TCustomItemList::MouseMove(Shift, X, Y);
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomItemList::MouseUp(Button, Shift, X, Y);
        if (FPopup && Button == mbLeft && ItemAtPos(Point(X, Y), true) >= 0)
            Close(true);
    }
    void hideEvent(QHideEvent* Event) override
    {
        TCustomItemList::hideEvent(Event);
        if (FPopup) {
            const bool chosen = std::exchange(FChosen, false);
            FCombo->ListClosed(chosen, ItemIndex());
        }
    }

private:
    TCustomComboBox* FCombo;
    bool FPopup;
    bool FChosen = false;
};

// ---------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FItems(*this, ODT_COMBOBOX, [this] { ItemsChanged(); })
{
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    // OnClick means a choice of entry, not a click on the box.
    SetControlStyle(ControlStyle() & ~(TControlStyle(csSetCaption) | csClickEvents));
    RebuildParts();
    SetBounds(0, 0, DefaultWidth, 0);
}

TCustomComboBox::~TCustomComboBox()
{
    // The parts call back into the box while they go; they go first.
    delete FList;
    FList = nullptr;
    delete FEdit;
    FEdit = nullptr;
}

TStrings* TCustomComboBox::Items() const
{
    return &FItems.Strings();
}

void TCustomComboBox::SetItems(const TStrings* Value)
{
    FItems.Strings().Assign(Value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (FStyle == Value)
        return;
    SetDroppedDown(false);
    FStyle = Value;
    FItems.ForgetHeights();
    RebuildParts();
    AdjustHeight();
    SetItemIndex(FItemIndex);
    Invalidate();
}

void TCustomComboBox::RebuildParts()
{
    const bool popup = FStyle != csSimple;
    if (FList != nullptr && FList->IsPopup() != popup) {
        delete FList;
        FList = nullptr;
    }
    if (FList == nullptr)
        FList = new TComboDropDown(this, popup);
    if (HasEdit() && FEdit == nullptr) {
        FEdit = new TComboEditPart(this);
        FEdit->SetParent(this);
        FEdit->SetMaxLength(FMaxLength);
        FEdit->SetText(Text());
    } else if (!HasEdit() && FEdit != nullptr) {
        delete FEdit;
        FEdit = nullptr;
    }
    setFocusProxy(FEdit);
    LayoutParts();
}

void TCustomComboBox::LayoutParts()
{
    const TRect edit = EditRect();
    if (FEdit != nullptr)
        FEdit->SetBounds(edit.Left, edit.Top, edit.Width(), edit.Height());
    if (FList != nullptr && !FList->IsPopup()) {
        const int top = edit.Bottom + EditInset;
        FList->SetBounds(0, top, Width(), std::max(0, Height() - top));
    }
}

TRect TCustomComboBox::EditRect() const
{
    const int faceHeight = FStyle == csSimple ? EditHeight() + 2 * EditInset : Height();
    const int right = FStyle == csSimple ? Width() - EditInset : Width() - FrameWidth - ButtonWidth - 1;
    return Rect(EditInset, EditInset, std::max(EditInset, right), std::max(EditInset, faceHeight - EditInset));
}

TRect TCustomComboBox::ButtonRect() const
{
    if (FStyle == csSimple)
        return TRect();
    return Rect(Width() - FrameWidth - ButtonWidth, FrameWidth, Width() - FrameWidth, Height() - FrameWidth);
}

void TCustomComboBox::SetItemHeight(int Value)
{
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    FItems.ForgetHeights();
    AdjustHeight();
    ItemsChanged();
}

int TCustomComboBox::ItemHeightAt(int Index) const
{
    if (FStyle == csOwnerDrawVariable)
        return FItems.MeasuredHeight(Index, FItemHeight);
    return IsOwnerDraw() ? FItemHeight : FItems.FontItemHeight();
}

int TCustomComboBox::EditHeight() const
{
    return FStyle == csOwnerDrawVariable ? FItems.MeasuredHeight(-1, FItemHeight) : ItemHeightAt(0);
}

void TCustomComboBox::AdjustHeight()
{
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // Only the simple style can be given a height: the others are as high as their face.
    if (FStyle != csSimple)
        AHeight = EditHeight() + 2 * EditInset;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::WMSize(TMessage& Message)
{
    LayoutParts();
    TCustomControl::WMSize(Message);
}

void TCustomComboBox::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    FItems.Strings().SetSorted(Value);
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = std::max(1, Value);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (FEdit != nullptr)
        FEdit->SetMaxLength(FMaxLength);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value)
{
    if (FCharCase == Value)
        return;
    FCharCase = Value;
    if (HasEdit())
        SetText(ApplyCharCase(Text()));
}

QString TCustomComboBox::ApplyCharCase(const QString& Text) const
{
    switch (FCharCase) {
    case ecUpperCase: return Text.toUpper();
    case ecLowerCase: return Text.toLower();
    default: return Text;
    }
}

void TCustomComboBox::SetItemIndex(int Value)
{
    Value = std::clamp(Value, -1, Items()->Count() - 1);
    FItemIndex = Value;
    FSelectedText = Value >= 0 ? Items()->Strings(Value) : QString();
    const QString text = HasEdit() ? ApplyCharCase(FSelectedText) : FSelectedText;
    FSettingText = true;
    SetText(text);
    if (FEdit != nullptr)
        FEdit->SetText(text);
    FSettingText = false;
    if (FList != nullptr)
        FList->SetItemIndex(Value);
    Invalidate();
}

void TCustomComboBox::ItemsChanged()
{
    FItems.ForgetHeights();
    if (FItemIndex >= 0 && (FItemIndex >= Items()->Count() || Items()->Strings(FItemIndex) != FSelectedText)) {
        // The selection follows its entry when entries come or go before it.
        int index = Items()->IndexOf(FSelectedText);
        if (index >= 0 && Items()->Strings(index) != FSelectedText)
            index = -1;
        FItemIndex = index;
    }
    if (FList != nullptr) {
        FList->ItemsChanged();
        FList->SetItemIndex(FItemIndex);
    }
    Invalidate();
}

void TCustomComboBox::CMTextChanged(TMessage& Message)
{
    TCustomControl::CMTextChanged(Message);
    if (FSettingText)
        return;
    FSettingText = true;
    if (HasEdit()) {
        const QString cased = ApplyCharCase(Text());
        if (cased != Text())
            SetText(cased);
        if (FEdit != nullptr && FEdit->Text() != cased)
            FEdit->SetText(cased);
    } else {
        // A list style shows only entries: a text selects the entry it names.
        const LRESULT index = FindString(-1, Text(), true);
        FSettingText = false;
        SetItemIndex(int(index));
        return;
    }
    FSettingText = false;
}

void TCustomComboBox::EditTextEdited(const QString& Text)
{
    FSettingText = true;
    SetText(Text);
    FSettingText = false;
    Notify(CBN_EDITCHANGE);
}

void TCustomComboBox::CMFontChanged(TMessage& Message)
{
    TCustomControl::CMFontChanged(Message);
    FItems.ForgetHeights();
    AdjustHeight();
    LayoutParts();
}

void TCustomComboBox::CMEnabledChanged(TMessage& Message)
{
    TCustomControl::CMEnabledChanged(Message);
    if (FList != nullptr)
        FList->SetEnabled(Enabled());
}

TCanvas* TCustomComboBox::Canvas()
{
    return &FItems.Canvas();
}

HWND TCustomComboBox::EditHandle()
{
    return FEdit != nullptr ? FEdit->Handle() : HWND();
}

HWND TCustomComboBox::ListHandle()
{
    return FList->Handle();
}

TCustomControl* TCustomComboBox::DropDownList() const
{
    return FList;
}

} // namespace vcl

namespace vcl {

// ---------------------------------------------------------------------------
// Drawing

void TCustomComboBox::PaintItem(HDC DC, int Index, const TRect& Rect, TOwnerDrawState State)
{
    FItems.Paint(IsOwnerDraw(), DC, Index, Rect, State);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        FItems.DefaultDraw(Index, Rect, State);
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CNDrawItem(TMessage& Message)
{
    FItems.DrawReflected(Message, [this](int I, const TRect& R, TOwnerDrawState S) { DrawItem(I, R, S); });
    Message.Result = 1;
}

void TCustomComboBox::CNMeasureItem(TMessage& Message)
{
    auto& data = *reinterpret_cast<TMeasureItemStruct*>(Message.LParam);
    data.itemHeight = FItemHeight;
    if (FStyle == csOwnerDrawVariable)
        MeasureItem(data.itemID, data.itemHeight);
    Message.Result = 1;
}

void TCustomComboBox::Paint()
{
    TCanvas* canvas = TCustomControl::Canvas();
    if (!HasEdit()) {
        // The face shows the selected entry, highlighted while the box has the focus.
        TOwnerDrawState state(odComboBoxEdit);
        if (Focused() && !DroppedDown())
            state |= TOwnerDrawState(odSelected) | odFocused;
        if (!Enabled())
            state |= odDisabled;
        PaintItem(canvas->Handle(), FItemIndex, EditRect(), state);
    }
    if (FStyle != csSimple)
        PaintButton(canvas);
}

void TCustomComboBox::PaintButton(TCanvas* Canvas)
{
    TRect button = ButtonRect();
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(button);
    DrawEdge(Canvas->Handle(), button, DroppedDown() ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // A down-pointing triangle, 7 pixels wide, in the middle of the button.
    const int cx = (button.Left + button.Right) / 2;
    const int cy = (button.Top + button.Bottom) / 2 - 1;
    const TColor arrow = Enabled() ? clBtnText : clGrayText;
    Canvas->Pen()->SetColor(arrow);
    Canvas->Brush()->SetColor(arrow);
    Canvas->Polygon({Point(cx - 3, cy), Point(cx + 3, cy), Point(cx, cy + 3)});
}

void TCustomComboBox::WMPaint(TMessage& Message)
{
    TCustomControl::WMPaint(Message);
    // The frame after the face, through the window so a subclass can draw its own.
    SendToWindow(WM_NCPAINT);
}

void TCustomComboBox::WMNCPaint(TMessage& Message)
{
    TCustomControl::WMNCPaint(Message);
    if (FFrameCanvas == nullptr) {
        FFrameCanvas = std::make_unique<TControlCanvas>();
        FFrameCanvas->SetControl(this);
    }
    // The frame goes round the face (the edit part in csSimple, whose list has its own).
    TRect frame = ClientRect();
    if (FStyle == csSimple)
        frame.Bottom = EditRect().Bottom + EditInset;
    DrawEdge(FFrameCanvas->Handle(), frame, EDGE_SUNKEN, BF_RECT);
}

// ---------------------------------------------------------------------------
// Dropping down and choosing

bool TCustomComboBox::DroppedDown() const
{
    return FList != nullptr && FList->IsPopup() && FList->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (FStyle == csSimple || Value == DroppedDown())
        return;
    if (!Value) {
        FList->Close(false);
        return;
    }
    Notify(CBN_DROPDOWN);
    FList->ItemsChanged();
    FList->SetItemIndex(FItemIndex);
    PositionDropDown();
    FList->Open();
    Invalidate();
}

void TCustomComboBox::PositionDropDown()
{
    const int count = std::min(Items()->Count(), FDropDownCount);
    int height = 2;
    for (int i = 0; i < count; ++i)
        height += ItemHeightAt(i);
    // An empty list still shows one empty row.
    if (count == 0)
        height += ItemHeightAt(0);
    const QPoint below = mapToGlobal(QPoint(0, Height()));
    FList->SetBounds(below.x(), below.y(), std::max(FDroppedWidth, Width()), height);
    FList->SetTopIndex(0);
    FList->SetItemIndex(FItemIndex);
}

void TCustomComboBox::ListClosed(bool Chosen, int Index)
{
    if (Chosen && Index >= 0 && Index != FItemIndex)
        UserSelect(Index);
    Notify(Chosen ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(CBN_CLOSEUP);
    Invalidate();
}

void TCustomComboBox::UserSelect(int Index)
{
    SetItemIndex(Index);
    if (FEdit != nullptr)
        FEdit->SelectAll();
    Notify(CBN_SELCHANGE);
}

void TCustomComboBox::Notify(uint16_t Code)
{
    Perform(CN_COMMAND, MAKEWPARAM(0, Code), 0);
}

void TCustomComboBox::CNCommand(TMessage& Message)
{
    switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE:
        Click();
        Change();
        break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    case CBN_DBLCLK: DblClick(); break;
    default: break;
    }
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---------------------------------------------------------------------------
// Keys, mouse and focus

bool TCustomComboBox::NavigateKey(uint16_t Key, TShiftState Shift)
{
    const bool alt = Shift.testFlag(ssAlt);
    const bool toggle = Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP));
    if (DroppedDown()) {
        if (toggle || Key == VK_RETURN || Key == VK_ESCAPE) {
            FList->Close(Key != VK_ESCAPE);
            return true;
        }
        return FList->ListKey(Key);
    }
    if (toggle) {
        SetDroppedDown(true);
        return FStyle != csSimple;
    }
    // In the editable styles Home and End move the caret.
    if (HasEdit() && (Key == VK_HOME || Key == VK_END))
        return false;
    const int index = NavigatedIndex(Key, FItemIndex, Items()->Count(), FDropDownCount - 1);
    if (index == NotNavigation)
        return false;
    if (index >= 0 && index != FItemIndex)
        UserSelect(index);
    return true;
}

void TCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && NavigateKey(Key, Shift))
        Key = 0;
}

void TCustomComboBox::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key.isNull())
        return;
    if (HasEdit()) {
        const QString cased = ApplyCharCase(QString(Key));
        Key = cased.size() == 1 ? cased[0] : Key;
        return;
    }
    if (!Key.isPrint())
        return;
    // A typed character in a list style selects the next entry that starts with it.
    const int from = DroppedDown() ? FList->ItemIndex() : FItemIndex;
    const int index = int(FindString(from, QString(Key), false));
    if (index < 0)
        return;
    if (DroppedDown())
        FList->SetItemIndex(index);
    else if (index != FItemIndex)
        UserSelect(index);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || FStyle == csSimple)
        return;
    const TRect button = ButtonRect();
    const bool onButton = X >= button.Left && X < button.Right && Y >= button.Top && Y < button.Bottom;
    if (!HasEdit() || onButton) {
        if (CanFocus())
            SetFocus();
        SetDroppedDown(!DroppedDown());
    }
}

void TCustomComboBox::DoEnter()
{
    TCustomControl::DoEnter();
    Invalidate();
}

void TCustomComboBox::DoExit()
{
    TCustomControl::DoExit();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Edit selection

void TCustomComboBox::SelectAll()
{
    if (FEdit != nullptr)
        FEdit->SelectAll();
}

int TCustomComboBox::SelStart()
{
    int start = 0;
    int end = 0;
    Perform(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start;
}

int TCustomComboBox::SelLength()
{
    int start = 0;
    int end = 0;
    Perform(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end - start;
}

void TCustomComboBox::SetSelStart(int Value)
{
    SetEditSelection(Value, Value);
}

void TCustomComboBox::SetSelLength(int Value)
{
    const int start = SelStart();
    SetEditSelection(start, start + Value);
}

QString TCustomComboBox::SelText() const
{
    return FEdit != nullptr ? FEdit->Line()->selectedText() : QString();
}

void TCustomComboBox::SetSelText(const QString& Value)
{
    if (FEdit == nullptr)
        return;
    FEdit->Line()->insert(Value);
    EditTextEdited(FEdit->Line()->text());
}

void TCustomComboBox::EditSelection(int& Start, int& End) const
{
    Start = End = 0;
    if (FEdit == nullptr)
        return;
    const QLineEdit* line = FEdit->Line();
    Start = End = line->cursorPosition();
    if (line->hasSelectedText()) {
        Start = line->selectionStart();
        End = Start + int(line->selectedText().size());
    }
}

void TCustomComboBox::SetEditSelection(int Start, int End)
{
    if (FEdit == nullptr)
        return;
    QLineEdit* line = FEdit->Line();
    const int length = int(line->text().size());
    // A start of -1 removes the selection; an end of -1 (or past the text) selects to the end.
    if (Start < 0) {
        line->deselect();
        return;
    }
    Start = std::min(Start, length);
    End = End < 0 ? length : std::clamp(End, Start, length);
    line->setSelection(Start, End - Start);
}

} // namespace vcl

namespace vcl {

// ---------------------------------------------------------------------------
// Messages

void TCustomComboBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND)
        CNCommand(Message);
    else if (!ListMessage(Message) && !EditMessage(Message))
        TCustomControl::WndProc(Message);
}

LRESULT TCustomComboBox::FindString(int Start, const QString& Text, bool Exact) const
{
    return FItems.Find(Start, Text, Exact);
}

bool TCustomComboBox::ListMessage(TMessage& Message)
{
    const int index = int(static_cast<intptr_t>(Message.WParam));
    const bool valid = index >= 0 && index < Items()->Count();
    auto* text = reinterpret_cast<QString*>(Message.LParam);
    switch (Message.Msg) {
    case CB_GETCOUNT: Message.Result = Items()->Count(); break;
    case CB_GETCURSEL: Message.Result = FItemIndex; break;
    case CB_SETCURSEL:
        SetItemIndex(valid ? index : -1);
        Message.Result = valid ? index : CB_ERR;
        break;
    case CB_GETLBTEXT:
        if (valid && text != nullptr)
            *text = Items()->Strings(index);
        Message.Result = valid ? Items()->Strings(index).size() : CB_ERR;
        break;
    case CB_GETLBTEXTLEN: Message.Result = valid ? Items()->Strings(index).size() : CB_ERR; break;
    case CB_ADDSTRING: Message.Result = Items()->Add(*text); break;
    case CB_INSERTSTRING: {
        const int at = index < 0 || index > Items()->Count() ? Items()->Count() : index;
        Items()->Insert(at, *text);
        Message.Result = at;
        break;
    }
    case CB_DELETESTRING:
        if (valid)
            Items()->Delete(index);
        Message.Result = valid ? Items()->Count() : CB_ERR;
        break;
    case CB_RESETCONTENT: Items()->Clear(); break;
    case CB_FINDSTRING: Message.Result = FindString(index, *text, false); break;
    case CB_FINDSTRINGEXACT: Message.Result = FindString(index, *text, true); break;
    case CB_SELECTSTRING:
        Message.Result = FindString(index, *text, false);
        if (Message.Result != CB_ERR)
            SetItemIndex(int(Message.Result));
        break;
    case CB_GETITEMDATA: Message.Result = valid ? reinterpret_cast<LRESULT>(Items()->Objects(index)) : CB_ERR; break;
    case CB_SETITEMDATA:
        if (valid)
            Items()->SetObjects(index, reinterpret_cast<TObject*>(Message.LParam));
        Message.Result = valid ? 0 : CB_ERR;
        break;
    default: return false;
    }
    return true;
}

bool TCustomComboBox::EditMessage(TMessage& Message)
{
    const int index = int(static_cast<intptr_t>(Message.WParam));
    switch (Message.Msg) {
    case CB_GETEDITSEL: {
        int start = 0;
        int end = 0;
        EditSelection(start, end);
        if (Message.WParam != 0)
            *reinterpret_cast<int*>(Message.WParam) = start;
        if (Message.LParam != 0)
            *reinterpret_cast<int*>(Message.LParam) = end;
        Message.Result = MAKELPARAM(start, end);
        break;
    }
    case CB_SETEDITSEL:
        SetEditSelection(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        Message.Result = HasEdit() ? 1 : CB_ERR;
        break;
    case CB_LIMITTEXT: SetMaxLength(index); Message.Result = 1; break;
    case CB_SHOWDROPDOWN: SetDroppedDown(Message.WParam != 0); Message.Result = 1; break;
    case CB_GETDROPPEDSTATE: Message.Result = DroppedDown() ? 1 : 0; break;
    case CB_SETDROPPEDWIDTH:
        FDroppedWidth = std::max(0, index);
        Message.Result = std::max(FDroppedWidth, Width());
        break;
    case CB_GETDROPPEDWIDTH: Message.Result = std::max(FDroppedWidth, Width()); break;
    case CB_GETDROPPEDCONTROLRECT:
        if (auto* rect = reinterpret_cast<TRect*>(Message.LParam); rect != nullptr && FList != nullptr)
            *rect = TRect::FromQRect(FList->IsPopup() ? FList->geometry() : QRect(FList->mapToGlobal(QPoint()), FList->size()));
        Message.Result = 1;
        break;
    case CB_GETITEMHEIGHT: Message.Result = index < 0 ? EditHeight() : index < Items()->Count() ? ItemHeightAt(index) : CB_ERR; break;
    case CB_SETITEMHEIGHT:
        SetItemHeight(int(Message.LParam));
        Message.Result = 0;
        break;
    case CB_GETTOPINDEX: Message.Result = FList->TopIndex(); break;
    case CB_SETTOPINDEX: FList->SetTopIndex(index); Message.Result = 0; break;
    default: return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner)
{
}

} // namespace vcl
