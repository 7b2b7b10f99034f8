#include "vcl/controls/application.h"

#include "vcl/controls/forms.h"

#include <QApplication>
#include <QSessionManager>

namespace vcl {

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner)
{
    FHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        FTitle = QGuiApplication::applicationDisplayName();
        connect(gui, &QGuiApplication::commitDataRequest, this, &TApplication::CommitData);
        connect(gui, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            const TNotifyEvent& event = state == Qt::ApplicationActive ? OnActivate : OnDeactivate;
            if (event)
                event(this);
        });
    }
}

TApplication::~TApplication()
{
    Destroying();
    DeallocateHWnd(FHandle);
}

void TApplication::SetMainForm(TCustomForm* Value)
{
    if (FMainForm == Value)
        return;
    if (FMainForm != nullptr)
        FMainForm->RemoveFreeNotification(this);
    FMainForm = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm)
        FMainForm = nullptr;
}

void TApplication::SetTitle(const QString& Value)
{
    FTitle = Value;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        QGuiApplication::setApplicationDisplayName(Value);
}

void TApplication::SetIcon(const QIcon& Value)
{
    FIcon = Value;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        QApplication::setWindowIcon(Value);
}

int TApplication::HookMainWindow(TWindowHook Hook)
{
    FHooks.emplace(++FLastHook, std::move(Hook));
    return FLastHook;
}

void TApplication::UnhookMainWindow(int HookId)
{
    FHooks.erase(HookId);
}

void TApplication::WndProc(TMessage& Message)
{
    // A hook may unhook itself (or another) while it runs: walk a copy.
    const auto hooks = FHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        if (it->second(Message))
            return;
    switch (Message.Msg) {
    case WM_QUERYENDSESSION: Message.Result = 1; break;
    case WM_CLOSE:
        if (FMainForm != nullptr)
            FMainForm->Close();
        break;
    default: break;
    }
}

void TApplication::CommitData(QSessionManager& Manager)
{
    // The session is ending: the application's window, then every form may refuse.
    bool allow = SendMessage(FHandle, WM_QUERYENDSESSION, 0, 0) != 0;
    for (int i = 0; allow && i < ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(Components(i)))
            allow = SendMessage(form->Handle(), WM_QUERYENDSESSION, 0, 0) != 0;
    if (!allow && Manager.allowsInteraction())
        Manager.cancel();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Run()
{
    if (FMainForm != nullptr)
        FMainForm->Show();
    if (!FTerminated)
        QCoreApplication::exec();
    FTerminated = true;
}

void TApplication::Terminate()
{
    FTerminated = true;
    QCoreApplication::quit();
}

bool TApplication::HelpContext(int Context)
{
    bool callHelp = true;
    bool shown = false;
    if (OnHelp)
        shown = OnHelp(HELP_CONTEXT, Context, callHelp);
    if (callHelp && FHelpHandler)
        shown = FHelpHandler(Context);
    return shown;
}

TApplication* Application()
{
    static TApplication* application = new TApplication();
    return application;
}

} // namespace vcl
