#pragma once
// The nodes of a tree view: TTreeNode (one record per node, no QObject) and the
// TTreeNodes container that adds, deletes and enumerates them.
#include "vcl/controls/listitems.h"

#include <functional>
#include <memory>
#include <vector>

namespace vcl {

class TCustomTreeView;
class TTreeNodes;

// A comparison for CustomSort: negative, zero or positive as Node1 sorts before, with
// or after Node2; Data is CustomSort's value.
using TTVCompare = std::function<int(class TTreeNode* Node1, class TTreeNode* Node2, intptr_t Data)>;

class TTreeNode {
public:
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent) : FOwner(Owner), FParent(Parent) {}

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    QString Text() const { return FText; }
    void SetText(const QString& Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    // The image shown while the node is selected.
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int Value);
    int OverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(int Value);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int Value);
    // True when the node has children or claims to (it then shows an expansion button
    // before its children are read, typically in OnExpanding).
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool Value);
    bool Expanded() const { return FExpanded; }
    // Expanding asks OnExpanding, collapsing OnCollapsing; either may refuse.
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool Value);

    // The parent node; null for a top-level node.
    TTreeNode* Parent() const;
    int Count() const { return int(FChildren.size()); }
    // Raises EListError outside 0..Count-1.
    TTreeNode* Item(int Index) const;
    int Index() const { return FIndex; }
    int Level() const;
    // Position among all nodes in display order (expanded or not).
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // The next node in display order: first child, else next sibling, else the next
    // sibling of the nearest ancestor that has one.
    TTreeNode* GetNext() const;
    bool IsParentOf(const TTreeNode* Node) const;

    // Deletes the node and its children (OnDeletion for each, children first).
    void Delete();
    void DeleteChildren();
    // Starts in-place editing of the text; false when refused or not possible.
    bool EditText();
    // The node's row (TextOnly: its text) in the control's coordinates.
    TRect DisplayRect(bool TextOnly) const;
    void MakeVisible();
    // Sorts the children (Recurse: and theirs) by OnCompare or text.
    bool AlphaSort(bool Recurse = false);
    bool CustomSort(const TTVCompare& Compare, intptr_t Data, bool Recurse = false);

private:
    friend class TTreeNodes;
    friend class TTreeViewModel;
    friend class TCustomTreeView;
    void Changed();
    void Renumber(int From);

    TTreeNodes* FOwner;
    TTreeNode* FParent;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    QString FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    int FOverlayIndex = -1;
    int FStateIndex = -1;
    int FIndex = 0;
    bool FHasChildren = false;
    bool FExpanded = false;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* Owner);
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TCustomTreeView* Owner() const { return FOwner; }
    // The number of all nodes, at every level.
    int Count() const { return FCount; }
    TTreeNode* GetFirstNode() const { return FRoot.GetFirstChild(); }
    // The node at AbsoluteIndex in display order; raises EListError outside the nodes.
    TTreeNode* Item(int Index) const;
    TTreeNode* operator[](int Index) const { return Item(Index); }
    // A new last sibling of Sibling (top level for null).
    TTreeNode* Add(TTreeNode* Sibling, const QString& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const QString& S, void* Ptr);
    TTreeNode* AddFirst(TTreeNode* Sibling, const QString& S);
    // A new last child of Parent (top level for null).
    TTreeNode* AddChild(TTreeNode* Parent, const QString& S);
    TTreeNode* AddChildObject(TTreeNode* Parent, const QString& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const QString& S);
    // A new node just before Sibling (at the end of the top level for null).
    TTreeNode* Insert(TTreeNode* Sibling, const QString& S);
    void Delete(TTreeNode* Node);
    void Clear();
    // While updating the view is not redrawn.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    friend class TTreeNode;
    friend class TTreeViewModel;
    friend class TCustomTreeView;
    TTreeNode* InsertNode(TTreeNode* Parent, int Index, const QString& S, void* Ptr);
    void DeleteChildren(TTreeNode* Node);
    void NotifyDeletion(TTreeNode* Node);

    TCustomTreeView* FOwner;
    // The invisible parent of the top-level nodes.
    TTreeNode FRoot;
    int FCount = 0;
    int FUpdateCount = 0;
};

} // namespace vcl
