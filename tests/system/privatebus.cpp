#include "system/privatebus.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace qvtest {

namespace {

constexpr int StartMs = 30000;

void Stop(QProcess& Process)
{
    if (Process.state() == QProcess::NotRunning)
        return;
    Process.terminate();
    if (!Process.waitForFinished(StartMs))
        Process.kill(), Process.waitForFinished(StartMs);
}

} // namespace

QString DbusmockPython()
{
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (python.isEmpty())
            continue;
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import dbusmock")});
        if (probe.waitForFinished(StartMs) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return python;
    }
    return {};
}

TPrivateBus::~TPrivateBus() { Stop(FDaemon); }

bool TPrivateBus::Start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        FError = QStringLiteral("dbus-daemon (Debian package dbus-daemon)");
        return false;
    }
    FDaemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    while (FAddress.isEmpty() && FDaemon.waitForReadyRead(StartMs))
        if (FDaemon.canReadLine())
            FAddress = QString::fromLocal8Bit(FDaemon.readLine()).trimmed();
    if (FAddress.isEmpty())
        FError = QStringLiteral("dbus-daemon gave no bus address");
    return !FAddress.isEmpty();
}

TMockService::~TMockService() { Stop(FProcess); }

bool TMockService::Start(const QString& Address, const char* BusVariable, const QStringList& Arguments, const QString& LogPath)
{
    const QString python = DbusmockPython();
    if (python.isEmpty()) {
        FError = QStringLiteral("python3-dbusmock (Debian package python3-dbusmock)");
        return false;
    }
    FLogPath = LogPath;
    QFile::remove(LogPath);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(BusVariable), Address);
    FProcess.setProcessEnvironment(env);
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(python, QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("-l"), LogPath} + Arguments);
    if (!FProcess.waitForStarted(StartMs)) {
        FError = QStringLiteral("dbusmock did not start");
        return false;
    }
    return true;
}

QStringList TMockService::Calls() const
{
    QFile log(FLogPath);
    QStringList calls;
    if (!log.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (const qsizetype space = line.indexOf(' '); space > 0)
            calls.append(QString::fromUtf8(line.mid(space + 1)));
    return calls;
}

} // namespace qvtest
