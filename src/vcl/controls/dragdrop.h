#pragma once
// Dragging a control onto another inside the application: a drag session follows
// the pointer over the controls, asks each target under it (OnDragOver) whether it
// takes the dragged object, drops it on the last one that did (OnDragDrop) and tells
// the dragged control where it went (OnEndDrag). TControl::BeginDrag runs such a
// session from the mouse.
#include "vcl/controls/controls.h"

#include <QPointer>

namespace vcl {

class TDragSession {
public:
    // Starts dragging Source (the control the drag began on). Targets are offered
    // Dragged, or Source itself when Dragged is null.
    explicit TDragSession(TControl* Source, TObject* Dragged = nullptr);
    ~TDragSession();
    TDragSession(const TDragSession&) = delete;
    TDragSession& operator=(const TDragSession&) = delete;

    // The pointer is at Screen now: the control under it sees dsDragEnter (or
    // dsDragMove while it stays), the one it left dsDragLeave. Returns whether the
    // control under the pointer takes the drop.
    bool MoveTo(const TPoint& Screen);
    // Drops at Screen: on the control under it when that one takes it, else nowhere;
    // the source's OnEndDrag runs in both cases, with the point in the target's
    // coordinates. Ends the session.
    void Drop(const TPoint& Screen);
    // Ends the session without a drop (the source hears of a drop nowhere).
    void Cancel();

    TControl* Source() const { return FSource; }
    // What the targets are offered (the source unless OnStartDrag chose otherwise).
    TObject* Dragged() const;
    // The control under the pointer (null: none of ours).
    TControl* Target() const { return FTarget; }

private:
    void Leave(const TPoint& Screen);
    // At is the drop point in the target's coordinates ((0, 0) without a target).
    void Finish(TControl* DroppedOn, const TPoint& At);

    QPointer<TControl> FSource;
    TObject* FDragged;
    QPointer<TControl> FTarget;
    bool FAccepted = false;
    bool FDone = false;
};

// The control of ours at the screen point (null: none).
TControl* FindDragTarget(const TPoint& Screen);

} // namespace vcl
