#include "vcl/controls/listitems.h"

#include "vcl/controls/listview.h"
#include "vcl/controls/listviewmodel.h"

#include <QAbstractItemView>
#include <bit>
#include <cstring>

namespace vcl {

namespace {

[[noreturn]] void IndexError(int Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

} // namespace

// ---------------------------------------------------------------------------
// TListSubItems

int TListSubItems::Count() const
{
    return FItem->FSubCount;
}

QString TListSubItems::Strings(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FItem->FSubItems[Index];
}

void TListSubItems::SetStrings(int Index, const QString& Value)
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    if (FItem->FSubItems[Index] == Value || !FItem->Changing(ctText))
        return;
    FItem->FSubItems[Index] = Value;
    FItem->Changed(ctText);
}

int TListSubItems::Add(const QString& S)
{
    Insert(Count(), S);
    return Count() - 1;
}

void TListSubItems::Insert(int Index, const QString& S)
{
    if (Index < 0 || Index > Count())
        IndexError(Index);
    FItem->GrowSubItems();
    QString* texts = FItem->FSubItems;
    new (texts + FItem->FSubCount) QString(S);
    std::rotate(texts + Index, texts + FItem->FSubCount, texts + FItem->FSubCount + 1);
    ++FItem->FSubCount;
    FItem->Changed(ctText);
}

void TListSubItems::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    QString* texts = FItem->FSubItems;
    std::rotate(texts + Index, texts + Index + 1, texts + FItem->FSubCount);
    texts[--FItem->FSubCount].~QString();
    FItem->Changed(ctText);
}

void TListSubItems::Clear()
{
    while (FItem->FSubCount > 0)
        FItem->FSubItems[--FItem->FSubCount].~QString();
    FItem->Changed(ctText);
}

