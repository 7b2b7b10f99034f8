#include "vcl/controls/listviewmodel.h"

#include "vcl/controls/listview.h"

#include <QPainter>

namespace vcl {

TListViewModel::TListViewModel(TCustomListView* ListView)
    : QAbstractTableModel(ListView)
    , FListView(ListView)
{
}

int TListViewModel::ItemCount() const
{
    return FListView->Items()->Count();
}

int TListViewModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : FShownRows;
}

int TListViewModel::columnCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : FShownColumns;
}

QPixmap TListViewModel::ItemImage(TListItem* Item, bool Large, bool Selected) const
{
    TCustomImageList* images = Large ? FListView->LargeImages() : FListView->SmallImages();
    TCustomImageList* states = FListView->ShownStateImages();
    if (images)
        FListView->GetImageIndex(Item);
    const bool hasState = states && Item->StateIndex() >= 0 && Item->StateIndex() < states->Count();
    const bool hasImage = images && Item->ImageIndex() >= 0 && Item->ImageIndex() < images->Count();
    if (!hasState && !hasImage)
        return {};
    const int stateWidth = hasState ? states->Width() : 0;
    const int width = stateWidth + (images ? images->Width() : 0);
    const int height = std::max(hasState ? states->Height() : 0, images ? images->Height() : 0);
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (hasState)
        painter.drawImage(0, 0, states->Composite(Item->StateIndex(), -1, dsNormal, true));
    if (hasImage)
        painter.drawImage(stateWidth, 0,
            images->Composite(Item->ImageIndex(), Item->OverlayIndex(), Selected ? dsSelected : dsNormal,
                FListView->Enabled(), Item->Cut()));
    return pixmap;
}

QVariant TListViewModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= ItemCount())
        return {};
    TListItem* item = FListView->ItemAtRow(Index.row());
    const int column = Index.column();
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == 0)
            return item->Caption();
        return column - 1 < item->SubItems().Count() ? item->SubItems()[column - 1] : QString();
    case Qt::DecorationRole:
        if (column != 0)
            return {};
        return ItemImage(item, FListView->ViewStyle() == vsIcon, false);
    case Qt::TextAlignmentRole: {
        if (FListView->ViewStyle() != vsReport || column >= FListView->Columns()->Count())
            return {};
        const TAlignment alignment = FListView->Columns()->Items(column)->Alignment();
        const Qt::Alignment horizontal = alignment == taRightJustify ? Qt::AlignRight
            : alignment == taCenter                                  ? Qt::AlignHCenter
                                                                     : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    default: return {};
    }
}

bool TListViewModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    if (Role != Qt::EditRole || !Index.isValid() || Index.column() != 0 || Index.row() >= ItemCount())
        return false;
    FListView->EndEdit(FListView->ItemAtRow(Index.row()), Value.toString());
    return true;
}

Qt::ItemFlags TListViewModel::flags(const QModelIndex& Index) const
{
    if (!Index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (Index.column() == 0 && !FListView->ReadOnly())
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant TListViewModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Section >= FListView->Columns()->Count())
        return {};
    if (Role == Qt::DisplayRole)
        return FListView->Columns()->Items(Section)->Caption();
    return {};
}

QModelIndexList TListViewModel::match(
    const QModelIndex& Start, int Role, const QVariant& Value, int Hits, Qt::MatchFlags Flags) const
{
    if (!FListView->OwnerData())
        return QAbstractTableModel::match(Start, Role, Value, Hits, Flags);
    if (Role != Qt::DisplayRole)
        return {};
    const TItemFind find = Flags.testFlag(Qt::MatchStartsWith) ? ifPartialString : ifExactString;
    const int row = FListView->OwnerDataFind(
        find, Value.toString(), TPoint(), nullptr, Start.row(), sdAll, Flags.testFlag(Qt::MatchWrap));
    if (row < 0 || row >= rowCount())
        return {};
    return {index(row, 0)};
}

void TListViewModel::InsertRows(int Row, int Count, const std::function<void()>& Change)
{
    if (FUpdateCount > 0) {
        FStructureChanged = FStructureChanged || Row < ItemCount();
        Change();
        return;
    }
    beginInsertRows(QModelIndex(), Row, Row + Count - 1);
    Change();
    FShownRows = ItemCount();
    endInsertRows();
}

void TListViewModel::RemoveRows(int Row, int Count, const std::function<void()>& Change)
{
    if (FUpdateCount > 0) {
        FStructureChanged = true;
        Change();
        return;
    }
    beginRemoveRows(QModelIndex(), Row, Row + Count - 1);
    Change();
    FShownRows = ItemCount();
    endRemoveRows();
}

void TListViewModel::Reset(const std::function<void()>& Change)
{
    if (FUpdateCount > 0) {
        FStructureChanged = true;
        Change();
        return;
    }
    beginResetModel();
    Change();
    FShownRows = ItemCount();
    endResetModel();
}

void TListViewModel::Reorder(const std::function<void()>& Change)
{
    if (FUpdateCount > 0) {
        FStructureChanged = true;
        Change();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<TListItem*> items;
    items.reserve(size_t(before.size()));
    for (const QModelIndex& index : before)
        items.push_back(index.row() < ItemCount() ? FListView->ItemAtRow(index.row()) : nullptr);
    Change();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(items[size_t(i)] ? index(items[size_t(i)]->Index(), before[i].column()) : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TListViewModel::EndUpdate()
{
    if (FUpdateCount == 0 || --FUpdateCount > 0)
        return;
    // Rows the views already showed may have changed under them.
    const int shownBefore = std::min(FShownRows, ItemCount());
    if (FStructureChanged) {
        FStructureChanged = false;
        beginResetModel();
        FShownRows = ItemCount();
        endResetModel();
    } else if (ItemCount() > FShownRows) {
        beginInsertRows(QModelIndex(), FShownRows, ItemCount() - 1);
        FShownRows = ItemCount();
        endInsertRows();
    }
    if (shownBefore > 0)
        emit dataChanged(index(0, 0), index(shownBefore - 1, FShownColumns - 1));
}

void TListViewModel::RowChanged(int Row)
{
    if (FUpdateCount == 0 && Row >= 0 && Row < FShownRows)
        emit dataChanged(index(Row, 0), index(Row, FShownColumns - 1));
}

void TListViewModel::ColumnsChanged()
{
    const int columns = std::max(1, FListView->Columns()->Count());
    if (columns > FShownColumns) {
        beginInsertColumns(QModelIndex(), FShownColumns, columns - 1);
        FShownColumns = columns;
        endInsertColumns();
    } else if (columns < FShownColumns) {
        beginRemoveColumns(QModelIndex(), columns, FShownColumns - 1);
        FShownColumns = columns;
        endRemoveColumns();
    }
    emit headerDataChanged(Qt::Horizontal, 0, FShownColumns - 1);
}

} // namespace vcl
