#include "vcl/controls/listview.h"

#include "vcl/controls/itemviews.h"
#include "vcl/controls/listviewmodel.h"
#include "vcl/controls/controlevents.h"
#include "vcl/graphics/canvas.h"
#include "vcl/streaming/classregistry.h"

#include <QHeaderView>
#include <QPainter>
#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTreeView>

namespace vcl {

namespace {

// Icon and list styles lay the items out in cells of this much room around the text.
constexpr int IconSpacing = 4;
// Image sizes when no image list is set.
constexpr int DefaultLargeImage = 32;
constexpr int DefaultSmallImage = 16;

} // namespace

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWidgetControl(AOwner, new QStackedWidget)
    , FItems(std::make_unique<TListItems>(this))
    , FColumns(std::make_unique<TListColumns>(this))
{
    // Clicks and double-clicks come from the mouse messages, as for a custom control;
    // the release that ends a double-click makes no click.
    SetControlStyle(ControlStyle() | csClickEvents);
    SetColor(clWindow);
    FModel = new TListViewModel(this);
    FStack = static_cast<QStackedWidget*>(InnerWidget());
    FDrawCanvas = std::make_unique<TCanvas>();
    CreateViews();
    ApplyViewStyle();
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView()
{
    // Every item is told of its deletion, also when the control goes.
    Destroying();
    FItems->Clear();
    // The views outlive the items and columns (they are child widgets): they must not
    // ask the model about them any more.
    FReportView->setModel(nullptr);
    FIconView->setModel(nullptr);
}

void TCustomListView::CreateViews()
{
    auto* report = new TGuardedEditView<QTreeView>;
    report->setRootIsDecorated(false);
    report->setUniformRowHeights(true);
    report->setItemsExpandable(false);
    report->setExpandsOnDoubleClick(false);
    report->setAllColumnsShowFocus(true);
    report->header()->setStretchLastSection(false);
    report->header()->setSectionsMovable(false);
    auto* icons = new TGuardedEditView<QListView>;
    icons->setUniformItemSizes(true);
    icons->setResizeMode(QListView::Adjust);
    icons->setMovement(QListView::Static);
    icons->setSpacing(IconSpacing);
    for (auto* view : std::initializer_list<QAbstractItemView*>{report, icons}) {
        view->setModel(FModel);
        view->setItemDelegate(new TItemViewDelegate(
            view, [this](QStyleOptionViewItem& Option, const QModelIndex& Index) { PrepareCell(Option, Index); },
            [this](QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index) {
                return CustomDrawCell(Painter, Option, Index);
            }));
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        // F2 and a click on the selected item edit, as on the platform; a double-click
        // is left to OnDblClick (opening a folder, say).
        view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        FStack->addWidget(view);
    }
    report->MayEdit = icons->MayEdit = [this](const QModelIndex& Index) { return CanEdit(ItemAtRow(Index.row())); };
    icons->setSelectionModel(report->selectionModel());
    FReportView = report;
    FIconView = icons;
    connect(report->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
            // A control on its way out reports deletions only.
            if ((OnChange || OnSelectItem) && !ComponentState().testFlag(csDestroying))
                SelectionChanged(Selected.indexes(), Deselected.indexes());
        });
    connect(report->header(), &QHeaderView::sectionClicked, this, [this](int Section) {
        if (FColumnClick && Section < FColumns->Count())
            ColClick(FColumns->Items(Section));
    });
    connect(report->header(), &QHeaderView::sectionResized, this, [this](int Section, int, int NewSize) {
        if (Section < FColumns->Count())
            FColumns->Items(Section)->FWidth = NewSize;
    });
    ApplySelectionLook();
}

QAbstractItemView* TCustomListView::View() const
{
    return FViewStyle == vsReport ? static_cast<QAbstractItemView*>(FReportView) : FIconView;
}

void TCustomListView::ApplyViewStyle()
{
    const int small = FSmallImages ? FSmallImages->Height() : DefaultSmallImage;
    const int large = FLargeImages ? FLargeImages->Height() : DefaultLargeImage;
    const int state = FStateImages ? FStateImages->Width() : 0;
    FIconView->setViewMode(FViewStyle == vsIcon ? QListView::IconMode : QListView::ListMode);
    FIconView->setFlow(FViewStyle == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    FIconView->setWrapping(true);
    FIconView->setMovement(QListView::Static);
    FIconView->setIconSize(FViewStyle == vsIcon ? QSize(large + state, large) : QSize(small + state, small));
    FReportView->setIconSize(QSize(small + state, small));
    FStack->setCurrentWidget(View());
    FStack->setFocusProxy(View());
    ApplyColumns();
    FModel->layoutChanged();
}

void TCustomListView::ApplyColumns()
{
    QHeaderView* header = FReportView->header();
    header->setVisible(FShowColumnHeaders);
    header->setSectionsClickable(FColumnClick);
    for (int i = 0; i < FColumns->Count() && i < header->count(); ++i) {
        const TListColumn* column = FColumns->Items(i);
        header->setSectionResizeMode(i, column->AutoSize() ? QHeaderView::Stretch : QHeaderView::Interactive);
        if (!column->AutoSize())
            header->resizeSection(i, column->Width());
    }
    FModel->headerDataChanged(Qt::Horizontal, 0, std::max(0, FColumns->Count() - 1));
}

void TCustomListView::ApplySelectionLook()
{
    const auto mode = FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    FReportView->setSelectionMode(mode);
    FIconView->setSelectionMode(mode);
    FReportView->viewport()->update();
    FIconView->viewport()->update();
}

void TCustomListView::SetViewStyle(TViewStyle Value)
{
    if (Value == FViewStyle)
        return;
    const bool hadFocus = View()->hasFocus();
    FViewStyle = Value;
    ApplyViewStyle();
    if (hadFocus)
        View()->setFocus();
}

void TCustomListView::SetShowColumnHeaders(bool Value)
{
    if (Value == FShowColumnHeaders)
        return;
    FShowColumnHeaders = Value;
    ApplyColumns();
}

void TCustomListView::SetColumnClick(bool Value)
{
    if (Value == FColumnClick)
        return;
    FColumnClick = Value;
    ApplyColumns();
}

void TCustomListView::SetMultiSelect(bool Value)
{
    if (Value == FMultiSelect)
        return;
    FMultiSelect = Value;
    ApplySelectionLook();
}

void TCustomListView::SetRowSelect(bool Value)
{
    if (Value == FRowSelect)
        return;
    FRowSelect = Value;
    ApplySelectionLook();
}

void TCustomListView::SetHideSelection(bool Value)
{
    if (Value == FHideSelection)
        return;
    FHideSelection = Value;
    ApplySelectionLook();
}

void TCustomListView::SetSortType(TSortType Value)
{
    if (Value == FSortType)
        return;
    FSortType = Value;
    KeepSorted();
}

void TCustomListView::SetOwnerData(bool Value)
{
    if (Value == FOwnerData)
        return;
    FItems->Clear();
    FModel->Reset([&] { FOwnerData = Value; });
}

void TCustomListView::SetImageList(TCustomImageList*& Field, TCustomImageList* Value)
{
    if (ReplaceImageList(*this, Field, Value))
        ApplyViewStyle();
}

void TCustomListView::SetLargeImages(TCustomImageList* Value)
{
    SetImageList(FLargeImages, Value);
}

void TCustomListView::SetSmallImages(TCustomImageList* Value)
{
    SetImageList(FSmallImages, Value);
}

void TCustomListView::SetStateImages(TCustomImageList* Value)
{
    SetImageList(FStateImages, Value);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWidgetControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    for (TCustomImageList** field : {&FLargeImages, &FSmallImages, &FStateImages})
        if (*field == AComponent) {
            *field = nullptr;
            ApplyViewStyle();
        }
}

// ---------------------------------------------------------------------------
// Items and selection

TListItem* TCustomListView::ItemAtRow(int Row) const
{
    return Row < 0 || Row >= FItems->Count() ? nullptr : FItems->Item(Row);
}

void TCustomListView::FetchItem(TListItem* Item, int Row)
{
    if (Item->FIndex == Row)
        return;
    Item->Reset();
    Item->FIndex = Row;
    if (OnData)
        OnData(this, Item);
}

QModelIndex TCustomListView::IndexOf(const TListItem* Item) const
{
    if (!Item || Item->Owner() != FItems.get() || Item->Index() < 0 || Item->Index() >= FModel->rowCount())
        return {};
    return FModel->index(Item->Index(), 0);
}

bool TCustomListView::ItemSelected(int Row) const
{
    return Row >= 0 && Row < FModel->rowCount() && FReportView->selectionModel()->isRowSelected(Row);
}

bool TCustomListView::ItemFocusedAt(int Row) const
{
    return Row >= 0 && FReportView->selectionModel()->currentIndex().row() == Row;
}

TListItem* TCustomListView::Selected() const
{
    int first = -1;
    for (const QItemSelectionRange& range : FReportView->selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return ItemAtRow(first);
}

void TCustomListView::SetSelected(TListItem* Item)
{
    QItemSelectionModel* selection = FReportView->selectionModel();
    const QModelIndex index = IndexOf(Item);
    if (!index.isValid()) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TCustomListView::SelCount() const
{
    int count = 0;
    for (const QItemSelectionRange& range : FReportView->selectionModel()->selection())
        count += range.height();
    return count;
}

TListItem* TCustomListView::ItemFocused() const
{
    return ItemAtRow(FReportView->selectionModel()->currentIndex().row());
}

void TCustomListView::SetItemFocused(TListItem* Item)
{
    FReportView->selectionModel()->setCurrentIndex(IndexOf(Item), QItemSelectionModel::NoUpdate);
}

TListItem* TCustomListView::GetItemAt(int X, int Y) const
{
    QAbstractItemView* view = View();
    const QPoint at = view->viewport()->mapFrom(this, QPoint(X, Y));
    return ItemAtRow(view->indexAt(at).row());
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const
{
    const int step = Direction == sdAbove || Direction == sdLeft ? -1 : 1;
    const int start = StartItem ? StartItem->Index() : (step > 0 ? -1 : FItems->Count());
    for (int row = start + step; row >= 0 && row < FItems->Count(); row += step) {
        if (States.testFlag(isSelected) && !ItemSelected(row))
            continue;
        if (States.testFlag(isFocused) && !ItemFocusedAt(row))
            continue;
        if (States.testFlag(isCut) && !ItemAtRow(row)->Cut())
            continue;
        return ItemAtRow(row);
    }
    return nullptr;
}

TListItem* TCustomListView::FindCaption(
    int StartIndex, const QString& Value, bool Partial, bool Inclusive, bool Wrap) const
{
    const int count = FItems->Count();
    if (count == 0)
        return nullptr;
    const int first = std::clamp(Inclusive ? StartIndex : StartIndex + 1, 0, count);
    const int last = Wrap ? first + count : count;
    for (int i = first; i < last; ++i) {
        TListItem* item = ItemAtRow(i % count);
        const bool match = Partial ? item->Caption().startsWith(Value, Qt::CaseInsensitive)
                                   : item->Caption().compare(Value, Qt::CaseInsensitive) == 0;
        if (match)
            return item;
    }
    return nullptr;
}

void TCustomListView::SelectionChanged(const QList<QModelIndex>& Selected, const QList<QModelIndex>& Deselected)
{
    for (const auto* list : {&Deselected, &Selected})
        for (const QModelIndex& index : *list) {
            if (index.column() != 0)
                continue;
            TListItem* item = ItemAtRow(index.row());
            if (!item)
                continue;
            if (OnSelectItem)
                OnSelectItem(this, item, list == &Selected);
            Change(item, ctState);
        }
}

bool TCustomListView::IsEditing() const
{
    return FViewStyle == vsReport ? FReportView->Editing() : FIconView->Editing();
}

void TCustomListView::UpdateItems(int From, int To)
{
    FItems->FDataItem.FIndex = -1;
    for (int row = std::max(From, 0); row <= To && row < FModel->rowCount(); ++row)
        FModel->RowChanged(row);
}

TCanvas* TCustomListView::Canvas()
{
    return FCustomDrawing ? FDrawCanvas.get() : TWidgetControl::Canvas();
}

// ---------------------------------------------------------------------------
// Sorting

int TCustomListView::CompareItems(TListItem* A, TListItem* B, const TLVCompare& Compare, intptr_t Data)
{
    if (Compare)
        return Compare(A, B, Data);
    if (OnCompare && FSortType != stText) {
        int result = 0;
        OnCompare(this, A, B, int(Data), result);
        return result;
    }
    // Captions without regard to case, then with it, so that the order is total.
    const int folded = A->Caption().compare(B->Caption(), Qt::CaseInsensitive);
    return folded != 0 ? folded : A->Caption().compare(B->Caption(), Qt::CaseSensitive);
}

bool TCustomListView::CustomSort(const TLVCompare& Compare, intptr_t Data)
{
    if (FOwnerData)
        return false;
    FModel->Reorder([&] {
        FItems->Sort([&](TListItem* A, TListItem* B) { return CompareItems(A, B, Compare, Data) < 0; });
    });
    return true;
}

bool TCustomListView::AlphaSort()
{
    return CustomSort(nullptr, 0);
}

void TCustomListView::KeepSorted()
{
    if (FSortType != stNone && !FItems->Updating() && !FOwnerData)
        AlphaSort();
}

// ---------------------------------------------------------------------------
// Notifications

bool TCustomListView::CanEdit(TListItem* Item)
{
    bool allow = !FReadOnly && Item != nullptr;
    if (allow && OnEditing)
        OnEditing(this, Item, allow);
    return allow;
}

void TCustomListView::Edit(TListItem* Item, const QString& NewText)
{
    QString text = NewText;
    if (OnEdited)
        OnEdited(this, Item, text);
    Item->SetCaption(text);
}

void TCustomListView::ColClick(TListColumn* Column)
{
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

void TCustomListView::Change(TListItem* Item, TItemChange Change)
{
    if (OnChange)
        OnChange(this, Item, Change);
}

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Item, Change, allow);
    return allow;
}

void TCustomListView::Delete(TListItem* Item)
{
    if (OnDeletion)
        OnDeletion(this, Item);
}

void TCustomListView::InsertItem(TListItem* Item)
{
    if (OnInsert)
        OnInsert(this, Item);
}

bool TCustomListView::eventFilter(QObject* Watched, QEvent* Event)
{
    // The views stand in for the inner widget: their keys, focus and mouse input reach
    // the control's messages.
    if (!FReportView || !FIconView)
        return false;
    if (Watched == View() && IsKeyOrFocusEvent(Event))
        return TWidgetControl::eventFilter(InnerWidget(), Event);
    if (const std::unique_ptr<QMouseEvent> mouse = MouseEventForControl(this, View(), Watched, Event))
        return TWidgetControl::eventFilter(InnerWidget(), mouse.get());
    return TWidgetControl::eventFilter(Watched, Event);
}

// ---------------------------------------------------------------------------
// Drawing

void TCustomListView::PrepareCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    const bool captionOnly = FViewStyle == vsReport && !FRowSelect && Index.column() > 0;
    if (captionOnly || (FHideSelection && !View()->hasFocus()))
        Option.state &= ~QStyle::State_Selected;
    if (Index.column() != 0 || Index.row() >= FItems->Count())
        return;
    const QPixmap image = FModel->ItemImage(
        ItemAtRow(Index.row()), FViewStyle == vsIcon, Option.state.testFlag(QStyle::State_Selected));
    // The same picture for every mode: the style adds no tint of its own.
    QIcon icon;
    if (!image.isNull()) {
        icon.addPixmap(image, QIcon::Normal);
        icon.addPixmap(image, QIcon::Selected);
    }
    Option.icon = icon;
}

bool TCustomListView::CustomDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)
{
    const bool caption = Index.column() == 0;
    if ((caption && !OnCustomDrawItem) || (!caption && !OnCustomDrawSubItem) || Index.row() >= FItems->Count())
        return true;
    TListItem* item = ItemAtRow(Index.row());
    if (FDrawImage.size() != size())
        FDrawImage = QImage(size(), QImage::Format_RGB32);
    FDrawCanvas->SetSurface(&FDrawImage);
    const bool selected = Option.state.testFlag(QStyle::State_Selected);
    const TColor back = selected ? clHighlight : Color();
    const QRect cell = Option.rect.translated(View()->viewport()->mapTo(this, QPoint(0, 0)));
    TCanvas* canvas = FDrawCanvas.get();
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    canvas->Brush()->SetColor(back);
    canvas->FillRect(TRect::FromQRect(cell));
    TCustomDrawState state = selected ? TCustomDrawState(cdsSelected) : TCustomDrawState();
    if (Option.state.testFlag(QStyle::State_HasFocus))
        state |= cdsFocused;
    bool defaultDraw = true;
    FCustomDrawing = true;
    if (caption)
        OnCustomDrawItem(this, item, state, defaultDraw);
    else
        OnCustomDrawSubItem(this, item, Index.column(), state, defaultDraw);
    FCustomDrawing = false;
    if (!defaultDraw) {
        Painter->drawImage(Option.rect.topLeft(), FDrawImage, cell);
        return false;
    }
    // The default drawing, in the colours the handler left on the canvas.
    if (canvas->Brush()->Color() != back)
        Option.backgroundBrush = ToQColor(canvas->Brush()->Color());
    const QColor text = ToQColor(canvas->Font()->Color());
    Option.palette.setColor(QPalette::Text, text);
    Option.palette.setColor(QPalette::HighlightedText, text);
    return true;
}

} // namespace vcl

namespace vcl {

namespace {

// Form files create list views by class name and bind their mouse and key events.
const bool ListViewStreamed = (RegisterClasses({ClassOf<TListView>()}), PublishWindowEvents<TListView>());

} // namespace

} // namespace vcl
