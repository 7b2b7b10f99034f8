#pragma once
// The list view: rows of items with an image, a caption and sub-item texts, shown as
// large icons, small icons, a list or a report with columns. The rows live in a model
// of our own (listviewmodel.h) over small item records, so a list of 100,000 rows
// costs one record each; with OwnerData the application serves the rows on demand.
#include "vcl/controls/itemviews.h"
#include "vcl/controls/listitems.h"
#include "vcl/controls/ownerdraw.h"
#include "vcl/graphics/imagelist.h"

#include <QList>
#include <QItemSelection>
#include <QModelIndex>

class QStackedWidget;
class QTimer;
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
// How the hot item (under the mouse, with HotTrack) looks: a hand cursor over items,
// the other items' captions underlined, the hot item's caption underlined.
enum THotTrackStyle : unsigned { htHandPoint = 0x1, htUnderlineCold = 0x2, htUnderlineHot = 0x4 };
Q_DECLARE_FLAGS(TListHotTrackStyles, THotTrackStyle)
Q_FLAG_NS(TListHotTrackStyles)
// Where icons are arranged in the icon views: in rows from the top, or in columns from the left.
enum TIconArrangement { iaTop, iaLeft };
Q_ENUM_NS(TIconArrangement)
} // namespace ListViews
using namespace ListViews;
Q_DECLARE_OPERATORS_FOR_FLAGS(TListHotTrackStyles)

// The icon views' layout options of a list view.
class TIconOptions : public TPersistent {
    Q_GADGET
    Q_PROPERTY(vcl::ListViews::TIconArrangement Arrangement READ Arrangement WRITE SetArrangement)
    Q_CLASSINFO("Default:Arrangement", "iaTop")
    Q_PROPERTY(bool AutoArrange READ AutoArrange WRITE SetAutoArrange)
    Q_CLASSINFO("Default:AutoArrange", "False")
    Q_PROPERTY(bool WrapText READ WrapText WRITE SetWrapText)
    Q_CLASSINFO("Default:WrapText", "True")
public:
    explicit TIconOptions(TCustomListView* ListView) : FListView(ListView) {}
    TIconArrangement Arrangement() const { return FArrangement; }
    void SetArrangement(TIconArrangement Value);
    // The icons are always kept arranged here (the views place every item in its
    // cell); the value is kept for form files and for the application to read.
    bool AutoArrange() const { return FAutoArrange; }
    void SetAutoArrange(bool Value) { FAutoArrange = Value; }
    // Long captions wrap onto further lines under large icons.
    bool WrapText() const { return FWrapText; }
    void SetWrapText(bool Value);
    void Assign(const TPersistent* Source) override;

private:
    TCustomListView* FListView;
    TIconArrangement FArrangement = iaTop;
    bool FAutoArrange = false;
    bool FWrapText = true;
};

// How OnDataFind is to look: for an item's data, a caption that starts with or equals
// the text, or the item nearest to a point.
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };

// The CN_NOTIFY record of a list view; the fields a code does not use keep their defaults.
struct TNMListView {
    TNMHdr hdr;
    TListItem* Item = nullptr;
    // The column of LVN_COLUMNCLICK.
    int Column = -1;
    TItemChange Change = ctState;
    // The edited text of LVN_ENDLABELEDIT (the handlers may change it).
    QString* Text = nullptr;
    // The rows of LVN_ODCACHEHINT and LVN_ODSTATECHANGED, and the states of the latter.
    int From = -1;
    int To = -1;
    TItemStates OldState;
    TItemStates NewState;
};

enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

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
using TLVCustomDrawEvent = std::function<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVDrawItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, TRect Rect, TOwnerDrawState State)>;
using TLVOwnerDataStateChangeEvent =
    std::function<void(TObject* Sender, int StartIndex, int EndIndex, TItemStates OldState, TItemStates NewState)>;
