#include "system/qvtrayicon.h"

#include "platform/system/notifyicon.h"
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/mouse.h"
#include "vcl/core/streams.h"
#include "vcl/streaming/formfile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QSessionManager>

namespace Qvscontrols {

using namespace vcl;
namespace sys = platform::system;

namespace {

const bool EventsPublished = RegisterEvent(&TqvTrayIcon::OnClick, "OnClick")
    && RegisterEvent(&TqvTrayIcon::OnDblClick, "OnDblClick") && RegisterEvent(&TqvTrayIcon::OnRightClick, "OnRightClick")
    && RegisterEvent(&TqvTrayIcon::OnRightDblClick, "OnRightDblClick")
    && RegisterEvent(&TqvTrayIcon::OnMidClick, "OnMidClick") && RegisterEvent(&TqvTrayIcon::OnMidDblClick, "OnMidDblClick")
    && RegisterEvent(&TqvTrayIcon::OnMouseDown, "OnMouseDown") && RegisterEvent(&TqvTrayIcon::OnMouseUp, "OnMouseUp")
    && RegisterEvent(&TqvTrayIcon::OnMouseMove, "OnMouseMove") && RegisterEvent(&TqvTrayIcon::OnleftMenu, "OnleftMenu")
    && RegisterEvent(&TqvTrayIcon::OnRightMenu, "OnRightMenu")
    && RegisterEvent(&TqvTrayIcon::OnDefaultMenu, "OnDefaultMenu")
    && RegisterEvent(&TqvTrayIcon::OnAskEndSession, "OnAskEndSession");

TShiftState ButtonShift(TMouseButton Button)
{
    return Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle;
}

} // namespace

QByteArray TTrayIconImage::Data() const
{
    if (Empty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ToQImage().save(&buffer, "PNG");
    return bytes;
}

void TTrayIconImage::SetData(const QByteArray& Value)
{
    if (Value.isEmpty()) {
        AssignImage({});
        return;
    }
    TIcon read;
    TMemoryStream stream(Value);
    read.LoadFromStream(stream);
    Assign(&read);
}

TCustomForm* FindForm(TComponent* AComponent)
{
    for (TComponent* owner = AComponent->Owner(); owner != nullptr; owner = owner->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(owner))
            return form;
    throw EComponentError(QStringLiteral("NoForm"));
}

TqvTrayIcon::TqvTrayIcon(TComponent* AOwner)
    : TComponent(AOwner)
{
    (void)EventsPublished;
    // A design host may own the component by a control that stands for the designed
    // form; only at run time must a form own it.
    const bool designing = ComponentState().testFlag(csDesigning);
    TCustomForm* form = designing ? nullptr : FindForm(this);
    FHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    // The session manager's query before the session ends arrives as the original's
    // WM_QUERYENDSESSION; a refusal cancels the end where the manager allows it.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& Manager) {
            if (SendMessage(FHandle, WM_QUERYENDSESSION, 0, 0) == 0 && Manager.allowsInteraction())
                Manager.cancel();
        });
    if (!designing && form != Application()->MainForm())
        PostMessage(FHandle, WM_TRAYHIDEFORM, 0, 0);
}

TqvTrayIcon::~TqvTrayIcon()
{
    if (Shown())
        DeleteIcon();
    DeallocateHWnd(FHandle);
}

bool TqvTrayIcon::Shown() const
{
    return ComponentState().testFlag(csDesigning) ? FShowDesigning : FActive;
}

bool TqvTrayIcon::NotifyShell(uint32_t Operation)
{
    sys::TNotifyIconData data;
    data.Window = FHandle.Value;
    data.uID = static_cast<uint32_t>(Tag());
    data.uFlags = sys::NIF_MESSAGE | sys::NIF_ICON | sys::NIF_TIP;
    data.uCallbackMessage = WM_TRAYCALLBACK;
    data.Icon = FIcon.Empty() ? QIcon() : FIcon.ToQIcon();
    data.Tip = FToolTip;
    const HWND handle = FHandle;
    data.Callback = [handle](uint32_t Message, uint32_t Id, uint32_t MouseMessage) {
        SendMessage(handle, Message, Id, MouseMessage);
    };
    return sys::Shell_NotifyIcon(Operation, data);
}

bool TqvTrayIcon::AddIcon()
{
    const bool added = NotifyShell(sys::NIM_ADD);
    PostMessage(FHandle, WM_TRAYREFRESH, 0, 0);
    return added;
}

bool TqvTrayIcon::ModifyIcon() { return FActive ? NotifyShell(sys::NIM_MODIFY) : true; }

bool TqvTrayIcon::DeleteIcon() { return NotifyShell(sys::NIM_DELETE); }

void TqvTrayIcon::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (ComponentState().testFlag(csDesigning))
        return;
    Value ? AddIcon() : DeleteIcon();
}

void TqvTrayIcon::SetShowDesigning(bool Value)
{
    if (Value == FShowDesigning)
        return;
    FShowDesigning = Value;
    if (!ComponentState().testFlag(csDesigning))
        return;
    Value ? AddIcon() : DeleteIcon();
}

void TqvTrayIcon::SetIcon(const TTrayIconImage* Value)
{
    FIcon.Assign(Value);
    ModifyIcon();
    PostMessage(FHandle, WM_TRAYREFRESH, 0, 0);
}

void TqvTrayIcon::SetToolTip(const QString& Value)
{
    FToolTip = Value.left(MaxToolTipLength);
    ModifyIcon();
    PostMessage(FHandle, WM_TRAYREFRESH, 0, 0);
}

void TqvTrayIcon::SetHideParentForm(bool Value)
{
    FHideParentForm = Value;
    if (!ComponentState().testFlag(csDesigning))
        PostMessage(FHandle, WM_TRAYHIDEFORM, 0, 0);
}

