#pragma once
// TqvTrayIcon (unit Qvscontrols): an icon with a tooltip on the desktop's notification
// area. Mouse activity on the icon becomes component events, a menu pops up for the
// left or the right button, a left double click can run the default item of PopupMenu,
// the owning form can be hidden, and the session manager's end-of-session query is
// answered through OnAskEndSession.
//
// The icon reaches the desktop through platform/system/notifyicon.h, which delivers
// the item protocol's activations as mouse messages:
//   Activate (Trigger)                 left button down and up; a second Activate within
//                                      the double-click time: left double click and up
//   ContextMenu (Context)              right button down and up
//   SecondaryActivate (MiddleClick)    middle button down and up
// The protocol has no presses, releases or double clicks of its own, so right and
// middle double clicks never arrive from a desktop (their events stay for messages
// sent to Handle()). Without a StatusNotifierWatcher on the session bus an active icon
// stays Active and appears when a watcher arrives.
#include "vcl/controls/controls.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/messages.h"
#include "vcl/graphics/icon.h"

#include <QObject>

namespace Qvscontrols {

// An icon that a component publishes, stored in form files as the bytes of a PNG
// picture: an ICO written twice for the same icon need not give the same bytes (its
// mask rows carry padding that the writer leaves unset), a PNG does.
class TTrayIconImage : public vcl::TIcon {
    Q_GADGET
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
public:
    // The icon as PNG bytes; empty for an empty icon.
    QByteArray Data() const;
    // Empty bytes empty the icon; bytes that are no picture raise EInvalidGraphic and
    // leave the icon as it was.
    void SetData(const QByteArray& Value);
};

// Called before the default item of the pop-up menu runs on a double click; DoDefault
// false keeps it from running.
using TqvcDefaultMenuEvent = std::function<void(vcl::TObject* Sender, bool& DoDefault)>;
// Called when the session is about to end; DoEnd false asks to keep it running.
using TAskEndSession = std::function<void(bool& DoEnd)>;

// The first owner up the chain from AComponent's owner that is a form; raises
// EComponentError "NoForm" when there is none.
vcl::TCustomForm* FindForm(vcl::TComponent* AComponent);

// An icon in the desktop's notification area with a tooltip and pop-up menus for the
// left and right buttons; its clicks arrive as events, and it can hide its form.
class TqvTrayIcon : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(vcl::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(vcl::TPopupMenu* LeftPopupMenu READ LeftPopupMenu WRITE SetLeftPopupMenu)
    Q_PROPERTY(bool HideParentForm READ HideParentForm WRITE SetHideParentForm)
    Q_CLASSINFO("Default:HideParentForm", "False")
    Q_PROPERTY(bool ShowDesigning READ ShowDesigning WRITE SetShowDesigning)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(Qvscontrols::TTrayIconImage* Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(QString ToolTip READ ToolTip WRITE SetToolTip)
    Q_CLASSINFO("Default:ToolTip", "''")
    Q_PROPERTY(bool DoDefaultMenu READ DoDefaultMenu WRITE SetDoDefaultMenu)
    Q_CLASSINFO("Default:DoDefaultMenu", "False")

public:
    // The longest tooltip the notification area takes.
    static constexpr int MaxToolTipLength = 62;
    // The hidden window's own messages.
    //@{
    static constexpr unsigned WM_TRAYREFRESH = vcl::WM_USER + 1, WM_TRAYCALLBACK = vcl::WM_USER + 2,
                              WM_TRAYHIDEFORM = vcl::WM_USER + 3;
    //@}

    // Raises EComponentError "NoForm" at run time when no owner up the chain is a form.
    explicit TqvTrayIcon(vcl::TComponent* AOwner);
    ~TqvTrayIcon() override;

    // The menu shown on a right click (when its AutoPopup is set).
    vcl::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(vcl::TPopupMenu* Value);
    // The menu shown on a left click (when its AutoPopup is set).
    vcl::TPopupMenu* LeftPopupMenu() const { return FLeftPopupMenu; }
    void SetLeftPopupMenu(vcl::TPopupMenu* Value);
    // Hides the owning form (unless it is the main form) while true.
    bool HideParentForm() const { return FHideParentForm; }
    void SetHideParentForm(bool Value);
    // Whether the icon shows in a design host.
    bool ShowDesigning() const { return FShowDesigning; }
    void SetShowDesigning(bool Value);
    // Whether the icon shows at run time; without a notification area it appears when one
    // arrives.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The icon shown in the notification area.
    TTrayIconImage* Icon() { return &FIcon; }
    void SetIcon(const TTrayIconImage* Value);
    // The tooltip text.
    const QString& ToolTip() const { return FToolTip; }
    // Keeps the first MaxToolTipLength characters.
    void SetToolTip(const QString& Value);
    // A double click runs the pop-up menu's default item (see OnDefaultMenu).
    bool DoDefaultMenu() const { return FDoDefaultMenu; }
    void SetDoDefaultMenu(bool Value) { FDoDefaultMenu = Value; }

    // The hidden window that receives the icon's messages.
    vcl::HWND Handle() const { return FHandle; }

    // Puts the icon into the notification area; false when that fails.
    bool AddIcon();
    // Calls the notification area only while Active; otherwise reports success.
    bool ModifyIcon();
    bool DeleteIcon(); // Takes the icon out of the notification area; false when that fails.

    vcl::TNotifyEvent OnClick; // Left click.
    vcl::TNotifyEvent OnDblClick; // Left double click.
    vcl::TMouseEvent OnRightClick; // Right click.
    vcl::TMouseEvent OnRightDblClick; // Right double click.
    vcl::TMouseEvent OnMidClick; // Middle click.
    vcl::TMouseEvent OnMidDblClick; // Middle double click.
    vcl::TMouseEvent OnMouseDown; // A button pressed on the icon.
    vcl::TMouseEvent OnMouseUp; // A button released on the icon.
    vcl::TMouseMoveEvent OnMouseMove; // The pointer moved over the icon.
    vcl::TNotifyEvent OnleftMenu; // Called before LeftPopupMenu pops up.
    vcl::TNotifyEvent OnRightMenu; // Called before PopupMenu pops up.
    TqvcDefaultMenuEvent OnDefaultMenu; // See TqvcDefaultMenuEvent.
    TAskEndSession OnAskEndSession; // Asked on the main form's end-of-session query (see TAskEndSession).

protected:
    // The modifier keys held now (shift, control, alt).
    virtual vcl::TShiftState GetShift();
    // Runs the default item of PopupMenu for a left double click unless OnDefaultMenu
    // vetoes it; true when there was a default item to run.
    virtual bool CheckMenu();
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void WndProc(vcl::TMessage& Message);
    void HideForm();
    void MouseMessage(unsigned MouseMsg);
    void ButtonDown(bool& Flag, vcl::TMouseButton Button);
    void ButtonUp(bool& Flag, vcl::TMouseButton Button, const vcl::TMouseEvent& Click);
    void CheckMenuPopup(const vcl::TPoint& Point, bool Left);
    void QueryEndSession(vcl::TMessage& Message);
    bool NotifyShell(uint32_t Operation);
    bool Shown() const;
    void SetMenu(vcl::TPopupMenu*& Field, vcl::TPopupMenu* Value);

    vcl::TPopupMenu* FPopupMenu = nullptr;
    vcl::TPopupMenu* FLeftPopupMenu = nullptr;
    bool FHideParentForm = false;
    bool FShowDesigning = false;
    bool FActive = false;
    TTrayIconImage FIcon;
    QString FToolTip;
    bool FDoDefaultMenu = false;
    bool FLeftDown = false, FRightDown = false, FMiddleDown = false;
    vcl::TPoint FCursor;
    vcl::HWND FHandle;
};

} // namespace Qvscontrols
