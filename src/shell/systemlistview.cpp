#include "shell/systemlistview.h"

#include "platform/shell/shellapi.h"
#include "platform/shell/shellfileinfo.h"
#include "shell/customsystemtreeview.h"
#include "shell/itemprop.h"
#include "shell/masksearch.h"
#include "shell/pidlhelp.h"
#include "shell/systemlistdetails.h"
#include "vcl/controls/dialogs.h"
#include "vcl/registry/registry.h"
#include "vcl/core/resstrings.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/formfile.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QTimer>
#include <QtEndian>

namespace Systemlistview {

using namespace platform::shell;
using Systemcontrolpack::TFolderItemData;

namespace {

enum : int {
    SNoFolderData = 10010, SAttributes = 65505, SName = 65522, SType, STotalSize, SFreeSpace, SDescription,
    SDocuments, SPhone, SStatus, SComment, SEntryName, SDeviceName, SSize, SModified, SUserDefined,
};

// What AddNode asks a folder about each item: copy, move, link, rename, delete,
// property sheet, drop target, link, share, ghosted, removable, file-system ancestor,
// folder, file system, subfolders.
constexpr ULONG NodeAttributeMask = 0xF20B0177;
// A folder in either sense: a folder, or an item with subfolders (drive roots).
constexpr ULONG FolderBits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
constexpr ULONG ShareAttribute = 0x20000;
enum : int { ShareOverlay = 0, LinkOverlay = 1 };
// Enumerated lists fetched per call while a slice runs.
constexpr ULONG FetchBatch = 64;
constexpr int LastColumnWidthCount = 5;
// The sort parameter's high half: set for a descending sort.
constexpr intptr_t DescendingSort = 0xFFFF0000;

const QString ColumnWidthsKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
const QString ColumnWidthsValue = QStringLiteral("DirectoryCols");

int LiveRecords = 0;

void ShutDown()
{
    if (LiveRecords != 0)
        throw Systemcontrolpack::ELeaking();
}

const vcl::TUnitRegistration UnitRegistration(
    QStringLiteral("Systemlistview"), {"Systemcontrolpack", "Masksearch", "Itemprop"}, {}, ShutDown);

const bool EventsPublished = vcl::RegisterEvent(&TSystemListView::OnCreateColumns, "OnCreateColumns")
    && vcl::RegisterEvent(&TSystemListView::OnAddListItem, "OnAddListItem")
    && vcl::RegisterEvent(&TSystemListView::OnPopulated, "OnPopulated");

QString Str(int ident)
{
    return vcl::LoadResString(ident);
}

} // namespace

int LiveRecordCount()
{
    return LiveRecords;
}

// A listing in progress: the folder read, its enumerator and what the rows need.
struct TSystemListView::TListing {
    IShellFolder* Folder = nullptr;
    IEnumIDList* Enumerator = nullptr;
    LPITEMIDLIST ParentID = nullptr;
    bool AnyItem = false;

