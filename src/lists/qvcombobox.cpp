#include "lists/qvcombobox.h"

#include "vcl/controls/controlcanvas.h"
#include "vcl/controls/timers.h"
#include "vcl/controls/winuser.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/canvas.h"

#include <QGuiApplication>

namespace Qvcombobox {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvcombobox"), {"Qvutils"});

using namespace vcl;

namespace {

bool IsSearchCharacter(QChar Key)
{
    return Key.unicode() >= 32 && Key.isPrint();
}

bool IsNavigationKey(uint16_t Key)
{
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: return true;
    default: return false;
    }
}

} // namespace

TqvCustomComboBox::TqvCustomComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner)
    , FSearchTimer(std::make_unique<TTimer>(nullptr))
    , FFrameCanvas(std::make_unique<TControlCanvas>())
{
    SetControlStyle(ControlStyle() & ~TControlStyle(csSetCaption));
    FSearchTimer->SetEnabled(false);
    FSearchTimer->SetInterval(SearchResetMs);
    FSearchTimer->OnTimer = [this](TObject*) { SearchTimerFired(); };
    FFrameCanvas->SetControl(this);
}

TqvCustomComboBox::~TqvCustomComboBox()
{
    if (FHookedEdit != nullptr && FindControl(EditHandle()) == FHookedEdit)
        FHookedEdit->WindowProc = FEditWindowProc;
}

// ---------------------------------------------------------------------------
// Item helpers

int TqvCustomComboBox::Add(const QString& S)
{
    return Items()->Add(S);
}

int TqvCustomComboBox::AddObject(const QString& S, TObject* AObject)
{
    return Items()->AddObject(S, AObject);
}

void TqvCustomComboBox::Delete(int Index)
{
    Items()->Delete(Index);
}

int TqvCustomComboBox::IndexOf(const QString& S) const
{
    return Items()->IndexOf(S);
}

void TqvCustomComboBox::Insert(int Index, const QString& S)
{
    Items()->Insert(Index, S);
}

void TqvCustomComboBox::InsertObject(int Index, const QString& S, TObject* AObject)
{
    Items()->InsertObject(Index, S, AObject);
}

int TqvCustomComboBox::Count() const
{
    return Items()->Count();
}

bool TqvCustomComboBox::FindItem(const QString& S)
{
    QString text = S;
    const int index = int(Perform(CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(&text)));
    if (index < 0)
        return false;
    SelectEntry(index);
    return true;
}

int TqvCustomComboBox::FindClosest(const QString& S)
{
    QString text = S;
    return int(Perform(CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(&text)));
}

// ---------------------------------------------------------------------------
// Properties

void TqvCustomComboBox::SetDropDownWidth(int Value)
{
    FDropDownWidth = Value;
    Perform(CB_SETDROPPEDWIDTH, WPARAM(Value), 0);
}

void TqvCustomComboBox::SetFlatButtons(bool Value)
{
    ChangeProperty(FFlatButtons, Value);
}

void TqvCustomComboBox::SetBorderFrameColor(TColor Value)
{
    ChangeProperty(FBorderFrameColor, Value);
}

void TqvCustomComboBox::SetBorderFrameFlat(bool Value)
{
    ChangeProperty(FBorderFrameFlat, Value);
}

void TqvCustomComboBox::SetBorderFrameFlatStyle(TFramesStyle Value)
{
    ChangeProperty(FBorderFrameFlatStyle, Value);
}

void TqvCustomComboBox::SetBorderFrameFocusStyle(TFramesStyle Value)
{
    ChangeProperty(FBorderFrameFocusStyle, Value);
}

void TqvCustomComboBox::SetBorderFrameSides(TFrameSides Value)
{
    ChangeProperty(FBorderFrameSides, Value);
}

void TqvCustomComboBox::SetBorderFrameStyle(TFramesStyle Value)
{
    ChangeProperty(FBorderFrameStyle, Value);
}

// The framework box has no separate 3-D look to switch off: the ring painted over its
// border takes that part.
void TqvCustomComboBox::SetBorderFrameVisible(bool Value)
{
    ChangeProperty(FBorderFrameVisible, Value);
}

// ---------------------------------------------------------------------------
// Window life

