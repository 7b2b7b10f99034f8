#pragma once
// Systemlistview: TSystemListView, a list view of one shell-namespace folder with the
// system icons, the namespace's display names and detail columns that depend on the
// kind of folder. Double-clicking a folder opens it, double-clicking a file runs its
// default action, a right click shows the items' context menu, editing a caption
// renames the item, and a file mask limits the files listed. It follows a linked tree
// view or combo box and tells them when the user opens a folder in the list.
//
// A large folder is listed in slices: the rows of the first slice are there when
// LinkedReset returns, the rest arrive in batches from the event loop, and
// OnPopulated is raised once every item is listed.
#include "shell/customsystemcombobox.h"
#include "shell/customsystemlistview.h"
#include "shell/customsystemtreeview.h"
#include "vcl/core/strings.h"

#include <QPoint>

class QContextMenuEvent;
class QTimer;
#include <memory>
#include <vector>

namespace Systemlistview {

Q_NAMESPACE

using Systemcontrolpack::TPopupMenuMethod;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;

// The detail columns shown: for file-system folders (name, size, type, modified,
// attributes), the computer (drives' type, total size, free space), the control
// panel, printers, dial-up networking, the network, columns the user makes in
// OnCreateColumns, or the name alone for any other folder.
enum TColumnType { ctFileSystem, ctMachine, ctControlPanel, ctPrinters, ctDUNet, ctNetwork, ctUser, ctUnknown };
Q_ENUM_NS(TColumnType)

// The handler of OnAddListItem: AItem is the new row, whose detail texts it fills.
using TSLVAddListItem = std::function<void(vcl::TObject* Sender, vcl::TListItem* AItem)>;

// The records of every list view of this unit still alive (each row holds one).
int LiveRecordCount();

// The shell list view: see the unit's description above.
class TSystemListView : public Systemcontrolpack::TCustomSystemListView {
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(Systemcontrolpack::TPopupMenuMethod PopupMenuMethod READ PopupMenuMethod WRITE SetPopupMenuMethod)
    Q_CLASSINFO("Default:PopupMenuMethod", "pmmContextUser")
    Q_PROPERTY(Systemlistview::TColumnType ColumnType READ ColumnType WRITE SetColumnType)
    Q_CLASSINFO("Default:ColumnType", "ctFileSystem")
    Q_PROPERTY(bool ShowHiddenFiles READ ShowHiddenFiles WRITE SetShowHiddenFiles)
    Q_CLASSINFO("Default:ShowHiddenFiles", "True")
    Q_PROPERTY(bool ShowFolders READ ShowFolders WRITE SetShowFolders)
    Q_CLASSINFO("Default:ShowFolders", "True")
    Q_PROPERTY(bool Autoscroll READ Autoscroll WRITE SetAutoscroll)
    Q_CLASSINFO("Default:Autoscroll", "False")
    Q_PROPERTY(QString FileMask READ FileMask WRITE SetFileMask)
    Q_CLASSINFO("Default:FileMask", "")
    Q_PROPERTY(Systemcontrolpack::TCustomSystemTreeView* TreeView READ TreeView WRITE SetTreeView)
    Q_PROPERTY(Systemcontrolpack::TCustomSystemComboBox* ComboBox READ ComboBox WRITE SetComboBox)
public:
    // The row widths used until the registry names others.
    static constexpr int DefaultColumnWidths[5] = {120, 60, 120, 120, 60};
    static constexpr int UserColumnWidth = 150; // Pixels of the design-time ctUser column.
    // How long one slice of a listing may keep the event loop waiting, in milliseconds.
    static constexpr int ListingSliceMs = 25;

    // A list view that lists the desktop once its window exists, with the column widths
    // saved in the registry (else DefaultColumnWidths).
    explicit TSystemListView(vcl::TComponent* AOwner);
    ~TSystemListView() override;

