#include "shell/systemcombobox.h"

#include "platform/shell/shellapi.h"
#include "platform/shell/shellfileinfo.h"
#include "shell/pidlhelp.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/imagelist.h"

#include <algorithm>

namespace Systemcombobox {

using namespace platform::shell;

namespace {

const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Systemcombobox"), {"Systemcontrolpack"});

// The system image index of an absolute list (the open-state one with Open). The icon
// handle the original also asked for was never used, so it is not requested.
int IconOf(LPCITEMIDLIST Absolute, bool Open)
{
    return Pidlhelp::GetIconIndex(Absolute, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | (Open ? UINT(SHGFI_OPENICON) : 0u));
}

bool SameItem(IShellFolder* Folder, LPCITEMIDLIST A, LPCITEMIDLIST B)
{
    const HRESULT order = Folder->CompareIDs(0, A, B);
    return SUCCEEDED(order) && COMPARE_RESULT_CODE(order) == 0;
}

[[noreturn]] void DesktopMissing()
{
    throw vcl::EOSError(QStringLiteral("The desktop folder is not available"), 0);
}

} // namespace

// ---------------------------------------------------------------------------
// TShellItem

TShellItem::~TShellItem()
{
    Pidlhelp::FreePIDL(RelativeID);
    if (AbsoluteID != RelativeID)
        Pidlhelp::FreePIDL(AbsoluteID);
    if (Folder)
        Folder->Release();
    if (ParentFolder)
        ParentFolder->Release();
}

void TShellItem::AddChild(TShellItem* Child)
{
    auto before = [this](const TShellItem* A, const TShellItem* B) {
        const HRESULT order = Folder ? Folder->CompareIDs(0, A->RelativeID, B->RelativeID) : E_FAIL;
        return SUCCEEDED(order) && COMPARE_RESULT_CODE(order) < 0;
    };
    FChildren.insert(std::upper_bound(FChildren.begin(), FChildren.end(), Child, before), Child);
    Child->Parent = this;
}

void TShellItem::RemoveChild(TShellItem* Child)
{
    std::erase(FChildren, Child);
}

// ---------------------------------------------------------------------------
// TSystemComboBox

TSystemComboBox::TSystemComboBox(vcl::TComponent* AOwner) : TCustomSystemComboBox(AOwner)
{
    SetStyle(vcl::csOwnerDrawFixed);
}

TSystemComboBox::~TSystemComboBox()
{
    RemoveAllItems();
    Pidlhelp::FreePIDL(FActiveID);
    Pidlhelp::FreePIDL(FDesktopID);
    if (FDesktopFolder)
        FDesktopFolder->Release();
}

QString TSystemComboBox::Version() const
{
    return QStringLiteral("TSystemComboBox v0.96 Beta");
}

void TSystemComboBox::Loaded()
{
    TCustomSystemComboBox::Loaded();
    Reset();
}

void TSystemComboBox::CreateWnd()
{
    TCustomSystemComboBox::CreateWnd();
    Reset();
}

TShellItem* TSystemComboBox::Entry(int Index) const
{
    return Index >= 0 && Index < Items()->Count() ? static_cast<TShellItem*>(Items()->Objects(Index)) : nullptr;
}

void TSystemComboBox::Reset()
{
    if (!HandleAllocated() || ComponentState().testFlag(vcl::csLoading))
        return;
    RemoveAllItems();
    if (!FDesktopFolder && FAILED(SHGetDesktopFolder(&FDesktopFolder)))
        DesktopMissing();
    Pidlhelp::FreePIDL(FDesktopID);
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &FDesktopID)))
        DesktopMissing();
    FRoot = NewRootEntry();
    InsertLine(0, FRoot);
    EnumerateSubItems(FRoot, false);
    AddSubItems(FRoot);
    LPITEMIDLIST computer = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
        const int line = LineOf(computer);
        if (TShellItem* entry = Entry(line)) {
            EnumerateSubItems(entry, false);
            InsertSubItems(entry, line);
        }
    }
    Pidlhelp::FreePIDL(computer);
    SetItemIndex(0);
    Pidlhelp::FreePIDL(FActiveID);
    FActiveID = Pidlhelp::CopyPIDL(FDesktopID);
    TCustomSystemComboBox::Reset();
}

