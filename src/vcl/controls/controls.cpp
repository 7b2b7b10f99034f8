#include "vcl/controls/controls.h"

#include "vcl/controls/application.h"
#include "vcl/controls/dropfiles.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/ownerdraw.h"
#include "vcl/controls/qtevents.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/canvas.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <unordered_map>

namespace vcl {

bool IsAccel(uint16_t Key, const QString& Str)
{
    for (qsizetype i = 0; i + 1 < Str.size(); ++i) {
        if (Str[i] != u'&')
            continue;
        ++i;
        if (Str[i] == u'&')
            continue; // "&&" is a literal ampersand
        return Str[i].toUpper() == QChar(Key).toUpper();
    }
    return false;
}


// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner)
    : QWidget(nullptr)
    , TComponent(AOwner)
    , FFont(std::make_unique<TFont>())
{
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    setFont(FFont->ToQFont());
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    resize(0, 0);
}

TControl::~TControl()
{
    Destroying();
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value)
{
    SetParent(dynamic_cast<TWinControl*>(Value));
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    for (TControl* control : FControls)
        if (control->Owner() == Root)
            Proc(control);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    FParent = AParent;
    QWidget::setParent(AParent != nullptr ? AParent->ClientWidget() : nullptr);
    if (AParent != nullptr) {
        AParent->InsertControl(this);
        ApplyGeometry();
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED);
        if (FParentShowHint)
            SetParentShowHint(true);
        QWidget::setVisible(FVisible);
        RequestAlign();
    }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    ApplyGeometry();
    if (resized) {
        FNeedsPaint = true;
        SendToWindow(WM_SIZE, 0, MAKELPARAM(ClientWidth(), ClientHeight()));
    }
    RequestAlign();
}

void TControl::ApplyGeometry()
{
    setGeometry(FLeft, FTop, FWidth, FHeight);
}

void TControl::RequestAlign()
{
    // While a form file is read the bounds and Align come one by one (Align after the
    // bounds): aligning waits for Loaded, so stored bounds of a control whose class
    // aligns by default are not overwritten before its stored Align arrives.
    if (ComponentState().testFlag(csLoading))
        return;
    if (FParent != nullptr && FAlign != alNone && !FParent->FAligning)
        FParent->Realign();
}

void TControl::Loaded()
{
    TComponent::Loaded();
    RequestAlign();
}

TPoint TControl::ClientToScreen(const TPoint& Point) const
{
    QWidget* client = const_cast<TControl*>(this)->ClientWidget();
    return TPoint::FromQPoint(client->mapToGlobal(Point.ToQPoint()));
}

TPoint TControl::ScreenToClient(const TPoint& Point) const
{
    QWidget* client = const_cast<TControl*>(this)->ClientWidget();
    return TPoint::FromQPoint(client->mapFromGlobal(Point.ToQPoint()));
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value)
        return;
    FAlign = Value;
    RequestAlign();
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (FParent != nullptr)
        QWidget::setVisible(Value);
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FParent != nullptr && FAlign != alNone)
        FParent->Realign();
}

