#pragma once
// The list view: rows of items with an image, a caption and sub-item texts, shown as
// large icons, small icons, a list or a report with columns. The rows live in a model
// of our own (listviewmodel.h) over small item records, so a list of 100,000 rows
// costs one record each; with OwnerData the application serves the rows on demand.
#include "vcl/controls/itemviews.h"
#include "vcl/controls/listitems.h"
#include "vcl/graphics/imagelist.h"

#include <QList>
#include <QModelIndex>

class QStackedWidget;
#include <QListView>
#include <QTreeView>

class QPainter;
class QStyleOptionViewItem;

namespace vcl {

class TListViewModel;

namespace ListViews {
Q_NAMESPACE
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
Q_ENUM_NS(TViewStyle)
// What AlphaSort orders by when the list keeps itself sorted: nothing, the items' data
// (through OnCompare), the captions, or both (OnCompare when set, else the captions).
enum TSortType { stNone, stData, stText, stBoth };
Q_ENUM_NS(TSortType)
} // namespace ListViews
using namespace ListViews;

enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
// The state of an item being custom-drawn.
enum TCustomDrawStateItem : unsigned { cdsSelected = 0x01, cdsGrayed = 0x02, cdsDisabled = 0x04, cdsFocused = 0x10,
    cdsDefault = 0x20 };
Q_DECLARE_FLAGS(TCustomDrawState, TCustomDrawStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TCustomDrawState)

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, QString& S)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVCustomDrawItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent = std::function<void(
    TCustomListView* Sender, TListItem* Item, int SubItem, TCustomDrawState State, bool& DefaultDraw)>;
// A comparison for CustomSort: negative, zero or positive, as Item1 sorts before, with
// or after Item2; Data is CustomSort's value.
using TLVCompare = std::function<int(TListItem* Item1, TListItem* Item2, intptr_t Data)>;

class TCustomListView : public TWidgetControl {
    Q_OBJECT
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_PROPERTY(vcl::ListViews::TViewStyle ViewStyle READ ViewStyle WRITE SetViewStyle)
    Q_CLASSINFO("Default:ViewStyle", "vsIcon")
    Q_PROPERTY(bool ShowColumnHeaders READ ShowColumnHeaders WRITE SetShowColumnHeaders)
    Q_CLASSINFO("Default:ShowColumnHeaders", "True")
    Q_PROPERTY(bool ColumnClick READ ColumnClick WRITE SetColumnClick)
    Q_CLASSINFO("Default:ColumnClick", "True")
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_CLASSINFO("Default:MultiSelect", "False")
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_CLASSINFO("Default:RowSelect", "False")
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_CLASSINFO("Default:HideSelection", "True")
    Q_PROPERTY(vcl::ListViews::TSortType SortType READ SortType WRITE SetSortType)
    Q_CLASSINFO("Default:SortType", "stNone")
    Q_PROPERTY(bool OwnerData READ OwnerData WRITE SetOwnerData)
    Q_CLASSINFO("Default:OwnerData", "False")
    Q_PROPERTY(vcl::TCustomImageList* LargeImages READ LargeImages WRITE SetLargeImages)
    Q_PROPERTY(vcl::TCustomImageList* SmallImages READ SmallImages WRITE SetSmallImages)
    Q_PROPERTY(vcl::TCustomImageList* StateImages READ StateImages WRITE SetStateImages)
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListItems* Items() { return FItems.get(); }
    TListColumns* Columns() { return FColumns.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    // The selection is drawn only while the control has the focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // A sort type other than stNone sorts now and keeps the list sorted: after items
    // are added (at the last EndUpdate inside an update) and after a caption changes.
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    bool OwnerData() const { return FOwnerData; }
    // Switching owner data on or off deletes every item.
    void SetOwnerData(bool Value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* Value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);

    // The first selected item in list order, null when none; setting it selects only
    // that item (null clears the selection).
    TListItem* Selected() const;
    void SetSelected(TListItem* Item);
    int SelCount() const;
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* Item);
    // The item at (X, Y) in the control's coordinates, null when none is there.
    TListItem* GetItemAt(int X, int Y) const;
    // The next item after StartItem (from the first with null) in Direction that has
    // all of States; null when none.
    TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const;
    // The first item from StartIndex whose caption equals Value (Partial: starts with
    // it), ignoring case; Inclusive includes StartIndex, Wrap continues from the top.
    TListItem* FindCaption(int StartIndex, const QString& Value, bool Partial, bool Inclusive, bool Wrap) const;
    // Sorts by OnCompare when set (Data 0), else by caption. False for owner data.
    bool AlphaSort();
    // Sorts with Compare (null: as AlphaSort) and Data. False for owner data.
    bool CustomSort(const TLVCompare& Compare, intptr_t Data);
    bool IsEditing() const;
    // Repaints the items From..To (owner data changed under them).
    void UpdateItems(int From, int To);
    // The view now showing the items.
    QAbstractItemView* View() const;
    TCanvas* Canvas() override;

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVDeletedEvent OnInsert;
    TLVDeletedEvent OnDeletion;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVSelectItemEvent OnSelectItem;
    TLVOwnerDataEvent OnData;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;

protected:
    // Asks OnEditing whether Item may be edited (never when ReadOnly).
    virtual bool CanEdit(TListItem* Item);
    // A finished edit: OnEdited may change S (or put the old caption back to refuse),
    // then S becomes the caption.
    virtual void Edit(TListItem* Item, const QString& NewText);
    virtual void ColClick(TListColumn* Column);
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void Delete(TListItem* Item);
    virtual void InsertItem(TListItem* Item);
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    friend class TListViewModel;

    void CreateViews();
    void ApplyViewStyle();
    void ApplyColumns();
    void ApplySelectionLook();
    void SelectionChanged(const QList<QModelIndex>& Selected, const QList<QModelIndex>& Deselected);
    void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
    int CompareItems(TListItem* A, TListItem* B, const TLVCompare& Compare, intptr_t Data);
    void KeepSorted();
    QModelIndex IndexOf(const TListItem* Item) const;
    bool ItemSelected(int Row) const;
    bool ItemFocusedAt(int Row) const;
    TListItem* ItemAtRow(int Row) const;
    // The look of a cell: selection as RowSelect and HideSelection want, the image
    // with its overlay in the selected look.
    void PrepareCell(QStyleOptionViewItem& Option, const QModelIndex& Index) const;
    // Raises OnCustomDrawItem or OnCustomDrawSubItem for a cell on the draw canvas;
    // false when the handler drew the cell itself.
    bool CustomDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index);
    // Fills the owner-data scratch item for Row through OnData.
    void FetchItem(TListItem* Item, int Row);

    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TListColumns> FColumns;
    TListViewModel* FModel = nullptr;
    QStackedWidget* FStack = nullptr;
    TGuardedEditView<QTreeView>* FReportView = nullptr;
    TGuardedEditView<QListView>* FIconView = nullptr;
    TViewStyle FViewStyle = vsIcon;
    bool FShowColumnHeaders = true;
    bool FColumnClick = true;
    bool FMultiSelect = false;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FHideSelection = true;
    TSortType FSortType = stNone;
    bool FOwnerData = false;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    // Custom drawing: the canvas handlers draw on, over an image of the control's size.
    std::unique_ptr<TCanvas> FDrawCanvas;
    QImage FDrawImage;
    bool FCustomDrawing = false;
};

class TListView : public TCustomListView {
    Q_OBJECT
public:
    using TCustomListView::TCustomListView;
};

} // namespace vcl