    // The component's version text, read-only (setting it does nothing; not stored).
    QString Version() const;
    void SetVersion(const QString&) {}
    // Which menu a right click shows; pmmContextUser by default.
    TPopupMenuMethod PopupMenuMethod() const { return FPopupMenuMethod; }
    void SetPopupMenuMethod(TPopupMenuMethod Value) { FPopupMenuMethod = Value; }
    // The detail columns; setting another kind makes the columns anew (after loading).
    // Listing a folder sets ctFileSystem or ctUnknown unless the type is ctUser, and
    // ctUser without an OnCreateColumns handler falls back to ctUnknown.
    TColumnType ColumnType() const { return FColumnType; }
    void SetColumnType(TColumnType Value);
    // Whether hidden items are listed (from the next listing); true by default.
    bool ShowHiddenFiles() const { return FShowHiddenFiles; }
    void SetShowHiddenFiles(bool Value) { FShowHiddenFiles = Value; }
    // Whether items that hold folders (SFGAO_HASSUBFOLDER) are listed; a change lists
    // the folder again. True by default.
    bool ShowFolders() const { return FShowFolders; }
    void SetShowFolders(bool Value);
    // Whether dragging the mouse near an edge scrolls the list; false by default.
    bool Autoscroll() const { return FAutoscroll; }
    void SetAutoscroll(bool Value) { FAutoscroll = Value; }
    // The ";"-separated file masks ("*" and "?" wildcards, any case) that the names of
    // file-system files must match to be listed (folders always are); empty lists
    // every file. Setting it lists the folder again.
    QString FileMask() const { return FFileMask; }
    void SetFileMask(const QString& Value);

    bool LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force) override;
    // Lists the folder of the linked tree view, else of the linked combo box, else its
    // own folder again when a listing is pending; then tells the linked controls.
    void Reset() override;
    LPITEMIDLIST GetSelectionPIDL() override { return FCurrentID; }
    IShellFolder* GetSelectionParentFolder() override { return FRootFolder; }
    // Adds a row for every item of Folder (ParentID: the folder's absolute list); true
    // when at least one item came. Rows past the first slice arrive from the event loop.
    bool EnumerateFiles(IShellFolder* Folder, LPCITEMIDLIST ParentID);
    // Adds the row of one item, taking over both lists; null when the filters leave it
    // out (the lists are then freed).
    vcl::TListItem* AddNode(IShellFolder* Folder, LPITEMIDLIST Absolute, LPITEMIDLIST Relative);
    // The row whose item its folder reports equal to ID; null when none.
    vcl::TListItem* FindItemFromID(LPCITEMIDLIST ID);
    // True while rows of the last listing are still being read.
    bool Populating() const { return FPending != nullptr; }

    // The row's record; for a row without one an error box says so and null comes back.
    Systemcontrolpack::TFolderItemData* GetItemData(vcl::TListItem* Item);
    // The row's SFGAO_* attributes; 0 for a null row, and for a row without a record
    // (after GetItemData's error box).
    uint32_t GetItemAttrs(vcl::TListItem* Item);
    // The item's file-system path (a folder's ends with "/"); empty without one.
    QString GetFullPath(vcl::TListItem* Item);
    // GetFullPath of the row; empty for a null row.
    QString GetFullFilename(vcl::TListItem* Item) { return Item ? GetFullPath(Item) : QString(); }
    // The row's caption; empty for a null row.
    QString GetFilename(vcl::TListItem* Item) const { return Item ? Item->Caption() : QString(); }
    // The relative lists of the selected rows, in list order (the lists stay the rows').
    std::vector<LPCITEMIDLIST> GetSelectedPIDLs();

