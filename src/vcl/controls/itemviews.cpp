#include "vcl/controls/itemviews.h"

#include "vcl/controls/controls.h"
#include "vcl/controls/menus.h"
#include "vcl/controls/qtevents.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/imagelist.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

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
    if (!FCustomDraw || FCustomDraw(Painter, option, Index)) {
        const QWidget* widget = Option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &option, Painter, widget);
    }
    if (FGridLines) {
        const QRect cell = Option.rect;
        Painter->save();
        Painter->setPen(FGridColor);
        Painter->drawLine(cell.topRight(), cell.bottomRight());
        Painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        Painter->restore();
    }
}

bool TItemViewDelegate::editorEvent(
    QEvent* Event, QAbstractItemModel* Model, const QStyleOptionViewItem& Option, const QModelIndex& Index)
{
    const QEvent::Type type = Event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (FStateClick && FStateWidth > 0 && (press || type == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(Event);
        QStyleOptionViewItem option(Option);
        initStyleOption(&option, Index);
        const QWidget* widget = Option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        // The controls draw their images at the left of the image rectangle: the state
        // image is its left part.
        QRect state = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, widget);
        state.setWidth(FStateWidth);
        if (mouse->button() == Qt::LeftButton && state.contains(mouse->position().toPoint()))
            return press ? FStateClick(Index) : true;
    }
    return QStyledItemDelegate::editorEvent(Event, Model, Option, Index);
}

void TItemViewDelegate::SetStateClick(int StateWidth, TStateClick StateClick)
{
    FStateWidth = StateWidth;
    FStateClick = std::move(StateClick);
}

void TItemViewDelegate::SetGridLines(bool Value, QColor Color)
{
    FGridLines = Value;
    FGridColor = Color;
}

TCustomImageList* CreateCheckBoxImages(TComponent* Owner, int Size)
{
    auto* list = new TImageList(Size, Size, Owner);
    QStyleOptionButton option;
    option.rect = QRect(0, 0, Size, Size);
    for (QStyle::StateFlag check : {QStyle::State_Off, QStyle::State_On}) {
        QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        option.state = QStyle::State_Enabled | check;
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
        painter.end();
        list->AddImage(image);
    }
    return list;
}

// ---------------------------------------------------------------------------

TItemDrawCanvas::TItemDrawCanvas()
    : FCanvas(std::make_unique<TCanvas>())
{
}

TItemDrawCanvas::~TItemDrawCanvas() = default;

TCanvas* TItemDrawCanvas::Begin(TControl* Control, const QRect& Area, TColor Back, TColor Text)
{
    if (FImage.size() != Control->size())
        FImage = QImage(Control->size(), QImage::Format_RGB32);
    FCanvas->SetSurface(&FImage);
    FCanvas->Font()->Assign(Control->Font());
    FCanvas->Font()->SetColor(Text);
    FCanvas->Brush()->SetColor(Back);
    FCanvas->FillRect(TRect::FromQRect(Area));
    return FCanvas.get();
}

void TItemDrawCanvas::Run(const std::function<void()>& Draw)
{
    FDrawing = true;
    Draw();
    FDrawing = false;
}

void TItemDrawCanvas::CopyTo(QPainter* Painter, const QPoint& Target, const QRect& Source) const
{
    Painter->drawImage(Target, FImage, Source);
}

bool TItemDrawCanvas::DrawCell(TControl* Control, QAbstractItemView* View, QPainter* Painter,
    QStyleOptionViewItem& Option, const TCellHandler& Handler)
{
    const bool selected = Option.state.testFlag(QStyle::State_Selected);
    const TColor back = selected ? clHighlight : Control->Color();
    const QRect cell = Option.rect.translated(View->viewport()->mapTo(Control, QPoint(0, 0)));
    TCanvas* canvas = Begin(Control, cell, back, selected ? clHighlightText : Control->Font()->Color());
    TCustomDrawState state = selected ? TCustomDrawState(cdsSelected) : TCustomDrawState();
    if (Option.state.testFlag(QStyle::State_HasFocus))
        state |= cdsFocused;
    if (!Option.state.testFlag(QStyle::State_Enabled))
        state |= cdsDisabled;
    bool defaultDraw = true;
    Run([&] { Handler(state, defaultDraw); });
    if (!defaultDraw) {
        CopyTo(Painter, Option.rect.topLeft(), cell);
        return false;
    }
    if (canvas->Brush()->Color() != back)
        Option.backgroundBrush = ToQColor(canvas->Brush()->Color());
    const QColor text = ToQColor(canvas->Font()->Color());
    Option.palette.setColor(QPalette::Text, text);
    Option.palette.setColor(QPalette::HighlightedText, text);
    Option.font = canvas->Font()->ToQFont();
    return true;
}

bool TItemDrawCanvas::DrawArea(TControl* Control, QWidget* Viewport, const TAreaHandler& Handler)
{
    const QRect area = Viewport->rect().translated(Viewport->mapTo(Control, QPoint(0, 0)));
    Begin(Control, area, Control->Color(), Control->Font()->Color());
    bool defaultDraw = true;
    Run([&] { Handler(TRect::FromQRect(area), defaultDraw); });
    QPainter painter(Viewport);
    CopyTo(&painter, QPoint(0, 0), area);
    return !defaultDraw;
}

// ---------------------------------------------------------------------------

bool TranslateContextMenu(
    QWidget* Control, QAbstractItemView* View, QObject* Watched, QEvent* Event, const TSendMessage& Send)
{
    if (Watched != View && Watched != View->viewport())
        return false;
    switch (Event->type()) {
    case QEvent::ContextMenu:
        // Qt's own menu requests stand in for nothing: the release of the right button
        // and the menu keys below make the message.
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(Event);
        const bool menuKey = key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey)
            Send(WM_CONTEXTMENU, 0, ContextMenuFromKeyboard);
        return menuKey;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(Event);
        if (mouse->button() != Qt::RightButton || Watched != View->viewport())
            return false;
        const QPointF at = View->viewport()->mapTo(Control, mouse->position().toPoint());
        if (Send(WM_RBUTTONUP, MouseKeys(mouse->buttons(), mouse->modifiers()), PointParam(at)) == 0) {
            const QPoint screen = mouse->globalPosition().toPoint();
            Send(WM_CONTEXTMENU, 0, MAKELPARAM(screen.x(), screen.y()));
        }
        return true;
    }
    default: return false;
    }
}

void ShowContextPopup(TControl* Control, QAbstractItemView* View, const TMessage& Message)
{
    TPopupMenu* menu = Control->PopupMenu();
    if (menu == nullptr || !menu->AutoPopup())
        return;
    QPoint at(int16_t(LOWORD(uintptr_t(Message.LParam))), int16_t(HIWORD(uintptr_t(Message.LParam))));
    if (Message.LParam == ContextMenuFromKeyboard) {
        const QRect focused = View->visualRect(View->currentIndex());
        at = View->viewport()->mapToGlobal(focused.isValid() ? focused.bottomLeft() : QPoint(0, 0));
    }
    menu->SetPopupComponent(Control);
    menu->Popup(at.x(), at.y());
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