bool TControl::Showing() const
{
    return isVisible();
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    // Qt reports a change of the effective state (changeEvent sends CM_ENABLEDCHANGED);
    // when a disabled parent hides the change, the control is still told.
    const bool before = isEnabled();
    QWidget::setEnabled(Value);
    if (isEnabled() == before)
        SendToWindow(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value) {
        FParentColor = false;
        return;
    }
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    if (Value && FParent != nullptr)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(const TFont* Value)
{
    FFont->Assign(Value);
}

void TControl::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    if (Value && FParent != nullptr)
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged()
{
    FParentFont = false;
    setFont(FFont->ToQFont());
    Perform(CM_FONTCHANGED);
}

void TControl::SetText(const QString& Value)
{
    if (FText == Value)
        return;
    FText = Value;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetHint(const QString& Value)
{
    FHint = Value;
    setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetShowHint(bool Value)
{
    FParentShowHint = false;
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    setToolTip(FShowHint ? FHint : QString());
    Perform(CM_SHOWHINTCHANGED);
    // Children that follow this control's ShowHint take the new value.
    if (auto* windowed = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < windowed->ControlCount(); ++i)
            if (TControl* child = windowed->Controls(i); child->FParentShowHint)
                child->SetParentShowHint(true);
}

void TControl::SetParentShowHint(bool Value)
{
    FParentShowHint = Value;
    if (Value && FParent != nullptr) {
        SetShowHint(FParent->ShowHint());
        FParentShowHint = true;
    }
}

void TControl::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    FCursor = Value;
    if (Value == crDefault)
        unsetCursor();
    else
        setCursor(CursorShape(Value));
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    if (FPopupMenu == Value)
        return;
    if (FPopupMenu != nullptr)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WindowProc(message);
    return message.Result;
}

LRESULT TControl::SendToWindow(unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    return Perform(Msg, WParam, LParam);
}

void TControl::WndProc(TMessage& Message)
{
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_DROPFILES: WMDropFiles(Message); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: WMMouse(Message); break;
    default: DefaultHandler(Message); break;
    }
}

void TControl::DefaultHandler(TMessage&)
{
}

void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMSysColorChange(TMessage&) { Invalidate(); }
void TControl::CMDialogChar(TMessage&) {}
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CNDrawItem(TMessage&) {}
void TControl::CNMeasureItem(TMessage&) {}
void TControl::WMNCPaint(TMessage&) {}
void TControl::WMDropFiles(TMessage&) {}

void TControl::CMParentColorChanged(TMessage&)
{
    if (FParentColor && FParent != nullptr) {
        SetColor(FParent->Color());
        FParentColor = true;
    }
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (FParentFont && FParent != nullptr) {
        FFont->Assign(FParent->Font());
        FParentFont = true;
    }
}

void TControl::WMEraseBkgnd(TMessage& Message)
{
    // A control without a window shows its parent through what it does not paint.
    FBackBuffer.fill(Qt::transparent);
    Message.Result = 1;
}

void TControl::WMPaint(TMessage&)
{
    Paint();
}

void TControl::WMSize(TMessage&)
{
    Resize();
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::WMMouse(TMessage& Message)
{
    TShiftState shift = ShiftOf(QGuiApplication::keyboardModifiers());
    if (Message.WParam & MK_LBUTTON)
        shift |= ssLeft;
    if (Message.WParam & MK_RBUTTON)
        shift |= ssRight;
    if (Message.WParam & MK_MBUTTON)
        shift |= ssMiddle;
    const int x = GET_X_LPARAM(Message.LParam);
    const int y = GET_Y_LPARAM(Message.LParam);
    const bool leftDown = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    // A left press on a control that drags by itself starts the drag and is not
    // seen as a press.
    if (leftDown && FDragMode == dmAutomatic && !ComponentState().testFlag(csDesigning)) {
        BeginDrag(true);
        return;
    }
    // Controls with csNoStdEvents hear no mouse events; clicks still happen.
    const bool events = !FControlStyle.testFlag(csNoStdEvents);
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        if (events)
            MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        FPressedLeft = true;
        FControlState |= csLButtonDown;
        break;
    case WM_LBUTTONUP: {
        const bool clicked = FPressedLeft && x >= 0 && y >= 0 && x < Width() && y < Height();
        FPressedLeft = false;
        FControlState &= ~TControlState(csLButtonDown);
        if (events)
            MouseUp(mbLeft, shift, x, y);
        if (clicked && FControlStyle.testFlag(csClickEvents))
            Click();
        return;
    }
    case WM_LBUTTONDBLCLK:
        // The release that follows ends the double-click; it makes no click.
        FPressedLeft = false;
        FControlState |= csLButtonDown;
        if (FControlStyle.testFlag(csClickEvents))
            DblClick();
        break;
    default: break;
    }
    if (!events)
        return;
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: MouseDown(mbLeft, shift, x, y); break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_LBUTTONDBLCLK: MouseDown(mbLeft, shift | ssDouble, x, y); break;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift | ssDouble, x, y); break;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift | ssDouble, x, y); break;
    default: break;
    }
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

TCanvas* TControl::Canvas()
{
    return BackBufferCanvas();
}

