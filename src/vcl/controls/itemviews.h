#pragma once
// What the list view and the tree view share over Qt's item views: a view whose
// in-place editing the control may refuse, a delegate through which the control
// adjusts the look of a cell or draws it itself, and the translation of the view's
// input into the control's messages.
#include "vcl/controls/messages.h"
#include "vcl/core/types.h"
#include "vcl/graphics/colors.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <functional>
#include <memory>

namespace vcl {

class TCanvas;
class TComponent;
class TControl;
class TCustomImageList;

// The list and tree views tell of what happens to their items by sending CN_NOTIFY to
// their own WindowProc (LParam: the address of a record that starts with TNMHdr) before
// they raise the events, so that a descendant or a component that replaced WindowProc
// sees every notification first and may answer it itself. A Result other than 0 refuses
// what an "...ING" notification asks about (a change, an expansion, an edit).
struct TNMHdr {
    HWND hwndFrom;
    uintptr_t idFrom = 0;
    int code = 0;
};

// Notification codes (the classic numbers).
enum : int {
    LVN_ITEMCHANGING = -100,
    LVN_ITEMCHANGED = -101,
    LVN_INSERTITEM = -102,
    LVN_DELETEITEM = -103,
    LVN_BEGINLABELEDIT = -105,
    LVN_ENDLABELEDIT = -106,
    LVN_COLUMNCLICK = -108,
    LVN_ODCACHEHINT = -113,
    LVN_ODSTATECHANGED = -115,
    TVN_SELCHANGING = -401,
    TVN_SELCHANGED = -402,
    TVN_ITEMEXPANDING = -405,
    TVN_ITEMEXPANDED = -406,
    TVN_DELETEITEM = -409,
    TVN_BEGINLABELEDIT = -410,
    TVN_ENDLABELEDIT = -411,
};

// WM_CONTEXTMENU's LParam when the menu key asked (no mouse position).
constexpr LPARAM ContextMenuFromKeyboard = -1;

// An item view that asks MayEdit before an editor opens (the click on a selected item
// only starts the platform's editing delay; the question comes when the editor would
// open) and MaySelect before the user's mouse or keys change the selection. A refused
// selection change leaves the focused item where it was too.
template <class Base>
class TGuardedEditView : public Base {
public:
    std::function<bool(const QModelIndex& Index)> MayEdit;
    std::function<bool(const QModelIndex& Index, QItemSelectionModel::SelectionFlags Command)> MaySelect;
    bool Editing() const { return this->state() == QAbstractItemView::EditingState; }

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& Index, const QEvent* Event) const override
    {
        const QItemSelectionModel::SelectionFlags command = Base::selectionCommand(Index, Event);
        if (command == QItemSelectionModel::NoUpdate || !MaySelect || MaySelect(Index, command))
            return command;
        FRefused = true;
        return QItemSelectionModel::NoUpdate;
    }
    void mousePressEvent(QMouseEvent* Event) override { KeepCurrentWhenRefused([&] { Base::mousePressEvent(Event); }); }
    void mouseMoveEvent(QMouseEvent* Event) override { KeepCurrentWhenRefused([&] { Base::mouseMoveEvent(Event); }); }
    void keyPressEvent(QKeyEvent* Event) override { KeepCurrentWhenRefused([&] { Base::keyPressEvent(Event); }); }

    bool edit(const QModelIndex& Index, QAbstractItemView::EditTrigger Trigger, QEvent* Event) override
    {
        const bool opens = Trigger != QAbstractItemView::SelectedClicked
            && (Trigger == QAbstractItemView::AllEditTriggers || (this->editTriggers() & Trigger));
        if (opens && Index.isValid() && this->state() != QAbstractItemView::EditingState
            && (Index.flags() & Qt::ItemIsEditable) && MayEdit && !MayEdit(Index))
            return false;
        return Base::edit(Index, Trigger, Event);
    }

private:
    template <class F>
    void KeepCurrentWhenRefused(F Handle)
    {
        const QPersistentModelIndex before = this->currentIndex();
        FRefused = false;
        Handle();
        if (FRefused && this->currentIndex() != before)
            this->selectionModel()->setCurrentIndex(before, QItemSelectionModel::NoUpdate);
        FRefused = false;
    }

    mutable bool FRefused = false;
};

class TItemViewDelegate : public QStyledItemDelegate {
public:
    // Adjusts the option of a cell (state, icon, colours) before it is drawn.
    using TPrepare = std::function<void(QStyleOptionViewItem& Option, const QModelIndex& Index)>;
    // Draws a cell the control's own way; false when nothing more is to be drawn.
    using TCustomDraw = std::function<bool(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)>;

