#pragma once
// Common controls: the platform's progress bar.
#include "vcl/controls/stdctrls.h"

class QProgressBar;

namespace vcl {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWidgetControl {
    Q_OBJECT
    Q_CLASSINFO("Default:TabStop", "False")
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_CLASSINFO("Default:Min", "0")
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_CLASSINFO("Default:Max", "100")
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_CLASSINFO("Default:Position", "0")
    Q_PROPERTY(int Step READ Step WRITE SetStep)
    Q_CLASSINFO("Default:Step", "10")
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    // Kept within Min and Max.
    int Position() const;
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    // Advances by Step; past Max it starts again from Min, as the platform's bar does.
    void StepIt();
    void StepBy(int Delta);
    QProgressBar* Bar() const { return FBar; }

private:
    QProgressBar* FBar;
    int FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
};

} // namespace vcl