TCanvas* TControl::BackBufferCanvas()
{
    EnsureBackBuffer();
    if (FCanvas == nullptr)
        FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetSurface(&FBackBuffer);
    return FCanvas.get();
}

void TControl::EnsureBackBuffer()
{
    // At least one pixel, so a canvas always has a surface to measure text on.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (FBackBuffer.size() == wanted)
        return;
    FBackBuffer = QImage(wanted, QImage::Format_ARGB32_Premultiplied);
    FBackBuffer.fill(Qt::transparent);
    FNeedsPaint = true;
}

void TControl::Paint()
{
}

void TControl::PaintBackBuffer()
{
    BackBufferCanvas();
    FNeedsPaint = false;
    // The erase step may be skipped by an opaque control, which paints every pixel.
    if (!FControlStyle.testFlag(csOpaque))
        Perform(WM_ERASEBKGND);
    Perform(WM_PAINT);
}

void TControl::Invalidate()
{
    FNeedsPaint = true;
    update();
}

void TControl::Update()
{
    // Every change of size marks the control for painting.
    if (FNeedsPaint)
        PaintBackBuffer();
    update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::ShowBackBuffer()
{
    update();
}

void TControl::BringToFront()
{
    raise();
}

void TControl::SendToBack()
{
    lower();
}

TCustomForm* TControl::GetParentForm() const
{
    const TControl* control = this;
    while (control->FParent != nullptr)
        control = control->FParent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

void TControl::paintEvent(QPaintEvent*)
{
    // Every change of size marks the control for painting.
    if (FNeedsPaint)
        PaintBackBuffer();
    QPainter painter(this);
    painter.drawImage(0, 0, FBackBuffer);
}

void TControl::resizeEvent(QResizeEvent*)
{
    // A size set by Qt (a layout, the window system) rather than through SetBounds.
    if (width() == FWidth && height() == FHeight)
        return;
    FWidth = width();
    FHeight = height();
    FNeedsPaint = true;
    SendToWindow(WM_SIZE, 0, MAKELPARAM(ClientWidth(), ClientHeight()));
}

void TControl::mousePressEvent(QMouseEvent* event)
{
    const unsigned msg = MouseMessage(event->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    if (msg != 0)
        SendToWindow(msg, MouseKeys(event->buttons(), event->modifiers()), PointParam(event->position()));
}

void TControl::mouseReleaseEvent(QMouseEvent* event)
{
    const unsigned msg = MouseMessage(event->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
    if (msg != 0)
        SendToWindow(msg, MouseKeys(event->buttons(), event->modifiers()), PointParam(event->position()));
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Without csDoubleClicks the second press is just another press.
    if (!FControlStyle.testFlag(csDoubleClicks))
        return;
    const unsigned msg = MouseMessage(event->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK);
    if (msg != 0)
        SendToWindow(msg, MouseKeys(event->buttons(), event->modifiers()), PointParam(event->position()));
}

void TControl::mouseMoveEvent(QMouseEvent* event)
{
    SendToWindow(WM_MOUSEMOVE, MouseKeys(event->buttons(), event->modifiers()), PointParam(event->position()));
}

void TControl::enterEvent(QEnterEvent*)
{
    SendToWindow(CM_MOUSEENTER);
}

void TControl::leaveEvent(QEvent*)
{
    SendToWindow(CM_MOUSELEAVE);
}

void TControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        SendToWindow(CM_ENABLEDCHANGED);
    QWidget::changeEvent(event);
}

void TControl::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu == nullptr) {
        event->ignore();
        return;
    }
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(event->globalPos().x(), event->globalPos().y());
}

void TControl::dragEnterEvent(QDragEnterEvent* event)
{
    // Accepted when at least one local file comes; other URLs are left out of the drop.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TControl::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    if (files.isEmpty())
        return;
    // The receiver reads the drop during the message; it is freed right after.
    const HDROP drop = CreateDrop(files, TPoint::FromQPoint(event->position().toPoint()));
    SendToWindow(WM_DROPFILES, static_cast<WPARAM>(drop.Value), 0);
    DragFinish(drop);
    event->acceptProposedAction();
}

bool TControl::event(QEvent* event)
{
    // The desktop's palette stands for the system colours.
    if (event->type() == QEvent::ApplicationPaletteChange)
        SendToWindow(CM_SYSCOLORCHANGE);
    return QWidget::event(event);
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner)
{
}

// ---------------------------------------------------------------------------
// TWinControl

namespace {

std::unordered_map<quint64, TWinControl*>& ControlsByHandle()
{
    static std::unordered_map<quint64, TWinControl*> table;
    return table;
}

} // namespace

TWinControl* FindControl(HWND Handle)
{
    const auto& table = ControlsByHandle();
    const auto it = table.find(Handle.Value);
    return it == table.end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner)
{
}

TWinControl::~TWinControl()
{
    Destroying();
    // The children's widgets go with this one's; they must not look for their parent.
    for (TControl* control : FControls)
        control->FParent = nullptr;
    FControls.clear();
    if (HandleAllocated()) {
        ControlsByHandle().erase(FHandle.Value);
        DeallocateHWnd(FHandle);
    }
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EInvalidOperation(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FControls[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
        FTabList.push_back(windowed);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), AControl), FTabList.end());
    if (AControl->Align() != alNone && !ComponentState().testFlag(csDestroying))
        Realign();
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (TControl* control : std::vector<TControl*>(FControls)) {
        control->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(unsigned Msg)
{
    TMessage message{Msg, 0, 0, 0};
    for (TControl* control : std::vector<TControl*>(FControls))
        control->WindowProc(message);
}

HWND TWinControl::Handle()
{
    if (!HandleAllocated())
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateHandle()
{
    if (!HandleAllocated())
        CreateWnd();
}

void TWinControl::DestroyHandle()
{
    if (HandleAllocated())
        DestroyWnd();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = Text();
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    FHandle = AllocateHWnd([this](TMessage& Message) { WindowProc(Message); });
    ControlsByHandle().emplace(FHandle.Value, this);
    SendMessage(FHandle, WM_CREATE, 0, 0);
}

void TWinControl::DestroyWnd()
{
    const HWND old = FHandle;
    SendMessage(old, WM_DESTROY, 0, 0);
    ControlsByHandle().erase(old.Value);
    DeallocateHWnd(old);
    FHandle = HWND();
}

void TWinControl::RecreateWnd()
{
    if (!HandleAllocated())
        return;
    DestroyHandle();
    CreateHandle();
    Invalidate();
}

LRESULT TWinControl::SendToWindow(unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    if (!HandleAllocated())
        return Perform(Msg, WParam, LParam);
    return SendMessage(FHandle, Msg, WParam, LParam);
}

void TWinControl::Dispatch(TMessage& Message)
{
    TShiftState shift = ShiftOf(QGuiApplication::keyboardModifiers());
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        uint16_t key = static_cast<uint16_t>(Message.WParam);
        // Controls with csNoStdEvents hear no key events.
        if (ControlStyle().testFlag(csNoStdEvents))
            break;
        if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        Message.Result = key == 0 ? 1 : 0;
        break;
    }
    case WM_CHAR: {
        QChar key(static_cast<char16_t>(Message.WParam));
        if (!ControlStyle().testFlag(csNoStdEvents))
            KeyPress(key);
        // A handler may change the character (the caller types the new one) or
        // swallow it (null).
        Message.WParam = key.unicode();
        Message.Result = key.isNull() ? 1 : 0;
        break;
    }
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        // Owner-drawn items are drawn by the control they belong to.
        ReflectOwnerDrawMessage(Message);
        break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_DIALOGKEY:
        // Offered to the children in turn until one takes it.
        Broadcast(Message);
        break;
    default: TControl::Dispatch(Message); break;
    }
}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    FBackBuffer.fill(ToQColor(Color()));
    Message.Result = 1;
}

