#pragma once
// The Qt model behind a tree view: an index per node, its internal pointer the node.
#include <QAbstractItemModel>
#include <QPixmap>
#include <functional>

namespace vcl {

class TCustomTreeView;
class TTreeNode;

class TTreeViewModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TTreeViewModel(TCustomTreeView* TreeView);

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& Child) const override;
    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

    TTreeNode* NodeOf(const QModelIndex& Index) const;
    QModelIndex IndexOf(const TTreeNode* Node) const;
    // Inside Items.BeginUpdate a node added is not told to the views one by one: the
    // last EndUpdate resets the model once (and the control restores expansion and
    // selection). A removal inside the update tells of the additions first.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void InsertNode(TTreeNode* Parent, int Row, const std::function<void()>& Change);
    void RemoveNode(TTreeNode* Parent, int Row, int Count, const std::function<void()>& Change);
    // A new order of the same nodes; expansion, selection and current node follow them.
    void Reorder(const std::function<void()>& Change);
    void NodeChanged(TTreeNode* Node);
    // The node's state image, then its image (the selected one when Selected) with overlay.
    QPixmap NodeImage(TTreeNode* Node, bool Selected) const;

private:
    // Tells the views of the additions made inside the update so far.
    void Flush();

    TCustomTreeView* FTreeView;
    int FUpdateCount = 0;
    bool FPending = false;
};

} // namespace vcl
