// Logging off and shutting down against a mock systemd-logind on a private bus: the
// calls that arrive there prove what the components ask for, and nothing reaches the
// machine's own logind (the test's environment points the system bus at a dead end
// until the private bus is up).
#include "controls/waituntil.h"
#include "platform/system/sessioncontrol.h"
#include "support/prerequisite.h"
#include "system/privatebus.h"
#include "system/qvexitwin.h"
#include "system/qvmysys.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QMessageBox>
#include <gtest/gtest.h>

using namespace Qvexitwin;
namespace sys = platform::system;

namespace {

class SessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Bus = new qvtest::TPrivateBus;
        Logind = new qvtest::TMockService;
        if (!Bus->Start()) {
            Missing = Bus->Error();
            return;
        }
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", Bus->Address().toLocal8Bit());
        qputenv("XDG_SESSION_ID", "c7");
        const QString log = QDir(qEnvironmentVariable("QV_TEST_BINARY_DIR", QDir::tempPath())).filePath("logind-mock.log");
        if (!Logind->Start(Bus->Address(), "DBUS_SYSTEM_BUS_ADDRESS", {"--template", "logind"}, log)) {
            Missing = Logind->Error();
            return;
        }
        const bool up = WaitUntil([] {
            return QDBusConnection::systemBus().interface()->isServiceRegistered("org.freedesktop.login1").value();
        }, 30000);
        if (!up)
            Missing = "the mock logind did not come up on the private bus";
        // logind's KillSession takes the signal as an integer.
        SetMethod("KillSession", "ssi", "", "");
    }
    static void TearDownTestSuite()
    {
        delete Logind;
        delete Bus;
    }
    void SetUp() override
    {
        if (!Missing.isEmpty())
            QV_PREREQUISITE_MISSING(Missing.toStdString());
        SetMethod("PowerOff", "b", "", "");
        SetMethod("Reboot", "b", "", "");
        SetMethod("CanPowerOff", "", "s", "ret = 'yes'");
    }

    // Replaces a method of the mock's manager object.
    static void SetMethod(const QString& Name, const QString& In, const QString& Out, const QString& Code)
    {
        QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.DBus.Mock", "AddMethod");
        call.setArguments({"org.freedesktop.login1.Manager", Name, In, Out, Code});
        QDBusConnection::systemBus().call(call);
    }
    // The calls that reached the mock since Before calls had.
    static QStringList CallsAfter(qsizetype Before) { return Logind->Calls().mid(Before); }
    static qsizetype CallCount() { return Logind->Calls().size(); }

    static inline qvtest::TPrivateBus* Bus = nullptr;
    static inline qvtest::TMockService* Logind = nullptr;
    static inline QString Missing;
};

TEST_F(SessionTest, EachExitTypeMakesItsOneLogindCallAndUnknownFlagsNone)
{
    const struct {
        TqvExitWinType Type;
        unsigned Flags;
        const char* Call;
    } cases[] = {
        {ewLogoff, 0, "TerminateSession \"c7\""},
        {ewReboot, 2, "Reboot True"},
        {ewShutDown, 1, "PowerOff True"},
        {ewPowerOff, 8, "PowerOff True"},
        {ewForce, 4, "KillSession \"c7\" \"all\" 9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Call);
        TqvExitWin exit(nullptr);
        exit.SetExitWinType(c.Type);
        EXPECT_EQ(TqvExitWin::ExitFlags(c.Type), c.Flags);
        const qsizetype before = CallCount();
        EXPECT_TRUE(exit.Execute());
        // The call is answered before Execute returns, and the mock logs it first.
        EXPECT_EQ(CallsAfter(before), QStringList{c.Call});
        EXPECT_EQ(exit.LastError(), "");
    }
    // Unknown exit flags ask nothing.
    const qsizetype before = CallCount();
    EXPECT_EQ(sys::ExitWindowsEx(sys::SessionControl(), 0x10).Code, sys::ErrorInvalidParameter);
    EXPECT_EQ(CallsAfter(before), QStringList{});
}

TEST_F(SessionTest, DefaultRebootsAndAFailureStaysInLastError)
{
    TqvExitWin exit(nullptr);
    EXPECT_EQ(exit.ExitWinType(), ewReboot);
    SetMethod("Reboot", "b", "", "raise dbus.exceptions.DBusException('not allowed', name='org.freedesktop.DBus.Error.AccessDenied')");
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(exit.LastError(), "Error: 1314");
    EXPECT_EQ(exit.LastErrorText(), "not allowed");
    SetMethod("Reboot", "b", "", "");
    EXPECT_TRUE(exit.Execute());
    EXPECT_EQ(exit.LastError(), "Error: 1314"); // a success does not clear it
}

// Closes the message box that Act opens and returns its caption and text.
QStringList MessageBoxOf(const std::function<void()>& Act)
{
    QStringList seen;
    WhenFound<QMessageBox>([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
        [&seen](QMessageBox* box) {
            seen = {box->windowTitle(), box->text()};
            box->accept();
        });
    Act();
    return seen;
}

TEST_F(SessionTest, ShutDownAsksThenPowersOffForced)
{
    Qvmysys::TqvMySystem system(nullptr);
    const qsizetype before = CallCount();
    system.ShutDown();
    EXPECT_EQ(CallsAfter(before), (QStringList{"CanPowerOff", "PowerOff True"}));

    SetMethod("CanPowerOff", "", "s", "ret = 'no'");
    const qsizetype refused = CallCount();
    EXPECT_EQ(MessageBoxOf([&] { system.ShutDown(); }), (QStringList{"Exit Error", "AdjustTokenPrivileges() Failed"}));
    EXPECT_EQ(CallsAfter(refused), QStringList{"CanPowerOff"});

    SetMethod("CanPowerOff", "", "s", "raise dbus.exceptions.DBusException('broken', name='org.example.Broken')");
    EXPECT_EQ(MessageBoxOf([&] { system.ShutDown(); }), (QStringList{"Exit Error", "LookupPrivilegeValue() Failed"}));

    SetMethod("CanPowerOff", "", "s", "ret = 'yes'");
    SetMethod("PowerOff", "b", "", "raise dbus.exceptions.DBusException('busy', name='org.freedesktop.login1.OperationInProgress')");
    EXPECT_EQ(MessageBoxOf([&] { system.ShutDown(); }), (QStringList{"Exit Error", "ExitWindowsEx() Failed"}));
}

// A session service that is not there: the first step already fails.
class TAbsentSession : public sys::ISessionControl {
public:
    bool Reachable() override { return false; }
    QString CanDo(sys::TSessionAction) override { return {}; }
    sys::TSessionResult Perform(sys::TSessionAction, bool) override { return {sys::ErrorServiceNotActive, {}}; }
};

TEST_F(SessionTest, ShutDownWithoutSessionServiceSaysSo)
{
    auto logind = sys::SetSessionControl(std::make_unique<TAbsentSession>());
    Qvmysys::TqvMySystem system(nullptr);
    EXPECT_EQ(MessageBoxOf([&] { system.ShutDown(); }), (QStringList{"Exit Error", "OpenProcessToken() Failed"}));
    TqvExitWin exit(nullptr);
    EXPECT_FALSE(exit.Execute());
    EXPECT_EQ(exit.LastError(), "Error: 1062");
    sys::SetSessionControl(std::move(logind));
}

} // namespace