    TListing(IShellFolder* folder, IEnumIDList* enumerator, LPCITEMIDLIST parentID)
        : Folder(folder), Enumerator(enumerator), ParentID(Pidlhelp::CopyPIDL(parentID))
    {
        Folder->AddRef();
    }
    ~TListing()
    {
        Enumerator->Release();
        Folder->Release();
        Pidlhelp::FreePIDL(ParentID);
    }
    TListing(const TListing&) = delete;
    TListing& operator=(const TListing&) = delete;
};

TSystemListView::TSystemListView(vcl::TComponent* AOwner) : TCustomSystemListView(AOwner)
{
    SetPopupMenuMethod(Systemcontrolpack::pmmContextUser);
    std::copy(std::begin(DefaultColumnWidths), std::end(DefaultColumnWidths), FColumnWidths);
    ReadColumnWidths();
    // A list made in code lists the desktop when its window comes, as one loaded from
    // a form does.
    FResetPending = true;
    FListingTimer = new QTimer(this);
    FListingTimer->setSingleShot(true);
    FListingTimer->setInterval(0);
    QObject::connect(FListingTimer, &QTimer::timeout, this, [this] { ContinueListing(); });
}

TSystemListView::~TSystemListView()
{
    CancelListing();
    Items()->Clear();
    Pidlhelp::FreePIDL(FFocusAfterListing);
    Pidlhelp::FreePIDL(FCurrentID);
    if (FRootFolder)
        FRootFolder->Release();
}

QString TSystemListView::Version() const
{
    return QStringLiteral("TSystemListView v0.96 Beta");
}

void TSystemListView::ReadColumnWidths()
{
    // The desktop's own saved widths, 16 bits each; a value that cannot be read leaves
    // the defaults.
    try {
        vcl::TRegistry registry;
        if (!registry.OpenKeyReadOnly(ColumnWidthsKey))
            return;
        const QByteArray raw = registry.ReadBinaryData(ColumnWidthsValue);
        for (int i = 0; i < LastColumnWidthCount && (i + 1) * 2 <= raw.size(); ++i)
            FColumnWidths[i] = qFromLittleEndian<uint16_t>(raw.constData() + i * 2);
    } catch (const vcl::Exception&) {
    }
}

void TSystemListView::SetColumnWidths(int W0, int W1, int W2, int W3, int W4)
{
    const int widths[LastColumnWidthCount] = {W0, W1, W2, W3, W4};
    std::copy(std::begin(widths), std::end(widths), FColumnWidths);
}

void TSystemListView::SetColumnType(TColumnType Value)
{
    if (Value == FColumnType)
        return;
    FColumnType = Value;
    if (!ComponentState().testFlag(vcl::csLoading))
        CreateColumns(FColumnType);
}

void TSystemListView::SetShowFolders(bool Value)
{
    if (Value == FShowFolders)
        return;
    FShowFolders = Value;
    // Listed again, so the new value shows now rather than at the next folder.
    FResetPending = true;
    Reset();
}

void TSystemListView::SetFileMask(const QString& Value)
{
    if (Value != FFileMask) {
        FFileMask = Value;
        FMaskList.Clear();
        if (!FFileMask.isEmpty())
            Masksearch::BuildMask(FFileMask, FMaskList);
    }
    FResetPending = true;
    Reset();
}

void TSystemListView::AddColumn(const QString& Caption, int Width, vcl::TAlignment Alignment)
{
    vcl::TListColumn* column = Columns()->Add();
    column->SetCaption(Caption);
    column->SetWidth(Width);
    column->SetAlignment(Alignment);
}

void TSystemListView::CreateColumns(TColumnType Type)
{
    // Columns live without a window here, so none is made for them.
    Columns()->Clear();
    const int* w = FColumnWidths;
    switch (Type) {
    case ctFileSystem:
        AddColumn(Str(SName), w[0]);
        AddColumn(Str(SSize), w[1], vcl::taRightJustify);
        AddColumn(Str(SType), w[2]);
        AddColumn(Str(SModified), w[3]);
        AddColumn(Str(SAttributes), w[4], vcl::taRightJustify);
        break;
    case ctMachine:
        AddColumn(Str(SName), w[0]);
        AddColumn(Str(SType), w[1]);
        AddColumn(Str(STotalSize), w[2], vcl::taRightJustify);
        AddColumn(Str(SFreeSpace), w[3], vcl::taRightJustify);
        break;
    case ctControlPanel:
        AddColumn(Str(SName), w[0]);
        AddColumn(Str(SDescription), w[1]);
        break;
    case ctPrinters:
        AddColumn(Str(SName), w[0]);
        AddColumn(Str(SDocuments), w[1], vcl::taCenter);
        AddColumn(Str(SStatus), w[2]);
        AddColumn(Str(SComment), w[3]);
        break;
    case ctDUNet:
        AddColumn(Str(SEntryName), w[0]);
        AddColumn(Str(SPhone), w[1], vcl::taRightJustify);
        AddColumn(Str(SDeviceName), w[2]);
        break;
    case ctNetwork:
        AddColumn(Str(SName), w[0]);
        AddColumn(Str(SComment), w[1]);
        break;
    case ctUser:
        if (ComponentState().testFlag(vcl::csDesigning))
            AddColumn(Str(SUserDefined), UserColumnWidth);
        else if (OnCreateColumns)
            OnCreateColumns(this);
        else {
            FColumnType = ctUnknown;
            AddColumn(Str(SName), w[0]);
        }
        break;
    case ctUnknown:
        AddColumn(Str(SName), w[0]);
        break;
    }
}

void TSystemListView::Loaded()
{
    TCustomSystemListView::Loaded();
    CreateColumns(FColumnType);
    FResetPending = true;
    Reset();
}

void TSystemListView::CreateWnd()
{
    TCustomSystemListView::CreateWnd();
    if (!ComponentState().testFlag(vcl::csLoading))
        CreateColumns(FColumnType);
    // The rows (and their records) stay with the control when the window is made
    // anew; they are listed again, which frees the old records first.
    if (FRecreated || FResetPending) {
        FRecreated = false;
        FResetPending = true;
        Reset();
    }
}

void TSystemListView::DestroyWnd()
{
    FRecreated = true;
    TCustomSystemListView::DestroyWnd();
}

void TSystemListView::Reset()
{
    if (TreeView())
        LinkedControlChanged(TreeView(), false);
    else if (ComboBox())
        LinkedControlChanged(ComboBox(), false);
    else
        LinkedReset(FRootFolder, FCurrentID, false);
    TCustomSystemListView::Reset();
}

// ---------------------------------------------------------------------------
// Listing

bool TSystemListView::LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force)
{
    if (!Force && !FResetPending && Pidlhelp::ComparePIDLs(ID, FCurrentID))
        return true;
    LPITEMIDLIST desktopID = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopID)))
        throw vcl::EOSError(QStringLiteral("The desktop folder is not available"), 0);
    // Taken before the old ones go: the caller may pass this control's own folder and
    // identifier (Reset does).
    LPITEMIDLIST newID = ID ? Pidlhelp::CopyPIDL(ID) : nullptr;
    IShellFolder* newRoot = Folder;
    if (newRoot)
        newRoot->AddRef();
    bool desktopShown = true;
    if (!ID) {
        if (newRoot)
            newRoot->Release();
        newRoot = nullptr;
        if (FAILED(SHGetDesktopFolder(&newRoot))) {
            Pidlhelp::FreePIDL(desktopID);
            throw vcl::EOSError(QStringLiteral("The desktop folder is not available"), 0);
        }
        newID = Pidlhelp::CopyPIDL(desktopID);
    } else
        desktopShown = Pidlhelp::ComparePIDLs(ID, desktopID);
    Pidlhelp::FreePIDL(desktopID);
    if (FRootFolder)
        FRootFolder->Release();
    FRootFolder = newRoot;
    Pidlhelp::FreePIDL(FCurrentID);
    FCurrentID = newID;

    if (!HandleAllocated()) {
        FResetPending = true;
        return false;
    }
    FResetPending = false;
    CancelListing();
    RememberFocusedRow();
    ClearRows();
    return ListCurrentFolder(desktopShown);
}

