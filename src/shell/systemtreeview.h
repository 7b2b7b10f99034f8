#pragma once
// Systemtreeview: TSystemTreeView, the shell namespace as a tree below a chosen root
// (the desktop, a special folder or a directory). A node's children are read when it
// is first expanded; folders, and with ShowFiles files, show the system icons. The
// folder of the selected node is watched, so the tree follows changes made from
// outside. Linked list views and combo boxes follow the selection after ReadDelay.
#include "shell/customsystemcombobox.h"
#include "shell/customsystemlistview.h"
#include "shell/customsystemtreeview.h"
#include "vcl/core/strings.h"

#include <QPoint>
#include <algorithm>

namespace Filechange {
class TFileChangeThread;
}

namespace Systemtreeview {

Q_NAMESPACE

using Systemcontrolpack::TFolderItemData;
using Systemcontrolpack::TPopupMenuMethod;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;

// The folder at the top of the tree: the desktop or a special folder; rfFileSystem
// is the desktop with only file-system items and their ancestors below it; rfCustom
// is the directory CustomDir.
enum TRootFolder {
    rfDesktop, rfRecycleBin, rfControlPanel, rfDesktopDir, rfDrives, rfFavoriteURLs, rfFonts, rfNetHood,
    rfNetHoodDir, rfDocumentDir, rfPrinters, rfPrograms, rfRecentDir, rfSendTo, rfStartMenu, rfStartup,
    rfTemplates, rfFileSystem, rfCustom,
};
Q_ENUM_NS(TRootFolder)

// The special-folder number of a root; -1 for rfCustom, which has none.
int SpecialFolderNumber(TRootFolder Root);

// The records of every tree view of this unit still alive (each node holds one).
int LiveRecordCount();

// The handler of OnPopulated: Node is the node whose children were just read.
using TSTVPopulatedEvent = std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node)>;

// The shell tree view: see the unit's description above.
class TSystemTreeView : public Systemcontrolpack::TCustomSystemTreeView {
    Q_OBJECT
    Q_PROPERTY(Systemcontrolpack::TCustomSystemListView* ListView READ ListView WRITE SetListView)
    Q_PROPERTY(Systemcontrolpack::TCustomSystemComboBox* ComboBox READ ComboBox WRITE SetComboBox)
    Q_PROPERTY(int ReadDelay READ ReadDelayValue WRITE SetReadDelayValue)
    Q_CLASSINFO("Default:ReadDelay", "500")
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(Systemcontrolpack::TPopupMenuMethod PopupMenuMethod READ PopupMenuMethod WRITE SetPopupMenuMethod)
    Q_CLASSINFO("Default:PopupMenuMethod", "pmmContext")
    Q_PROPERTY(QString Selection READ Selection WRITE SetSelection)
    Q_CLASSINFO("Default:Selection", "")
    Q_PROPERTY(QString Directory READ Selection WRITE SetSelection STORED false)
    Q_PROPERTY(Systemtreeview::TRootFolder RootFolder READ RootFolder WRITE SetRootFolder)
    Q_CLASSINFO("Default:RootFolder", "rfDesktop")
    Q_PROPERTY(QString CustomDir READ CustomDir WRITE SetCustomDir)
    Q_CLASSINFO("Default:CustomDir", "")
    Q_PROPERTY(QString CustomDirCaption READ CustomDirCaption WRITE SetCustomDirCaption)
    Q_CLASSINFO("Default:CustomDirCaption", "")
    Q_PROPERTY(bool ShowFiles READ ShowFiles WRITE SetShowFiles)
    Q_CLASSINFO("Default:ShowFiles", "False")
    Q_PROPERTY(bool ShowHiddenDirs READ ShowHiddenDirs WRITE SetShowHiddenDirs)
    Q_CLASSINFO("Default:ShowHiddenDirs", "True")
    Q_PROPERTY(bool ExpandRoot READ ExpandRoot WRITE SetExpandRoot)
    Q_CLASSINFO("Default:ExpandRoot", "True")
    Q_PROPERTY(bool Autoscroll READ Autoscroll WRITE SetAutoscroll)
    Q_CLASSINFO("Default:Autoscroll", "False")
    Q_PROPERTY(QString FileMask READ FileMask WRITE SetFileMask)
    Q_CLASSINFO("Default:FileMask", "")
public:
    // A tree view that shows its root once its window exists; throws vcl::EOSError when
    // the desktop folder is not available.
    explicit TSystemTreeView(vcl::TComponent* AOwner);
    ~TSystemTreeView() override;