    // A press on the state image of a cell (its leftmost StateWidth pixels of image);
    // true when the control took it (toggled a check box).
    using TStateClick = std::function<bool(const QModelIndex& Index)>;

    TItemViewDelegate(QObject* Parent, TPrepare Prepare, TCustomDraw CustomDraw);
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    bool editorEvent(QEvent* Event, QAbstractItemModel* Model, const QStyleOptionViewItem& Option,
        const QModelIndex& Index) override;
    void SetStateClick(int StateWidth, TStateClick StateClick);
    // Grid lines along the right and bottom edges of every cell, in Color.
    void SetGridLines(bool Value, QColor Color);
    // Every row has room for the view's image size, also rows without an image (the
    // views take one row's height for all).
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TPrepare FPrepare;
    TCustomDraw FCustomDraw;
    TStateClick FStateClick;
    int FStateWidth = 0;
    bool FGridLines = false;
    QColor FGridColor;
};

// The check boxes of a view with Checkboxes: image 0 an empty box, image 1 a checked
// one, Size pixels square, drawn by the style. Owned by Owner.
TCustomImageList* CreateCheckBoxImages(TComponent* Owner, int Size);

// The state of an item being custom-drawn.
enum TCustomDrawStateItem : unsigned { cdsSelected = 0x01, cdsGrayed = 0x02, cdsDisabled = 0x04, cdsFocused = 0x10,
    cdsDefault = 0x20, cdsHot = 0x40 };
Q_DECLARE_FLAGS(TCustomDrawState, TCustomDrawStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TCustomDrawState)

// Custom drawing on a TCanvas for the item views: the canvas draws on an image of the
// control's size, so a handler sees a cell at its place in the control; what it drew is
// copied to the view.
class TItemDrawCanvas {
public:
    // Raises a cell's event: State, and DefaultDraw to clear when the handler drew
    // the cell itself.
    using TCellHandler = std::function<void(TCustomDrawState State, bool& DefaultDraw)>;
    // Raises the whole control's event for the area Rect (control coordinates).
    using TAreaHandler = std::function<void(const TRect& Rect, bool& DefaultDraw)>;

    TItemDrawCanvas();
    ~TItemDrawCanvas();
    TCanvas* Canvas() const { return FCanvas.get(); }
    // True while a handler draws (the control's Canvas is then this canvas).
    bool Drawing() const { return FDrawing; }
    // Prepares the canvas for drawing Area (control coordinates) in the control's
    // font: filled with Back, text in Text.
    TCanvas* Begin(TControl* Control, const QRect& Area, TColor Back, TColor Text);
    // Runs Draw with Drawing() set.
    void Run(const std::function<void()>& Draw);
    // Copies the part Source of what was drawn to Target of Painter.
    void CopyTo(QPainter* Painter, const QPoint& Target, const QRect& Source) const;
    // Custom draw of one cell of View. False when the handler drew the cell (it is
    // copied to Painter); true when the view is to draw it, in the colours the handler
    // left on the canvas (they are put into Option).
    bool DrawCell(TControl* Control, QAbstractItemView* View, QPainter* Painter, QStyleOptionViewItem& Option,
        const TCellHandler& Handler);
    // Custom draw of the whole viewport before the view paints its items; true when
    // the handler drew everything itself.
    bool DrawArea(TControl* Control, QWidget* Viewport, const TAreaHandler& Handler);

private:
    std::unique_ptr<TCanvas> FCanvas;
    QImage FImage;
    bool FDrawing = false;
};

// The right button's release and the menu keys (Menu, Shift+F10) of View as
// WM_CONTEXTMENU through Send (LParam: the screen point, or ContextMenuFromKeyboard).
// The release goes first as WM_RBUTTONUP; a handler that marks it handled (Result 1)
// asks for no menu. True when Event was taken.
using TSendMessage = std::function<LRESULT(unsigned Msg, WPARAM WParam, LPARAM LParam)>;
bool TranslateContextMenu(
    QWidget* Control, QAbstractItemView* View, QObject* Watched, QEvent* Event, const TSendMessage& Send);
// The default answer to WM_CONTEXTMENU: the control's pop-up menu at the point (below the
// focused item, or the control's corner, when the keyboard asked).
void ShowContextPopup(TControl* Control, QAbstractItemView* View, const TMessage& Message);

bool IsKeyOrFocusEvent(const QEvent* Event);
// A mouse event of View's viewport as the control sees it: the position in the
// control's coordinates. Null for other events.
std::unique_ptr<QMouseEvent> MouseEventForControl(
    QWidget* Control, QAbstractItemView* View, QObject* Watched, QEvent* Event);

} // namespace vcl
