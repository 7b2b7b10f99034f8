// Drives a tray icon through the StatusNotifierItem protocol: starts a private session
// bus, shows an active icon before any watcher exists, starts a mock watcher (dbusmock
// with statusnotifierwatcher.py), then calls Activate, ContextMenu and
// SecondaryActivate on the item Qt registered, as a desktop would. Writes what happened
// to OUTPUT.log, one "== case" line and the events after it, for the test to check.
// Usage (under an X server, QT_QPA_PLATFORM=xcb): trayicon_protocol OUTPUT
#include "controls/waituntil.h"
#include "platform/system/notifyicon.h"
#include "system/privatebus.h"
#include "system/qvtrayicon.h"
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QStyleHints>
#include <cstdio>

namespace {

constexpr int WaitMs = 30000;

struct TRun {
    QStringList Report;
    QStringList Events;
    qvtest::TMockService Watcher;

    void Case(const QString& Name)
    {
        Report << Events;
        Events.clear();
        Report << "== " + Name;
    }
    qsizetype Registrations() const { return Watcher.Calls().filter("RegisterStatusNotifierItem").size(); }
    // The item's bus name, from the last registration the watcher logged.
    QString ItemService() const
    {
        const QStringList calls = Watcher.Calls().filter("RegisterStatusNotifierItem");
        return calls.isEmpty() ? QString() : calls.last().section('"', 1, 1);
    }
};

void Attach(Qvscontrols::TqvTrayIcon& Icon, QStringList& Events)
{
    const auto name = [](vcl::TMouseButton b) { return b == vcl::mbLeft ? "left" : b == vcl::mbRight ? "right" : "middle"; };
    Icon.OnMouseDown = [&Events, name](vcl::TObject*, vcl::TMouseButton b, vcl::TShiftState, int, int) { Events << QString("down ") + name(b); };
    Icon.OnMouseUp = [&Events, name](vcl::TObject*, vcl::TMouseButton b, vcl::TShiftState, int, int) { Events << QString("up ") + name(b); };
    Icon.OnClick = [&Events](vcl::TObject*) { Events << "click"; };
    Icon.OnDblClick = [&Events](vcl::TObject*) { Events << "dblclick"; };
    Icon.OnRightClick = [&Events](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { Events << "rightclick"; };
    Icon.OnMidClick = [&Events](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { Events << "midclick"; };
    Icon.OnRightMenu = [&Events](vcl::TObject*) { Events << "rightmenu"; };
}

// Calls Method on the registered item, then waits until Count events have arrived.
bool CallItem(TRun& Run, const char* Method, qsizetype Count)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Run.ItemService(), "/StatusNotifierItem",
        "org.kde.StatusNotifierItem", QString::fromLatin1(Method));
    call.setArguments({0, 0});
    QDBusConnection::sessionBus().send(call);
    const qsizetype target = Run.Events.size() + Count;
    return WaitUntil([&] { return Run.Events.size() >= target; }, WaitMs);
}

bool Drive(TRun& Run, Qvscontrols::TqvTrayIcon& Icon, vcl::TPopupMenu& Menu)
{
    const uint64_t window = Icon.Handle().Value;
    Run.Case("active before a watcher");
    Icon.SetActive(true);
    Run.Events << QString("active %1 shown %2").arg(Icon.Active()).arg(platform::system::NotifyIconShown(window, 0));
    const QString log = qEnvironmentVariable("QV_TEST_BINARY_DIR", QDir::tempPath()) + "/watcher-mock.log";
    const QString templ = qEnvironmentVariable("QV_MOCK_DIR") + "/statusnotifierwatcher.py";
    if (!Run.Watcher.Start(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "DBUS_SESSION_BUS_ADDRESS", {"--template", templ}, log)) {
        std::fprintf(stderr, "missing prerequisite: %s\n", qPrintable(Run.Watcher.Error()));
        return false;
    }
    const bool registered = WaitUntil([&] { return Run.Registrations() == 1; }, WaitMs);
    Run.Events << QString("registered %1 shown %2").arg(registered).arg(platform::system::NotifyIconShown(window, 0));
    if (!registered)
        return false;

    Run.Case("active set twice");
    Icon.SetActive(true);
    // A round trip to the watcher: anything sent before it has arrived by then.
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall("org.kde.StatusNotifierWatcher",
        "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", "RegisterStatusNotifierHost") << QString("probe"));
    Run.Events << QString("registrations %1").arg(Run.Registrations());

    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    Run.Case("activate");
    CallItem(Run, "Activate", 3);
    Run.Case("context menu");
    CallItem(Run, "ContextMenu", 5);
    Run.Case("secondary activate");
    CallItem(Run, "SecondaryActivate", 3);

    // Two activations within a long double-click time: a click, then a double click.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(WaitMs);
    Run.Case("double activate, no default item");
    CallItem(Run, "Activate", 3);
    CallItem(Run, "Activate", 2);
    auto* item = new vcl::TMenuItem(&Menu);
    item->SetDefault(true);
    item->OnClick = [&Run](vcl::TObject*) { Run.Events << "default item"; };
    Menu.Items()->Add(item);
    Icon.SetDoDefaultMenu(true);
    Run.Case("double activate, default item");
    CallItem(Run, "Activate", 3);
    CallItem(Run, "Activate", 2);
    Icon.OnDefaultMenu = [&Run](vcl::TObject*, bool& DoDefault) { Run.Events << "asked"; DoDefault = false; };
    Run.Case("double activate, vetoed");
    CallItem(Run, "Activate", 3);
    CallItem(Run, "Activate", 2);

    Run.Case("inactive and active again");
    Icon.SetActive(false);
    Icon.SetActive(true);
    Run.Events << QString("registered again %1").arg(WaitUntil([&] { return Run.Registrations() == 2; }, WaitMs));
    Run.Case("end");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: trayicon_protocol OUTPUT\n");
        return 2;
    }
    // The bus must exist before Qt first looks for the session bus.
    qvtest::TPrivateBus bus;
    if (!bus.Start()) {
        std::fprintf(stderr, "missing prerequisite: %s\n", qPrintable(bus.Error()));
        return 3;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.Address().toLocal8Bit());
    QApplication app(argc, argv);
    TRun run;
    {
        vcl::TForm form(nullptr);
        vcl::Application()->SetMainForm(&form);
        vcl::TPopupMenu::SetResponder([&run](vcl::TPopupMenu*, int, int) {
            run.Events << "popup";
            return nullptr;
        });
        auto* menu = new vcl::TPopupMenu(&form);
        auto* icon = new Qvscontrols::TqvTrayIcon(&form);
        icon->SetPopupMenu(menu);
        icon->SetToolTip("QvKit");
        Attach(*icon, run.Events);
        const bool driven = Drive(run, *icon, *menu);
        run.Case("done");
        vcl::Application()->SetMainForm(nullptr);
        if (!driven && run.Watcher.Error().isEmpty())
            std::fprintf(stderr, "trayicon_protocol: the item was not registered with the watcher\n");
        if (!run.Watcher.Error().isEmpty())
            return 3;
    }
    QFile out(QString::fromLocal8Bit(argv[1]) + ".log");
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(run.Report.join('\n').toUtf8() + '\n');
    return 0;
}