int TListSubItems::IndexOf(const QString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItem->FSubItems[i].compare(S, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------
// TListItem

namespace {

// Rows mostly have a handful of sub-items (three detail columns is the usual report):
// the first block holds three, later ones grow by one string at a time up to eight,
// keeping little spare room per row, and to powers of two past that.
int SubItemCapacity(int Count)
{
    constexpr int FirstBlock = 3;
    if (Count == 0)
        return 0;
    return Count <= FirstBlock ? FirstBlock : Count <= 8 ? Count : int(std::bit_ceil(unsigned(Count)));
}

} // namespace

TListItem::~TListItem()
{
    Reset();
}

void TListItem::Reset()
{
    for (int i = 0; i < FSubCount; ++i)
        FSubItems[i].~QString();
    ::operator delete(FSubItems);
    FSubItems = nullptr;
    FSubCount = 0;
    FCaption.clear();
    FData = nullptr;
    FImageIndex = FOverlayIndex = FStateIndex = FIndex = -1;
    FCut = false;
}

void TListItem::GrowSubItems()
{
    if (SubItemCapacity(FSubCount) > FSubCount)
        return;
    auto* grown = static_cast<QString*>(::operator new(sizeof(QString) * size_t(SubItemCapacity(FSubCount + 1))));
    // QString is relocatable: its bytes move as they are.
    if (FSubCount > 0)
        std::memcpy(static_cast<void*>(grown), static_cast<const void*>(FSubItems), sizeof(QString) * size_t(FSubCount));
    ::operator delete(FSubItems);
    FSubItems = grown;
}

TCustomListView* TListItem::ListView() const
{
    return FOwner->Owner();
}

bool TListItem::Changing(TItemChange Change)
{
    return ListView()->NotifyChanging(this, Change);
}

void TListItem::Changed(TItemChange Change)
{
    ListView()->FModel->RowChanged(FIndex);
    ListView()->Notify(LVN_ITEMCHANGED, this, Change);
    if (Change == ctText)
        ListView()->KeepSorted();
}

void TListItem::SetCaption(const QString& Value)
{
    if (Value == FCaption || !Changing(ctText))
        return;
    FCaption = Value;
    Changed(ctText);
}

void TListItem::SetImageIndex(int Value)
{
    if (Value == FImageIndex || !Changing(ctImage))
        return;
    FImageIndex = Value;
    Changed(ctImage);
}

void TListItem::SetOverlayIndex(int Value)
{
    if (Value == FOverlayIndex || !Changing(ctImage))
        return;
    FOverlayIndex = Value;
    Changed(ctImage);
}

void TListItem::SetStateIndex(int Value)
{
    if (Value == FStateIndex || !Changing(ctImage))
        return;
    FStateIndex = Value;
    Changed(ctImage);
}

void TListItem::SetCut(bool Value)
{
    if (Value == FCut || !Changing(ctState))
        return;
    FCut = Value;
    Changed(ctState);
}

bool TListItem::Selected() const
{
    return ListView()->ItemSelected(FIndex);
}

void TListItem::SetSelected(bool Value)
{
    const QModelIndex index = ListView()->IndexOf(this);
    if (!index.isValid() || Value == Selected())
        return;
    const auto mode = ListView()->MultiSelect() || !Value ? QItemSelectionModel::NoUpdate : QItemSelectionModel::Clear;
    ListView()->View()->selectionModel()->select(
        index, mode | (Value ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

bool TListItem::Focused() const
{
    return ListView()->ItemFocusedAt(FIndex);
}

void TListItem::SetFocused(bool Value)
{
    const QModelIndex index = ListView()->IndexOf(this);
    if (!index.isValid() || Value == Focused())
        return;
    ListView()->View()->selectionModel()->setCurrentIndex(
        Value ? index : QModelIndex(), QItemSelectionModel::NoUpdate);
}

void TListItem::Delete()
{
    FOwner->Delete(FIndex);
}

bool TListItem::EditCaption()
{
    const QModelIndex index = ListView()->IndexOf(this);
    if (!index.isValid())
        return false;
    QAbstractItemView* view = ListView()->View();
    view->setCurrentIndex(index);
    view->edit(index);
    return ListView()->IsEditing();
}

TRect TListItem::DisplayRect(TDisplayCode Code) const
{
    const QModelIndex index = ListView()->IndexOf(this);
    QAbstractItemView* view = ListView()->View();
    if (!index.isValid())
        return {};
    QRect rect = view->visualRect(index);
    if (Code == drBounds || Code == drSelectBounds) {
        // The whole row in the report view.
        const int columns = ListView()->FModel->columnCount();
        rect = rect.united(view->visualRect(index.siblingAtColumn(columns - 1)));
    }
    rect.translate(view->viewport()->mapTo(ListView(), QPoint(0, 0)));
    return TRect::FromQRect(rect);
}

void TListItem::MakeVisible(bool PartialOK)
{
    const QModelIndex index = ListView()->IndexOf(this);
    if (index.isValid())
        ListView()->View()->scrollTo(index, PartialOK ? QAbstractItemView::EnsureVisible
                                                      : QAbstractItemView::PositionAtCenter);
}

void TListItem::Update()
{
    ListView()->FModel->RowChanged(FIndex);
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::TListItems(TCustomListView* Owner)
    : FOwner(Owner)
    , FDataItem(this)
{
}

TListItems::~TListItems() = default;

int TListItems::Count() const
{
    return FOwner->OwnerData() ? FDataCount : int(FItems.size());
}

void TListItems::SetCount(int Value)
{
    Value = std::max(Value, 0);
    if (!FOwner->OwnerData() || Value == FDataCount)
        return;
    if (Value > FDataCount)
        FOwner->FModel->InsertRows(FDataCount, Value - FDataCount, [&] { FDataCount = Value; });
    else
        FOwner->FModel->RemoveRows(Value, FDataCount - Value, [&] { FDataCount = Value; });
}

void TListItems::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

TListItem* TListItems::Item(int Index)
{
    CheckIndex(Index);
    if (FOwner->OwnerData()) {
        FOwner->FetchItem(&FDataItem, Index);
        return &FDataItem;
    }
    return FItems[size_t(Index)].get();
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Insert(int Index)
{
    if (FOwner->OwnerData())
        throw EInvalidOperation(QStringLiteral("An owner-data list view holds no items of its own"));
    if (Index < 0 || Index > Count())
        IndexError(Index);
    TListItem* item = nullptr;
    if (FOwner->AllocBy() > 0 && FItems.size() == FItems.capacity())
        FItems.reserve(FItems.size() + size_t(FOwner->AllocBy()));
    FOwner->FModel->InsertRows(Index, 1, [&] {
        item = FItems.insert(FItems.begin() + Index, std::make_unique<TListItem>(this))->get();
        Renumber(Index);
    });
    if (FOwner->Checkboxes())
        item->FStateIndex = 0;
    FOwner->Notify(LVN_INSERTITEM, item);
    if (FUpdateCount == 0)
        FOwner->KeepSorted();
    return item;
}

void TListItems::Delete(int Index)
{
    CheckIndex(Index);
    if (FOwner->OwnerData()) {
        SetCount(FDataCount - 1);
        return;
    }
    FOwner->Notify(LVN_DELETEITEM, FItems[size_t(Index)].get());
    FOwner->FModel->RemoveRows(Index, 1, [&] {
        FItems.erase(FItems.begin() + Index);
        Renumber(Index);
    });
}

void TListItems::Clear()
{
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
    // Each item is told of first, last to first, while the list is still whole.
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
        FOwner->Notify(LVN_DELETEITEM, it->get());
    FOwner->FModel->Reset([&] { FItems.clear(); });
}

int TListItems::IndexOf(const TListItem* Item) const
{
    return Item && Item->FOwner == this && !FOwner->OwnerData() ? Item->FIndex : -1;
}

void TListItems::BeginUpdate()
{
    ++FUpdateCount;
    FOwner->FModel->BeginUpdate();
}

void TListItems::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    FOwner->FModel->EndUpdate();
    if (FUpdateCount == 0)
        FOwner->KeepSorted();
}

void TListItems::Renumber(int From)
{
    for (size_t i = size_t(From); i < FItems.size(); ++i)
        FItems[i]->FIndex = int(i);
}

// ---------------------------------------------------------------------------
// TListColumn(s)

void TListColumn::Changed()
{
    FListView->ApplyColumns();
}

void TListColumn::SetCaption(const QString& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed();
}

void TListColumn::SetWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TListColumn::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Changed();
}

void TListColumn::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    Changed();
}

int TListColumn::Index() const
{
    return FListView->Columns()->IndexOf(this);
}

TListColumn* TListColumns::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FColumns[size_t(Index)].get();
}

TListColumn* TListColumns::Add()
{
    FColumns.push_back(std::make_unique<TListColumn>(FListView));
    Changed();
    return FColumns.back().get();
}

void TListColumns::Delete(int Index)
{
    Items(Index);
    FColumns.erase(FColumns.begin() + Index);
    Changed();
}

void TListColumns::Clear()
{
    FColumns.clear();
    Changed();
}

int TListColumns::IndexOf(const TListColumn* Column) const
{
    for (int i = 0; i < Count(); ++i)
        if (FColumns[size_t(i)].get() == Column)
            return i;
    return -1;
}

void TListColumns::Changed()
{
    FListView->FModel->ColumnsChanged();
    FListView->ApplyColumns();
}

} // namespace vcl
