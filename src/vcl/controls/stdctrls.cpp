#include "vcl/controls/stdctrls.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/qtevents.h"
#include "vcl/controls/textlines.h"
#include "vcl/graphics/canvas.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace vcl {

// ---------------------------------------------------------------------------
// TWidgetControl

TWidgetControl::TWidgetControl(TComponent* AOwner, QWidget* Inner)
    : TWinControl(AOwner)
    , FInner(Inner)
{
    // Clicks come from the Qt widget's own signals.
    SetControlStyle(ControlStyle() & ~TControlStyle(csClickEvents));
    FInner->setParent(this);
    FInner->setFont(font());
    FInner->installEventFilter(this);
    setFocusProxy(FInner);
    SetTabStop(true);
}

void TWidgetControl::WMSize(TMessage& Message)
{
    FInner->setGeometry(0, 0, Width(), Height());
    TWinControl::WMSize(Message);
}

void TWidgetControl::CMFontChanged(TMessage& Message)
{
    TWinControl::CMFontChanged(Message);
    FInner->setFont(font());
}

bool TWidgetControl::FilterKey(QKeyEvent* Event)
{
    const uint16_t key = VirtualKey(Event->key());
    const bool alt = Event->modifiers() & Qt::AltModifier;
    if (key != 0 && SendToWindow(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0) != 0)
        return true;
    if (DialogKey(key))
        return true;
    const QString text = Event->text();
    if (alt || text.isEmpty() || !text[0].isPrint())
        return false;
    // Through the window's procedure, so a component that subclassed it sees the
    // character (and may change or swallow it) like the key-down before it.
    TMessage message{WM_CHAR, text[0].unicode(), 0, 0};
    if (HandleAllocated())
        CallWindowProc(GetWindowProc(Handle()), message);
    else
        WindowProc(message);
    if (message.Result != 0)
        return true;
    // A handler that changed the character: the widget gets the new one instead.
    const QChar typed(static_cast<char16_t>(message.WParam));
    if (typed != text[0]) {
        // The new character goes straight to the widget: the handlers have seen it.
        QKeyEvent replaced(QEvent::KeyPress, 0, Event->modifiers(), QString(typed));
        FReplaying = true;
        QCoreApplication::sendEvent(FInner, &replaced);
        FReplaying = false;
        return true;
    }
    return false;
}

bool TWidgetControl::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched != FInner)
        return false;
    switch (Event->type()) {
    case QEvent::KeyPress: return !FReplaying && FilterKey(static_cast<QKeyEvent*>(Event));
    case QEvent::KeyRelease: keyReleaseEvent(static_cast<QKeyEvent*>(Event)); return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // As for any windowed control, a popup does not move the focus.
        if (static_cast<QFocusEvent*>(Event)->reason() != Qt::PopupFocusReason)
            SendToWindow(Event->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS);
        return false;
    case QEvent::MouseButtonPress: mousePressEvent(static_cast<QMouseEvent*>(Event)); return false;
    case QEvent::MouseButtonRelease: mouseReleaseEvent(static_cast<QMouseEvent*>(Event)); return false;
    case QEvent::MouseButtonDblClick: mouseDoubleClickEvent(static_cast<QMouseEvent*>(Event)); return false;
    case QEvent::MouseMove: mouseMoveEvent(static_cast<QMouseEvent*>(Event)); return false;
    default: return false;
    }
}

// ---------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment Value)
{
    ChangeProperty(FAlignment, Value);
}

void TLabel::SetLayout(TTextLayout Value)
{
    ChangeProperty(FLayout, Value);
}

void TLabel::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool Value)
{
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool Value)
{
    ChangeProperty(FTransparent, Value);
}

void TLabel::SetShowAccelChar(bool Value)
{
    if (FShowAccelChar == Value)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl == Value)
        return;
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

unsigned TLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    if (FAlignment == taCenter)
        flags |= DT_CENTER;
    else if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    return flags;
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().testFlag(csLoading))
        return;
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    // An empty caption still measures one line, so the label keeps its height.
    DrawText(canvas->Handle(), Text().isEmpty() ? QStringLiteral(" ") : Text(), -1, r, TextFlags() | DT_CALCRECT);
    int left = Left();
    // A right-aligned label grows to the left, keeping its right edge.
    if (FAlignment == taRightJustify && !FWordWrap)
        left += Width() - r.Right;
    SetBounds(left, Top(), r.Right, r.Bottom);
}

