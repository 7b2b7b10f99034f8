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
#include <QTimer>
#include <QTreeView>

namespace vcl {

namespace {

// Icon and list styles lay the items out in cells of this much room around the text.
constexpr int IconSpacing = 4;
// Image sizes when no image list is set.
constexpr int DefaultLargeImage = 32;
constexpr int DefaultSmallImage = 16;

TItemViewDelegate* DelegateOf(QAbstractItemView* View)
{
    return static_cast<TItemViewDelegate*>(View->itemDelegate());
}

} // namespace

void TIconOptions::SetArrangement(TIconArrangement Value)
{
    if (Value == FArrangement)
        return;
    FArrangement = Value;
    FListView->ApplyViewStyle();
}

void TIconOptions::SetWrapText(bool Value)
{
    if (Value == FWrapText)
        return;
    FWrapText = Value;
    FListView->ApplyViewStyle();
}

void TIconOptions::Assign(const TPersistent* Source)
{
    const auto* options = dynamic_cast<const TIconOptions*>(Source);
    if (options == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FAutoArrange = options->FAutoArrange;
    FArrangement = options->FArrangement;
    SetWrapText(options->FWrapText);
    FListView->ApplyViewStyle();
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWidgetControl(AOwner, new QStackedWidget)
    , FItems(std::make_unique<TListItems>(this))
    , FColumns(std::make_unique<TListColumns>(this))
    , FIconOptions(std::make_unique<TIconOptions>(this))
{
    // Clicks and double-clicks come from the mouse messages, as for a custom control;
    // the release that ends a double-click makes no click.
    SetControlStyle(ControlStyle() | csClickEvents);
    SetColor(clWindow);
    FModel = new TListViewModel(this);
    FStack = static_cast<QStackedWidget*>(InnerWidget());
    FHotTimer = new QTimer(this);
    FHotTimer->setSingleShot(true);
    FHotTimer->setInterval(HotTrackDelay);
    connect(FHotTimer, &QTimer::timeout, this, [this] {
        if (TListItem* hot = HotItem(); hot && NotifyChanging(hot, ctState))
            SetSelected(hot);
    });
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
    report->MayEdit = icons->MayEdit = [this](const QModelIndex& Index) {
        return Notify(LVN_BEGINLABELEDIT, ItemAtRow(Index.row())) == 0;
    };
    report->MaySelect = icons->MaySelect = [this](const QModelIndex& Index, QItemSelectionModel::SelectionFlags Command) {
        return MaySelect(Index, Command);
    };
    icons->setSelectionModel(report->selectionModel());
    FReportView = report;
    FIconView = icons;
    connect(report->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
            // A control on its way out reports deletions only.
            if (!ComponentState().testFlag(csDestroying))
                SelectionChanged(Selected, Deselected);
        });
    connect(report->header(), &QHeaderView::sectionClicked, this, [this](int Section) {
        if (FColumnClick && Section < FColumns->Count()) {
            TNMListView record;
            record.hdr.code = LVN_COLUMNCLICK;
            record.Column = Section;
            Notify(record);
        }
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
    const int state = ShownStateImages() ? ShownStateImages()->Width() : 0;
    FIconView->setViewMode(FViewStyle == vsIcon ? QListView::IconMode : QListView::ListMode);
    const bool columns = FViewStyle == vsList || FIconOptions->Arrangement() == iaLeft;
    FIconView->setFlow(columns ? QListView::TopToBottom : QListView::LeftToRight);
    FIconView->setWordWrap(FIconOptions->WrapText());
    FIconView->setWrapping(true);
    FIconView->setMovement(QListView::Static);
    FIconView->setIconSize(FViewStyle == vsIcon ? QSize(large + state, large) : QSize(small + state, small));
    FReportView->setIconSize(QSize(small + state, small));
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{FReportView, FIconView})
        DelegateOf(view)->SetStateClick(
            FCheckboxes ? state : 0, [this](const QModelIndex& Index) { return ToggleCheck(Index); });
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
    DelegateOf(FReportView)->SetGridLines(FGridLines, palette().color(QPalette::Mid));
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{FReportView, FIconView})
        view->viewport()->setMouseTracking(FHotTrack);
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

void TCustomListView::SetCheckboxes(bool Value)
{
    if (Value == FCheckboxes)
        return;
    FCheckboxes = Value;
    if (FCheckboxes && FCheckImages == nullptr)
        FCheckImages = CreateCheckBoxImages(this, DefaultSmallImage);
    // Every item starts unchecked, as the platform gives each a check box.
    if (FCheckboxes && !FOwnerData)
        for (const auto& item : FItems->Items())
            if (item->FStateIndex < 0)
                item->FStateIndex = 0;
    ApplyViewStyle();
}

void TCustomListView::SetGridLines(bool Value)
{
    if (Value == FGridLines)
        return;
    FGridLines = Value;
    ApplySelectionLook();
}

void TCustomListView::SetHotTrack(bool Value)
{
    if (Value == FHotTrack)
        return;
    FHotTrack = Value;
    if (!FHotTrack)
        SetHotRow(-1);
    ApplySelectionLook();
}

void TCustomListView::SetHotTrackStyles(TListHotTrackStyles Value)
{
    if (Value == FHotTrackStyles)
        return;
    FHotTrackStyles = Value;
    ApplySelectionLook();
}

void TCustomListView::SetAllocBy(int Value)
{
    FAllocBy = std::max(Value, 0);
}

void TCustomListView::SetOwnerDraw(bool Value)
{
    if (Value == FOwnerDraw)
        return;
    FOwnerDraw = Value;
    ApplySelectionLook();
}

TCustomImageList* TCustomListView::ShownStateImages() const
{
    return FCheckboxes ? FCheckImages : FStateImages;
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
    if (FOwnerData)
        return ItemAtRow(const_cast<TCustomListView*>(this)->OwnerDataFind(
            Partial ? ifPartialString : ifExactString, Value, TPoint(), nullptr, StartIndex, sdAll, Wrap));
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

void TCustomListView::SelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected)
{
    for (const QItemSelection* list : {&Deselected, &Selected}) {
        const bool selected = list == &Selected;
        const TItemStates now = selected ? TItemStates(isSelected) : TItemStates();
        const TItemStates before = selected ? TItemStates() : TItemStates(isSelected);
        for (const QItemSelectionRange& range : *list) {
            if (FOwnerData && range.height() > 1) {
                TNMListView record;
                record.hdr.code = LVN_ODSTATECHANGED;
                record.From = range.top();
                record.To = range.bottom();
                record.OldState = before;
                record.NewState = now;
                Notify(record);
                continue;
            }
            for (int row = range.top(); row <= range.bottom(); ++row) {
                TNMListView record;
                record.hdr.code = LVN_ITEMCHANGED;
                record.Item = ItemAtRow(row);
                record.OldState = before;
                record.NewState = now;
                if (record.Item)
                    Notify(record);
            }
        }
    }
}

bool TCustomListView::MaySelect(const QModelIndex& Index, QItemSelectionModel::SelectionFlags Command)
{
    const int row = Index.row();
    // Items that lose the selection are asked first. With owner data only the item
    // clicked is asked: a selection may span millions of rows.
    if (Command.testFlag(QItemSelectionModel::Clear) && !FOwnerData)
        for (const QItemSelectionRange& range : FReportView->selectionModel()->selection())
            for (int other = range.top(); other <= range.bottom(); ++other)
                if (other != row && !NotifyChanging(ItemAtRow(other), ctState))
                    return false;
    const bool selected = ItemSelected(row);
    bool after = selected;
    if (Command.testFlag(QItemSelectionModel::Toggle))
        after = !selected;
    else if (Command.testFlag(QItemSelectionModel::Select))
        after = true;
    else if (Command.testFlag(QItemSelectionModel::Deselect))
        after = false;
    return after == selected || !Index.isValid() || NotifyChanging(ItemAtRow(row), ctState);
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
    return FDraw.Drawing() ? FDraw.Canvas() : TWidgetControl::Canvas();
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

LRESULT TCustomListView::Notify(TNMListView& Record)
{
    if (HandleAllocated())
        Record.hdr.hwndFrom = Handle();
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&Record));
}

LRESULT TCustomListView::Notify(int Code, TListItem* Item, TItemChange Change)
{
    TNMListView record;
    record.hdr.code = Code;
    record.Item = Item;
    record.Change = Change;
    return Notify(record);
}

bool TCustomListView::NotifyChanging(TListItem* Item, TItemChange Change)
{
    return Item == nullptr || Notify(LVN_ITEMCHANGING, Item, Change) == 0;
}

void TCustomListView::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    default: TWidgetControl::Dispatch(Message);
    }
}