void TSystemListView::RememberFocusedRow()
{
    Pidlhelp::FreePIDL(FFocusAfterListing);
    if (vcl::TListItem* focused = ItemFocused())
        if (auto* data = static_cast<TFolderItemData*>(focused->Data()))
            FFocusAfterListing = Pidlhelp::CopyPIDL(data->RelativeID);
}

void TSystemListView::ClearRows()
{
    Items()->BeginUpdate();
    SetSelected(nullptr);
    Items()->Clear();
    Items()->EndUpdate();
}

bool TSystemListView::ListCurrentFolder(bool DesktopShown)
{
    if (DesktopShown) {
        if (FColumnType != ctUser)
            SetColumnType(ctFileSystem);
        return EnumerateFiles(FRootFolder, FCurrentID);
    }
    // The whole identifier is read against the root folder (its last item alone is
    // relative to the folder's parent, not to the root).
    LPCITEMIDLIST current = FCurrentID;
    ULONG attributes = SFGAO_FILESYSTEM;
    const bool known = FRootFolder && SUCCEEDED(FRootFolder->GetAttributesOf(1, &current, &attributes));
    if (FColumnType != ctUser)
        SetColumnType(known && (attributes & SFGAO_FILESYSTEM) ? ctFileSystem : ctUnknown);
    IShellFolder* folder = nullptr;
    if (FRootFolder && SUCCEEDED(FRootFolder->BindToObject(FCurrentID, nullptr, IID_IShellFolder,
                                                            reinterpret_cast<void**>(&folder)))) {
        const bool any = EnumerateFiles(folder, FCurrentID);
        folder->Release();
        return any;
    }
    FinishListing();
    return false;
}

