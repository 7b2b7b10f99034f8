#include "vcl/controls/treeviewmodel.h"

#include "vcl/controls/treeview.h"

#include <QPainter>

namespace vcl {

TTreeViewModel::TTreeViewModel(TCustomTreeView* TreeView)
    : QAbstractItemModel(TreeView)
    , FTreeView(TreeView)
{
}

TTreeNode* TTreeViewModel::NodeOf(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<TTreeNode*>(Index.internalPointer()) : &FTreeView->FItems->FRoot;
}

QModelIndex TTreeViewModel::IndexOf(const TTreeNode* Node) const
{
    if (!Node || !Node->FParent)
        return {};
    return createIndex(Node->FIndex, 0, const_cast<TTreeNode*>(Node));
}

QModelIndex TTreeViewModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    const TTreeNode* parent = NodeOf(Parent);
    if (Column != 0 || Row < 0 || Row >= parent->Count())
        return {};
    return createIndex(Row, 0, parent->FChildren[size_t(Row)].get());
}

QModelIndex TTreeViewModel::parent(const QModelIndex& Child) const
{
    return Child.isValid() ? IndexOf(NodeOf(Child)->FParent) : QModelIndex();
}

int TTreeViewModel::rowCount(const QModelIndex& Parent) const
{
    return NodeOf(Parent)->Count();
}

int TTreeViewModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TTreeViewModel::hasChildren(const QModelIndex& Parent) const
{
    return NodeOf(Parent)->HasChildren();
}

QPixmap TTreeViewModel::NodeImage(TTreeNode* Node, bool Selected) const
{
    TCustomImageList* images = FTreeView->Images();
    TCustomImageList* states = FTreeView->ShownStateImages();
    if (images && Selected)
        FTreeView->GetSelectedIndex(Node);
    else if (images)
        FTreeView->GetImageIndex(Node);
    const int image = Selected ? Node->SelectedIndex() : Node->ImageIndex();
    const bool hasState = states && Node->StateIndex() >= 0 && Node->StateIndex() < states->Count();
    const bool hasImage = images && image >= 0 && image < images->Count();
    if (!hasState && !hasImage)
        return {};
    const int stateWidth = states ? states->Width() : 0;
    QPixmap pixmap(stateWidth + (images ? images->Width() : 0),
        std::max(states ? states->Height() : 0, images ? images->Height() : 0));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (hasState)
        painter.drawImage(0, 0, states->Composite(Node->StateIndex(), -1, dsNormal, true));
    if (hasImage)
        painter.drawImage(stateWidth, 0, images->Composite(image, Node->OverlayIndex(), dsNormal, FTreeView->Enabled()));
    return pixmap;
}

QVariant TTreeViewModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid())
        return {};
    TTreeNode* node = NodeOf(Index);
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return node->Text();
    case Qt::DecorationRole: return NodeImage(node, false);
    case Qt::ToolTipRole: return FTreeView->ToolTips() ? node->Text() : QVariant();
    default: return {};
    }
}

bool TTreeViewModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    if (Role != Qt::EditRole || !Index.isValid())
        return false;
    FTreeView->EndEdit(NodeOf(Index), Value.toString());
    return true;
}

Qt::ItemFlags TTreeViewModel::flags(const QModelIndex& Index) const
{
    if (!Index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!FTreeView->ReadOnly())
        result |= Qt::ItemIsEditable;
    return result;
}

void TTreeViewModel::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Flush();
}

void TTreeViewModel::Flush()
{
    if (!FPending)
        return;
    FPending = false;
    TTreeNode* current = FTreeView->Selected();
    beginResetModel();
    endResetModel();
    FTreeView->RestoreView(current);
}

void TTreeViewModel::InsertNode(TTreeNode* Parent, int Row, const std::function<void()>& Change)
{
    if (FUpdateCount > 0) {
        Change();
        FPending = true;
        return;
    }
    beginInsertRows(IndexOf(Parent), Row, Row);
    Change();
    endInsertRows();
}

void TTreeViewModel::RemoveNode(TTreeNode* Parent, int Row, int Count, const std::function<void()>& Change)
{
    if (Count <= 0) {
        Change();
        return;
    }
    Flush();
    beginRemoveRows(IndexOf(Parent), Row, Row + Count - 1);
    Change();
    endRemoveRows();
}

void TTreeViewModel::Reorder(const std::function<void()>& Change)
{
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    Change();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(IndexOf(NodeOf(index)));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void TTreeViewModel::NodeChanged(TTreeNode* Node)
{
    const QModelIndex index = IndexOf(Node);
    if (index.isValid())
        emit dataChanged(index, index);
}

} // namespace vcl