void TqvCustomComboBox::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    if (FSavedDropDownWidth != 0)
        Perform(CB_SETDROPPEDWIDTH, WPARAM(FSavedDropDownWidth), 0);
    HookEdit();
}

void TqvCustomComboBox::DestroyWnd()
{
    FSavedDropDownWidth = FDropDownWidth;
    TCustomComboBox::DestroyWnd();
}

// ---------------------------------------------------------------------------
// Search and completion

void TqvCustomComboBox::ClearSearchString()
{
    FSearchStr.clear();
}

void TqvCustomComboBox::InvalidKeyPressed()
{
    if (FBeepOnInvalidKey)
        MessageBeep(0);
}

void TqvCustomComboBox::Match()
{
    if (OnMatch)
        OnMatch(this);
}

void TqvCustomComboBox::SelectEntry(int Index)
{
    const bool setting = std::exchange(FSettingText, true);
    SetItemIndex(Index);
    FSettingText = setting;
}

void TqvCustomComboBox::RaiseSelectionChange()
{
    Click();
    Change();
}

void TqvCustomComboBox::PassKeyPress(QChar Key)
{
    TCustomControl::KeyPress(Key);
}

void TqvCustomComboBox::SetText_NoSearch(const QString& Text)
{
    const bool setting = std::exchange(FSettingText, true);
    SetText(Text);
    FSettingText = setting;
}

void TqvCustomComboBox::UpdateIndex(const QString& S)
{
    const int index = FindClosest(S);
    if (index < 0) {
        InvalidKeyPressed();
        return;
    }
    SelectEntry(index);
    FSearchStr = S;
    RaiseSelectionChange();
    PassKeyPress(S.isEmpty() ? QChar() : S.back());
}

bool TqvCustomComboBox::FindListItem(const QString& S, bool PassKey)
{
    const int index = FindClosest(S);
    if (index < 0)
        return false;
    SelectEntry(index);
    RaiseSelectionChange();
    if (PassKey)
        PassKeyPress(S.isEmpty() ? QChar() : S.back());
    SetSelStart(int(S.size()));
    SetSelLength(int(Items()->Strings(index).size()) - SelStart());
    Match();
    return true;
}

void TqvCustomComboBox::UpdateSearchStr()
{
    if (Style() != csDropDown)
        return;
    FSearchStr = Text();
    // Every entry starts with the empty text: an empty field completes to nothing.
    const int index = FSearchStr.isEmpty() ? -1 : FindClosest(FSearchStr);
    if (index < 0)
        return;
    SelectEntry(index);
    SetSelStart(int(FSearchStr.size()));
    SetSelLength(int(Items()->Strings(index).size()) - SelStart());
}

void TqvCustomComboBox::SearchTimerFired()
{
    if (FInKey)
        return;
    FSearchTimer->SetEnabled(false);
    ClearSearchString();
}

void TqvCustomComboBox::CMTextChanged(TMessage& Message)
{
    TCustomComboBox::CMTextChanged(Message);
    if (FSettingText || ComponentState().testFlag(csDesigning))
        return;
    const bool setting = std::exchange(FSettingText, true);
    UpdateSearchStr();
    FSettingText = setting;
}

// ---------------------------------------------------------------------------
// Keys

void TqvCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Style() == csDropDown || Style() == csSimple) {
        EditKeyDown(Key, Shift);
    } else if (IsNavigationKey(Key)) {
        ClearSearchString();
    } else if (Key == VK_BACK) {
        TCustomControl::KeyDown(Key, Shift);
        if (Key != 0)
            ListBackspace();
        Key = 0;
        return;
    } else if (Key == VK_ESCAPE && !DroppedDown()) {
        // Escape on the closed box goes back to the first entry.
        ClearSearchString();
        SelectEntry(0);
        RaiseSelectionChange();
    }
    if (Key != 0)
        TCustomComboBox::KeyDown(Key, Shift);
}

void TqvCustomComboBox::KeyPress(QChar& Key)
{
    if (Style() == csDropDown || Style() == csSimple)
        EditKeyPress(Key);
    else
        ListKeyPress(Key);
}

