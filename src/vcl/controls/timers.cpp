#include "vcl/controls/timers.h"

namespace vcl {

namespace {
constexpr uintptr_t TimerId = 1;
}

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner)
{
    FWindowHandle = AllocateHWnd([this](TMessage& Message) {
        if (Message.Msg == WM_TIMER)
            Timer();
    });
    UpdateTimer();
}

TTimer::~TTimer()
{
    Destroying();
    DeallocateHWnd(FWindowHandle);
}

void TTimer::UpdateTimer()
{
    KillTimer(FWindowHandle, TimerId);
    // OnTimer is a plain member that may be set at any time, so the timer runs
    // whenever it is enabled and asks for the handler on each tick.
    if (FEnabled && FInterval != 0)
        SetTimer(FWindowHandle, TimerId, FInterval);
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (FInterval == Value)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}

} // namespace vcl
