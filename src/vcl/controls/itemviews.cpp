#include "vcl/controls/itemviews.h"

#include <QApplication>
#include <QMouseEvent>

namespace vcl {

namespace {

// Pixels of a row above and below its image.
constexpr int RowPadding = 2;

} // namespace

TItemViewDelegate::TItemViewDelegate(QObject* Parent, TPrepare Prepare, TCustomDraw CustomDraw)
    : QStyledItemDelegate(Parent)
    , FPrepare(std::move(Prepare))
    , FCustomDraw(std::move(CustomDraw))
{
}

void TItemViewDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    QStyleOptionViewItem option(Option);
    initStyleOption(&option, Index);
    if (FPrepare)
        FPrepare(option, Index);
    if (FCustomDraw && !FCustomDraw(Painter, option, Index))
        return;
    const QWidget* widget = Option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, Painter, widget);
}

QSize TItemViewDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    QSize size = QStyledItemDelegate::sizeHint(Option, Index);
    size.setHeight(std::max(size.height(), Option.decorationSize.height() + RowPadding));
    return size;
}

bool IsKeyOrFocusEvent(const QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut: return true;
    default: return false;
    }
}

std::unique_ptr<QMouseEvent> MouseEventForControl(
    QWidget* Control, QAbstractItemView* View, QObject* Watched, QEvent* Event)
{
    if (Watched != View->viewport())
        return nullptr;
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(Event);
        const QPointF at = View->viewport()->mapTo(Control, mouse->position().toPoint());
        return std::make_unique<QMouseEvent>(mouse->type(), at, mouse->globalPosition(), mouse->button(),
            mouse->buttons(), mouse->modifiers());
    }
    default: return nullptr;
    }
}

} // namespace vcl
