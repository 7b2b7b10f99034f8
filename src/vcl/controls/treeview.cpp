#include "vcl/controls/treeview.h"

#include "vcl/controls/itemviews.h"
#include "vcl/controls/controlevents.h"
#include "vcl/controls/treeviewmodel.h"
#include "vcl/streaming/classregistry.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>

namespace vcl {

namespace {

// The platform's indent per level.
constexpr int DefaultIndent = 19;
constexpr int CheckBoxSize = 16;
// Half the size of an expansion button: the lines stop short of it.
constexpr int ButtonHalf = 5;
// Pixels around the image and text of a node that the selection covers without RowSelect.
constexpr int SelectionMargin = 6;

// Qt's tree view with the lines between nodes drawn by the control.
class TLinedTreeView : public TGuardedEditView<QTreeView> {
public:
    std::function<void(QPainter* Painter, const QRect& Rect, const QModelIndex& Index)> DrawLines;

protected:
    void drawBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const override
    {
        TGuardedEditView<QTreeView>::drawBranches(Painter, Rect, Index);
        if (DrawLines)
            DrawLines(Painter, Rect, Index);
    }
};

} // namespace

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWidgetControl(AOwner, new TLinedTreeView)
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
    FView->setIndentation(DefaultIndent);
    FView->setItemDelegate(new TItemViewDelegate(
        FView, [this](QStyleOptionViewItem& Option, const QModelIndex& Index) { PrepareCell(Option, Index); },
        [this](QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index) {
            return CustomDrawCell(Painter, Option, Index);
        }));
    FView->MayEdit = [this](const QModelIndex& Index) {
        return Notify(TVN_BEGINLABELEDIT, FModel->NodeOf(Index)) == 0;
    };
    static_cast<TLinedTreeView*>(FView)->DrawLines = [this](QPainter* Painter, const QRect& Rect, const QModelIndex& Index) {
        DrawLines(Painter, Rect, Index);
    };
    FChangeTimer = new QTimer(this);
    FChangeTimer->setSingleShot(true);
    connect(FChangeTimer, &QTimer::timeout, this, [this] { Change(Selected()); });
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
    const int state = ShownStateImages() ? ShownStateImages()->Width() : 0;
    FView->setIconSize(QSize(size + state, size));
    static_cast<TItemViewDelegate*>(FView->itemDelegate())
        ->SetStateClick(FCheckboxes ? state : 0, [this](const QModelIndex& Index) {
            return ToggleCheck(FModel->NodeOf(Index));
        });
    FView->viewport()->setMouseTracking(FHotTrack);
    FView->viewport()->update();
}

void TCustomTreeView::SetShowButtons(bool Value)
{
    if (Value == FShowButtons)
        return;
    FShowButtons = Value;
    ApplyLook();
}

void TCustomTreeView::SetShowLines(bool Value)
{
    if (Value == FShowLines)
        return;
    FShowLines = Value;
    ApplyLook();
}

void TCustomTreeView::SetChangeDelay(int Value)
{
    FChangeDelay = std::max(Value, 0);
}

void TCustomTreeView::SetHotTrack(bool Value)
{
    if (Value == FHotTrack)
        return;
    FHotTrack = Value;
    FHotNode = nullptr;
    ApplyLook();
}

int TCustomTreeView::Indent() const
{
    return FView->indentation();
}

void TCustomTreeView::SetIndent(int Value)
{
    FView->setIndentation(std::max(Value, 0));
}

void TCustomTreeView::SetRowSelect(bool Value)
{
    if (Value == FRowSelect)
        return;
    FRowSelect = Value;
    ApplyLook();
}

void TCustomTreeView::SetSortType(TSortType Value)
{
    if (Value == FSortType)
        return;
    FSortType = Value;
    if (FSortType != stNone)
        AlphaSort(true);
}

void TCustomTreeView::SetCheckboxes(bool Value)
{
    if (Value == FCheckboxes)
        return;
    FCheckboxes = Value;
    if (FCheckboxes && FCheckImages == nullptr)
        FCheckImages = CreateCheckBoxImages(this, CheckBoxSize);
    // Every node starts unchecked, as the platform gives each a check box.
    if (FCheckboxes)
        for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->GetNext())
            if (node->FStateIndex < 0)
                node->FStateIndex = 0;
    ApplyLook();
}