bool TSystemListView::EnumerateFiles(IShellFolder* Folder, LPCITEMIDLIST ParentID)
{
    CancelListing();
    IEnumIDList* enumerator = nullptr;
    DWORD flags = SHCONTF_NONFOLDERS;
    if (FShowHiddenFiles)
        flags |= SHCONTF_INCLUDEHIDDEN;
    if (FShowFolders)
        flags |= SHCONTF_FOLDERS;
    if (!Folder || FAILED(Folder->EnumObjects(nullptr, flags, &enumerator))
        || !enumerator) {
        FinishListing();
        return false;
    }
    FPending = std::make_unique<TListing>(Folder, enumerator, ParentID);
    setCursor(Qt::BusyCursor);
    const bool finished = ListSlice();
    const bool any = FPending->AnyItem;
    if (finished)
        FinishListing();
    else
        FListingTimer->start();
    return any;
}

bool TSystemListView::ListSlice()
{
    TListing& listing = *FPending;
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    Items()->BeginUpdate();
    while (!finished && clock.elapsed() < ListingSliceMs) {
        LPITEMIDLIST batch[FetchBatch] = {};
        ULONG fetched = 0;
        const HRESULT result = listing.Enumerator->Next(FetchBatch, batch, &fetched);
        for (ULONG i = 0; i < fetched && i < FetchBatch; ++i) {
            listing.AnyItem = true;
            AddNode(listing.Folder, Pidlhelp::ConcatPIDLs(listing.ParentID, batch[i]), batch[i]);
        }
        finished = result != S_OK || fetched < FetchBatch;
    }
    Systemcontrolpack::SyncSystemImages();
    Items()->EndUpdate();
    return finished;
}

void TSystemListView::ContinueListing()
{
    if (!FPending)
        return;
    if (ListSlice())
        FinishListing();
    else
        FListingTimer->start();
}

void TSystemListView::CancelListing()
{
    FListingTimer->stop();
    FPending.reset();
}

void TSystemListView::FinishListing()
{
    FPending.reset();
    unsetCursor();
    if (FFocusAfterListing) {
        if (vcl::TListItem* row = FindItemFromID(FFocusAfterListing))
            SetItemFocused(row);
        Pidlhelp::FreePIDL(FFocusAfterListing);
    }
    if (SortType() != vcl::stNone)
        AlphaSort();
    Populated();
}

void TSystemListView::Populated()
{
    if (OnPopulated)
        OnPopulated(this);
}

bool TSystemListView::ItemPassesFilters(IShellFolder* Folder, LPCITEMIDLIST Relative, uint32_t Attributes)
{
    if (!FShowFolders && (Attributes & SFGAO_HASSUBFOLDER))
        return false;
    if (FFileMask.isEmpty() || (Attributes & SFGAO_FOLDER))
        return true;
    // The mask is matched against the file's name, not its whole path.
    const QString path = Pidlhelp::GetDisplayName(Folder, Relative, Pidlhelp::dntForParsing);
    if (path.isEmpty() || !(Attributes & SFGAO_FILESYSTEM))
        return true;
    return Masksearch::FileMatches(path.mid(path.lastIndexOf(u'/') + 1), &FMaskList);
}

