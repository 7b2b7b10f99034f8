#include "shell/systemcontrolpack.h"

#include "platform/shell/systemimagelist.h"
#include "shell/pidlhelp.h"
#include "vcl/controls/application.h"
#include "vcl/controls/forms.h"
#include "vcl/core/resstrings.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/imagelist.h"

#include <QPointer>
#include <string>

namespace Systemcontrolpack {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Systemcontrolpack"), {"Pidlhelp"});

namespace {

enum : int {
    SNoRootFolder = 10000, SNoEnumObjects = 10005, SNoFolderData = 10010, SNoBindFolder = 10015,
    SNoDesktopFolder = 10020, SInvokeFailed = 10025, SNoUIObject = 10030, SLeaking = 10035,
};

QString WithResult(int ident, HRESULT result)
{
    return vcl::Format(vcl::LoadResString(ident), {unsigned(result)});
}

} // namespace

TFolderItemData::TFolderItemData(IShellFolder* Folder, uint32_t ItemAttributes, LPITEMIDLIST Relative,
                                 LPITEMIDLIST Absolute)
    : Attributes(ItemAttributes), RelativeID(Relative), AbsoluteID(Absolute)
{
    SetParentFolder(Folder);
}

TFolderItemData::~TFolderItemData()
{
    Pidlhelp::FreePIDL(RelativeID);
    Pidlhelp::FreePIDL(AbsoluteID);
    SetParentFolder(nullptr);
}

void TFolderItemData::SetParentFolder(IShellFolder* folder)
{
    if (folder)
        folder->AddRef();
    if (FParentFolder)
        FParentFolder->Release();
    FParentFolder = folder;
}

bool TFolderItemData::Rename(const QString& Name)
{
    LPITEMIDLIST renamed = nullptr;
    const std::u16string wide = Name.toStdU16String();
    if (Name.isEmpty() || !FParentFolder
        || platform::shell::FAILED(
            FParentFolder->SetNameOf(nullptr, RelativeID, wide.c_str(), platform::shell::SHGDN_INFOLDER, &renamed))
        || !renamed)
        return false;
    LPITEMIDLIST parent = Pidlhelp::CopyParentPIDL(AbsoluteID);
    Pidlhelp::FreePIDL(RelativeID);
    Pidlhelp::FreePIDL(AbsoluteID);
    RelativeID = renamed;
    AbsoluteID = Pidlhelp::ConcatPIDLs(parent, renamed);
    Pidlhelp::FreePIDL(parent);
    return true;
}

void FollowLinkedControl(vcl::TComponent* Self, ISystemControlLink* Source, bool Force,
    ISystemControlLink* FirstLink, ISystemControlLink* SecondLink)
{
    if (Self->ComponentState().testFlag(vcl::csDesigning) || Source == nullptr)
        return;
    if (Source != FirstLink && Source != SecondLink)
        return;
    auto* self = dynamic_cast<ISystemControlLink*>(Self);
    self->LinkedReset(Source->GetSelectionParentFolder(), Source->GetSelectionPIDL(), Force);
}

vcl::HWND GetValidHandle(vcl::TWinControl* Control)
{
    if (Control->HandleAllocated())
        return Control->Handle();
    if (vcl::TWinControl* parent = Control->Parent(); parent && parent->HandleAllocated())
        return parent->Handle();
    if (vcl::TCustomForm* form = Control->GetParentForm(); form && form->HandleAllocated())
        return form->Handle();
    if (vcl::TCustomForm* main = vcl::Application()->MainForm(); main && main->HandleAllocated())
        return main->Handle();
    return vcl::HWND{};
}

namespace {

// The framework image list that mirrors one system image list; every control's list
// binds to its handle. It lives for the process, like the system lists.
vcl::TImageList* MasterList(bool Small)
{
    static QPointer<vcl::TImageList> lists[2];
    QPointer<vcl::TImageList>& list = lists[Small ? 1 : 0];
    if (!list) {
        const int size = (Small ? platform::shell::TSystemImageList::Small() : platform::shell::TSystemImageList::Large()).IconSize();
        list = new vcl::TImageList(size, size);
        list->SetShareImages(true);
    }
    return list;
}

void SyncList(bool Small)
{
    const platform::shell::TSystemImageList& system =
        Small ? platform::shell::TSystemImageList::Small() : platform::shell::TSystemImageList::Large();
    vcl::TImageList* master = MasterList(Small);
    for (int index = master->Count(); index < system.Count(); ++index) {
        QImage image = system.Image(index).toImage();
        if (image.isNull()) { // keeps the indices of both lists in step
            image = QImage(system.IconSize(), system.IconSize(), QImage::Format_ARGB32);
            image.fill(Qt::transparent);
        }
        master->AddImage(image);
    }
}

} // namespace

vcl::TImageList* NewSystemImageList(bool Small, vcl::TComponent* Owner)
{
    SyncList(Small);
    auto* list = new vcl::TImageList(Owner);
    list->SetHandle(MasterList(Small)->Handle());
    list->SetMasked(true);
    list->SetBkColor(vcl::clNone);
    list->SetShareImages(true);
    return list;
}

void SyncSystemImages()
{
    SyncList(false);
    SyncList(true);
}

ENoRootFolder::ENoRootFolder() : EShellControlError(vcl::LoadResString(SNoRootFolder)) {}
ENoEnumObjects::ENoEnumObjects() : EShellControlError(vcl::LoadResString(SNoEnumObjects)) {}
ENoFolderData::ENoFolderData() : EShellControlError(vcl::LoadResString(SNoFolderData)) {}
ENoBindFolder::ENoBindFolder() : EShellControlError(vcl::LoadResString(SNoBindFolder)) {}
ENoDesktopFolder::ENoDesktopFolder() : EShellControlError(vcl::LoadResString(SNoDesktopFolder)) {}
EInvokeFailed::EInvokeFailed(HRESULT result) : EShellControlError(WithResult(SInvokeFailed, result)) {}
ENoUIObject::ENoUIObject(HRESULT result) : EShellControlError(WithResult(SNoUIObject, result)) {}
ELeaking::ELeaking() : EShellControlError(vcl::LoadResString(SLeaking)) {}

} // namespace Systemcontrolpack
