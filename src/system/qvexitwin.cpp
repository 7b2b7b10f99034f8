#include "system/qvexitwin.h"

#include "platform/system/sessioncontrol.h"
#include "vcl/core/unitstartup.h"

namespace Qvexitwin {

namespace sys = platform::system;

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvexitwin"), {});

TqvExitWin::TqvExitWin(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner)
{
}

unsigned TqvExitWin::ExitFlags(TqvExitWinType Type)
{
    switch (Type) {
    case ewLogoff: return sys::EWX_LOGOFF;
    case ewReboot: return sys::EWX_REBOOT;
    case ewShutDown: return sys::EWX_SHUTDOWN;
    case ewPowerOff: return sys::EWX_POWEROFF;
    case ewForce: break;
    }
    return sys::EWX_FORCE;
}

bool TqvExitWin::Execute()
{
    const sys::TSessionResult result = sys::ExitWindowsEx(sys::SessionControl(), ExitFlags(FExitWinType));
    if (result.Ok())
        return true;
    FLastError = QStringLiteral("Error: ") + QString::number(result.Code);
    FLastErrorText = result.Text;
    return false;
}

} // namespace Qvexitwin