void TqvTrayIcon::SetMenu(TPopupMenu*& Field, TPopupMenu* Value)
{
    if (Field == Value)
        return;
    if (Field != nullptr)
        Field->RemoveFreeNotification(this);
    Field = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TqvTrayIcon::SetPopupMenu(TPopupMenu* Value) { SetMenu(FPopupMenu, Value); }
void TqvTrayIcon::SetLeftPopupMenu(TPopupMenu* Value) { SetMenu(FLeftPopupMenu, Value); }

void TqvTrayIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    if (AComponent == FLeftPopupMenu)
        FLeftPopupMenu = nullptr;
}

TShiftState TqvTrayIcon::GetShift()
{
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    TShiftState shift;
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    return shift;
}

void TqvTrayIcon::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_TRAYHIDEFORM: HideForm(); break;
    case WM_TRAYREFRESH: ModifyIcon(); break;
    case WM_TRAYCALLBACK:
        GetCursorPos(&FCursor);
        MouseMessage(static_cast<unsigned>(Message.LParam));
        break;
    case WM_QUERYENDSESSION: QueryEndSession(Message); break;
    default: break; // nothing else is handled; the result stays 0
    }
}

void TqvTrayIcon::HideForm()
{
    if (ComponentState().testFlag(csDesigning))
        return;
    TCustomForm* form = FindForm(this);
    if (form != Application()->MainForm())
        form->SetVisible(!FHideParentForm);
}

void TqvTrayIcon::QueryEndSession(TMessage& Message)
{
    if (ComponentState().testFlag(csDesigning) || FindForm(this) != Application()->MainForm())
        return;
    bool doEnd = true;
    if (OnAskEndSession)
        OnAskEndSession(doEnd);
    Message.Result = doEnd ? 1 : 0;
}

void TqvTrayIcon::ButtonDown(bool& Flag, TMouseButton Button)
{
    Flag = true;
    if (OnMouseDown)
        OnMouseDown(this, Button, GetShift() | ButtonShift(Button), FCursor.X, FCursor.Y);
}

void TqvTrayIcon::ButtonUp(bool& Flag, TMouseButton Button, const TMouseEvent& Click)
{
    const TShiftState shift = GetShift() | ButtonShift(Button);
    if (Flag) {
        Flag = false;
        if (Button == mbLeft && OnClick)
            OnClick(this);
        else if (Button != mbLeft && Click)
            Click(this, Button, shift, FCursor.X, FCursor.Y);
        if (Button != mbMiddle)
            CheckMenuPopup(FCursor, Button == mbLeft);
    }
    if (OnMouseUp)
        OnMouseUp(this, Button, shift, FCursor.X, FCursor.Y);
}

void TqvTrayIcon::MouseMessage(unsigned MouseMsg)
{
    const auto doubleClick = [this](TMouseButton Button, const TMouseEvent& Event) {
        if (Event)
            Event(this, Button, GetShift() | ButtonShift(Button), FCursor.X, FCursor.Y);
    };
    switch (MouseMsg) {
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(this, GetShift(), FCursor.X, FCursor.Y);
        break;
    case WM_LBUTTONDOWN: ButtonDown(FLeftDown, mbLeft); break;
    case WM_LBUTTONUP: ButtonUp(FLeftDown, mbLeft, {}); break;
    case WM_LBUTTONDBLCLK:
        if (!CheckMenu() && OnDblClick)
            OnDblClick(this);
        break;
    case WM_RBUTTONDOWN: ButtonDown(FRightDown, mbRight); break;
    case WM_RBUTTONUP: ButtonUp(FRightDown, mbRight, OnRightClick); break;
    case WM_RBUTTONDBLCLK: doubleClick(mbRight, OnRightDblClick); break;
    case WM_MBUTTONDOWN: ButtonDown(FMiddleDown, mbMiddle); break;
    case WM_MBUTTONUP: ButtonUp(FMiddleDown, mbMiddle, OnMidClick); break;
    case WM_MBUTTONDBLCLK: doubleClick(mbMiddle, OnMidDblClick); break;
    default: break;
    }
}

void TqvTrayIcon::CheckMenuPopup(const TPoint& Point, bool Left)
{
    if (ComponentState().testFlag(csDesigning))
        return;
    TPopupMenu* menu = Left ? FLeftPopupMenu : FPopupMenu;
    if (menu == nullptr || !menu->AutoPopup())
        return;
    menu->SetPopupComponent(this);
    TCustomForm* main = Application()->MainForm();
    if (main != nullptr)
        main->activateWindow();
    const TNotifyEvent& before = Left ? OnleftMenu : OnRightMenu;
    if (before)
        before(this);
    menu->Popup(Point.X, Point.Y);
    if (main != nullptr)
        PostMessage(main->Handle(), WM_NULL, 0, 0);
}

bool TqvTrayIcon::CheckMenu()
{
    if (!FDoDefaultMenu || ComponentState().testFlag(csDesigning) || !FActive || FPopupMenu == nullptr
        || FPopupMenu->Items()->Count() == 0)
        return false;
    TMenuItem* item = nullptr;
    for (int i = 0; i < FPopupMenu->Items()->Count() && item == nullptr; ++i)
        if (FPopupMenu->Items()->Items(i)->Default())
            item = FPopupMenu->Items()->Items(i);
    if (item == nullptr)
        return false;
    bool doDefault = true;
    if (OnDefaultMenu)
        OnDefaultMenu(this, doDefault);
    // A vetoed default item still takes the double click: the handler decided what it
    // means, so OnDblClick does not run after it.
    if (doDefault)
        item->Click();
    return true;
}

} // namespace Qvscontrols