void TLabel::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!FTransparent) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    TRect r = client;
    if (FLayout != tlTop) {
        TRect measured = client;
        DrawText(canvas->Handle(), Text(), -1, measured, TextFlags() | DT_CALCRECT);
        const int spare = client.Height() - measured.Height();
        r.Top += FLayout == tlCenter ? spare / 2 : spare;
    }
    if (!Enabled()) {
        // Disabled text: highlight offset by one pixel under the shadow.
        TRect offset = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawText(canvas->Handle(), Text(), -1, offset, TextFlags());
        canvas->Font()->SetColor(clBtnShadow);
    }
    DrawText(canvas->Handle(), Text(), -1, r, TextFlags());
}

void TLabel::CMTextChanged(TMessage& Message)
{
    AdjustBounds();
    TGraphicControl::CMTextChanged(Message);
}

void TLabel::CMFontChanged(TMessage& Message)
{
    AdjustBounds();
    TGraphicControl::CMFontChanged(Message);
}

void TLabel::CMDialogChar(TMessage& Message)
{
    if (FFocusControl != nullptr && Enabled() && FShowAccelChar
        && IsAccel(static_cast<uint16_t>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
    }
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner)
    : TWidgetControl(AOwner, new QPushButton())
    , FButton(static_cast<QPushButton*>(InnerWidget()))
{
    SetBounds(0, 0, 75, 25);
    connect(FButton, &QPushButton::clicked, this, [this] { Click(); });
}

void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    FButton->setDefault(Value);
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm())
            form->SetModalResult(FModalResult);
    TWidgetControl::Click();
}

void TButton::CMTextChanged(TMessage& Message)
{
    FButton->setText(Text());
    TWidgetControl::CMTextChanged(Message);
}

void TButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<uint16_t>(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
    }
}

void TButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGKEY) {
        const bool hit = (FDefault && Message.WParam == VK_RETURN) || (FCancel && Message.WParam == VK_ESCAPE);
        if (hit && CanFocus()) {
            Click();
            Message.Result = 1;
        }
        return;
    }
    TWidgetControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner)
    : TWidgetControl(AOwner, new QCheckBox())
    , FCheckBox(static_cast<QCheckBox*>(InnerWidget()))
{
    SetBounds(0, 0, 97, 17);
    connect(FCheckBox, &QCheckBox::stateChanged, this, [this](int state) {
        SetState(state == Qt::Checked ? cbChecked : state == Qt::PartiallyChecked ? cbGrayed : cbUnchecked);
    });
}

void TCheckBox::SetState(TCheckBoxState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    FCheckBox->setCheckState(Value == cbChecked ? Qt::Checked : Value == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    Click();
}

void TCheckBox::SetAllowGrayed(bool Value)
{
    FAllowGrayed = Value;
    FCheckBox->setTristate(Value);
}

void TCheckBox::CMTextChanged(TMessage& Message)
{
    FCheckBox->setText(Text());
    TWidgetControl::CMTextChanged(Message);
}

void TCheckBox::CMDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<uint16_t>(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        SetChecked(!Checked());
        Message.Result = 1;
    }
}

// ---------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* AOwner)
    : TWidgetControl(AOwner, new QLineEdit())
    , FEdit(static_cast<QLineEdit*>(InnerWidget()))
{
    SetBounds(0, 0, 121, 21);
    connect(FEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        SetText(text);
        if (OnChange)
            OnChange(this);
    });
}

void TEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(Value, 0);
    // Qt's own limit stands for "no limit".
    FEdit->setMaxLength(FMaxLength == 0 ? 32767 : FMaxLength);
}

bool TEdit::ReadOnly() const
{
    return FEdit->isReadOnly();
}

void TEdit::SetReadOnly(bool Value)
{
    FEdit->setReadOnly(Value);
}

