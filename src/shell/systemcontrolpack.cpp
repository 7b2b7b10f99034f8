#include "shell/systemcontrolpack.h"

#include "vcl/core/resstrings.h"
#include "vcl/core/unitstartup.h"

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

TFolderItemData::~TFolderItemData()
{
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

ENoRootFolder::ENoRootFolder() : EShellControlError(vcl::LoadResString(SNoRootFolder)) {}
ENoEnumObjects::ENoEnumObjects() : EShellControlError(vcl::LoadResString(SNoEnumObjects)) {}
ENoFolderData::ENoFolderData() : EShellControlError(vcl::LoadResString(SNoFolderData)) {}
ENoBindFolder::ENoBindFolder() : EShellControlError(vcl::LoadResString(SNoBindFolder)) {}
ENoDesktopFolder::ENoDesktopFolder() : EShellControlError(vcl::LoadResString(SNoDesktopFolder)) {}
EInvokeFailed::EInvokeFailed(HRESULT result) : EShellControlError(WithResult(SInvokeFailed, result)) {}
ENoUIObject::ENoUIObject(HRESULT result) : EShellControlError(WithResult(SNoUIObject, result)) {}
ELeaking::ELeaking() : EShellControlError(vcl::LoadResString(SLeaking)) {}

} // namespace Systemcontrolpack
