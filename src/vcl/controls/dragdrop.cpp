#include "vcl/controls/dragdrop.h"

#include "vcl/controls/qtevents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

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

void TControl::DoStartDrag(TObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

// ---------------------------------------------------------------------------
// The drag the mouse drives

namespace {

// Watches the application's input while a control is dragged: pointer moves go to the
// session (after the threshold when the drag was not immediate), the release drops,
// Escape cancels. The source holds the mouse grab, so every move arrives here even
// over other windows of ours. The pointer shows the source's DragCursor over a
// control that takes the drop and crNoDrop elsewhere.
class TMouseDrag : public QObject {
public:
    TMouseDrag(TControl* Source, TObject* Dragged, bool Immediate, int Threshold)
        : FSource(Source)
        , FDragged(Dragged)
        , FStart(QCursor::pos())
        , FThreshold(Threshold < 0 ? QApplication::startDragDistance() : Threshold)
    {
        QGuiApplication::setOverrideCursor(QCursor(CursorShape(crNoDrop)));
        Source->grabMouse();
        qApp->installEventFilter(this);
        if (Immediate)
            Start();
    }

    ~TMouseDrag() override
    {
        qApp->removeEventFilter(this);
        if (FSource != nullptr)
            FSource->releaseMouse();
        QGuiApplication::restoreOverrideCursor();
    }

    TControl* Source() const { return FSource; }

    bool eventFilter(QObject*, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::MouseMove: Move(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint()); return true;
        case QEvent::MouseButtonRelease: Finish(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint(), true); return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape)
                Finish(QPoint(), false);
            return true;
        default: return false;
        }
    }

private:
    void Start() { FSession = std::make_unique<TDragSession>(FSource.data(), FDragged); }

    void Move(const QPoint& Screen)
    {
        if (FSession == nullptr) {
            const QPoint moved = Screen - FStart;
            if (std::abs(moved.x()) < FThreshold && std::abs(moved.y()) < FThreshold)
                return;
            Start();
        }
        const bool accepted = FSession->MoveTo(TPoint(Screen.x(), Screen.y()));
        const TCursor cursor = accepted && FSource != nullptr ? FSource->DragCursor() : crNoDrop;
        QGuiApplication::changeOverrideCursor(QCursor(CursorShape(cursor)));
    }

    // Ends the drag: a drop at Screen, or a cancel. A drag that never passed its
    // threshold is cancelled (the source hears of a drop nowhere).
    void Finish(const QPoint& Screen, bool Drop);

    QPointer<TControl> FSource;
    TObject* FDragged;
    QPoint FStart;
    int FThreshold;
    std::unique_ptr<TDragSession> FSession;
};

std::unique_ptr<TMouseDrag>& CurrentDrag()
{
    static std::unique_ptr<TMouseDrag> drag;
    return drag;
}

void TMouseDrag::Finish(const QPoint& Screen, bool Drop)
{
    // The session's events may start another drag: this one is gone first.
    std::unique_ptr<TDragSession> session = std::move(FSession);
    const bool started = session != nullptr;
    if (!started)
        session = std::make_unique<TDragSession>(FSource.data(), FDragged);
    CurrentDrag().reset(); // deletes this object

    if (Drop && started)
        session->Drop(TPoint(Screen.x(), Screen.y()));
    else
        session->Cancel();
}

} // namespace

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (CurrentDrag() != nullptr)
        return;
    TObject* dragged = nullptr;
    DoStartDrag(dragged);
    CurrentDrag() = std::make_unique<TMouseDrag>(this, dragged, Immediate, Threshold);
}

bool TControl::Dragging() const
{
    return CurrentDrag() != nullptr && CurrentDrag()->Source() == this;
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

TDragSession::TDragSession(TControl* Source, TObject* Dragged)
    : FSource(Source)
    , FDragged(Dragged)
{
}

TObject* TDragSession::Dragged() const
{
    return FDragged != nullptr ? FDragged : FSource.data();
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
    under->DragOver(Dragged(), at.X, at.Y, state, FAccepted);
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
        target->DragDrop(Dragged(), at.X, at.Y);
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
        FTarget->DragOver(Dragged(), at.X, at.Y, dsDragLeave, ignored);
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
