#pragma once
// A D-Bus daemon of the test's own and dbusmock services on it, so that session and
// tray tests never reach the machine's buses. Every process started here is stopped
// by its owner's destructor.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace qvtest {

// The Python that has dbusmock (Debian's python3-dbusmock installs it for /usr/bin/python3);
// empty when none has.
QString DbusmockPython();

class TPrivateBus {
public:
    ~TPrivateBus();
    // Starts dbus-daemon with the session configuration; false with Error set when
    // dbus-daemon is missing or gives no address.
    bool Start();
    const QString& Address() const { return FAddress; }
    const QString& Error() const { return FError; }

private:
    QProcess FDaemon;
    QString FAddress;
    QString FError;
};

// A dbusmock service on the bus at Address (in the variable BusVariable, which names
// the bus for the mock: DBUS_SYSTEM_BUS_ADDRESS or DBUS_SESSION_BUS_ADDRESS), that logs
// every call as "<time> <Method> <arguments>" to a file of its own.
class TMockService {
public:
    ~TMockService();
    bool Start(const QString& Address, const char* BusVariable, const QStringList& Arguments, const QString& LogPath);
    const QString& Error() const { return FError; }
    // The calls logged so far, without their times.
    QStringList Calls() const;

private:
    QProcess FProcess;
    QString FLogPath;
    QString FError;
};

} // namespace qvtest
