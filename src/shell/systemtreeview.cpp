#include "shell/systemtreeview.h"

#include "platform/shell/shellapi.h"
#include "shell/filechange.h"
#include "shell/itemprop.h"
#include "shell/masksearch.h"
#include "shell/pidlhelp.h"
#include "vcl/controls/dialogs.h"
#include "vcl/core/resstrings.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/formfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace Systemtreeview {

using namespace platform::shell;

namespace {

enum : int { SNoFolderData = 10010 };

// What AddNode asks a folder about each item (as the list view does).
constexpr ULONG NodeAttributeMask = 0xF20B0177;
constexpr ULONG ShareAttribute = 0x20000;
enum : int { ShareOverlay = 0, LinkOverlay = 1 };
// The framework tree's check-box state images.
enum : int { UncheckedState = 0, CheckedState = 1 };

int LiveRecords = 0;

void ShutDown()
{
    if (LiveRecords != 0)
        throw Systemcontrolpack::ELeaking();
}

const vcl::TUnitRegistration UnitRegistration(
    QStringLiteral("Systemtreeview"), {"Systemcontrolpack", "Masksearch", "Itemprop", "Filechange"}, {}, ShutDown);

const bool EventsPublished = vcl::RegisterEvent(&TSystemTreeView::OnPopulated, "OnPopulated");

TFolderItemData* RecordOf(const vcl::TTreeNode* Node)
{
    return Node ? static_cast<TFolderItemData*>(Node->Data()) : nullptr;
}

int OrderOf(HRESULT Result)
{
    return SUCCEEDED(Result) ? COMPARE_RESULT_CODE(Result) : 0;
}

// The item of a list at Position (0-based) as a one-item list of its own.
LPITEMIDLIST CopyItemAt(LPCITEMIDLIST List, int Position)
{
    LPCITEMIDLIST item = List;
    for (int i = 0; i < Position && item; ++i)
        item = Pidlhelp::NextPIDL(item);
    return item ? Pidlhelp::CopyFirstID(item) : nullptr;
}

} // namespace

int SpecialFolderNumber(TRootFolder Root)
{
    static constexpr int Numbers[] = {0, 10, 3, 16, 17, 6, 20, 18, 19, 5, 4, 2, 8, 9, 11, 7, 21, 17, -1};
    return Numbers[Root];
}

int LiveRecordCount()
{
    return LiveRecords;
}

TSystemTreeView::TSystemTreeView(vcl::TComponent* AOwner) : TCustomSystemTreeView(AOwner)
{
    if (FAILED(SHGetDesktopFolder(&FDesktopFolder)))
        throw vcl::EOSError(QStringLiteral("The desktop folder is not available"), 0);
    SetShowRoot(true);
}

TSystemTreeView::~TSystemTreeView()
{
    FDestroying = true;
    StopWatching();
    Items()->Clear();
    if (FDesktopFolder)
        FDesktopFolder->Release();
}

QString TSystemTreeView::Version() const
{
    return QStringLiteral("TSystemTreeView v0.96 Beta");
}

// ---------------------------------------------------------------------------
// Properties

void TSystemTreeView::SetRootFolder(TRootFolder Value)
{
    if (Value == FRootFolder)
        return;
    FRootFolder = Value;
    Reset();
}

void TSystemTreeView::SetCustomDir(const QString& Value)
{
    if (Value == FCustomDir)
        return;
    FCustomDir = Value;
    Reset();
}

void TSystemTreeView::SetCustomDirCaption(const QString& Value)
{
    if (Value == FCustomDirCaption)
        return;
    FCustomDirCaption = Value;
    vcl::TTreeNode* root = Items()->GetFirstNode();
    if (FRootFolder == rfCustom && root && !Value.isEmpty())
        root->SetText(Value);
}

void TSystemTreeView::SetShowFiles(bool Value)
{
    if (Value == FShowFiles)
        return;
    FShowFiles = Value;
    Reset();
}

void TSystemTreeView::SetFileMask(const QString& Value)
{
    if (Value == FFileMask)
        return;
    FFileMask = Value;
    Masksearch::BuildMask(FFileMask, FMaskList);
    Reset();
}

// ---------------------------------------------------------------------------
// Building the tree

void TSystemTreeView::Loaded()
{
    TCustomSystemTreeView::Loaded();
    Reset();
}