    // Shows the shell's context menu of the row's item at ScreenPoint and runs the
    // command chosen; false when the row has no record or the item no menu.
    bool DisplayContextMenu(vcl::TListItem* Item, QPoint ScreenPoint);
    // Shows one context menu for all selected rows at ScreenPoint; false when nothing
    // is selected or the items have no menu.
    bool DisplaySelectedContextMenu(QPoint ScreenPoint);
    // What a double click on the row does: a folder is listed and the linked controls
    // follow; any other item gets its default action (it is opened).
    void DefaultDblClickAction(vcl::TListItem* Item);
    // Renames the row's item to Name in its folder and updates the row; false for an
    // empty name or when the folder refuses.
    bool RenameItem(vcl::TListItem* Item, const QString& Name);
    // Moves the item to the trash; the row goes when that worked.
    bool DeleteItem(vcl::TListItem* Item);

    // Sorts with Compare (null: folders first, then the folder's order for the column
    // in the low 16 bits of Data, reversed when the high 16 bits are set).
    bool CustomSort(const vcl::TLVCompare& Compare, intptr_t Data);
    // Sorts folders first, then by the first column in the folder's order, ascending.
    bool AlphaSort() { return CustomSort(nullptr, 0); }
    // The column a click on a header last sorted by (0 at first).
    int LastSortColumn() const { return FLastSortColumn; }
    // True when that sort was descending (a second click on a header reverses it).
    bool LastSortDescending() const { return FLastSortDescending; }

    // The pixel widths of up to five columns, used when the columns are next made.
    void SetColumnWidths(int W0, int W1, int W2, int W3, int W4);
    // Replaces the columns with those of Type (ctUser: OnCreateColumns makes them).
    void CreateColumns(TColumnType Type);

    vcl::TNotifyEvent OnCreateColumns; // Makes the columns of ctUser.
    // Raised for each new row in place of the built-in detail texts.
    TSLVAddListItem OnAddListItem;
    vcl::TNotifyEvent OnPopulated; // Raised once every item of a listing is listed.

protected:
    void Loaded() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool CanEdit(vcl::TListItem* Item) override;
    void Edit(vcl::TListItem* Item, const QString& NewText) override;
    void ColClick(vcl::TListColumn* Column) override;
    void Delete(vcl::TListItem* Item) override;
    void DblClick() override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    virtual void Populated();

private:
    struct TListing;
    void ReadColumnWidths();
    void AddColumn(const QString& Caption, int Width, vcl::TAlignment Alignment = vcl::taLeftJustify);
    void FreeItemData(vcl::TListItem* Item);
    void ClearRows();
    void RememberFocusedRow();
    bool ListCurrentFolder(bool DesktopShown);
    // Lists for one slice of time; true when the folder has no more items.
    bool ListSlice();
    // Lists the next slice of the pending listing; finishes it when nothing is left.
    void ContinueListing();
    // Focuses the remembered row, sorts and raises OnPopulated.
    void FinishListing();
    void CancelListing();
    bool ShowsShellMenu() const;
    // Fills the detail columns; TypeName is the item's type text, null when unknown.
    void AddDetails(vcl::TListItem* Item, Systemcontrolpack::TFolderItemData* Data, const char* TypeName);
    int DefaultCompare(vcl::TListItem* Item1, vcl::TListItem* Item2, intptr_t Data);
    bool ItemPassesFilters(IShellFolder* Folder, LPCITEMIDLIST Relative, uint32_t Attributes);

    LPITEMIDLIST FCurrentID = nullptr;
    IShellFolder* FRootFolder = nullptr;
    QString FFileMask;
    vcl::TStringList FMaskList;
    bool FResetPending = false;
    TPopupMenuMethod FPopupMenuMethod = Systemcontrolpack::pmmContextUser;
    bool FAutoscroll = false;
    bool FShowHiddenFiles = true;
    bool FShowFolders = true;
    TColumnType FColumnType = ctFileSystem;
    int FColumnWidths[5] = {120, 60, 120, 120, 60};
    bool FRecreated = false;
    bool FLastSortDescending = false;
    int FLastSortColumn = 0;
    std::unique_ptr<TListing> FPending;
    QTimer* FListingTimer = nullptr;
    // The relative list of the row focused before the listing, focused again after it.
    LPITEMIDLIST FFocusAfterListing = nullptr;
};

} // namespace Systemlistview