using TLVOwnerDataHintEvent = std::function<void(TObject* Sender, int StartIndex, int EndIndex)>;
using TLVOwnerDataFindEvent = std::function<void(TObject* Sender, TItemFind Find, const QString& FindString,
    const TPoint& FindPosition, void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
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
    Q_PROPERTY(bool Checkboxes READ Checkboxes WRITE SetCheckboxes)
    Q_CLASSINFO("Default:Checkboxes", "False")
    Q_PROPERTY(bool GridLines READ GridLines WRITE SetGridLines)
    Q_CLASSINFO("Default:GridLines", "False")
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE SetHotTrack)
    Q_CLASSINFO("Default:HotTrack", "False")
    Q_PROPERTY(vcl::ListViews::TListHotTrackStyles HotTrackStyles READ HotTrackStyles WRITE SetHotTrackStyles)
    Q_CLASSINFO("Default:HotTrackStyles", "[]")
    Q_PROPERTY(vcl::TIconOptions* IconOptions READ IconOptions WRITE SetIconOptions)
    Q_PROPERTY(int AllocBy READ AllocBy WRITE SetAllocBy)
    Q_CLASSINFO("Default:AllocBy", "0")
    Q_PROPERTY(bool FlatScrollBars READ FlatScrollBars WRITE SetFlatScrollBars)
    Q_CLASSINFO("Default:FlatScrollBars", "False")
    Q_PROPERTY(bool FullDrag READ FullDrag WRITE SetFullDrag)
    Q_CLASSINFO("Default:FullDrag", "False")
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_CLASSINFO("Default:OwnerDraw", "False")
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
    // A check box before every item: its state image, 0 unchecked and 1 checked
    // (TListItem::Checked), drawn from a list of the control's own in place of
    // StateImages. A click on the box or the space bar toggles it.
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool Value);
    // Lines between the rows and columns of the report view.
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool Value);
    // The item under the mouse is hot (drawn as HotTrackStyles say) and becomes the
    // selected item when the mouse rests on it for HotTrackDelay milliseconds.
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    TListHotTrackStyles HotTrackStyles() const { return FHotTrackStyles; }
    void SetHotTrackStyles(TListHotTrackStyles Value);
    TIconOptions* IconOptions() const { return FIconOptions.get(); }
    void SetIconOptions(TIconOptions* Value) { FIconOptions->Assign(Value); }
    // Room for this many more items is made at a time when the list grows (0: as the
    // container sees fit); a list about to take many items allocates once.
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value);
    // Kept for form files; the platform's scroll bars have one look.
    bool FlatScrollBars() const { return FFlatScrollBars; }
    void SetFlatScrollBars(bool Value) { FFlatScrollBars = Value; }
    // Kept for form files; the columns' contents always follow a header being dragged.
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool Value) { FFullDrag = Value; }
    // In the report view OnDrawItem draws each row (all its columns) on Canvas.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    // The item the mouse is over with HotTrack, null when none.
    TListItem* HotItem() const;

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
    TLVCustomDrawEvent OnCustomDraw;
    TLVDrawItemEvent OnDrawItem;
    TLVDeletedEvent OnGetImageIndex;
    TLVOwnerDataStateChangeEvent OnDataStateChange;
    TLVOwnerDataHintEvent OnDataHint;
    TLVOwnerDataFindEvent OnDataFind;

    // Milliseconds the mouse rests on an item before HotTrack selects it (the
    // platform's hover time).
    static constexpr int HotTrackDelay = 400;

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
    // Lets OnGetImageIndex set Item's ImageIndex before its image is drawn.
    virtual void GetImageIndex(TListItem* Item);
    virtual void DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State);
    // Owner data: the rows From..To are about to be asked for; their states changed.
    virtual void OwnerDataHint(int StartIndex, int EndIndex);
    virtual void OwnerDataStateChange(int StartIndex, int EndIndex, TItemStates OldState, TItemStates NewState);
    // Owner data: the row OnDataFind names (-1: none, or no handler).
    virtual int OwnerDataFind(TItemFind Find, const QString& FindString, const TPoint& FindPosition, void* FindData,
        int StartIndex, TSearchDirection Direction, bool Wrap);
    // The list view's notifications (TNMListView records), raising the events.
    virtual void CNNotify(TMessage& Message);
    // The pop-up menu, unless a handler took the message first.
    virtual void WMContextMenu(TMessage& Message);
    void Dispatch(TMessage& Message) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    friend class TListViewModel;
    friend class TIconOptions;

    void CreateViews();
    void ApplyViewStyle();
    void ApplyColumns();
    void ApplySelectionLook();
    // Each item whose selection changed as LVN_ITEMCHANGED; with owner data a range of
    // more than one row as one LVN_ODSTATECHANGED.
    void SelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected);
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
    // A finished in-place edit, as LVN_ENDLABELEDIT.
    void EndEdit(TListItem* Item, const QString& NewText);
    // Sends a notification to WindowProc; its Result.
    LRESULT Notify(TNMListView& Record);
    LRESULT Notify(int Code, TListItem* Item, TItemChange Change = ctState);
    bool NotifyChanging(TListItem* Item, TItemChange Change);
    // Asks about every item whose selection Command on Index would change.
    bool MaySelect(const QModelIndex& Index, QItemSelectionModel::SelectionFlags Command);
    // The state images drawn: the check boxes with Checkboxes, else StateImages.
    TCustomImageList* ShownStateImages() const;
    bool ToggleCheck(const QModelIndex& Index);
    void TrackHotItem(QObject* Watched, QEvent* Event);
    void SetHotRow(int Row);
    // OnCustomDraw and OnDataHint before the view paints; true when the handler drew
    // the control itself.
    bool BeforePaint(QWidget* Viewport);
    bool OwnerDrawCell(QPainter* Painter, QStyleOptionViewItem& Option, const QModelIndex& Index);

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
    bool FCheckboxes = false;
    bool FGridLines = false;
    bool FHotTrack = false;
    TListHotTrackStyles FHotTrackStyles;
    std::unique_ptr<TIconOptions> FIconOptions;
    int FAllocBy = 0;
    bool FFlatScrollBars = false;
    bool FFullDrag = false;
    bool FOwnerDraw = false;
    TCustomImageList* FCheckImages = nullptr;
    int FHotRow = -1;
    QTimer* FHotTimer = nullptr;
    // Custom drawing: the canvas handlers draw on.
    TItemDrawCanvas FDraw;
};

class TListView : public TCustomListView {
    Q_OBJECT
public:
    using TCustomListView::TCustomListView;
};

} // namespace vcl