void TSystemTreeView::CreateWnd()
{
    TCustomSystemTreeView::CreateWnd();
    if (!ComponentState().testFlag(vcl::csLoading))
        Reset();
}

void TSystemTreeView::DestroyWnd()
{
    // The next tree built selects the same folder again.
    if (FSavedSelection.isEmpty())
        FSavedSelection = Selection();
    FWindowDestroying = true;
    TCustomSystemTreeView::DestroyWnd();
    FWindowDestroying = false;
}

void TSystemTreeView::Reset()
{
    if (!HandleAllocated() || ComponentState().testFlag(vcl::csLoading) || FDestroying)
        return;
    const TFolderItemData* selected = RecordOf(Selected());
    LPITEMIDLIST remembered = selected ? Pidlhelp::CopyPIDL(selected->AbsoluteID) : nullptr;
    const bool firstChange = FirstChange();
    SetFirstChange(true);
    StopWatching();
    Items()->BeginUpdate();
    SetSelected(nullptr);
    Items()->Clear();
    LPITEMIDLIST rootID = nullptr;
    const bool found = FRootFolder == rfCustom
        ? GetIDFromPath(FDesktopFolder, FCustomDir, rootID)
        : SUCCEEDED(SHGetSpecialFolderLocation(nullptr, SpecialFolderNumber(FRootFolder), &rootID));
    if (found && rootID) {
        vcl::TTreeNode* root = AddNode(FDesktopFolder, Pidlhelp::CopyPIDL(rootID), rootID, nullptr);
        if (FExpandRoot && root)
            root->Expand(false);
    } else
        Pidlhelp::FreePIDL(rootID);
    if (SortType() != vcl::stNone)
        AlphaSort();
    if (!FSavedSelection.isEmpty()) {
        const QString path = FSavedSelection;
        FSavedSelection.clear();
        SetSelection(path);
    } else if (remembered)
        SetSelected(FindNodeFromID(remembered));
    Items()->EndUpdate();
    SetFirstChange(firstChange);
    Pidlhelp::FreePIDL(remembered);
    TCustomSystemTreeView::Reset();
}

