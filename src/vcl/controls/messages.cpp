#include "vcl/controls/messages.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>
#include <map>
#include <memory>
#include <unordered_map>

namespace vcl {

namespace {

// The live windows and their current procedures; touched on the user-interface thread only.
struct WindowTable {
    std::unordered_map<quint64, TWndMethod> Procs;
    // Timers by window and event number; they go with their window.
    std::map<std::pair<quint64, uintptr_t>, std::unique_ptr<QTimer>> Timers;
    quint64 LastHandle = 0;
};

WindowTable& Windows()
{
    static WindowTable table;
    return table;
}

} // namespace

HWND AllocateHWnd(TWndMethod Method)
{
    WindowTable& table = Windows();
    const HWND wnd{++table.LastHandle};
    table.Procs.emplace(wnd.Value, std::move(Method));
    return wnd;
}

void DeallocateHWnd(HWND Wnd)
{
    WindowTable& table = Windows();
    table.Procs.erase(Wnd.Value);
    auto& timers = table.Timers;
    timers.erase(timers.lower_bound({Wnd.Value, 0}), timers.upper_bound({Wnd.Value, UINTPTR_MAX}));
}

bool IsWindow(HWND Wnd)
{
    return Wnd && Windows().Procs.count(Wnd.Value) != 0;
}

LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    return CallWindowProc(GetWindowProc(Wnd), message);
}

bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || !Wnd)
        return false;
    // Delivered by the application's event loop; the handle is looked up again then,
    // so a window destroyed in between simply never sees the message.
    return QMetaObject::invokeMethod(
        app, [=] { SendMessage(Wnd, Msg, WParam, LParam); }, Qt::QueuedConnection);
}

TWndMethod GetWindowProc(HWND Wnd)
{
    const auto& procs = Windows().Procs;
    const auto it = procs.find(Wnd.Value);
    return it == procs.end() ? TWndMethod() : it->second;
}

TWndMethod SetWindowProc(HWND Wnd, TWndMethod Proc)
{
    auto& procs = Windows().Procs;
    const auto it = procs.find(Wnd.Value);
    if (it == procs.end())
        return {};
    return std::exchange(it->second, std::move(Proc));
}

LRESULT CallWindowProc(const TWndMethod& Proc, TMessage& Message)
{
    // The procedure is a copy held by the caller, so it may replace or free the
    // window's procedure while it runs.
    if (Proc)
        Proc(Message);
    return Message.Result;
}

bool SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse)
{
    if (QCoreApplication::instance() == nullptr || !IsWindow(Wnd))
        return false;
    auto& timer = Windows().Timers[{Wnd.Value, IDEvent}];
    if (timer == nullptr) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [Wnd, IDEvent] { SendMessage(Wnd, WM_TIMER, IDEvent, 0); });
    }
    // A zero interval would fire on every pass of the event loop; the platform's
    // smallest timer period is used instead.
    timer->start(static_cast<int>(std::max(Elapse, 1u)));
    return true;
}

bool KillTimer(HWND Wnd, uintptr_t IDEvent)
{
    return Windows().Timers.erase({Wnd.Value, IDEvent}) != 0;
}

} // namespace vcl
