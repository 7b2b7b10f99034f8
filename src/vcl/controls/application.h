#pragma once
// The application object: main form, title and icon, the message window other
// components post to (and hook), the event loop, and session end.
#include "vcl/controls/messages.h"
#include "vcl/core/classes.h"

#include <QIcon>
#include <QObject>
#include <functional>
#include <map>

class QSessionManager;

namespace vcl {

class TCustomForm;

// A hook on the application's window: true marks the message handled.
using TWindowHook = std::function<bool(TMessage& Message)>;

// Help commands passed to OnHelp.
enum : uint16_t { HELP_CONTEXT = 0x0001 };
// Answers a help request; clearing CallHelp keeps it from the help handler.
using THelpEvent = std::function<bool(uint16_t Command, intptr_t Data, bool& CallHelp)>;
// Shows the help topic Context; true when it was shown.
using THelpHandler = std::function<bool(int Context)>;

class TApplication : public QObject, public TComponent {
    Q_OBJECT
public:
    explicit TApplication(TComponent* AOwner = nullptr);
    ~TApplication() override;

    // The first form made through CreateForm, unless set otherwise; closing it ends Run.
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* Value);
    // Makes a form of class T owned by the application, runs its OnCreate, and makes
    // it the main form when there is none yet.
    template <class T>
    T* CreateForm()
    {
        T* form = new T(this);
        if (FMainForm == nullptr)
            SetMainForm(form);
        form->AfterConstruction();
        return form;
    }

    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value);
    const QIcon& Icon() const { return FIcon; }
    void SetIcon(const QIcon& Value);

    // The application's message window.
    HWND Handle() const { return FHandle; }
    // Hooks run first, latest first, on every message of the application's window;
    // the number returned unhooks it.
    int HookMainWindow(TWindowHook Hook);
    void UnhookMainWindow(int HookId);

    // Handles every event waiting now, then returns.
    void ProcessMessages();
    // Shows the main form and runs the event loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // Asks for help topic Context: OnHelp first, then (unless it cleared CallHelp) the
    // help handler. No help system is installed by default: without a handler nothing
    // is shown and the answer is false.
    bool HelpContext(int Context);
    void SetHelpHandler(THelpHandler Handler) { FHelpHandler = std::move(Handler); }

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    THelpEvent OnHelp;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WndProc(TMessage& Message);
    void CommitData(QSessionManager& Manager);

    TCustomForm* FMainForm = nullptr;
    QString FTitle;
    QIcon FIcon;
    HWND FHandle;
    std::map<int, TWindowHook> FHooks;
    int FLastHook = 0;
    bool FTerminated = false;
    THelpHandler FHelpHandler;
};

// The process's application object, made on first use.
TApplication* Application();

} // namespace vcl
