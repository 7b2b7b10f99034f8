#include "vcl/controls/treeview.h"

#include "vcl/controls/itemviews.h"
#include "vcl/controls/controlevents.h"
#include "vcl/controls/treeviewmodel.h"
#include "vcl/streaming/classregistry.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>

namespace vcl {

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWidgetControl(AOwner, new TGuardedEditView<QTreeView>)
    , FItems(std::make_unique<TTreeNodes>(this))
{
    SetControlStyle(ControlStyle() | csClickEvents);
    SetColor(clWindow);
    FModel = new TTreeViewModel(this);
    FView = static_cast<TGuardedEditView<QTreeView>*>(InnerWidget());
    FView->setModel(FModel);
    FView->setHeaderHidden(true);
    FView->setUniformRowHeights(true);
    FView->setAnimated(false);
    FView->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    FView->setItemDelegate(new TItemViewDelegate(
        FView, [this](QStyleOptionViewItem& Option, const QModelIndex& Index) { PrepareCell(Option, Index); },
        nullptr));
    FView->MayEdit = [this](const QModelIndex& Index) {
        return CanEdit(FModel->NodeOf(Index));
    };
    FView->viewport()->installEventFilter(this);
    ConnectView();
    ApplyLook();
    SetBounds(0, 0, 150, 200);
}

TCustomTreeView::~TCustomTreeView()
{
    // Every node is told of its deletion, also when the control goes.
    Destroying();
    FItems->Clear();
    // The view outlives the nodes (it is a child widget): it must not ask about them.
    FView->setModel(nullptr);
}

void TCustomTreeView::ConnectView()
{
    connect(FView, &QTreeView::expanded, this, [this](const QModelIndex& Index) {
        if (!FSyncing)
            ViewExpanded(FModel->NodeOf(Index));
    });
    connect(FView, &QTreeView::collapsed, this, [this](const QModelIndex& Index) {
        if (!FSyncing)
            ViewCollapsed(FModel->NodeOf(Index));
    });
    connect(FView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& Current, const QModelIndex& Previous) {
            if (!FSyncing)
                CurrentChanged(Current.isValid() ? FModel->NodeOf(Current) : nullptr,
                    Previous.isValid() ? FModel->NodeOf(Previous) : nullptr);
        });
}

void TCustomTreeView::ApplyLook()
{
    FView->setRootIsDecorated(FShowRoot && FShowButtons);
    FView->setItemsExpandable(true);
    // Without buttons the nodes still expand by keyboard and double-click.
    FView->setStyleSheet(FShowButtons ? QString() : QStringLiteral("QTreeView::branch { image: none; }"));
    const int size = FImages ? FImages->Height() : 16;
    FView->setIconSize(QSize(size + (FStateImages ? FStateImages->Width() : 0), size));
    FView->viewport()->update();
}

void TCustomTreeView::SetShowButtons(bool Value)
{
    if (Value == FShowButtons)
        return;
    FShowButtons = Value;
    ApplyLook();
}

void TCustomTreeView::SetShowRoot(bool Value)
{
    if (Value == FShowRoot)
        return;
    FShowRoot = Value;
    ApplyLook();
}

void TCustomTreeView::SetHideSelection(bool Value)
{
    if (Value == FHideSelection)
        return;
    FHideSelection = Value;
    ApplyLook();
}

void TCustomTreeView::SetImageList(TCustomImageList*& Field, TCustomImageList* Value)
{
    if (ReplaceImageList(*this, Field, Value))
        ApplyLook();
}

void TCustomTreeView::SetImages(TCustomImageList* Value)
{
    SetImageList(FImages, Value);
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value)
{
    SetImageList(FStateImages, Value);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWidgetControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    for (TCustomImageList** field : {&FImages, &FStateImages})
        if (*field == AComponent) {
            *field = nullptr;
            ApplyLook();
        }
}

TTreeNode* TCustomTreeView::Selected() const
{
    const QModelIndex current = FView->selectionModel()->currentIndex();
    return current.isValid() ? FModel->NodeOf(current) : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* Node)
{
    const QModelIndex index = FModel->IndexOf(Node);
    FView->selectionModel()->setCurrentIndex(
        index, index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const
{
    const QModelIndex index = FView->indexAt(FView->viewport()->mapFrom(this, QPoint(X, Y)));
    return index.isValid() ? FModel->NodeOf(index) : nullptr;
}

bool TCustomTreeView::IsEditing() const
{
    return FView->Editing();
}

void TCustomTreeView::FullExpand()
{
    for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->getNextSibling())
        node->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
    for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->getNextSibling())
        node->Collapse(true);
}

// ---------------------------------------------------------------------------
// Expansion and selection from the view