TCustomImageList* TCustomTreeView::ShownStateImages() const
{
    return FCheckboxes ? FCheckImages : FStateImages;
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
    if (Notify(TVN_ITEMEXPANDING, Node, true) != 0) {
        ShowExpanded(Node, false);
        return;
    }
    Node->FExpanded = true;
    Notify(TVN_ITEMEXPANDED, Node, true);
}

void TCustomTreeView::ViewCollapsed(TTreeNode* Node)
{
    if (Notify(TVN_ITEMEXPANDING, Node, false) != 0) {
        ShowExpanded(Node, true);
        return;
    }
    Node->FExpanded = false;
    Notify(TVN_ITEMEXPANDED, Node, false);
}

void TCustomTreeView::CurrentChanged(TTreeNode* Node, TTreeNode* Previous)
{
    // A control on its way out reports deletions only.
    if (ComponentState().testFlag(csDestroying))
        return;
    TNMTreeView record;
    record.Node = Node;
    record.OldNode = Previous;
    record.hdr.code = TVN_SELCHANGING;
    if (!FDeleting && Notify(record) != 0) {
        FSyncing = true;
        FView->selectionModel()->setCurrentIndex(FModel->IndexOf(Previous), QItemSelectionModel::ClearAndSelect);
        FSyncing = false;
        return;
    }
    record.hdr.code = TVN_SELCHANGED;
    Notify(record);
}

void TCustomTreeView::ApplyAutoExpand(TTreeNode* Node, TTreeNode* Previous)
{
    // The previous branch closes up to the first node that also leads to the new one.
    for (TTreeNode* old = Previous; old; old = old->Parent()) {
        bool leadsToNode = false;
        for (TTreeNode* up = Node; up && !leadsToNode; up = up->Parent())
            leadsToNode = up == old;
        if (leadsToNode)
            break;
        old->SetExpanded(false);
    }
    if (Node)
        Node->SetExpanded(true);
}

void TCustomTreeView::RestoreView(TTreeNode* Current)
{
    FSyncing = true;
    for (TTreeNode* node = FItems->GetFirstNode(); node; node = node->GetNext())
        if (node->FExpanded)
            FView->setExpanded(FModel->IndexOf(node), true);
    FView->selectionModel()->setCurrentIndex(FModel->IndexOf(Current), QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
}

void TCustomTreeView::KeepSorted(TTreeNode* Parent)
{
    if (FSortType != stNone && Parent && !FItems->Updating() && Parent->Count() > 1)
        SortChildren(Parent, nullptr, 0, false);
}

bool TCustomTreeView::ToggleCheck(TTreeNode* Node)
{
    if (!FCheckboxes || Node == nullptr || !Node->FParent)
        return false;
    Node->SetStateIndex(Node->StateIndex() == 1 ? 0 : 1);
    return true;
}

// ---------------------------------------------------------------------------
// Sorting

int TCustomTreeView::CompareNodes(TTreeNode* A, TTreeNode* B, const TTVCompare& Compare, intptr_t Data)
{
    if (Compare)
        return Compare(A, B, Data);
    if (OnCompare && FSortType != stText) {
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

LRESULT TCustomTreeView::Notify(TNMTreeView& Record)
{
    if (HandleAllocated())
        Record.hdr.hwndFrom = Handle();
    return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&Record));
}

LRESULT TCustomTreeView::Notify(int Code, TTreeNode* Node, bool Expand)
{
    TNMTreeView record;
    record.hdr.code = Code;
    record.Node = Node;
    record.Expand = Expand;
    return Notify(record);
}

void TCustomTreeView::EndEdit(TTreeNode* Node, const QString& NewText)
{
    QString text = NewText;
    TNMTreeView record;
    record.hdr.code = TVN_ENDLABELEDIT;
    record.Node = Node;
    record.Text = &text;
    Notify(record);
}

void TCustomTreeView::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    default: TWidgetControl::Dispatch(Message);
    }
}