void TEdit::SetPasswordChar(QChar Value)
{
    FPasswordChar = Value;
    FEdit->setEchoMode(Value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TEdit::SelectAll()
{
    FEdit->selectAll();
}

QString TEdit::SelText() const
{
    return FEdit->selectedText();
}

void TEdit::CMTextChanged(TMessage& Message)
{
    if (FEdit->text() != Text())
        FEdit->setText(Text());
    TWidgetControl::CMTextChanged(Message);
}

// ---------------------------------------------------------------------------
// TMemo

TMemo::TMemo(TComponent* AOwner)
    : TWidgetControl(AOwner, new QPlainTextEdit())
    , FMemo(static_cast<QPlainTextEdit*>(InnerWidget()))
    , FLines(std::make_unique<TTextLines>([this] { return FMemo->document(); }))
{
    SetBounds(0, 0, 185, 89);
    SetScrollBars(ssNone);
    connect(FMemo, &QPlainTextEdit::textChanged, this, [this] {
        SetText(FMemo->toPlainText());
        if (OnChange)
            OnChange(this);
    });
}

TMemo::~TMemo() = default;

TStrings* TMemo::Lines() const
{
    return FLines.get();
}

void TMemo::SetLines(const TStrings* Value)
{
    FLines->Assign(Value);
}

bool TMemo::ReadOnly() const
{
    return FMemo->isReadOnly();
}

void TMemo::SetReadOnly(bool Value)
{
    FMemo->setReadOnly(Value);
}

void TMemo::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    FMemo->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    const bool horizontal = Value == ssHorizontal || Value == ssBoth;
    const bool vertical = Value == ssVertical || Value == ssBoth;
    FMemo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FMemo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::CMTextChanged(TMessage& Message)
{
    if (FMemo->toPlainText() != Text())
        FMemo->setPlainText(Text());
    TWidgetControl::CMTextChanged(Message);
}

// ---------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner)
    : TWidgetControl(AOwner, new QScrollBar(Qt::Horizontal))
    , FBar(static_cast<QScrollBar*>(InnerWidget()))
{
    SetBounds(0, 0, 121, 16);
    FBar->setRange(0, 100);
    FBar->setPageStep(1);
    connect(FBar, &QScrollBar::valueChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
    connect(FBar, &QScrollBar::actionTriggered, this, &TScrollBar::Scroll);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    FKind = Value;
    FBar->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

int TScrollBar::Min() const { return FBar->minimum(); }
void TScrollBar::SetMin(int Value) { FBar->setMinimum(Value); }
int TScrollBar::Max() const { return FBar->maximum(); }
void TScrollBar::SetMax(int Value) { FBar->setMaximum(Value); }
int TScrollBar::Position() const { return FBar->value(); }
void TScrollBar::SetPosition(int Value) { FBar->setValue(Value); }
int TScrollBar::SmallChange() const { return FBar->singleStep(); }
void TScrollBar::SetSmallChange(int Value) { FBar->setSingleStep(Value); }
int TScrollBar::LargeChange() const { return FBar->pageStep(); }
void TScrollBar::SetLargeChange(int Value) { FBar->setPageStep(Value); }

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    FBar->setRange(AMin, AMax);
    FBar->setValue(APosition);
}

void TScrollBar::Scroll(int Action)
{
    if (!OnScroll)
        return;
    TScrollCode code = scPosition;
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; break;
    case QAbstractSlider::SliderMove: code = scTrack; break;
    default: break;
    }
    // The slider's position after the action is what the handler may change.
    int pos = FBar->sliderPosition();
    OnScroll(this, code, pos);
    FBar->setSliderPosition(pos);
}

// ---------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 185, 105);
}

int TGroupBox::CaptionHeight()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    return canvas->TextHeight(QStringLiteral("0"));
}

void TGroupBox::AlignControls(TRect& Rect)
{
    // Children are laid out inside the frame, below the caption.
    Rect.Top += CaptionHeight();
    Rect = vcl::Rect(Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2);
    TCustomControl::AlignControls(Rect);
}

void TGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    const int h = CaptionHeight();
    // An etched frame: shadow, then highlight one pixel lower right.
    TRect frame = Rect(0, h / 2, Width(), Height());
    canvas->Brush()->SetStyle(bsClear);
    TRect outer = frame;
    Frame3D(canvas, outer, clBtnShadow, clBtnHighlight, 1);
    TRect inner = Rect(frame.Left + 1, frame.Top + 1, frame.Right - 1, frame.Bottom - 1);
    Frame3D(canvas, inner, clBtnHighlight, clBtnShadow, 1);
    if (Text().isEmpty())
        return;
    // The caption interrupts the frame's top line.
    TRect caption = Rect(8, 0, 8 + canvas->TextWidth(StripHotkey(Text())) + 2, h);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(caption);
    canvas->Brush()->SetStyle(bsClear);
    caption.Left += 1;
    DrawText(canvas->Handle(), Text(), -1, caption, DT_LEFT | DT_SINGLELINE);
}

void TGroupBox::CMTextChanged(TMessage& Message)
{
    Realign();
    TCustomControl::CMTextChanged(Message);
}

} // namespace vcl