void TCustomListView::CNNotify(TMessage& Message)
{
    TNMListView& record = *reinterpret_cast<TNMListView*>(Message.LParam);
    switch (record.hdr.code) {
    case LVN_ITEMCHANGING: Message.Result = CanChange(record.Item, record.Change) ? 0 : 1; break;
    case LVN_ITEMCHANGED:
        if (record.OldState.testFlag(isSelected) != record.NewState.testFlag(isSelected) && OnSelectItem)
            OnSelectItem(this, record.Item, record.NewState.testFlag(isSelected));
        Change(record.Item, record.Change);
        break;
    case LVN_INSERTITEM: InsertItem(record.Item); break;
    case LVN_DELETEITEM: Delete(record.Item); break;
    case LVN_BEGINLABELEDIT: Message.Result = CanEdit(record.Item) ? 0 : 1; break;
    case LVN_ENDLABELEDIT: Edit(record.Item, *record.Text); break;
    case LVN_COLUMNCLICK: ColClick(FColumns->Items(record.Column)); break;
    case LVN_ODCACHEHINT: OwnerDataHint(record.From, record.To); break;
    case LVN_ODSTATECHANGED: OwnerDataStateChange(record.From, record.To, record.OldState, record.NewState); break;
    default: break;
    }
}

void TCustomListView::WMContextMenu(TMessage& Message)
{
    ShowContextPopup(this, View(), Message);
}

