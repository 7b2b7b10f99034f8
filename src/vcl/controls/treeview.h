#pragma once
// The tree view: nodes with an image and a text in a hierarchy, shown through Qt's
// tree view over a model of our own (treeviewmodel.h). A node may claim children it
// has not read yet (HasChildren); OnExpanding reads them, or refuses the expansion.
#include "vcl/controls/listview.h"
#include "vcl/controls/treenodes.h"

#include <QTreeView>

namespace vcl {

class TTreeViewModel;

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, QString& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

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
    // Kept for form files; the platform style draws no lines between nodes.
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value) { FShowLines = Value; }
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
    // Sorts the top-level nodes (Recurse: all levels) by OnCompare or text.
    bool AlphaSort(bool Recurse = true);
    bool CustomSort(const TTVCompare& Compare, intptr_t Data, bool Recurse = true);
    bool IsEditing() const;
    void FullExpand();
    void FullCollapse();
    QTreeView* View() const { return FView; }

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