// Type-ahead: the typed character extends the search; the framework's own one-letter
// search does not run.
void TqvCustomComboBox::ListKeyPress(QChar& Key)
{
    if (!IsSearchCharacter(Key)) {
        TCustomComboBox::KeyPress(Key);
        return;
    }
    FInKey = true;
    UpdateIndex(FSearchStr + Key);
    FSearchTimer->SetEnabled(false);
    FSearchTimer->SetEnabled(true);
    FInKey = false;
    Key = QChar();
}

void TqvCustomComboBox::ListBackspace()
{
    if (FSearchStr.isEmpty()) {
        InvalidKeyPressed();
        return;
    }
    const QString shorter = FSearchStr.chopped(1);
    if (!shorter.isEmpty()) {
        UpdateIndex(shorter);
        return;
    }
    SelectEntry(0);
    RaiseSelectionChange();
    ClearSearchString();
    PassKeyPress(QChar(u'\b'));
}

void TqvCustomComboBox::EditKeyDown(uint16_t& Key, TShiftState Shift)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: ClearSearchString(); break;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT: FSearchStr = Text(); break;
    case VK_INSERT:
        FPasting = Shift.testFlag(ssShift);
        if (!FAllowEdit)
            Key = 0;
        break;
    case VK_DELETE:
        FSearchStr = Text();
        if (!FAllowEdit && SelLength() < Text().size())
            Key = 0;
        break;
    case VK_BACK: EditBackspace(Key); break;
    case VK_ESCAPE:
        if (DroppedDown())
            break;
        SelectEntry(-1);
        ClearSearchString();
        RaiseSelectionChange();
        PassKeyPress(QChar(u'\x1b'));
        Key = 0;
        break;
    case 'V':
    case 'X':
        if (!ctrl)
            break;
        FPasting = FAllowEdit;
        if (!FAllowEdit)
            Key = 0;
        break;
    default: break;
    }
    if (Key != 0)
        TCustomComboBox::KeyDown(Key, Shift);
}

// Backspace in the edit field works on the search string: after a completion the caret
// stands at the end of the text, so the last typed character goes and the rest is
// completed again.
void TqvCustomComboBox::EditBackspace(uint16_t& Key)
{
    if (FSearchStr.isEmpty()) {
        InvalidKeyPressed();
        return;
    }
    QString copy = FSearchStr;
    const int start = SelStart();
    const int length = SelLength();
    if (start + length < Text().size()) {
        if (FAllowEdit && length > 0)
            copy.remove(start, length);
        else if (FAllowEdit && start > 0)
            copy.remove(start - 1, 1);
    } else {
        copy.chop(1);
    }
    Change();
    if (copy.isEmpty()) {
        SelectEntry(-1);
        ClearSearchString();
        RaiseSelectionChange();
        PassKeyPress(QChar(u'\b'));
    }
    FSearchStr = copy;
    // Every entry starts with the empty text: an emptied field completes to nothing.
    if (!copy.isEmpty() && FindListItem(copy, true))
        Key = 0;
}

void TqvCustomComboBox::EditKeyPress(QChar& Key)
{
    if (!IsSearchCharacter(Key)) {
        TCustomComboBox::KeyPress(Key);
        return;
    }
    PassKeyPress(Key);
    if (!IsSearchCharacter(Key))
        return;
    if (MaxLength() >= 1 && Text().size() >= MaxLength() && SelLength() == 0) {
        InvalidKeyPressed();
        Key = QChar();
        return;
    }
    const int start = SelStart();
    const int length = SelLength();
    // The search string is the typed prefix of the text; when navigation cleared it, the
    // text as it stands takes its place.
    QString search = FSearchStr.size() >= start ? FSearchStr : Text();
    search.remove(start, length);
    const QString kept = search;
    FSearchStr = search.insert(std::min<qsizetype>(start, search.size()), Key);
    Change();
    // OnKeyPress has seen the key already.
    if (FindListItem(FSearchStr, false)) {
        Key = QChar();
    } else if (FAllowEdit) {
        // The field shows what was typed, without the completed tail, and takes the
        // character at the caret.
        SetText_NoSearch(kept);
        SetSelStart(start);
        SetSelLength(0);
    } else {
        InvalidKeyPressed();
        FSearchStr = kept;
        Key = QChar();
    }
}

void TqvCustomComboBox::CNCommand(TMessage& Message)
{
    TCustomComboBox::CNCommand(Message);
    if (HIWORD(Message.WParam) != CBN_EDITCHANGE || !std::exchange(FPasting, false) || !FAllowEdit)
        return;
    FSearchStr = Text();
    FindListItem(FSearchStr, false);
}