void TCustomListView::EndEdit(TListItem* Item, const QString& NewText)
{
    QString text = NewText;
    TNMListView record;
    record.hdr.code = LVN_ENDLABELEDIT;
    record.Item = Item;
    record.Text = &text;
    Notify(record);
}

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

void TCustomListView::GetImageIndex(TListItem* Item)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, Item);
}

void TCustomListView::DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem)
        OnDrawItem(this, Item, Rect, State);
}

void TCustomListView::OwnerDataHint(int StartIndex, int EndIndex)
{
    if (OnDataHint)
        OnDataHint(this, StartIndex, EndIndex);
}

void TCustomListView::OwnerDataStateChange(int StartIndex, int EndIndex, TItemStates OldState, TItemStates NewState)
{
    if (OnDataStateChange)
        OnDataStateChange(this, StartIndex, EndIndex, OldState, NewState);
}

int TCustomListView::OwnerDataFind(TItemFind Find, const QString& FindString, const TPoint& FindPosition,
    void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap)
{
    int index = -1;
    if (OnDataFind)
        OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, index);
    return index;
}

// ---------------------------------------------------------------------------
// Input

bool TCustomListView::ToggleCheck(const QModelIndex& Index)
{
    TListItem* item = ItemAtRow(Index.row());
    if (!FCheckboxes || item == nullptr)
        return false;
    item->SetChecked(!item->Checked());
    return true;
}

TListItem* TCustomListView::HotItem() const
{
    return FHotTrack ? ItemAtRow(FHotRow) : nullptr;
}

void TCustomListView::SetHotRow(int Row)
{
    if (Row == FHotRow)
        return;
    const int old = FHotRow;
    FHotRow = Row;
    for (int row : {old, Row})
        if (row >= 0 && row < FModel->rowCount())
            FModel->RowChanged(row);
    if (Row >= 0)
        FHotTimer->start();
    else
        FHotTimer->stop();
    QWidget* viewport = View()->viewport();
    if (Row >= 0 && FHotTrackStyles.testFlag(htHandPoint))
        viewport->setCursor(Qt::PointingHandCursor);
    else
        viewport->unsetCursor();
}

void TCustomListView::TrackHotItem(QObject* Watched, QEvent* Event)
{
    if (!FHotTrack || Watched != View()->viewport())
        return;
    if (Event->type() == QEvent::Leave)
        SetHotRow(-1);
    else if (Event->type() == QEvent::MouseMove)
        SetHotRow(View()->indexAt(static_cast<QMouseEvent*>(Event)->position().toPoint()).row());
}

bool TCustomListView::eventFilter(QObject* Watched, QEvent* Event)
{
    // The views stand in for the inner widget: their keys, focus and mouse input reach
    // the control's messages.
    if (!FReportView || !FIconView)
        return false;
    const auto send = [this](unsigned Msg, WPARAM WParam, LPARAM LParam) { return SendToWindow(Msg, WParam, LParam); };
    if (Watched == View() && IsKeyOrFocusEvent(Event)) {
        if (TWidgetControl::eventFilter(InnerWidget(), Event))
            return true;
        if (FCheckboxes && Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Space
            && ToggleCheck(View()->currentIndex()))
            return true;
        return TranslateContextMenu(this, View(), Watched, Event, send);
    }
    if (Watched == View()->viewport() && Event->type() == QEvent::Paint)
        return BeforePaint(View()->viewport());
    TrackHotItem(Watched, Event);
    if (TranslateContextMenu(this, View(), Watched, Event, send))
        return true;
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
    if (FHotTrack && FHotTrackStyles.testAnyFlags(htUnderlineCold | htUnderlineHot)) {
        const bool hot = Index.row() == FHotRow;
        Option.font.setUnderline(hot ? FHotTrackStyles.testFlag(htUnderlineHot) : FHotTrackStyles.testFlag(htUnderlineCold));
    }
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
    // State image first, then the image, from the left of the room for both.
    Option.decorationAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

bool TCustomListView::CustomDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)
{
    if (Index.row() >= FItems->Count())
        return true;
    if (FOwnerDraw && FViewStyle == vsReport && OnDrawItem)
        return OwnerDrawCell(Painter, Option, Index);
    const int column = Index.column();
    if ((column == 0 && !OnCustomDrawItem) || (column > 0 && !OnCustomDrawSubItem))
        return true;
    TListItem* item = ItemAtRow(Index.row());
    return FDraw.DrawCell(this, View(), Painter, Option, [&](TCustomDrawState State, bool& DefaultDraw) {
        if (FHotTrack && Index.row() == FHotRow)
            State |= cdsHot;
        if (column == 0)
            OnCustomDrawItem(this, item, State, DefaultDraw);
        else
            OnCustomDrawSubItem(this, item, column, State, DefaultDraw);
    });
}