TShellItem* TSystemComboBox::NewRootEntry()
{
    auto* root = new TShellItem;
    root->RelativeID = Pidlhelp::CopyPIDL(FDesktopID);
    root->AbsoluteID = root->RelativeID;
    FDesktopFolder->AddRef();
    root->Folder = FDesktopFolder;
    FDesktopFolder->AddRef();
    root->ParentFolder = FDesktopFolder;
    root->NormalIcon = IconOf(FDesktopID, false);
    root->OpenIcon = IconOf(FDesktopID, true);
    root->ParsingName = Pidlhelp::GetDisplayName(FDesktopFolder, FDesktopID, Pidlhelp::dntForParsing);
    // The desktop names itself only through the file information.
    root->DisplayName = Systemcontrolpack::DisplayNameOfList(FDesktopID);
    return root;
}

TShellItem* TSystemComboBox::AddShellItem(TShellItem* Parent, LPCITEMIDLIST Relative, bool Temporary)
{
    auto* entry = new TShellItem;
    entry->ParentFolder = Parent->Folder;
    if (entry->ParentFolder)
        entry->ParentFolder->AddRef();
    entry->RelativeID = Pidlhelp::CopyPIDL(Relative);
    if (entry->ParentFolder)
        entry->ParentFolder->BindToObject(entry->RelativeID, nullptr, IID_IShellFolder,
                                          reinterpret_cast<void**>(&entry->Folder));
    entry->AbsoluteID = Pidlhelp::ConcatPIDLs(Parent->AbsoluteID, Relative);
    entry->NormalIcon = IconOf(entry->AbsoluteID, false);
    entry->OpenIcon = IconOf(entry->AbsoluteID, true);
    if (entry->ParentFolder) {
        entry->ParsingName = Pidlhelp::GetDisplayName(entry->ParentFolder, Relative, Pidlhelp::dntForParsing);
        entry->DisplayName = Pidlhelp::GetDisplayName(entry->ParentFolder, Relative, Pidlhelp::dntNormal);
    }
    entry->Indent = Parent->Indent + LevelIndent;
    entry->Temporary = Temporary;
    Parent->AddChild(entry);
    return entry;
}

void TSystemComboBox::EnumerateSubItems(TShellItem* Entry, bool Temporary)
{
    IEnumIDList* enumerator = nullptr;
    if (!Entry->Folder
        || FAILED(Entry->Folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &enumerator))
        || !enumerator)
        return;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        AddShellItem(Entry, item, Temporary);
        Pidlhelp::FreePIDL(item);
    }
    enumerator->Release();
    Systemcontrolpack::SyncSystemImages();
}

void TSystemComboBox::AddSubItems(TShellItem* Entry)
{
    for (TShellItem* child : Entry->Children())
        InsertLine(Items()->Count(), child);
}

void TSystemComboBox::InsertSubItems(TShellItem* Entry, int Index)
{
    for (TShellItem* child : Entry->Children())
        InsertLine(++Index, child);
}

void TSystemComboBox::InsertLine(int Index, TShellItem* Entry)
{
    Items()->InsertObject(Index, Entry->DisplayName, Entry);
}

void TSystemComboBox::RemoveLine(int Index)
{
    TShellItem* entry = Entry(Index);
    Items()->Delete(Index);
    if (entry && entry->Parent)
        entry->Parent->RemoveChild(entry);
    delete entry;
}

void TSystemComboBox::RemoveAllItems()
{
    for (int i = Items()->Count() - 1; i >= 0; --i)
        delete Entry(i);
    Items()->Clear();
    FRoot = nullptr;
}

int TSystemComboBox::LineOf(LPCITEMIDLIST ID) const
{
    for (int i = 0; i < Items()->Count() && FDesktopFolder; ++i)
        if (SameItem(FDesktopFolder, Entry(i)->AbsoluteID, ID))
            return i;
    return -1;
}

void TSystemComboBox::RemoveTemporaryLines()
{
    for (int i = Items()->Count() - 1; i >= 0; --i)
        if (Entry(i)->Temporary)
            RemoveLine(i);
}

