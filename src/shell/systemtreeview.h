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

using TSTVPopulatedEvent = std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node)>;

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
    explicit TSystemTreeView(vcl::TComponent* AOwner);
    ~TSystemTreeView() override;

    QString Version() const;
    void SetVersion(const QString&) {}
    int ReadDelayValue() const { return ReadDelay(); }
    void SetReadDelayValue(int Value) { SetReadDelay(uint16_t(std::clamp(Value, 0, 0xFFFF))); }
    TPopupMenuMethod PopupMenuMethod() const { return FPopupMenuMethod; }
    void SetPopupMenuMethod(TPopupMenuMethod Value) { FPopupMenuMethod = Value; }
    // The file-system path of the selected node; setting it before the window exists
    // selects the path once the tree is built.
    QString Selection();
    void SetSelection(const QString& Value);
    TRootFolder RootFolder() const { return FRootFolder; }
    void SetRootFolder(TRootFolder Value);
    QString CustomDir() const { return FCustomDir; }
    void SetCustomDir(const QString& Value);
    QString CustomDirCaption() const { return FCustomDirCaption; }
    void SetCustomDirCaption(const QString& Value);
    bool ShowFiles() const { return FShowFiles; }
    void SetShowFiles(bool Value);
    bool ShowHiddenDirs() const { return FShowHiddenDirs; }
    void SetShowHiddenDirs(bool Value) { FShowHiddenDirs = Value; }
    bool ExpandRoot() const { return FExpandRoot; }
    void SetExpandRoot(bool Value) { FExpandRoot = Value; }
    bool Autoscroll() const { return FAutoscroll; }
    void SetAutoscroll(bool Value) { FAutoscroll = Value; }
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
    bool GetIDFromPath(IShellFolder* Folder, const QString& Path, LPITEMIDLIST& ID);
    // The node's file-system path; empty when it has none.
    QString GetNodePath(vcl::TTreeNode* Node);
    // The node's record; for a node without one an error box says so and null comes back.
    TFolderItemData* GetNodeData(vcl::TTreeNode* Node);
    TFolderItemData* GetItemData(int Index);
    bool GetItemCheck(vcl::TTreeNode* Node) const;
    void SetItemCheck(vcl::TTreeNode* Node, bool State);
    bool DisplayContextMenu(vcl::TTreeNode* Node, QPoint ScreenPoint);
    bool RenameNode(vcl::TTreeNode* Node, const QString& Name);
    // Moves the node's item to the trash (the watcher then removes the node).
    bool DeleteNode(vcl::TTreeNode* Node);
    // Creates the folder Name in Parent's folder; true when it was created.
    bool AddNewNode(vcl::TTreeNode* Parent, const QString& Name, bool Select);
    void WatchDirectoryForChanges(vcl::TTreeNode* Node);
    // The node being watched, null when none.
    vcl::TTreeNode* WatchedNode() const { return FWatchedNode; }
    // Sorts the top level with Compare (null: the folders' own order), then every
    // node's children with the folders' own order.
    bool CustomSort(const vcl::TTVCompare& Compare, intptr_t Data);
    bool AlphaSort();
    void ComboBoxSetSelectionPIDL(LPCITEMIDLIST ID);

    LPITEMIDLIST GetSelectionPIDL() override;
    IShellFolder* GetSelectionParentFolder() override { return FDesktopFolder; }
    bool LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force) override;

    TSTVPopulatedEvent OnPopulated;

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