// A press in the edit field starts the search from the text as it stands.
void TqvCustomComboBox::HookEdit()
{
    TWinControl* edit = FindControl(EditHandle());
    if (edit == FHookedEdit)
        return;
    FHookedEdit = edit;
    if (edit == nullptr)
        return;
    FEditWindowProc = edit->WindowProc;
    edit->WindowProc = [this](TMessage& Message) { EditWindowProc(Message); };
    connect(edit, &QObject::destroyed, this, [this, edit] {
        if (FHookedEdit == edit)
            FHookedEdit = nullptr;
    });
}

void TqvCustomComboBox::EditWindowProc(TMessage& Message)
{
    if (Message.Msg == WM_LBUTTONDOWN)
        FSearchStr = Text();
    FEditWindowProc(Message);
}

// ---------------------------------------------------------------------------
// Focus, hover and the frame

void TqvCustomComboBox::DoEnter()
{
    TCustomComboBox::DoEnter();
    HookEdit();
    UpdateFrame(false, true);
}

void TqvCustomComboBox::DoExit()
{
    TCustomComboBox::DoExit();
    ClearSearchString();
    FMouseInControl = false;
    UpdateFrame(false, false);
}

void TqvCustomComboBox::CMMouseEnter(TMessage& Message)
{
    TCustomComboBox::CMMouseEnter(Message);
    UpdateFrame(true, true);
    MouseEnter();
}

void TqvCustomComboBox::CMMouseLeave(TMessage& Message)
{
    TCustomComboBox::CMMouseLeave(Message);
    UpdateFrame(true, false);
    MouseLeave();
}

void TqvCustomComboBox::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TqvCustomComboBox::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// The whole face is painted again (the framework paints a control as a whole, so
// redrawing only the button strip would cost the same).
void TqvCustomComboBox::UpdateFrame(bool Mouse, bool On)
{
    if (DroppedDown())
        return;
    (Mouse ? FMouseInControl : FFocused) = On;
    if (FBorderFrameFlat)
        FBorderFrameStyle = FMouseInControl || FFocused ? FBorderFrameFocusStyle : FBorderFrameFlatStyle;
    if (FBorderFrameFlat || FFlatButtons)
        Repaint();
}

void TqvCustomComboBox::WMSize(TMessage& Message)
{
    TCustomComboBox::WMSize(Message);
    if (FBorderFrameVisible)
        Invalidate();
}

void TqvCustomComboBox::WMNCPaint(TMessage& Message)
{
    if (!FBorderFrameVisible) {
        TCustomComboBox::WMNCPaint(Message);
        return;
    }
    TCanvas* canvas = FFrameCanvas.get();
    const TRect client = ClientRect();
    Qvutils::DrawBevel(canvas, client, Color(), Color(), FrameRingWidth, Qvutils::AllSides);
    if (FFlatButtons && !FFocused && !FMouseInControl && Style() != csSimple)
        PaintFlatButton(canvas);
    const auto sides = Qvutils::TSides::FromBits(uint8_t(FBorderFrameSides.toInt()));
    if (FBorderFrameStyle == Qvutils::fsFlat)
        Qvutils::DrawSides(canvas, client, FBorderFrameColor, FBorderFrameColor, sides);
    else
        Qvutils::DrawBorderSides(canvas, client, FBorderFrameStyle, sides);
}

// b is the width of the button the framework draws (the classic scroll-bar width), so
// the flat button covers it whatever the desktop style's scroll bars measure.
void TqvCustomComboBox::PaintFlatButton(TCanvas* Canvas)
{
    const int b = ButtonRect().Width();
    const TRect r = Rect(Width() - b - FrameRingWidth, FrameRingWidth, Width() - FrameRingWidth, Height() - FrameRingWidth);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(r);
    const int cx = b / 2 + r.Left - 1;
    const int cy = Height() / 2 + r.Top;
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Polygon({Point(cx, cy), Point(cx - ArrowHalfWidth, cy - ArrowHalfWidth),
        Point(cx + ArrowHalfWidth, cy - ArrowHalfWidth)});
}

} // namespace Qvcombobox
