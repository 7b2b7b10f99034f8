#pragma once
// TTimer: OnTimer every Interval milliseconds on the user-interface thread, through
// WM_TIMER to a message window of its own.
#include "vcl/controls/messages.h"
#include "vcl/core/classes.h"

#include <QObject>

namespace vcl {

class TTimer : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Default:Enabled", "True")
    Q_PROPERTY(unsigned Interval READ Interval WRITE SetInterval)
    Q_CLASSINFO("Default:Interval", "1000")
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds between two OnTimer events; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    HWND FWindowHandle;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

} // namespace vcl