    // The component's version text, read-only (setting it does nothing; not stored).
    QString Version() const;
    void SetVersion(const QString&) {}
    // ReadDelay as the ReadDelay property: milliseconds, set values clamped to 0..65535.
    int ReadDelayValue() const { return ReadDelay(); }
    void SetReadDelayValue(int Value) { SetReadDelay(uint16_t(std::clamp(Value, 0, 0xFFFF))); }
    // Which menu a right click shows; pmmContext by default.
    TPopupMenuMethod PopupMenuMethod() const { return FPopupMenuMethod; }
    void SetPopupMenuMethod(TPopupMenuMethod Value) { FPopupMenuMethod = Value; }
    // The file-system path of the selected node; setting it before the window exists
    // selects the path once the tree is built.
    QString Selection();
    void SetSelection(const QString& Value);
    // The folder at the top of the tree; a change builds the tree again. rfDesktop by
    // default.
    TRootFolder RootFolder() const { return FRootFolder; }
    void SetRootFolder(TRootFolder Value);
    // The directory at the top with rfCustom; a change builds the tree again.
    QString CustomDir() const { return FCustomDir; }
    void SetCustomDir(const QString& Value);
    // The root node's text with rfCustom; empty keeps the folder's own name.
    QString CustomDirCaption() const { return FCustomDirCaption; }
    void SetCustomDirCaption(const QString& Value);
    // Whether files are shown besides folders; a change builds the tree again. False
    // by default.
    bool ShowFiles() const { return FShowFiles; }
    void SetShowFiles(bool Value);
    // Whether hidden items are shown (from the next nodes read); true by default.
    bool ShowHiddenDirs() const { return FShowHiddenDirs; }
    void SetShowHiddenDirs(bool Value) { FShowHiddenDirs = Value; }
    // Whether the root is expanded when the tree is built; true by default.
    bool ExpandRoot() const { return FExpandRoot; }
    void SetExpandRoot(bool Value) { FExpandRoot = Value; }
    // Whether dragging the mouse near an edge scrolls the tree; false by default.
    bool Autoscroll() const { return FAutoscroll; }
    void SetAutoscroll(bool Value) { FAutoscroll = Value; }
    // The ";"-separated masks ("*" and "?" wildcards, any case) that the names of
    // files must match to be shown with ShowFiles (folders always are); a change
    // builds the tree again.
    QString FileMask() const { return FFileMask; }
    void SetFileMask(const QString& Value);