void TWinControl::CMColorChanged(TMessage& Message)
{
    TControl::CMColorChanged(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message)
{
    TControl::CMFontChanged(Message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMDialogChar(TMessage& Message)
{
    Broadcast(Message);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::SetTabStop(bool Value)
{
    if (FTabStop == Value)
        return;
    FTabStop = Value;
    setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
}

int TWinControl::TabOrder() const
{
    const TWinControl* parent = Parent();
    if (parent == nullptr)
        return -1;
    const auto& list = parent->FTabList;
    return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    TWinControl* parent = Parent();
    if (parent == nullptr || Value < 0)
        return;
    auto& list = parent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin() + std::min<size_t>(size_t(Value), list.size()), this);
    for (size_t i = 1; i < list.size(); ++i)
        QWidget::setTabOrder(list[i - 1], list[i]);
}

bool TWinControl::Focused() const
{
    return hasFocus();
}

bool TWinControl::CanFocus() const
{
    return isVisible() && isEnabled();
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const bool resized = AWidth != Width() || AHeight != Height();
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (resized)
        Realign();
}

void TWinControl::Realign()
{
    if (FAligning || FAlignDisabled > 0)
        return;
    TRect rect = ClientRect();
    AlignControls(rect);
}

void TWinControl::DisableAlign()
{
    ++FAlignDisabled;
}

void TWinControl::EnableAlign()
{
    if (FAlignDisabled > 0 && --FAlignDisabled == 0)
        Realign();
}

void TWinControl::AlignControls(TRect& Rect)
{
    FAligning = true;
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->Align() != align || !c->Visible())
                continue;
            switch (align) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), c->Height());
                Rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - c->Height(), Rect.Width(), c->Height());
                Rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, c->Width(), Rect.Height());
                Rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(Rect.Right - c->Width(), Rect.Top, c->Width(), Rect.Height());
                Rect.Right -= c->Width();
                break;
            default:
                c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
                break;
            }
        }
    }
    FAligning = false;
}