bool TSystemTreeView::ItemPassesFilters(IShellFolder* Folder, LPCITEMIDLIST Relative, uint32_t Attributes) const
{
    if (FRootFolder == rfFileSystem && !(Attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
        return false;
    if (FFileMask.isEmpty() || (Attributes & SFGAO_FOLDER))
        return true;
    // The mask is matched against the item's name alone: a folder in the path that
    // happens to match must not let every file below it through.
    const QString path = Pidlhelp::GetDisplayName(Folder, Relative, Pidlhelp::dntForParsing);
    return Masksearch::FileMatches(path.mid(path.lastIndexOf(u'/') + 1), &FMaskList);
}

vcl::TTreeNode* TSystemTreeView::AddNode(IShellFolder* Folder, LPITEMIDLIST Absolute, LPITEMIDLIST Relative,
    vcl::TTreeNode* Parent)
{
    ULONG attributes = NodeAttributeMask;
    LPCITEMIDLIST one = Relative;
    const bool known = Folder && Relative && SUCCEEDED(Folder->GetAttributesOf(1, &one, &attributes));
    // The desktop root answers for no attributes of its own; it is a folder.
    if (!known && Parent == nullptr && Relative && Pidlhelp::PIDLCount(Relative) == 0)
        attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    else if (!known || !Absolute || !ItemPassesFilters(Folder, Relative, attributes)) {
        Pidlhelp::FreePIDL(Absolute);
        Pidlhelp::FreePIDL(Relative);
        return nullptr;
    }
    auto* data = new TFolderItemData(Folder, attributes, Relative, Absolute);
    ++LiveRecords;
    QString caption = Pidlhelp::GetDisplayName(Folder, Relative, Pidlhelp::dntNormal);
    if (caption.isEmpty()) // the desktop names itself only through the file information
        caption = Systemcontrolpack::DisplayNameOfList(Absolute);
    if (Parent == nullptr && FRootFolder == rfCustom && !FCustomDirCaption.isEmpty())
        caption = FCustomDirCaption;
    vcl::TTreeNode* node = Items()->AddChildObject(Parent, caption, data);
    if (Checkboxes())
        node->SetStateIndex(UncheckedState);
    SetNodeLook(node, data);
    node->SetHasChildren(ShowsButton(data));
    return node;
}

void TSystemTreeView::SetNodeLook(vcl::TTreeNode* Node, const TFolderItemData* Data)
{
    int normal = -1;
    int open = -1;
    Pidlhelp::GetNormalAndSelectedIcons(Data->AbsoluteID, normal, open);
    if (open == 0 && normal != 0)
        open = normal;
    const bool folder = Data->ItemHasFlag(SFGAO_FOLDER);
    Node->SetImageIndex(folder ? normal : open);
    Node->SetSelectedIndex(open);
    if (Data->ItemHasFlag(SFGAO_LINK))
        Node->SetOverlayIndex(LinkOverlay);
    else if (Data->ItemHasFlag(ShareAttribute))
        Node->SetOverlayIndex(ShareOverlay);
    Systemcontrolpack::SyncSystemImages();
}

bool TSystemTreeView::ShowsButton(const TFolderItemData* Data) const
{
    if (Data->ItemHasFlag(SFGAO_HASSUBFOLDER))
        return true;
    if (!FShowFiles)
        return false;
    IShellFolder* folder = nullptr;
    if (FAILED(Data->ParentFolder()->BindToObject(Data->RelativeID, nullptr, IID_IShellFolder,
                                                   reinterpret_cast<void**>(&folder))))
        return false;
    IEnumIDList* enumerator = nullptr;
    const DWORD flags = SHCONTF_NONFOLDERS | (FShowHiddenDirs ? DWORD(SHCONTF_INCLUDEHIDDEN) : 0u);
    bool button = false;
    if (SUCCEEDED(folder->EnumObjects(nullptr, flags, &enumerator)) && enumerator) {
        LPITEMIDLIST first = nullptr;
        ULONG fetched = 0;
        const HRESULT result = enumerator->Next(1, &first, &fetched);
        // A folder that cannot say keeps its button; the expansion finds out.
        button = result != S_OK || fetched == 1;
        Pidlhelp::FreePIDL(first);
        enumerator->Release();
    }
    folder->Release();
    return button;
}

bool TSystemTreeView::EnumerateFolders(IShellFolder* Folder, vcl::TTreeNode* Parent)
{
    IEnumIDList* enumerator = nullptr;
    DWORD flags = SHCONTF_FOLDERS;
    if (FShowHiddenDirs)
        flags |= SHCONTF_INCLUDEHIDDEN;
    if (FShowFiles)
        flags |= SHCONTF_NONFOLDERS;
    if (!Folder || FAILED(Folder->EnumObjects(nullptr, flags, &enumerator)) || !enumerator)
        return false;
    setCursor(Qt::BusyCursor);
    Items()->BeginUpdate();
    const TFolderItemData* parent = RecordOf(Parent);
    bool any = false;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        any = true;
        AddNode(Folder, Pidlhelp::ConcatPIDLs(parent ? parent->AbsoluteID : nullptr, item), item, Parent);
        item = nullptr;
    }
    enumerator->Release();
    Items()->EndUpdate();
    unsetCursor();
    return any;
}

// ---------------------------------------------------------------------------
// Expanding and sorting

bool TSystemTreeView::CanExpand(vcl::TTreeNode* Node)
{
    if (!TCustomSystemTreeView::CanExpand(Node))
        return false;
    TFolderItemData* data = GetNodeData(Node);
    if (!data)
        return false;
    if (data->Populated)
        return true;
    const bool allowed = PopulateNode(Node, data);
    data->Populated = true;
    if (!allowed) {
        Node->SetHasChildren(false);
        return false;
    }
    if (OnPopulated)
        OnPopulated(this, Node);
    return true;
}

bool TSystemTreeView::PopulateNode(vcl::TTreeNode* Node, TFolderItemData* Data)
{
    if (Node->Parent() == nullptr && FRootFolder == rfDesktop)
        return EnumerateFolders(FDesktopFolder, Node);
    // A folder that cannot be bound (gone since it was listed) is refused rather than
    // reported with an exception from inside the view's expansion.
    IShellFolder* folder = nullptr;
    if (FAILED(Data->ParentFolder()->BindToObject(Data->RelativeID, nullptr, IID_IShellFolder,
                                                   reinterpret_cast<void**>(&folder))))
        return false;
    const bool any = EnumerateFolders(folder, Node);
    folder->Release();
    return any;
}

void TSystemTreeView::Expand(vcl::TTreeNode* Node)
{
    Node->CustomSort([this](vcl::TTreeNode* A, vcl::TTreeNode* B, intptr_t) { return DefaultCompare(A, B); }, 0);
    TCustomSystemTreeView::Expand(Node);
}

void TSystemTreeView::ResetNode(vcl::TTreeNode* Node)
{
    TFolderItemData* data = RecordOf(Node);
    if (!Node || !data)
        return;
    const bool wasExpanded = Node->Expanded();
    // Collapsed first, so that expanding again reads the children anew.
    if (wasExpanded)
        Node->Collapse(false);
    Node->DeleteChildren();
    data->Populated = false;
    Node->SetHasChildren(ShowsButton(data));
    if (wasExpanded)
        Node->Expand(false);
    NotifyLinkedControls(true);
}

int TSystemTreeView::DefaultCompare(vcl::TTreeNode* Node1, vcl::TTreeNode* Node2) const
{
    if (Node1 == Node2)
        return 0;
    if (!Node1 || !Node2)
        return Node1 ? 1 : -1;
    const TFolderItemData* a = RecordOf(Node1);
    const TFolderItemData* b = RecordOf(Node2);
    // Nodes without a record go after the others, so the order stays a strict weak one.
    if (!a || !b)
        return (a ? -1 : 0) + (b ? 1 : 0);
    return OrderOf(a->ParentFolder()->CompareIDs(0, a->RelativeID, b->RelativeID));
}

bool TSystemTreeView::CustomSort(const vcl::TTVCompare& Compare, intptr_t Data)
{
    if (!HandleAllocated())
        return false;
    const vcl::TTVCompare byFolder = [this](vcl::TTreeNode* A, vcl::TTreeNode* B, intptr_t) {
        return DefaultCompare(A, B);
    };
    TCustomSystemTreeView::CustomSort(Compare ? Compare : byFolder, Data, false);
    for (vcl::TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        if (node->Count() > 1)
            node->CustomSort(byFolder, 0, false);
    return true;
}

bool TSystemTreeView::AlphaSort()
{
    Items()->BeginUpdate();
    const bool sorted = CustomSort(nullptr, 0);
    Items()->EndUpdate();
    return sorted;
}

// ---------------------------------------------------------------------------
// Finding and selecting

bool TSystemTreeView::GetIDFromPath(IShellFolder* Folder, const QString& Path, LPITEMIDLIST& ID)
{
    return !Path.isEmpty() && Pidlhelp::GetPIDLFromPath(nullptr, Folder, Path, ID);
}

vcl::TTreeNode* TSystemTreeView::ChildMatching(vcl::TTreeNode* Parent, LPCITEMIDLIST Item)
{
    if (!Parent->Expanded() && Parent->HasChildren())
        Parent->Expand(false);
    for (vcl::TTreeNode* child = Parent->GetFirstChild(); child; child = child->getNextSibling()) {
        const TFolderItemData* data = RecordOf(child);
        const HRESULT order = data ? data->ParentFolder()->CompareIDs(0, data->RelativeID, Item) : E_FAIL;
        if (SUCCEEDED(order) && COMPARE_RESULT_CODE(order) == 0)
            return child;
    }
    return nullptr;
}

vcl::TTreeNode* TSystemTreeView::FindNodeFromID(LPCITEMIDLIST ID)
{
    vcl::TTreeNode* node = Items()->GetFirstNode();
    if (!node || !ID || Pidlhelp::PIDLCount(ID) == 0)
        return node;
    // The walk starts below the root: the identifier's first items are the root's own
    // when the root is not the desktop.
    const TFolderItemData* root = RecordOf(node);
    const int rootItems = root ? Pidlhelp::PIDLCount(root->AbsoluteID) : 0;
    LPITEMIDLIST rootPart = root ? Pidlhelp::CopyPIDL(ID) : nullptr;
    for (int i = Pidlhelp::PIDLCount(ID); rootPart && i > rootItems; --i) {
        LPITEMIDLIST shorter = Pidlhelp::CopyParentPIDL(rootPart);
        Pidlhelp::FreePIDL(rootPart);
        rootPart = shorter;
    }
    const bool belowRoot = root && OrderOf(FDesktopFolder->CompareIDs(0, rootPart, root->AbsoluteID)) == 0;
    Pidlhelp::FreePIDL(rootPart);
    if (!belowRoot)
        return node;
    for (int position = rootItems; position < Pidlhelp::PIDLCount(ID); ++position) {
        LPITEMIDLIST item = CopyItemAt(ID, position);
        vcl::TTreeNode* child = ChildMatching(node, item);
        Pidlhelp::FreePIDL(item);
        if (!child)
            break;
        node = child;
    }
    return node;
}

QString TSystemTreeView::StripRootCaption(const QString& Path)
{
    // Other roots also take a path that starts with the root's caption, read below
    // the root's own folder.
    vcl::TTreeNode* root = Items()->GetFirstNode();
    if (!root || Path.startsWith(u'/') || FRootFolder == rfDesktop || FRootFolder == rfDrives
        || FRootFolder == rfFileSystem)
        return Path;
    QString caption = root->Text();
    if (!caption.endsWith(u'/'))
        caption += u'/';
    if (!Path.startsWith(caption, Qt::CaseInsensitive))
        return Path;
    QString rootPath = GetNodePath(root);
    if (!rootPath.endsWith(u'/'))
        rootPath += u'/';
    return rootPath + Path.mid(caption.size());
}

void TSystemTreeView::SetSelection(const QString& Value)
{
    if (ComponentState().testFlag(vcl::csLoading) || !HandleAllocated()) {
        FSavedSelection = Value;
        return;
    }
    vcl::TTreeNode* root = Items()->GetFirstNode();
    if (!root || Value.isEmpty())
        return;
    if (!root->Expanded())
        root->Expand(false);
    LPITEMIDLIST id = nullptr;
    if (!GetIDFromPath(FDesktopFolder, StripRootCaption(Value), id))
        return;
    Items()->BeginUpdate();
    vcl::TTreeNode* node = FindNodeFromID(id);
    SetSelected(node);
    Items()->EndUpdate();
    if (node)
        node->MakeVisible();
    Pidlhelp::FreePIDL(id);
}

QString TSystemTreeView::Selection()
{
    if (!HandleAllocated())
        return FSavedSelection;
    return GetNodePath(Selected());
}

QString TSystemTreeView::GetNodePath(vcl::TTreeNode* Node)
{
    const TFolderItemData* data = RecordOf(Node);
    if (!data)
        return {};
    const QString path = Pidlhelp::GetDisplayName(FDesktopFolder, data->AbsoluteID, Pidlhelp::dntForParsing);
    return path.startsWith(u'/') ? path : QString();
}

TFolderItemData* TSystemTreeView::GetNodeData(vcl::TTreeNode* Node)
{
    if (!Node)
        return nullptr;
    TFolderItemData* data = RecordOf(Node);
    if (!data)
        vcl::MessageDlg(vcl::LoadResString(SNoFolderData), vcl::mtError, {vcl::mbOK});
    return data;
}

TFolderItemData* TSystemTreeView::GetItemData(int Index)
{
    return Index >= 0 && Index < Items()->Count() ? GetNodeData(Items()->Item(Index)) : nullptr;
}

void TSystemTreeView::ComboBoxSetSelectionPIDL(LPCITEMIDLIST ID)
{
    if (!ID)
        return;
    // The identifier and its ancestors, deepest first.
    std::vector<LPITEMIDLIST> chain{Pidlhelp::CopyPIDL(ID)};
    while (Pidlhelp::PIDLCount(chain.back()) > 0)
        chain.push_back(Pidlhelp::CopyParentPIDL(chain.back()));
    auto absoluteIs = [](vcl::TTreeNode* Node, LPCITEMIDLIST List) {
        const TFolderItemData* data = RecordOf(Node);
        return data && Pidlhelp::ComparePIDLs(data->AbsoluteID, List);
    };
    vcl::TTreeNode* node = nullptr;
    int level = int(chain.size());
    for (vcl::TTreeNode* top = Items()->GetFirstNode(); top && !node; top = top->getNextSibling())
        for (int i = 0; i < int(chain.size()) && !node; ++i)
            if (absoluteIs(top, chain[i])) {
                node = top;
                level = i;
            }
    while (node && level > 0) {
        node->Expand(false);
        vcl::TTreeNode* next = nullptr;
        for (vcl::TTreeNode* child = node->GetFirstChild(); child && !next; child = child->getNextSibling())
            if (absoluteIs(child, chain[level - 1]))
                next = child;
        if (!next)
            break;
        node = next;
        --level;
    }
    if (node)
        SetSelected(node);
    for (LPITEMIDLIST& list : chain)
        Pidlhelp::FreePIDL(list);
}

LPITEMIDLIST TSystemTreeView::GetSelectionPIDL()
{
    const TFolderItemData* data = RecordOf(Selected());
    return data ? data->AbsoluteID : nullptr;
}

bool TSystemTreeView::LinkedReset(IShellFolder*, LPCITEMIDLIST ID, bool)
{
    if (ID) {
        // The control's own identifier may be the one passed; the node stays put then.
        LPITEMIDLIST copy = Pidlhelp::CopyPIDL(ID);
        vcl::TTreeNode* node = FindNodeFromID(copy);
        Pidlhelp::FreePIDL(copy);
        if (node && node != Selected()) {
            SetSelected(node);
            node->MakeVisible();
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Records

void TSystemTreeView::FreeNodeData(vcl::TTreeNode* Node)
{
    auto* data = RecordOf(Node);
    if (!data)
        return;
    delete data;
    Node->SetData(nullptr);
    --LiveRecords;
}

void TSystemTreeView::Delete(vcl::TTreeNode* Node)
{
    if (Node == FWatchedNode)
        StopWatching();
    if (Node == FRewatchNode)
        FRewatchNode = nullptr;
    TCustomSystemTreeView::Delete(Node);
    // The framework keeps the nodes while its window is made anew, so their records stay.
    if (!FWindowDestroying)
        FreeNodeData(Node);
}

bool TSystemTreeView::GetItemCheck(vcl::TTreeNode* Node) const
{
    return Node && Node->StateIndex() == CheckedState;
}

void TSystemTreeView::SetItemCheck(vcl::TTreeNode* Node, bool State)
{
    if (Node)
        Node->SetStateIndex(State ? CheckedState : UncheckedState);
}

// ---------------------------------------------------------------------------
// Watching the selected folder

void TSystemTreeView::Change(vcl::TTreeNode* Node)
{
    if (FDestroying)
        return;
    TCustomSystemTreeView::Change(Node);
    if (RecordOf(Selected()))
        WatchDirectoryForChanges(Selected());
}

void TSystemTreeView::WndProc(vcl::TMessage& Message)
{
    const bool readTimer = Message.Msg == vcl::WM_TIMER && Message.WParam == ReadTimerID;
    TCustomSystemTreeView::WndProc(Message);
    if (readTimer && RecordOf(Selected()))
        WatchDirectoryForChanges(Selected());
    if (Message.Msg == vcl::WM_RBUTTONUP && ShowsShellMenu()) {
        const int x = vcl::GET_X_LPARAM(Message.LParam);
        const int y = vcl::GET_Y_LPARAM(Message.LParam);
        if (vcl::TTreeNode* node = GetNodeAt(x, y)) {
            SetSelected(node);
            if (DisplayContextMenu(node, mapToGlobal(QPoint(x, y))))
                Message.Result = 1;
        }
    }
}

void TSystemTreeView::StopWatching()
{
    // A stopped watcher frees itself and never calls back.
    if (FWatcher)
        FWatcher->Terminate();
    FWatcher = nullptr;
    FWatchedNode = nullptr;
}

void TSystemTreeView::WatchDirectoryForChanges(vcl::TTreeNode* Node)
{
    StopWatching();
    QString path = GetNodePath(Node);
    if (FShowFiles && QFileInfo(path).isFile())
        path = QFileInfo(path).path();
    if (path.isEmpty() || FDestroying)
        return;
    using namespace Filechange;
    const TFSFilterSet filter = ListView() || FShowFiles
        ? TFSFilterSet{fsfFilename, fsfDirname, fsfAttributes, fsfSize, fsfLastWrite}
        : TFSFilterSet{fsfDirname};
    FWatchedNode = Node;
    FWatcher = new TFileChangeThread(path, filter, false);
    FWatcher->OnTerminate = [this](vcl::TObject*) { ThreadDone(); };
    FWatcher->Start();
}

void TSystemTreeView::ThreadDone()
{
    FWatcher = nullptr;
    vcl::TTreeNode* node = FWatchedNode;
    FWatchedNode = nullptr;
    const QString path = GetNodePath(node);
    if (path.isEmpty())
        return;
    // A drive root ("/" or a mount point) is a folder like any other here: the path is
    // tested as it is, without cutting a trailing separator.
    const QFileInfo entry(path);
    if (entry.isDir()) {
        const bool wasExpanded = node->Expanded();
        ResetNode(node);
        if (wasExpanded)
            node->MakeVisible();
        WatchDirectoryForChanges(node);
    } else if (entry.exists() || entry.isSymLink())
        WatchDirectoryForChanges(node->Parent());
    else
        RefreshGoneFolder(node);
}

void TSystemTreeView::RefreshGoneFolder(vcl::TTreeNode* Node)
{
    vcl::TTreeNode* parent = Node->Parent();
    if (!parent) {
        Reset();
        return;
    }
    const bool wasExpanded = parent->Expanded();
    ResetNode(parent);
    if (wasExpanded)
        parent->MakeVisible();
    SetSelected(parent);
    if (!FWatcher)
        WatchDirectoryForChanges(parent);
}

// ---------------------------------------------------------------------------
// Shell actions

bool TSystemTreeView::ShowsShellMenu() const
{
    return FPopupMenuMethod == Systemcontrolpack::pmmContext || FPopupMenuMethod == Systemcontrolpack::pmmContextUser;
}

void TSystemTreeView::WMContextMenu(vcl::TMessage& Message)
{
    if (FPopupMenuMethod == Systemcontrolpack::pmmUser || FPopupMenuMethod == Systemcontrolpack::pmmContextUser)
        TCustomSystemTreeView::WMContextMenu(Message);
}

bool TSystemTreeView::DisplayContextMenu(vcl::TTreeNode* Node, QPoint ScreenPoint)
{
    const TFolderItemData* data = GetNodeData(Node);
    if (!data)
        return false;
    LPCITEMIDLIST one = data->RelativeID;
    return Itemprop::DisplayContextMenu(data->ParentFolder(), &one, data->Attributes, GetValidHandle(), ScreenPoint, 1);
}

bool TSystemTreeView::CanEdit(vcl::TTreeNode* Node)
{
    const TFolderItemData* data = GetNodeData(Node);
    return data && data->ItemHasFlag(SFGAO_CANRENAME) && TCustomSystemTreeView::CanEdit(Node);
}

void TSystemTreeView::Edit(vcl::TTreeNode* Node, const QString& NewText)
{
    if (RenameNode(Node, NewText))
        TCustomSystemTreeView::Edit(Node, NewText);
}

bool TSystemTreeView::RenameNode(vcl::TTreeNode* Node, const QString& Name)
{
    TFolderItemData* data = GetNodeData(Node);
    if (!data || !data->Rename(Name))
        return false;
    Node->SetText(Name);
    // The children's identifiers still name the old path; they are read again.
    if (data->Populated)
        ResetNode(Node);
    return true;
}

bool TSystemTreeView::DeleteNode(vcl::TTreeNode* Node)
{
    const TFolderItemData* data = GetNodeData(Node);
    if (!data)
        return false;
    LPCITEMIDLIST one = data->RelativeID;
    return Itemprop::PerformVerb(QStringLiteral("delete"), data->ParentFolder(), &one, data->Attributes,
                                 GetValidHandle(), 1);
}

bool TSystemTreeView::AddNewNode(vcl::TTreeNode* Parent, const QString& Name, bool Select)
{
    const QString path = GetNodePath(Parent);
    // A name is one path component: nothing may be made outside the parent's folder.
    if (path.isEmpty() || Name.isEmpty() || Name.contains(u'/') || Name == u"." || Name == u"..")
        return false;
    FRewatchNode = FWatchedNode;
    StopWatching();
    const QByteArray full = QFile::encodeName(QDir(path).filePath(Name));
    const bool created = ::mkdir(full.constData(), 0777) == 0;
    bool selected = false;
    if (created) {
        ResetNode(Parent);
        if (Select)
            Parent->Expand(false);
        for (vcl::TTreeNode* child = Parent->GetFirstChild(); Select && child && !selected;
             child = child->getNextSibling())
            if (child->Text() == Name) {
                SetSelected(child);
                selected = true;
            }
    }
    if (!selected && FRewatchNode && !FWatcher)
        WatchDirectoryForChanges(FRewatchNode);
    FRewatchNode = nullptr;
    return created;
}

void TSystemTreeView::MouseMove(vcl::TShiftState Shift, int X, int Y)
{
    if (FAutoscroll)
        Systemcontrolpack::ScrollNearEdges(View(), this, X, Y);
    TCustomSystemTreeView::MouseMove(Shift, X, Y);
}

} // namespace Systemtreeview
