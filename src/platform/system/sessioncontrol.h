#pragma once
// Logging off, rebooting and powering off, behind an interface that tests
// replace. The real one asks systemd-logind on the system bus; the bus is the one
// $DBUS_SYSTEM_BUS_ADDRESS names when set, so a test can point it at a bus of its own.
#include <QString>
#include <cstdint>
#include <memory>

namespace platform::system {

enum class TSessionAction { LogOff, Reboot, PowerOff };

// The original platform's error numbers for what a session request can meet.
constexpr uint32_t ErrorSuccess = 0;
constexpr uint32_t ErrorGenFailure = 31;
constexpr uint32_t ErrorInvalidParameter = 87;
constexpr uint32_t ErrorServiceNotActive = 1062;
constexpr uint32_t ErrorShutdownInProgress = 1115;
constexpr uint32_t ErrorPrivilegeNotHeld = 1314;

struct TSessionResult {
    uint32_t Code = ErrorSuccess;
    QString Text; // the service's own message on failure
    bool Ok() const { return Code == ErrorSuccess; }
};

class ISessionControl {
public:
    virtual ~ISessionControl() = default;
    // Whether the session service answers at all.
    virtual bool Reachable() = 0;
    // The service's answer to "may this user do it": "yes", "no", "challenge" (after
    // authorising), "na" (not supported); empty when it gave none.
    virtual QString CanDo(TSessionAction action) = 0;
    // A forced log off kills the session's processes at once instead of ending the
    // session. logind's reboot and power-off never wait for applications to agree, so
    // for them forced and unforced are the same call; either may ask the user to
    // authorise it.
    virtual TSessionResult Perform(TSessionAction action, bool force) = 0;
};

// The session control the components use: systemd-logind unless replaced.
ISessionControl& SessionControl();
// Replaces it (null restores logind); returns the one replaced, for a test to put back.
std::unique_ptr<ISessionControl> SetSessionControl(std::unique_ptr<ISessionControl> control);
std::unique_ptr<ISessionControl> CreateLogindSessionControl();

// The original's exit flags.
constexpr unsigned EWX_LOGOFF = 0, EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_FORCE = 4, EWX_POWEROFF = 8;

// The original's ExitWindowsEx over a session control: reboot before shutting down
// before logging off, as the flags rank there; EWX_FORCE makes it forced. Shutting down
// powers off: a halted Linux machine stays on at a console, which is not what a caller
// asking for a shutdown wants. Unknown flag bits fail with ErrorInvalidParameter before
// anything is asked.
TSessionResult ExitWindowsEx(ISessionControl& control, unsigned flags);

} // namespace platform::system
