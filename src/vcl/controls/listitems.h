#pragma once
// The rows and columns of a list view: TListItem (a small record per row, no QObject),
// its sub-item texts, the TListItems container, and the report view's columns.
#include "vcl/controls/stdctrls.h"
#include "vcl/core/sysutils.h"

#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

namespace vcl {

class TCustomListView;
class TListItems;
class TListItem;

// Raised for an index outside a list of items or columns.
class EListError : public Exception { public: using Exception::Exception; };

// What changed in an item (OnChanging, OnChange).
enum TItemChange { ctText, ctImage, ctState };
// Item states that GetNextItem looks for.
enum TItemStateItem : unsigned { isNone = 0, isCut = 0x1, isDropHilited = 0x2, isFocused = 0x4, isSelected = 0x8 };
Q_DECLARE_FLAGS(TItemStates, TItemStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TItemStates)
// Parts of an item's rectangle (DisplayRect).
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };

// An item's sub-item texts, with the operations of a string list. A view, not a copy:
// changes go straight to the item and its list view.
class TListSubItems {
public:
    explicit TListSubItems(TListItem* Item) : FItem(Item) {}
    int Count() const;
    // Raises EListError outside 0..Count-1.
    QString Strings(int Index) const;
    QString operator[](int Index) const { return Strings(Index); }
    void SetStrings(int Index, const QString& Value);
    int Add(const QString& S);
    void Insert(int Index, const QString& S);
    void Delete(int Index);
    void Clear();
    int IndexOf(const QString& S) const;

private:
    TListItem* FItem;
};

class TListItem {
public:
    explicit TListItem(TListItems* Owner) : FOwner(Owner) {}
    ~TListItem();
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    TListSubItems SubItems() { return TListSubItems(this); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    // Overlay slot (0..3) of the image list drawn over the image; -1 for none.
    int OverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(int Value);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int Value);
    // The check box of a list view with Checkboxes: state image 1 checked, 0 not.
    bool Checked() const { return FStateIndex == 1; }
    void SetChecked(bool Value) { SetStateIndex(Value ? 1 : 0); }
    // The look of a cut item: its image is drawn ghosted.
    bool Cut() const { return FCut; }
    void SetCut(bool Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    void SetFocused(bool Value);
    int Index() const { return FIndex; }
    // Deletes the item (OnDeletion first); the item is gone afterwards.
    void Delete();
    // Starts in-place editing of the caption; false when refused or not possible.
    bool EditCaption();
    // The item's rectangle in the control's coordinates (empty when not laid out).
    TRect DisplayRect(TDisplayCode Code) const;
    void MakeVisible(bool PartialOK);
    // Redraws the item.
    void Update();

private:
    friend class TListItems;
    friend class TListSubItems;
    friend class TCustomListView;
    // Asks OnChanging; false when the handler refused.
    bool Changing(TItemChange Change);
    void Changed(TItemChange Change);
    // Back to a blank item (the owner-data scratch item between rows).
    void Reset();
    // Makes room for one more sub-item.
    void GrowSubItems();

    TListItems* FOwner;
    QString FCaption;
    // The sub-item texts: FSubCount strings in a block of at least SubItemCapacity(FSubCount)
    // (a plain block, not a vector, to keep the record small).
    QString* FSubItems = nullptr;
    void* FData = nullptr;
    // The integers together, so that the record packs into 72 bytes.
    int FSubCount = 0;
    int FImageIndex = -1;
    int FOverlayIndex = -1;
    int FStateIndex = -1;
    int FIndex = -1;
    bool FCut = false;
};

// The items of a list view, in display order. With the view's OwnerData the list holds
// no items: Count is set by the application and Item(i) is one scratch record that
// OnData fills for the row asked for.
class TListItems {
public:
    explicit TListItems(TCustomListView* Owner);
    ~TListItems();
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    TCustomListView* Owner() const { return FOwner; }
    int Count() const;
    // Only for owner data: the number of rows OnData serves.
    void SetCount(int Value);
    // Raises EListError outside 0..Count-1.
    TListItem* Item(int Index);
    TListItem* operator[](int Index) { return Item(Index); }
    TListItem* Add();
    TListItem* Insert(int Index);
    void Delete(int Index);
    // Deletes every item, with OnDeletion for each.
    void Clear();
    int IndexOf(const TListItem* Item) const;
    // Changes inside BeginUpdate/EndUpdate reach the views once, at the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

    // Reorders the items by a strict weak ordering (a stable sort, so equal items
    // keep their order).
    template <class Less>
    void Sort(Less less);
    // The items as a vector (not for owner data).
    const std::vector<std::unique_ptr<TListItem>>& Items() const { return FItems; }

private:
    friend class TCustomListView;
    void Renumber(int From);
    void CheckIndex(int Index) const;

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    // Owner data: the row count and the scratch item OnData fills.
    int FDataCount = 0;
    TListItem FDataItem;
    int FUpdateCount = 0;
};

// One column of the report view.
class TListColumn {
public:
    explicit TListColumn(TCustomListView* ListView) : FListView(ListView) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The column takes the width the other columns leave.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    int Index() const;

private:
    friend class TCustomListView;
    void Changed();

    TCustomListView* FListView;
    QString FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = false;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView* ListView) : FListView(ListView) {}
    int Count() const { return int(FColumns.size()); }
    // Raises EListError outside 0..Count-1.
    TListColumn* Items(int Index) const;
    TListColumn* operator[](int Index) const { return Items(Index); }
    TListColumn* Add();
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListColumn* Column) const;

private:
    void Changed();

    TCustomListView* FListView;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

template <class Less>
void TListItems::Sort(Less less)
{
    // A stable merge sort stays within the range even when a handler's comparison
    // is inconsistent, where an introsort may run past the ends.
    std::stable_sort(FItems.begin(), FItems.end(),
        [&less](const std::unique_ptr<TListItem>& a, const std::unique_ptr<TListItem>& b) {
            return less(a.get(), b.get());
        });
    Renumber(0);
}

} // namespace vcl
