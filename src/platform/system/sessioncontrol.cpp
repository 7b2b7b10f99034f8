#include "platform/system/sessioncontrol.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

namespace platform::system {

namespace {

const QString LogindService = QStringLiteral("org.freedesktop.login1");
const QString LogindPath = QStringLiteral("/org/freedesktop/login1");
const QString LogindManager = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int CallTimeoutMs = 10000;

uint32_t ErrorCodeOf(const QString& dbusError)
{
    if (dbusError.endsWith(QLatin1String("AccessDenied")) || dbusError.endsWith(QLatin1String("InteractiveAuthorizationRequired")))
        return ErrorPrivilegeNotHeld;
    if (dbusError.endsWith(QLatin1String("ServiceUnknown")) || dbusError.endsWith(QLatin1String("NoServer"))
        || dbusError.endsWith(QLatin1String("Disconnected")) || dbusError.endsWith(QLatin1String("NameHasNoOwner")))
        return ErrorServiceNotActive;
    if (dbusError.contains(QLatin1String("InProgress")))
        return ErrorShutdownInProgress;
    return ErrorGenFailure;
}

QString MethodStem(TSessionAction action)
{
    switch (action) {
    case TSessionAction::Reboot: return QStringLiteral("Reboot");
    case TSessionAction::PowerOff: return QStringLiteral("PowerOff");
    case TSessionAction::LogOff: break;
    }
    return {};
}

// The session to end: the one the environment names, else the caller's own ("auto").
QString OwnSessionId()
{
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    return id.isEmpty() ? QStringLiteral("auto") : id;
}

class TLogindSessionControl final : public ISessionControl {
public:
    bool Reachable() override
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        return bus.isConnected() && bus.interface()->isServiceRegistered(LogindService).value();
    }

    QString CanDo(TSessionAction action) override
    {
        // Ending one's own session needs no permission.
        if (action == TSessionAction::LogOff)
            return QStringLiteral("yes");
        const QDBusMessage reply = Call(QStringLiteral("Can") + MethodStem(action), {});
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
    }

    TSessionResult Perform(TSessionAction action, bool force) override
    {
        QDBusMessage reply;
        if (action == TSessionAction::LogOff && force)
            reply = Call(QStringLiteral("KillSession"), {OwnSessionId(), QStringLiteral("all"), 9});
        else if (action == TSessionAction::LogOff)
            reply = Call(QStringLiteral("TerminateSession"), {OwnSessionId()});
        else
            reply = Call(MethodStem(action), {true}); // interactive: the user may be asked to authorise
        if (reply.type() == QDBusMessage::ReplyMessage)
            return {};
        return {ErrorCodeOf(reply.errorName()), reply.errorMessage()};
    }

private:
    static QDBusMessage Call(const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(LogindService, LogindPath, LogindManager, method);
        call.setArguments(arguments);
        call.setInteractiveAuthorizationAllowed(true);
        return QDBusConnection::systemBus().call(call, QDBus::Block, CallTimeoutMs);
    }
};

std::unique_ptr<ISessionControl>& CurrentControl()
{
    static std::unique_ptr<ISessionControl> control;
    return control;
}

} // namespace

std::unique_ptr<ISessionControl> CreateLogindSessionControl() { return std::make_unique<TLogindSessionControl>(); }

ISessionControl& SessionControl()
{
    std::unique_ptr<ISessionControl>& control = CurrentControl();
    if (!control)
        control = CreateLogindSessionControl();
    return *control;
}

std::unique_ptr<ISessionControl> SetSessionControl(std::unique_ptr<ISessionControl> control)
{
    std::unique_ptr<ISessionControl> previous = std::move(CurrentControl());
    CurrentControl() = std::move(control);
    return previous;
}

TSessionResult ExitWindowsEx(ISessionControl& control, unsigned flags)
{
    if (flags & ~(EWX_SHUTDOWN | EWX_REBOOT | EWX_FORCE | EWX_POWEROFF))
        return {ErrorInvalidParameter, QStringLiteral("unknown exit flags")};
    const bool force = flags & EWX_FORCE;
    if (flags & EWX_REBOOT)
        return control.Perform(TSessionAction::Reboot, force);
    if (flags & (EWX_SHUTDOWN | EWX_POWEROFF))
        return control.Perform(TSessionAction::PowerOff, force);
    return control.Perform(TSessionAction::LogOff, force);
}

} // namespace platform::system
