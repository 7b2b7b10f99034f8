#pragma once
// The tree view: nodes with an image and a text in a hierarchy, shown through Qt's
// tree view over a model of our own (treeviewmodel.h). A node may claim children it
// has not read yet (HasChildren); OnExpanding reads them, or refuses the expansion.
#include "vcl/controls/listview.h"
#include "vcl/controls/treenodes.h"

#include <QTreeView>

namespace vcl {

class TTreeViewModel;

// The CN_NOTIFY record of a tree view; the fields a code does not use keep their defaults.
struct TNMTreeView {
    TNMHdr hdr;
    TTreeNode* Node = nullptr;
    // TVN_SELCHANGING, TVN_SELCHANGED: the node selected before.
    TTreeNode* OldNode = nullptr;
    // TVN_ITEMEXPANDING, TVN_ITEMEXPANDED: expanding (true) or collapsing.
    bool Expand = false;
    // TVN_ENDLABELEDIT: the edited text (the handlers may change it).
    QString* Text = nullptr;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, QString& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;
using TTVCustomDrawEvent = std::function<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;

class TCustomTreeView : public TWidgetControl {
    Q_OBJECT
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_PROPERTY(bool ShowButtons READ ShowButtons WRITE SetShowButtons)
    Q_CLASSINFO("Default:ShowButtons", "True")
    Q_PROPERTY(bool ShowLines READ ShowLines WRITE SetShowLines)
    Q_CLASSINFO("Default:ShowLines", "True")
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_CLASSINFO("Default:ShowRoot", "True")
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_CLASSINFO("Default:HideSelection", "True")
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_PROPERTY(bool AutoExpand READ AutoExpand WRITE SetAutoExpand)
    Q_CLASSINFO("Default:AutoExpand", "False")
    Q_PROPERTY(int ChangeDelay READ ChangeDelay WRITE SetChangeDelay)
    Q_CLASSINFO("Default:ChangeDelay", "0")
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE SetHotTrack)
    Q_CLASSINFO("Default:HotTrack", "False")
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_CLASSINFO("Default:Indent", "19")
    Q_PROPERTY(bool RightClickSelect READ RightClickSelect WRITE SetRightClickSelect)
    Q_CLASSINFO("Default:RightClickSelect", "False")
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_CLASSINFO("Default:RowSelect", "False")
    Q_PROPERTY(bool ToolTips READ ToolTips WRITE SetToolTips)
    Q_CLASSINFO("Default:ToolTips", "True")
    Q_PROPERTY(vcl::ListViews::TSortType SortType READ SortType WRITE SetSortType)
    Q_CLASSINFO("Default:SortType", "stNone")
    Q_PROPERTY(bool Checkboxes READ Checkboxes WRITE SetCheckboxes)
    Q_CLASSINFO("Default:Checkboxes", "False")
    Q_PROPERTY(vcl::TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(vcl::TCustomImageList* StateImages READ StateImages WRITE SetStateImages)
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return FItems.get(); }
    // The selected (and focused) node; null when none.
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* Node);
    TTreeNode* GetNodeAt(int X, int Y) const;
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    // Dotted lines join each node to its parent and its siblings.
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    // Buttons and lines before the top-level nodes too.
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    // Selecting a node expands it and collapses the previously selected branch.
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool Value) { FAutoExpand = Value; }
    // Milliseconds between a selection change and OnChange; a further change within
    // them starts the wait again, so quick key presses raise OnChange once.
    int ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(int Value);
    // The node under the mouse is drawn underlined.
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    // Pixels each level is indented by.
    int Indent() const;
    void SetIndent(int Value);
    // A right click selects the node; otherwise the selection stays where it was.
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool Value) { FRightClickSelect = Value; }
    // The selection is drawn across the whole row, not just around the text.
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    // A node whose text does not fit shows the whole text as a tip.
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value) { FToolTips = Value; }
    // A sort type other than stNone sorts now and keeps each node's children sorted
    // after nodes are added (at the last EndUpdate inside an update) or renamed.
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    // A check box before every node: its state image, 0 unchecked and 1 checked,
    // drawn from a list of the control's own in place of StateImages. A click on the
    // box or the space bar toggles it.
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool Value);
    // The node under the mouse with HotTrack, null when none.
    TTreeNode* HotNode() const { return FHotTrack ? FHotNode : nullptr; }
    // Sorts the top-level nodes (Recurse: all levels) by OnCompare or text.
    bool AlphaSort(bool Recurse = true);
    bool CustomSort(const TTVCompare& Compare, intptr_t Data, bool Recurse = true);
    bool IsEditing() const;
    void FullExpand();
    void FullCollapse();
    QTreeView* View() const { return FView; }
    TCanvas* Canvas() override;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVChangedEvent OnDeletion;
    TTVChangedEvent OnGetImageIndex;
    TTVChangedEvent OnGetSelectedIndex;
    TTVCompareEvent OnCompare;
    TTVCustomDrawEvent OnCustomDraw;
    TTVCustomDrawItemEvent OnCustomDrawItem;