vcl::TListItem* TSystemListView::AddNode(IShellFolder* Folder, LPITEMIDLIST Absolute, LPITEMIDLIST Relative)
{
    ULONG attributes = NodeAttributeMask;
    LPCITEMIDLIST one = Relative;
    // An item that went away since the folder was read gets no row.
    if (!Folder || !Absolute || !Relative || FAILED(Folder->GetAttributesOf(1, &one, &attributes))
        || !ItemPassesFilters(Folder, Relative, attributes)) {
        Pidlhelp::FreePIDL(Absolute);
        Pidlhelp::FreePIDL(Relative);
        return nullptr;
    }
    auto* data = new TFolderItemData(Folder, attributes, Relative, Absolute);
    ++LiveRecords;
    vcl::TListItem* item = Items()->Add();
    item->SetData(data);
    // The row's icon and its type text in one question (the list shows no open icons).
    SHFILEINFO info;
    const bool known = SHGetFileInfo(reinterpret_cast<const char*>(Absolute), 0, &info, sizeof info,
                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME) != 0;
    item->SetImageIndex(known ? info.iIcon : -1);
    if (attributes & ShareAttribute)
        item->SetOverlayIndex(ShareOverlay);
    else if (attributes & SFGAO_LINK)
        item->SetOverlayIndex(LinkOverlay);
    item->SetCaption(Pidlhelp::GetDisplayName(Folder, Relative, Pidlhelp::dntNormal));
    if (OnAddListItem)
        OnAddListItem(this, item);
    else
        AddDetails(item, data, known ? info.szTypeName : nullptr);
    return item;
}

void TSystemListView::AddDetails(vcl::TListItem* Item, TFolderItemData* Data, const char* TypeName)
{
    // The namespace reads find data for every file-system item itself, so there is no
    // second way through the path.
    WIN32_FIND_DATAA found;
    const bool haveFound = SUCCEEDED(
        SHGetDataFromIDList(Data->ParentFolder(), Data->RelativeID, SHGDFIL_FINDDATA, &found, sizeof found));
    const bool isFile = !Data->ItemHasFlag(FolderBits) && Data->ItemHasFlag(SFGAO_FILESYSTEM);
    QString size;
    if (isFile) {
        if (haveFound) {
            Data->FileSizeHigh = found.nFileSizeHigh;
            Data->FileSizeLow = found.nFileSizeLow;
        }
        size = SizeText(Data->GetFileSize());
    }
    vcl::TListSubItems details = Item->SubItems();
    details.Add(size);
    details.Add(TypeName ? QString::fromUtf8(TypeName) : QString());
    details.Add(haveFound ? ModifiedText(found.ftLastWriteTime) : QString());
    details.Add(haveFound ? AttributesText(found.dwFileAttributes) : QString());
}

// ---------------------------------------------------------------------------
// Rows and their records

void TSystemListView::FreeItemData(vcl::TListItem* Item)
{
    auto* data = static_cast<TFolderItemData*>(Item->Data());
    if (!data)
        return;
    delete data;
    Item->SetData(nullptr);
    --LiveRecords;
}

void TSystemListView::Delete(vcl::TListItem* Item)
{
    TCustomSystemListView::Delete(Item);
    FreeItemData(Item);
}

TFolderItemData* TSystemListView::GetItemData(vcl::TListItem* Item)
{
    if (!Item)
        return nullptr;
    auto* data = static_cast<TFolderItemData*>(Item->Data());
    if (!data)
        vcl::MessageDlg(Str(SNoFolderData), vcl::mtError, {vcl::mbOK});
    return data;
}

uint32_t TSystemListView::GetItemAttrs(vcl::TListItem* Item)
{
    const TFolderItemData* data = GetItemData(Item);
    return data ? data->Attributes : 0;
}

