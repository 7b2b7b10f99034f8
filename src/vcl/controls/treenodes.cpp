#include "vcl/controls/treenodes.h"

#include "vcl/controls/treeview.h"
#include "vcl/controls/treeviewmodel.h"

#include <QTreeView>

namespace vcl {

// ---------------------------------------------------------------------------
// TTreeNode

TCustomTreeView* TTreeNode::TreeView() const
{
    return FOwner->Owner();
}

void TTreeNode::Changed()
{
    TreeView()->FModel->NodeChanged(this);
}

void TTreeNode::SetText(const QString& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    Changed();
    TreeView()->KeepSorted(FParent);
}

void TTreeNode::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    Changed();
}

void TTreeNode::SetSelectedIndex(int Value)
{
    if (Value == FSelectedIndex)
        return;
    FSelectedIndex = Value;
    Changed();
}

void TTreeNode::SetOverlayIndex(int Value)
{
    if (Value == FOverlayIndex)
        return;
    FOverlayIndex = Value;
    Changed();
}

void TTreeNode::SetStateIndex(int Value)
{
    if (Value == FStateIndex)
        return;
    FStateIndex = Value;
    Changed();
}

void TTreeNode::SetHasChildren(bool Value)
{
    if (Value == FHasChildren)
        return;
    FHasChildren = Value;
    // The view reads the button state again only when the row is laid out anew.
    TreeView()->FModel->Reorder([] {});
}

void TTreeNode::SetExpanded(bool Value)
{
    if (Value == FExpanded)
        return;
    TCustomTreeView* tree = TreeView();
    if (tree->Notify(TVN_ITEMEXPANDING, this, Value) != 0)
        return;
    FExpanded = Value;
    tree->ShowExpanded(this, Value);
    tree->Notify(TVN_ITEMEXPANDED, this, Value);
}