void TCustomTreeView::CNNotify(TMessage& Message)
{
    TNMTreeView& record = *reinterpret_cast<TNMTreeView*>(Message.LParam);
    switch (record.hdr.code) {
    case TVN_SELCHANGING: Message.Result = CanChange(record.Node) ? 0 : 1; break;
    case TVN_SELCHANGED:
        if (FChangeDelay > 0)
            FChangeTimer->start(FChangeDelay);
        else
            Change(record.Node);
        if (FAutoExpand)
            ApplyAutoExpand(record.Node, record.OldNode);
        break;
    case TVN_ITEMEXPANDING:
        Message.Result = (record.Expand ? CanExpand(record.Node) : CanCollapse(record.Node)) ? 0 : 1;
        break;
    case TVN_ITEMEXPANDED:
        if (record.Expand)
            Expand(record.Node);
        else
            Collapse(record.Node);
        break;
    case TVN_DELETEITEM: Delete(record.Node); break;
    case TVN_BEGINLABELEDIT: Message.Result = CanEdit(record.Node) ? 0 : 1; break;
    case TVN_ENDLABELEDIT: Edit(record.Node, *record.Text); break;
    default: break;
    }
}

void TCustomTreeView::WMContextMenu(TMessage& Message)
{
    ShowContextPopup(this, FView, Message);
}

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
    TTreeNode* node = FModel->NodeOf(Index);
    const bool selected = node == Selected();
    const QPixmap image = FModel->NodeImage(node, selected);
    QIcon icon;
    if (!image.isNull()) {
        icon.addPixmap(image, QIcon::Normal);
        icon.addPixmap(image, QIcon::Selected);
    }
    Option.icon = icon;
    // State image first, then the image, from the left of the room for both.
    Option.decorationAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (FHotTrack && node == FHotNode)
        Option.font.setUnderline(true);
    if (!FRowSelect) {
        // The selection covers the image and the text only.
        const int used = (image.isNull() ? 0 : FView->iconSize().width())
            + QFontMetrics(Option.font).horizontalAdvance(node->Text()) + 2 * SelectionMargin;
        Option.rect.setWidth(std::min(Option.rect.width(), used));
    }
}

void TCustomTreeView::DrawLines(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const
{
    if (!FShowLines)
        return;
    const int indent = FView->indentation();
    TTreeNode* node = FModel->NodeOf(Index);
    // Column of the node's own button, counted from the left of the branch area.
    int column = node->Level() - (FView->rootIsDecorated() ? 0 : 1);
    if (column < 0)
        return;
    Painter->save();
    Painter->setPen(ToQColor(clGray));
    // Every other pixel from (X1, Y1) to (X2, Y2) on a horizontal or vertical line.
    const auto dotted = [&](int X1, int Y1, int X2, int Y2) {
        const QPoint step(X1 == X2 ? 0 : 2, Y1 == Y2 ? 0 : 2);
        if (step.isNull()) {
            Painter->drawPoint(X1, Y1);
            return;
        }
        for (QPoint p(X1, Y1); p.x() <= X2 && p.y() <= Y2; p += step)
            Painter->drawPoint(p);
    };
    const int mid = Rect.top() + Rect.height() / 2;
    const int gap = node->HasChildren() && FShowButtons ? ButtonHalf : 0;
    const int x = Rect.left() + column * indent + indent / 2;
    // The node's own column: up to its parent or previous sibling, across to the text,
    // and on down to its next sibling.
    const bool firstAtTop = !node->Parent() && node->Index() == 0;
    dotted(x, firstAtTop ? mid : Rect.top(), x, mid - gap);
    dotted(x + gap + (gap ? 2 : 0), mid, Rect.left() + (column + 1) * indent, mid);
    if (node->getNextSibling())
        dotted(x, mid + gap + (gap ? 2 : 0), x, Rect.bottom());
    // Ancestors that have siblings below continue their lines through this row.
    for (TTreeNode* up = node->Parent(); up && --column >= 0; up = up->Parent())
        if (up->getNextSibling())
            dotted(Rect.left() + column * indent + indent / 2, Rect.top(), Rect.left() + column * indent + indent / 2,
                Rect.bottom());
    Painter->restore();
}

bool TCustomTreeView::CustomDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index)
{
    if (!OnCustomDrawItem)
        return true;
    TTreeNode* node = FModel->NodeOf(Index);
    return FDraw.DrawCell(this, FView, Painter, Option, [&](TCustomDrawState State, bool& DefaultDraw) {
        if (FHotTrack && node == FHotNode)
            State |= cdsHot;
        OnCustomDrawItem(this, node, State, DefaultDraw);
    });
}