void TCustomTreeView::ShowExpanded(TTreeNode* Node, bool Value)
{
    FSyncing = true;
    FView->setExpanded(FModel->IndexOf(Node), Value);
    FSyncing = false;
}

void TCustomTreeView::ViewExpanded(TTreeNode* Node)
{
    // Qt has expanded the node already; OnExpanding still runs first, may read the
    // children (they appear under the open node) or refuse, which closes it again.
    if (!CanExpand(Node)) {
        ShowExpanded(Node, false);
        return;
    }
    Node->FExpanded = true;
    Expand(Node);
}

void TCustomTreeView::ViewCollapsed(TTreeNode* Node)
{
    if (!CanCollapse(Node)) {
        ShowExpanded(Node, true);
        return;
    }
    Node->FExpanded = false;
    Collapse(Node);
}

void TCustomTreeView::CurrentChanged(TTreeNode* Node, TTreeNode* Previous)
{
    // A control on its way out reports deletions only.
    if (ComponentState().testFlag(csDestroying))
        return;
    if (!FDeleting && !CanChange(Node)) {
        FSyncing = true;
        FView->selectionModel()->setCurrentIndex(FModel->IndexOf(Previous), QItemSelectionModel::ClearAndSelect);
        FSyncing = false;
        return;
    }
    Change(Node);
}

// ---------------------------------------------------------------------------
// Sorting

int TCustomTreeView::CompareNodes(TTreeNode* A, TTreeNode* B, const TTVCompare& Compare, intptr_t Data)
{
    if (Compare)
        return Compare(A, B, Data);
    if (OnCompare) {
        int result = 0;
        OnCompare(this, A, B, int(Data), result);
        return result;
    }
    const int folded = A->Text().compare(B->Text(), Qt::CaseInsensitive);
    return folded != 0 ? folded : A->Text().compare(B->Text(), Qt::CaseSensitive);
}

bool TCustomTreeView::SortChildren(TTreeNode* Parent, const TTVCompare& Compare, intptr_t Data, bool Recurse)
{
    FModel->Reorder([&] {
        // Stable merge sort: safe with an inconsistent handler's comparison.
        std::stable_sort(Parent->FChildren.begin(), Parent->FChildren.end(),
            [&](const std::unique_ptr<TTreeNode>& A, const std::unique_ptr<TTreeNode>& B) {
                return CompareNodes(A.get(), B.get(), Compare, Data) < 0;
            });
        Parent->Renumber(0);
    });
    if (Recurse)
        for (auto& child : Parent->FChildren)
            if (child->Count() > 1)
                SortChildren(child.get(), Compare, Data, true);
    return true;
}

bool TCustomTreeView::CustomSort(const TTVCompare& Compare, intptr_t Data, bool Recurse)
{
    return SortChildren(&FItems->FRoot, Compare, Data, Recurse);
}

bool TCustomTreeView::AlphaSort(bool Recurse)
{
    return CustomSort(nullptr, 0, Recurse);
}

// ---------------------------------------------------------------------------
// Notifications

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node)
{
    if (OnExpanded)
        OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node)
{
    if (OnCollapsed)
        OnCollapsed(this, Node);
}

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node)
{
    if (OnChange)
        OnChange(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node)
{
    bool allow = !FReadOnly && Node != nullptr;
    if (allow && OnEditing)
        OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, const QString& NewText)
{
    QString text = NewText;
    if (OnEdited)
        OnEdited(this, Node, text);
    Node->SetText(text);
}

void TCustomTreeView::Delete(TTreeNode* Node)
{
    if (OnDeletion)
        OnDeletion(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node)
{
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, Node);
}

// ---------------------------------------------------------------------------
// Drawing and input

void TCustomTreeView::PrepareCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    if (FHideSelection && !FView->hasFocus())
        Option.state &= ~QStyle::State_Selected;
    const bool selected = FModel->NodeOf(Index) == Selected();
    const QPixmap image = FModel->NodeImage(FModel->NodeOf(Index), selected);
    QIcon icon;
    if (!image.isNull()) {
        icon.addPixmap(image, QIcon::Normal);
        icon.addPixmap(image, QIcon::Selected);
    }
    Option.icon = icon;
}

bool TCustomTreeView::eventFilter(QObject* Watched, QEvent* Event)
{
    if (const std::unique_ptr<QMouseEvent> mouse = MouseEventForControl(this, FView, Watched, Event))
        return TWidgetControl::eventFilter(InnerWidget(), mouse.get());
    return TWidgetControl::eventFilter(Watched, Event);
}

} // namespace vcl

namespace vcl {

namespace {

// Form files create tree views by class name and bind their mouse and key events.
const bool TreeViewStreamed = (RegisterClasses({ClassOf<TTreeView>()}), PublishWindowEvents<TTreeView>());

} // namespace

} // namespace vcl