bool TWinControl::DialogKey(uint16_t Key)
{
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return false;
    TControl* top = this;
    while (top->Parent() != nullptr)
        top = top->Parent();
    TMessage message{CM_DIALOGKEY, Key, 0, 0};
    top->WindowProc(message);
    return message.Result != 0;
}

bool TWinControl::ShowHelp()
{
    for (TControl* control = this; control != nullptr; control = control->Parent())
        if (control->HelpContext() != 0) {
            Application()->HelpContext(control->HelpContext());
            return true;
        }
    return false;
}

bool TWinControl::DialogChar(const QKeyEvent* event)
{
    const QString text = event->text();
    const uint16_t key = VirtualKey(event->key());
    if (key == 0 && text.isEmpty())
        return false;
    TControl* top = this;
    while (top->Parent() != nullptr)
        top = top->Parent();
    const WPARAM charCode = key != 0 ? key : text[0].toUpper().unicode();
    TMessage message{CM_DIALOGCHAR, charCode, 0, 0};
    top->WindowProc(message);
    return message.Result != 0;
}

void TWinControl::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (alt && DialogChar(event))
        return;
    const uint16_t key = VirtualKey(event->key());
    if (key != 0 && SendToWindow(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0) != 0)
        return;
    if (DialogKey(key) || (key == VK_F1 && ShowHelp()))
        return;
    const QString text = event->text();
    if (!alt && !text.isEmpty() && text[0].isPrint())
        SendToWindow(WM_CHAR, text[0].unicode(), 0);
    else if (!alt && key == VK_RETURN)
        SendToWindow(WM_CHAR, u'\r', 0);
}

void TWinControl::keyReleaseEvent(QKeyEvent* event)
{
    const uint16_t key = VirtualKey(event->key());
    if (key != 0)
        SendToWindow((event->modifiers() & Qt::AltModifier) ? WM_SYSKEYUP : WM_KEYUP, key, 0);
}

void TWinControl::focusInEvent(QFocusEvent* event)
{
    // A popup (a drop-down list, a menu) that opens or closes leaves the focus where
    // it was, as far as the control's messages go.
    if (event->reason() != Qt::PopupFocusReason)
        SendToWindow(WM_SETFOCUS);
    QWidget::focusInEvent(event);
}

void TWinControl::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason)
        SendToWindow(WM_KILLFOCUS);
    QWidget::focusOutEvent(event);
}

void TWinControl::showEvent(QShowEvent* event)
{
    HandleNeeded();
    QWidget::showEvent(event);
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner)
{
}

} // namespace vcl