protected:
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    virtual void Edit(TTreeNode* Node, const QString& NewText);
    virtual void Delete(TTreeNode* Node);
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    // The tree view's notifications (TNMTreeView records), raising the events.
    virtual void CNNotify(TMessage& Message);
    // The pop-up menu, unless a handler took the message first.
    virtual void WMContextMenu(TMessage& Message);
    void Dispatch(TMessage& Message) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend class TTreeViewModel;
    void ConnectView();
    void ApplyLook();
    // The view expanded or collapsed Node: ask, and undo it when refused.
    void ViewExpanded(TTreeNode* Node);
    void ViewCollapsed(TTreeNode* Node);
    void CurrentChanged(TTreeNode* Node, TTreeNode* Previous);
    // Expands or collapses Node in the view without asking again.
    void ShowExpanded(TTreeNode* Node, bool Value);
    void PrepareCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const;
    int CompareNodes(TTreeNode* A, TTreeNode* B, const TTVCompare& Compare, intptr_t Data);
    bool SortChildren(TTreeNode* Parent, const TTVCompare& Compare, intptr_t Data, bool Recurse);
    void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
    // A finished in-place edit, as TVN_ENDLABELEDIT.
    void EndEdit(TTreeNode* Node, const QString& NewText);
    LRESULT Notify(TNMTreeView& Record);
    LRESULT Notify(int Code, TTreeNode* Node, bool Expand = false);
    // The state images drawn: the check boxes with Checkboxes, else StateImages.
    TCustomImageList* ShownStateImages() const;
    bool ToggleCheck(TTreeNode* Node);
    // Keeps Parent's children in order when SortType asks for it.
    void KeepSorted(TTreeNode* Parent);
    void ApplyAutoExpand(TTreeNode* Node, TTreeNode* Previous);
    // Puts the view's expansion and current node back from the nodes (after the
    // model was reset at the end of an update).
    void RestoreView(TTreeNode* Current);
    // The dotted lines of ShowLines for the row of Index, left of Rect.
    void DrawLines(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const;
    bool CustomDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index);
    bool FilterViewportEvent(QEvent* Event);

    std::unique_ptr<TTreeNodes> FItems;
    TTreeViewModel* FModel = nullptr;
    TGuardedEditView<QTreeView>* FView = nullptr;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FHideSelection = true;
    bool FReadOnly = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TCustomImageList* FCheckImages = nullptr;
    bool FAutoExpand = false;
    int FChangeDelay = 0;
    bool FHotTrack = false;
    bool FRightClickSelect = false;
    bool FRowSelect = false;
    bool FToolTips = true;
    TSortType FSortType = stNone;
    bool FCheckboxes = false;
    TTreeNode* FHotNode = nullptr;
    QTimer* FChangeTimer = nullptr;
    TItemDrawCanvas FDraw;
    // Set while the control itself changes the view's expansion or current node.
    bool FSyncing = false;
    // Set while nodes are deleted: the current node moves on without asking, since
    // the previous one may be gone.
    bool FDeleting = false;
};

class TTreeView : public TCustomTreeView {
    Q_OBJECT
public:
    using TCustomTreeView::TCustomTreeView;
};

} // namespace vcl
