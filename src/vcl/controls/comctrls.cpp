#include "vcl/controls/comctrls.h"

#include <QProgressBar>
#include <algorithm>

namespace vcl {

TProgressBar::TProgressBar(TComponent* AOwner)
    : TWidgetControl(AOwner, new QProgressBar())
    , FBar(static_cast<QProgressBar*>(InnerWidget()))
{
    SetBounds(0, 0, 150, 16);
    FBar->setRange(0, 100);
    FBar->setValue(0);
    FBar->setTextVisible(false);
    SetTabStop(false);
}

int TProgressBar::Min() const { return FBar->minimum(); }
void TProgressBar::SetMin(int Value) { FBar->setMinimum(Value); }
int TProgressBar::Max() const { return FBar->maximum(); }
void TProgressBar::SetMax(int Value) { FBar->setMaximum(Value); }
int TProgressBar::Position() const { return FBar->value(); }

void TProgressBar::SetPosition(int Value)
{
    // QProgressBar ignores a value out of range; the original clamps it.
    FBar->setValue(std::clamp(Value, Min(), std::max(Min(), Max())));
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
    FOrientation = Value;
    FBar->setOrientation(Value == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

void TProgressBar::StepBy(int Delta)
{
    SetPosition(Position() + Delta);
}

void TProgressBar::StepIt()
{
    const int64_t next = int64_t(Position()) + FStep;
    SetPosition(next > Max() ? Min() : static_cast<int>(next));
}

} // namespace vcl
