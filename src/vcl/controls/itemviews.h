#pragma once
// What the list view and the tree view share over Qt's item views: a view whose
// in-place editing the control may refuse, a delegate through which the control
// adjusts the look of a cell or draws it itself, and the translation of the view's
// input into the control's messages.
#include <QAbstractItemView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <functional>
#include <memory>

namespace vcl {

// An item view that asks MayEdit before an editor opens. The click on a selected item
// only starts the platform's editing delay; the question comes when the editor would open.
template <class Base>
class TGuardedEditView : public Base {
public:
    std::function<bool(const QModelIndex& Index)> MayEdit;
    bool Editing() const { return this->state() == QAbstractItemView::EditingState; }

protected:
    bool edit(const QModelIndex& Index, QAbstractItemView::EditTrigger Trigger, QEvent* Event) override
    {
        const bool opens = Trigger != QAbstractItemView::SelectedClicked
            && (Trigger == QAbstractItemView::AllEditTriggers || (this->editTriggers() & Trigger));
        if (opens && Index.isValid() && this->state() != QAbstractItemView::EditingState
            && (Index.flags() & Qt::ItemIsEditable) && MayEdit && !MayEdit(Index))
            return false;
        return Base::edit(Index, Trigger, Event);
    }
};

class TItemViewDelegate : public QStyledItemDelegate {
public:
    // Adjusts the option of a cell (state, icon, colours) before it is drawn.
    using TPrepare = std::function<void(QStyleOptionViewItem& Option, const QModelIndex& Index)>;
    // Draws a cell the control's own way; false when nothing more is to be drawn.
    using TCustomDraw = std::function<bool(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)>;

    TItemViewDelegate(QObject* Parent, TPrepare Prepare, TCustomDraw CustomDraw);
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    // Every row has room for the view's image size, also rows without an image (the
    // views take one row's height for all).
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TPrepare FPrepare;
    TCustomDraw FCustomDraw;
};

bool IsKeyOrFocusEvent(const QEvent* Event);
// A mouse event of View's viewport as the control sees it: the position in the
// control's coordinates. Null for other events.
std::unique_ptr<QMouseEvent> MouseEventForControl(
    QWidget* Control, QAbstractItemView* View, QObject* Watched, QEvent* Event);

} // namespace vcl