    // Builds the tree again from the root (only with a window, not while loading).
    void Reset() override;
    // Reads the node's children again, keeping it expanded when it was.
    void ResetNode(vcl::TTreeNode* Node);
    // Adds a node for every item of Folder below Parent; true when an item came.
    bool EnumerateFolders(IShellFolder* Folder, vcl::TTreeNode* Parent);
    // Adds the node of one item, taking over both lists; null when the root kind or the
    // mask leaves the item out (its lists are then freed).
    vcl::TTreeNode* AddNode(IShellFolder* Folder, LPITEMIDLIST Absolute, LPITEMIDLIST Relative, vcl::TTreeNode* Parent);
    // The deepest node on the way to the absolute identifier ID, expanding as it goes.
    vcl::TTreeNode* FindNodeFromID(LPCITEMIDLIST ID);
    // Parses the non-empty Path against Folder into ID (from the shell allocator, the
    // caller's to free); false for an empty or unknown path.
    bool GetIDFromPath(IShellFolder* Folder, const QString& Path, LPITEMIDLIST& ID);
    // The node's file-system path; empty when it has none.
    QString GetNodePath(vcl::TTreeNode* Node);
    // The node's record; for a node without one an error box says so and null comes back.
    TFolderItemData* GetNodeData(vcl::TTreeNode* Node);
    // GetNodeData of the node at Index in the tree's order; null outside the nodes.
    TFolderItemData* GetItemData(int Index);
    // True when the node's state image is the checked one; false for a null node.
    bool GetItemCheck(vcl::TTreeNode* Node) const;
    // Sets the node's state image to checked or unchecked; a null node is ignored.
    void SetItemCheck(vcl::TTreeNode* Node, bool State);
    // Shows the shell's context menu of the node's item at ScreenPoint and runs the
    // command chosen; false when the node has no record or the item no menu.
    bool DisplayContextMenu(vcl::TTreeNode* Node, QPoint ScreenPoint);
    // Renames the node's item to Name in its folder, updates the node and reads its
    // children again; false for an empty name or when the folder refuses.
    bool RenameNode(vcl::TTreeNode* Node, const QString& Name);
    // Moves the node's item to the trash (the watcher then removes the node).
    bool DeleteNode(vcl::TTreeNode* Node);
    // Creates the folder Name in Parent's folder; true when it was created.
    bool AddNewNode(vcl::TTreeNode* Parent, const QString& Name, bool Select);
    // Stops the current watcher and watches the node's folder (a file's folder with
    // ShowFiles) for changes of folder names, or with a linked list view or ShowFiles
    // of names, attributes, sizes and write times; nothing for a node without a path.
    void WatchDirectoryForChanges(vcl::TTreeNode* Node);
    // The node being watched, null when none.
    vcl::TTreeNode* WatchedNode() const { return FWatchedNode; }
    // Sorts the top level with Compare (null: the folders' own order), then every
    // node's children with the folders' own order.
    bool CustomSort(const vcl::TTVCompare& Compare, intptr_t Data);
    // CustomSort with the folders' own order, the view updated once.
    bool AlphaSort();
    // Selects the node of the absolute ID, or of its deepest ancestor in the tree,
    // expanding nodes on the way; a null ID does nothing.
    void ComboBoxSetSelectionPIDL(LPCITEMIDLIST ID);

    LPITEMIDLIST GetSelectionPIDL() override;
    IShellFolder* GetSelectionParentFolder() override { return FDesktopFolder; }
    bool LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force) override;

    TSTVPopulatedEvent OnPopulated; // Raised after a node's children are first read.

protected:
    void Loaded() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool CanExpand(vcl::TTreeNode* Node) override;
    void Expand(vcl::TTreeNode* Node) override;
    void Change(vcl::TTreeNode* Node) override;
    bool CanEdit(vcl::TTreeNode* Node) override;
    void Edit(vcl::TTreeNode* Node, const QString& NewText) override;
    void Delete(vcl::TTreeNode* Node) override;
    void WndProc(vcl::TMessage& Message) override;
    void WMContextMenu(vcl::TMessage& Message) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;

private:
    int DefaultCompare(vcl::TTreeNode* Node1, vcl::TTreeNode* Node2) const;
    bool ItemPassesFilters(IShellFolder* Folder, LPCITEMIDLIST Relative, uint32_t Attributes) const;
    void SetNodeLook(vcl::TTreeNode* Node, const TFolderItemData* Data);
    bool ShowsButton(const TFolderItemData* Data) const;
    bool PopulateNode(vcl::TTreeNode* Node, TFolderItemData* Data);
    void FreeNodeData(vcl::TTreeNode* Node);
    void StopWatching();
    void ThreadDone();
    void RefreshGoneFolder(vcl::TTreeNode* Node);
    QString StripRootCaption(const QString& Path);
    vcl::TTreeNode* ChildMatching(vcl::TTreeNode* Parent, LPCITEMIDLIST Item);
    bool ShowsShellMenu() const;

    IShellFolder* FDesktopFolder = nullptr;
    QString FSavedSelection;
    bool FWindowDestroying = false;
    bool FAutoscroll = false;
    TRootFolder FRootFolder = rfDesktop;
    bool FShowHiddenDirs = true;
    bool FExpandRoot = true;
    QString FCustomDir;
    QString FCustomDirCaption;
    bool FShowFiles = false;
    TPopupMenuMethod FPopupMenuMethod = Systemcontrolpack::pmmContext;
    Filechange::TFileChangeThread* FWatcher = nullptr;
    vcl::TTreeNode* FWatchedNode = nullptr;
    QString FFileMask;
    vcl::TStringList FMaskList;
    bool FDestroying = false;
    // The node watched before AddNewNode stopped the watcher, watched again after.
    vcl::TTreeNode* FRewatchNode = nullptr;
};

} // namespace Systemtreeview