TCanvas* TCustomTreeView::Canvas()
{
    return FDraw.Drawing() ? FDraw.Canvas() : TWidgetControl::Canvas();
}

bool TCustomTreeView::FilterViewportEvent(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::Paint:
        return OnCustomDraw && FDraw.DrawArea(this, FView->viewport(), [this](const TRect& Rect, bool& DefaultDraw) {
            OnCustomDraw(this, Rect, DefaultDraw);
        });
    case QEvent::MouseMove:
    case QEvent::Leave: {
        if (!FHotTrack)
            return false;
        const QModelIndex at = Event->type() == QEvent::Leave
            ? QModelIndex()
            : FView->indexAt(static_cast<QMouseEvent*>(Event)->position().toPoint());
        TTreeNode* hot = at.isValid() ? FModel->NodeOf(at) : nullptr;
        if (hot != FHotNode) {
            FHotNode = hot;
            FView->viewport()->update();
        }
        return false;
    }
    case QEvent::ToolTip: {
        // A tip only for a node whose text is cut off.
        const QPoint at = static_cast<QHelpEvent*>(Event)->pos();
        const QModelIndex index = FView->indexAt(at);
        const bool cut = index.isValid()
            && FView->visualRect(index).left() + FView->iconSize().width()
                    + FView->fontMetrics().horizontalAdvance(FModel->NodeOf(index)->Text()) + SelectionMargin
                > FView->viewport()->width();
        if (!FToolTips || !cut) {
            QToolTip::hideText();
            return true;
        }
        return false;
    }
    default: return false;
    }
}

bool TCustomTreeView::eventFilter(QObject* Watched, QEvent* Event)
{
    const auto send = [this](unsigned Msg, WPARAM WParam, LPARAM LParam) { return SendToWindow(Msg, WParam, LParam); };
    if (Watched == FView && IsKeyOrFocusEvent(Event)) {
        if (TWidgetControl::eventFilter(Watched, Event))
            return true;
        if (FCheckboxes && Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Space
            && ToggleCheck(Selected()))
            return true;
        return TranslateContextMenu(this, FView, Watched, Event, send);
    }
    if (Watched == FView->viewport() && FilterViewportEvent(Event))
        return true;
    if (TranslateContextMenu(this, FView, Watched, Event, send))
        return true;
    if (const std::unique_ptr<QMouseEvent> mouse = MouseEventForControl(this, FView, Watched, Event)) {
        TWidgetControl::eventFilter(InnerWidget(), mouse.get());
        // Without RightClickSelect the right button leaves the selection alone.
        return mouse->button() == Qt::RightButton && !FRightClickSelect
            && Event->type() == QEvent::MouseButtonPress;
    }
    return TWidgetControl::eventFilter(Watched, Event);
}

} // namespace vcl

namespace vcl {

namespace {

// Form files create tree views by class name and bind their mouse and key events.
const bool TreeViewStreamed = (RegisterClasses({ClassOf<TTreeView>()}), PublishWindowEvents<TTreeView>());
const bool TreeViewEvents = RegisterEvent(&TCustomTreeView::OnChange, "OnChange")
    && RegisterEvent(&TCustomTreeView::OnChanging, "OnChanging")
    && RegisterEvent(&TCustomTreeView::OnCollapsed, "OnCollapsed")
    && RegisterEvent(&TCustomTreeView::OnCollapsing, "OnCollapsing")
    && RegisterEvent(&TCustomTreeView::OnCompare, "OnCompare")
    && RegisterEvent(&TCustomTreeView::OnCustomDraw, "OnCustomDraw")
    && RegisterEvent(&TCustomTreeView::OnCustomDrawItem, "OnCustomDrawItem")
    && RegisterEvent(&TCustomTreeView::OnDeletion, "OnDeletion")
    && RegisterEvent(&TCustomTreeView::OnEdited, "OnEdited")
    && RegisterEvent(&TCustomTreeView::OnEditing, "OnEditing")
    && RegisterEvent(&TCustomTreeView::OnExpanded, "OnExpanded")
    && RegisterEvent(&TCustomTreeView::OnExpanding, "OnExpanding")
    && RegisterEvent(&TCustomTreeView::OnGetImageIndex, "OnGetImageIndex")
    && RegisterEvent(&TCustomTreeView::OnGetSelectedIndex, "OnGetSelectedIndex");

} // namespace

} // namespace vcl