vcl::TListItem* TSystemListView::FindItemFromID(LPCITEMIDLIST ID)
{
    if (!ID)
        return nullptr;
    for (int i = 0; i < Items()->Count(); ++i) {
        vcl::TListItem* item = Items()->Item(i);
        const auto* data = static_cast<const TFolderItemData*>(item->Data());
        if (!data || !data->ParentFolder())
            continue;
        const HRESULT order = data->ParentFolder()->CompareIDs(0, data->RelativeID, ID);
        if (SUCCEEDED(order) && COMPARE_RESULT_CODE(order) == 0)
            return item;
    }
    return nullptr;
}

QString TSystemListView::GetFullPath(vcl::TListItem* Item)
{
    const TFolderItemData* data = GetItemData(Item);
    if (!data || !data->ItemHasFlag(SFGAO_FILESYSTEM))
        return {};
    QString path = Pidlhelp::GetDisplayName(data->ParentFolder(), data->RelativeID, Pidlhelp::dntForParsing);
    if (!path.isEmpty() && data->ItemHasFlag(SFGAO_FOLDER) && !path.endsWith(u'/'))
        path += u'/';
    return path;
}

std::vector<LPCITEMIDLIST> TSystemListView::GetSelectedPIDLs()
{
    std::vector<LPCITEMIDLIST> lists;
    for (int i = 0; i < Items()->Count(); ++i) {
        vcl::TListItem* item = Items()->Item(i);
        const auto* data = static_cast<const TFolderItemData*>(item->Data());
        if (item->Selected() && data && data->RelativeID)
            lists.push_back(data->RelativeID);
    }
    return lists;
}

// ---------------------------------------------------------------------------
// Shell actions

bool TSystemListView::DisplayContextMenu(vcl::TListItem* Item, QPoint ScreenPoint)
{
    const TFolderItemData* data = GetItemData(Item);
    if (!data)
        return false;
    LPCITEMIDLIST one = data->RelativeID;
    return Itemprop::DisplayContextMenu(data->ParentFolder(), &one, data->Attributes, GetValidHandle(), ScreenPoint, 1);
}

bool TSystemListView::DisplaySelectedContextMenu(QPoint ScreenPoint)
{
    const TFolderItemData* data = GetItemData(Selected());
    const std::vector<LPCITEMIDLIST> lists = GetSelectedPIDLs();
    if (!data || lists.empty())
        return false;
    return Itemprop::DisplayContextMenu(
        data->ParentFolder(), lists.data(), data->Attributes, GetValidHandle(), ScreenPoint, int(lists.size()));
}

void TSystemListView::DefaultDblClickAction(vcl::TListItem* Item)
{
    const TFolderItemData* data = GetItemData(Item);
    if (!data)
        return;
    if (data->ItemHasFlag(FolderBits)) {
        LinkedReset(FRootFolder, data->AbsoluteID, false);
        NotifyLinkedControls(false);
        return;
    }
    LPCITEMIDLIST one = data->RelativeID;
    Itemprop::PerformDefaultAction(data->ParentFolder(), &one, data->Attributes, GetValidHandle(), 1);
}

bool TSystemListView::RenameItem(vcl::TListItem* Item, const QString& Name)
{
    TFolderItemData* data = GetItemData(Item);
    if (!data || !data->Rename(Name))
        return false;
    Item->SetCaption(Name);
    return true;
}

bool TSystemListView::DeleteItem(vcl::TListItem* Item)
{
    const TFolderItemData* data = GetItemData(Item);
    if (!data)
        return false;
    LPCITEMIDLIST one = data->RelativeID;
    if (!Itemprop::PerformVerb(QStringLiteral("delete"), data->ParentFolder(), &one, data->Attributes,
                               GetValidHandle(), 1))
        return false;
    // The item is gone, so its row goes too.
    Item->Delete();
    return true;
}

// ---------------------------------------------------------------------------
// Sorting

