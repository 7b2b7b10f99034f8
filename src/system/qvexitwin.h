#pragma once
// Qvexitwin: TqvExitWin logs off, reboots, shuts down or powers off the machine
// through the session service (systemd-logind), as ExitWinType says.
#include "vcl/core/classes.h"

#include <QObject>

namespace Qvexitwin {
Q_NAMESPACE

// ewShutDown and ewPowerOff both power the machine off (see ExitWindowsEx in
// platform/system/sessioncontrol.h); ewForce alone is a forced log off.
enum TqvExitWinType { ewLogoff, ewReboot, ewShutDown, ewPowerOff, ewForce };
Q_ENUM_NS(TqvExitWinType)

// A non-visual component that ends the session or the machine's run, as ExitWinType says,
// when Execute is called.
class TqvExitWin : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(Qvexitwin::TqvExitWinType ExitWinType READ ExitWinType WRITE SetExitWinType)
    Q_CLASSINFO("Default:ExitWinType", "ewReboot")
    Q_PROPERTY(QString LastError READ LastError STORED false)

public:
    // Creates the component, owned (and freed) by AOwner.
    explicit TqvExitWin(vcl::TComponent* AOwner);

    // What Execute does (see TqvExitWinType).
    TqvExitWinType ExitWinType() const { return FExitWinType; }
    void SetExitWinType(TqvExitWinType Value) { FExitWinType = Value; }
    // "Error: " and the error number of the last failed Execute; a later success
    // leaves it as it was.
    const QString& LastError() const { return FLastError; }
    // The service's own words for the last failure, beside the number.
    const QString& LastErrorText() const { return FLastErrorText; }

    // The original's exit flags for a type: 0, 2, 1, 8 and 4.
    static unsigned ExitFlags(TqvExitWinType Type);
    // True when the session service accepted the request.
    bool Execute();

private:
    TqvExitWinType FExitWinType = ewReboot;
    QString FLastError;
    QString FLastErrorText;
};

} // namespace Qvexitwin