void TTreeNode::Expand(bool Recurse)
{
    SetExpanded(true);
    if (Recurse)
        for (size_t i = 0; i < FChildren.size(); ++i)
            FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    if (Recurse)
        for (auto& child : FChildren)
            child->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::Selected() const
{
    return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool Value)
{
    if (Value)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

TTreeNode* TTreeNode::Parent() const
{
    return FParent && FParent->FParent ? FParent : nullptr;
}

TTreeNode* TTreeNode::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FChildren[size_t(Index)].get();
}

int TTreeNode::Level() const
{
    int level = 0;
    for (const TTreeNode* node = Parent(); node; node = node->Parent())
        ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const
{
    int index = 0;
    for (const TTreeNode* node = FOwner->GetFirstNode(); node && node != this; node = node->GetNext())
        ++index;
    return index;
}

TTreeNode* TTreeNode::getNextSibling() const
{
    return FParent && FIndex + 1 < FParent->Count() ? FParent->FChildren[size_t(FIndex + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const
{
    return FParent && FIndex > 0 ? FParent->FChildren[size_t(FIndex - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (TTreeNode* child = GetFirstChild())
        return child;
    for (const TTreeNode* node = this; node; node = node->Parent())
        if (TTreeNode* sibling = node->getNextSibling())
            return sibling;
    return nullptr;
}

bool TTreeNode::IsParentOf(const TTreeNode* Node) const
{
    for (const TTreeNode* node = Node ? Node->Parent() : nullptr; node; node = node->Parent())
        if (node == this)
            return true;
    return false;
}

void TTreeNode::Delete()
{
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren()
{
    FOwner->DeleteChildren(this);
}

bool TTreeNode::EditText()
{
    QTreeView* view = TreeView()->View();
    const QModelIndex index = TreeView()->FModel->IndexOf(this);
    if (!index.isValid())
        return false;
    view->setCurrentIndex(index);
    view->edit(index);
    return TreeView()->IsEditing();
}

TRect TTreeNode::DisplayRect(bool TextOnly) const
{
    QTreeView* view = TreeView()->View();
    QRect rect = view->visualRect(TreeView()->FModel->IndexOf(this));
    if (!TextOnly)
        rect = QRect(0, rect.top(), view->viewport()->width(), rect.height());
    return TRect::FromQRect(rect.translated(view->viewport()->mapTo(TreeView(), QPoint(0, 0))));
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* node = Parent(); node; node = node->Parent())
        node->SetExpanded(true);
    TreeView()->View()->scrollTo(TreeView()->FModel->IndexOf(this));
}

bool TTreeNode::AlphaSort(bool Recurse)
{
    return CustomSort(nullptr, 0, Recurse);
}

bool TTreeNode::CustomSort(const TTVCompare& Compare, intptr_t Data, bool Recurse)
{
    return TreeView()->SortChildren(this, Compare, Data, Recurse);
}

void TTreeNode::Renumber(int From)
{
    for (size_t i = size_t(From); i < FChildren.size(); ++i)
        FChildren[i]->FIndex = int(i);
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* Owner)
    : FOwner(Owner)
    , FRoot(this, nullptr)
{
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Item(int Index) const
{
    if (Index < 0 || Index >= FCount)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    TTreeNode* node = GetFirstNode();
    for (int i = 0; i < Index; ++i)
        node = node->GetNext();
    return node;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, int Index, const QString& S, void* Ptr)
{
    TTreeNode* node = nullptr;
    FOwner->FModel->InsertNode(Parent, Index, [&] {
        auto created = std::make_unique<TTreeNode>(this, Parent);
        created->FText = S;
        created->FData = Ptr;
        node = Parent->FChildren.insert(Parent->FChildren.begin() + Index, std::move(created))->get();
        Parent->Renumber(Index);
        ++FCount;
    });
    if (FOwner->Checkboxes())
        node->FStateIndex = 0;
    if (FUpdateCount == 0)
        FOwner->KeepSorted(Parent);
    return node;
}

namespace {

TTreeNode* SiblingsParent(TTreeNode* Sibling, TTreeNode* Root)
{
    return Sibling && Sibling->Parent() ? Sibling->Parent() : Root;
}

} // namespace

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const QString& S)
{
    return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const QString& S, void* Ptr)
{
    TTreeNode* parent = SiblingsParent(Sibling, &FRoot);
    return InsertNode(parent, parent->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const QString& S)
{
    return InsertNode(SiblingsParent(Sibling, &FRoot), 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const QString& S)
{
    return AddChildObject(Parent, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const QString& S, void* Ptr)
{
    TTreeNode* parent = Parent ? Parent : &FRoot;
    return InsertNode(parent, parent->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const QString& S)
{
    return InsertNode(Parent ? Parent : &FRoot, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const QString& S)
{
    if (!Sibling)
        return Add(nullptr, S);
    return InsertNode(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::NotifyDeletion(TTreeNode* Node)
{
    for (auto& child : Node->FChildren)
        NotifyDeletion(child.get());
    FOwner->Notify(TVN_DELETEITEM, Node);
}

namespace {

int CountNodes(const TTreeNode* Node)
{
    int count = Node->Count();
    for (int i = 0; i < Node->Count(); ++i)
        count += CountNodes(Node->Item(i));
    return count;
}

} // namespace

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node || Node->FOwner != this || !Node->FParent)
        return;
    NotifyDeletion(Node);
    TTreeNode* parent = Node->FParent;
    const int row = Node->Index();
    FOwner->FDeleting = true;
    FOwner->FModel->RemoveNode(parent, row, 1, [&] {
        FCount -= 1 + CountNodes(Node);
        parent->FChildren.erase(parent->FChildren.begin() + row);
        parent->Renumber(row);
    });
    FOwner->FDeleting = false;
}

void TTreeNodes::DeleteChildren(TTreeNode* Node)
{
    for (auto& child : Node->FChildren)
        NotifyDeletion(child.get());
    FOwner->FDeleting = true;
    FOwner->FModel->RemoveNode(Node, 0, Node->Count(), [&] {
        FCount -= CountNodes(Node);
        Node->FChildren.clear();
    });
    FOwner->FDeleting = false;
}

void TTreeNodes::Clear()
{
    DeleteChildren(&FRoot);
}

void TTreeNodes::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        FOwner->View()->setUpdatesEnabled(false);
    FOwner->FModel->BeginUpdate();
}

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    FOwner->FModel->EndUpdate();
    if (--FUpdateCount > 0)
        return;
    FOwner->View()->setUpdatesEnabled(true);
    if (FOwner->SortType() != stNone)
        FOwner->AlphaSort(true);
}

} // namespace vcl