bool TCustomListView::OwnerDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)
{
    // The first column's cell draws the whole row; the others show their part of it
    // (the view paints a row's cells left to right).
    const QPoint origin = View()->viewport()->mapTo(this, QPoint(0, 0));
    const QRect cell = Option.rect.translated(origin);
    if (Index.column() == 0) {
        const QModelIndex last = FModel->index(Index.row(), FModel->columnCount() - 1);
        const QRect row = cell.united(FReportView->visualRect(last).translated(origin));
        const bool selected = Option.state.testFlag(QStyle::State_Selected);
        FDraw.Begin(this, row, selected ? clHighlight : Color(), selected ? clHighlightText : Font()->Color());
        TOwnerDrawState state = selected ? TOwnerDrawState(odSelected) : TOwnerDrawState();
        if (Option.state.testFlag(QStyle::State_HasFocus))
            state |= odFocused;
        FDraw.Run([&] { DrawItem(ItemAtRow(Index.row()), TRect::FromQRect(row), state); });
    }
    FDraw.CopyTo(Painter, Option.rect.topLeft(), cell);
    return false;
}

bool TCustomListView::BeforePaint(QWidget* Viewport)
{
    if (FOwnerData && FItems->Count() > 0) {
        // The report view's rows are found at its left edge, which every row reaches.
        const QRect shown = Viewport->rect();
        const QPoint end = FViewStyle == vsReport ? shown.bottomLeft() : shown.bottomRight();
        const int first = View()->indexAt(shown.topLeft()).row();
        const int last = View()->indexAt(end).row();
        TNMListView record;
        record.hdr.code = LVN_ODCACHEHINT;
        record.From = std::max(first, 0);
        record.To = last < 0 ? FItems->Count() - 1 : last;
        Notify(record);
    }
    return OnCustomDraw && FDraw.DrawArea(this, Viewport, [this](const TRect& Rect, bool& DefaultDraw) {
        OnCustomDraw(this, Rect, DefaultDraw);
    });
}

} // namespace vcl

namespace vcl {

namespace {

// Form files create list views by class name and bind their mouse and key events.
const bool ListViewStreamed = (RegisterClasses({ClassOf<TListView>()}), PublishWindowEvents<TListView>());
const bool ListViewEvents = RegisterEvent(&TCustomListView::OnChange, "OnChange")
    && RegisterEvent(&TCustomListView::OnChanging, "OnChanging")
    && RegisterEvent(&TCustomListView::OnColumnClick, "OnColumnClick")
    && RegisterEvent(&TCustomListView::OnCompare, "OnCompare")
    && RegisterEvent(&TCustomListView::OnCustomDraw, "OnCustomDraw")
    && RegisterEvent(&TCustomListView::OnCustomDrawItem, "OnCustomDrawItem")
    && RegisterEvent(&TCustomListView::OnCustomDrawSubItem, "OnCustomDrawSubItem")
    && RegisterEvent(&TCustomListView::OnData, "OnData")
    && RegisterEvent(&TCustomListView::OnDataFind, "OnDataFind")
    && RegisterEvent(&TCustomListView::OnDataHint, "OnDataHint")
    && RegisterEvent(&TCustomListView::OnDataStateChange, "OnDataStateChange")
    && RegisterEvent(&TCustomListView::OnDeletion, "OnDeletion")
    && RegisterEvent(&TCustomListView::OnDrawItem, "OnDrawItem")
    && RegisterEvent(&TCustomListView::OnEdited, "OnEdited")
    && RegisterEvent(&TCustomListView::OnEditing, "OnEditing")
    && RegisterEvent(&TCustomListView::OnGetImageIndex, "OnGetImageIndex")
    && RegisterEvent(&TCustomListView::OnInsert, "OnInsert")
    && RegisterEvent(&TCustomListView::OnSelectItem, "OnSelectItem");

} // namespace

} // namespace vcl
