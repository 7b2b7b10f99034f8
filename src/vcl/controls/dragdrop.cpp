#include "vcl/controls/dragdrop.h"

#include <QApplication>

namespace vcl {

// ---------------------------------------------------------------------------
// TControl's side of a drag

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    // A control takes drops only when it says so.
    Accept = false;
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::EndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

// ---------------------------------------------------------------------------
// TDragSession

TControl* FindDragTarget(const TPoint& Screen)
{
    for (QWidget* widget = QApplication::widgetAt(Screen.ToQPoint()); widget != nullptr;
         widget = widget->parentWidget())
        if (auto* control = dynamic_cast<TControl*>(widget))
            return control;
    return nullptr;
}

TDragSession::TDragSession(TControl* Source)
    : FSource(Source)
{
}

TDragSession::~TDragSession()
{
    Cancel();
}

bool TDragSession::MoveTo(const TPoint& Screen)
{
    if (FDone)
        return false;
    TControl* under = FindDragTarget(Screen);
    if (under != FTarget)
        Leave(Screen);
    if (under == nullptr)
        return false;
    const TPoint at = under->ScreenToClient(Screen);
    const TDragState state = under == FTarget ? dsDragMove : dsDragEnter;
    FTarget = under;
    under->DragOver(FSource.data(), at.X, at.Y, state, FAccepted);
    return FAccepted;
}

void TDragSession::Drop(const TPoint& Screen)
{
    if (FDone)
        return;
    MoveTo(Screen);
    TControl* target = FAccepted ? FTarget.data() : nullptr;
    const TPoint at = target != nullptr ? target->ScreenToClient(Screen) : TPoint{};
    if (target != nullptr)
        target->DragDrop(FSource.data(), at.X, at.Y);
    Finish(target, at);
}

void TDragSession::Cancel()
{
    if (FDone)
        return;
    Leave(TPoint{});
    Finish(nullptr, TPoint{});
}

void TDragSession::Leave(const TPoint& Screen)
{
    if (FTarget != nullptr) {
        const TPoint at = FTarget->ScreenToClient(Screen);
        bool ignored = false;
        FTarget->DragOver(FSource.data(), at.X, at.Y, dsDragLeave, ignored);
    }
    FTarget = nullptr;
    FAccepted = false;
}

void TDragSession::Finish(TControl* DroppedOn, const TPoint& At)
{
    FDone = true;
    if (FSource != nullptr)
        FSource->EndDrag(DroppedOn, At.X, At.Y);
}

} // namespace vcl