void TSystemComboBox::SetActiveFolderIDList(LPITEMIDLIST ID)
{
    if (!ID || !FRoot)
        return;
    LPITEMIDLIST before = Pidlhelp::CopyPIDL(GetActiveFolderIDList());
    RemoveTemporaryLines();
    // The items below the nearest ancestor that has a line, deepest last.
    std::vector<LPITEMIDLIST> missing;
    LPITEMIDLIST ancestor = Pidlhelp::CopyPIDL(ID);
    int line = LineOf(ancestor);
    while (line < 0 && Pidlhelp::PIDLCount(ancestor) > 0) {
        missing.insert(missing.begin(), Pidlhelp::CopyLastID(ancestor));
        LPITEMIDLIST parent = Pidlhelp::CopyParentPIDL(ancestor);
        Pidlhelp::FreePIDL(ancestor);
        ancestor = parent;
        line = LineOf(ancestor);
    }
    Pidlhelp::FreePIDL(ancestor);
    if (line >= 0) {
        for (LPITEMIDLIST item : missing) {
            TShellItem* entry = AddShellItem(Entry(line), item, true);
            InsertLine(++line, entry);
        }
        SetItemIndex(line);
        Pidlhelp::FreePIDL(FActiveID);
        FActiveID = ID;
    } else {
        Pidlhelp::FreePIDL(ID);
        SetItemIndex(-1);
    }
    for (LPITEMIDLIST& item : missing)
        Pidlhelp::FreePIDL(item);
    // Told only when the active folder moved, so linked controls that answer each
    // other's changes come to rest.
    LPCITEMIDLIST after = GetActiveFolderIDList();
    const bool moved = !before || !after || !SameItem(FDesktopFolder, before, after);
    Pidlhelp::FreePIDL(before);
    if (moved)
        NotifyLinkedControls(false);
}

LPITEMIDLIST TSystemComboBox::GetActiveFolderIDList() const
{
    const TShellItem* entry = Entry(ItemIndex());
    return entry ? entry->AbsoluteID : nullptr;
}

void TSystemComboBox::SetActiveFolderName(const QString& Path)
{
    LPITEMIDLIST id = nullptr;
    if (FDesktopFolder && Pidlhelp::GetPIDLFromPath(nullptr, FDesktopFolder, Path, id))
        SetActiveFolderIDList(id);
}

QString TSystemComboBox::GetActiveFolderName() const
{
    const TShellItem* entry = Entry(ItemIndex());
    return entry ? entry->ParsingName : QString();
}

bool TSystemComboBox::LinkedReset(IShellFolder*, LPCITEMIDLIST ID, bool)
{
    SetActiveFolderIDList(Pidlhelp::CopyPIDL(ID));
    return ItemIndex() >= 0;
}

// ---------------------------------------------------------------------------
// Drawing

void TSystemComboBox::DrawItem(int Index, const vcl::TRect& Rect, vcl::TOwnerDrawState State)
{
    if (OnDrawItem) {
        TCustomSystemComboBox::DrawItem(Index, Rect, State);
        return;
    }
    const TShellItem* entry = Entry(Index);
    vcl::TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect);
    if (!entry)
        return;
    // The edit part shows the active folder open, without indent or highlight.
    if (State.testFlag(vcl::odComboBoxEdit))
        DrawEntry(entry, Rect.Left, Rect, true, false, false);
    else
        DrawEntry(entry, Rect.Left + entry->Indent, Rect, Index == ItemIndex(), State.testFlag(vcl::odSelected),
                  State.testFlag(vcl::odFocused));
}

void TSystemComboBox::DrawEntry(const TShellItem* Entry, int Left, const vcl::TRect& Rect, bool Open, bool Selected,
    bool Focused)
{
    vcl::TCanvas* canvas = Canvas();
    vcl::TImageList* images = Images();
    const int iconWidth = images ? images->Width() : 0;
    const int iconHeight = images ? images->Height() : 0;
    if (images)
        images->Draw(canvas, Left, Rect.Top + (Rect.Height() - iconHeight) / 2, Open ? Entry->OpenIcon : Entry->NormalIcon);
    const int textLeft = Left + iconWidth;
    const int textWidth = canvas->TextWidth(Entry->DisplayName) + 2;
    const vcl::TRect textArea{textLeft, Rect.Top, std::min<int>(textLeft + textWidth, Rect.Right), Rect.Bottom};
    canvas->Brush()->SetColor(Selected ? vcl::clHighlight : Color());
    canvas->Font()->SetColor(Selected ? vcl::clHighlightText : Font()->Color());
    canvas->FillRect(textArea);
    canvas->TextOut(textLeft + 1, Rect.Top + (Rect.Height() - canvas->TextHeight(Entry->DisplayName)) / 2,
                    Entry->DisplayName);
    if (Focused)
        canvas->DrawFocusRect(textArea);
}

} // namespace Systemcombobox