int TSystemListView::DefaultCompare(vcl::TListItem* Item1, vcl::TListItem* Item2, intptr_t Data)
{
    if (Item1 == Item2)
        return 0;
    if (!Item1 || !Item2)
        return Item1 ? 1 : -1;
    const auto* a = static_cast<const TFolderItemData*>(Item1->Data());
    const auto* b = static_cast<const TFolderItemData*>(Item2->Data());
    // Rows without a record go after the others, so the order stays a strict weak one.
    if (!a || !b)
        return (a ? -1 : 0) + (b ? 1 : 0);
    int order = 0;
    if (a->ItemHasFlag(FolderBits) != b->ItemHasFlag(FolderBits))
        order = a->ItemHasFlag(FolderBits) ? -1 : 1;
    else {
        const HRESULT result = a->ParentFolder()->CompareIDs(Data & 0xFFFF, a->RelativeID, b->RelativeID);
        order = SUCCEEDED(result) ? COMPARE_RESULT_CODE(result) : 0;
    }
    return ((Data >> 16) & 0xFFFF) != 0 ? -order : order;
}

bool TSystemListView::CustomSort(const vcl::TLVCompare& Compare, intptr_t Data)
{
    if (!HandleAllocated())
        return false;
    if (Compare)
        return TCustomSystemListView::CustomSort(Compare, Data);
    return TCustomSystemListView::CustomSort(
        [this](vcl::TListItem* A, vcl::TListItem* B, intptr_t D) { return DefaultCompare(A, B, D); }, Data);
}

void TSystemListView::ColClick(vcl::TListColumn* Column)
{
    TCustomSystemListView::ColClick(Column);
    const int column = Column->Index();
    const bool descending = column == FLastSortColumn && !FLastSortDescending;
    CustomSort(nullptr, column + (descending ? DescendingSort : 0));
    FLastSortColumn = column;
    FLastSortDescending = descending;
}

// ---------------------------------------------------------------------------
// Editing and the mouse

bool TSystemListView::CanEdit(vcl::TListItem* Item)
{
    const TFolderItemData* data = GetItemData(Item);
    return data && data->ItemHasFlag(SFGAO_CANRENAME) && TCustomSystemListView::CanEdit(Item);
}

void TSystemListView::Edit(vcl::TListItem* Item, const QString& NewText)
{
    if (RenameItem(Item, NewText))
        TCustomSystemListView::Edit(Item, NewText);
}

void TSystemListView::DblClick()
{
    if (ComponentState().testFlag(vcl::csDesigning))
        return;
    if (OnDblClick) {
        TCustomSystemListView::DblClick();
        return;
    }
    DefaultDblClickAction(Selected());
}

bool TSystemListView::ShowsShellMenu() const
{
    return FPopupMenuMethod == Systemcontrolpack::pmmContext || FPopupMenuMethod == Systemcontrolpack::pmmContextUser;
}

void TSystemListView::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y)
{
    vcl::TListItem* item = Button == vcl::mbRight && ShowsShellMenu() ? GetItemAt(X, Y) : nullptr;
    if (!item) {
        TCustomSystemListView::MouseUp(Button, Shift, X, Y);
        return;
    }
    const QPoint screen = mapToGlobal(QPoint(X, Y));
    if (!item->Focused()) {
        SetSelected(item);
        SetItemFocused(item);
        DisplayContextMenu(item, screen);
    } else
        DisplaySelectedContextMenu(screen);
}

void TSystemListView::contextMenuEvent(QContextMenuEvent* event)
{
    // The control's own pop-up menu: never over a row that gets the shell's menu, and
    // only for the methods that offer it.
    const bool userMenu =
        FPopupMenuMethod == Systemcontrolpack::pmmUser || FPopupMenuMethod == Systemcontrolpack::pmmContextUser;
    const QPoint at = mapFromGlobal(event->globalPos());
    if (!userMenu || (ShowsShellMenu() && GetItemAt(at.x(), at.y()))) {
        event->accept();
        return;
    }
    TCustomSystemListView::contextMenuEvent(event);
}

void TSystemListView::MouseMove(vcl::TShiftState Shift, int X, int Y)
{
    if (FAutoscroll)
        Systemcontrolpack::ScrollNearEdges(View(), this, X, Y);
    TCustomSystemListView::MouseMove(Shift, X, Y);
}

} // namespace Systemlistview
