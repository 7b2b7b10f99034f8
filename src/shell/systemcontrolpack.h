#pragma once
// What the shell controls share: the record each tree node and list row carries, and
// the controls' exception classes. (The controls' common bases come with the controls.)
#include "platform/shell/shellfolder.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/types.h"

#include <cstdint>

namespace Systemcontrolpack {

using platform::shell::HRESULT;
using platform::shell::IShellFolder;
using platform::shell::LPITEMIDLIST;

enum TPopupMenuMethod { pmmNone, pmmContext, pmmUser, pmmContextUser };

// The record of one tree node or list row. The controls create and free it and
// release both identifier lists with the shell allocator; the record holds a
// reference to its parent folder for its whole life.
class TFolderItemData : public vcl::TObject {
public:
    TFolderItemData() = default;
    TFolderItemData(const TFolderItemData&) = delete;
    TFolderItemData& operator=(const TFolderItemData&) = delete;
    ~TFolderItemData() override;

    uint64_t GetFileSize() const { return (uint64_t(FileSizeHigh) << 32) | FileSizeLow; }
    bool ItemHasFlag(uint32_t flag) const { return (Attributes & flag) != 0; }
    // Takes a reference to the folder and drops the one held before.
    void SetParentFolder(IShellFolder* folder);
    IShellFolder* ParentFolder() const { return FParentFolder; }

    bool Populated = false;
    uint32_t Attributes = 0;
    uint32_t FileSizeHigh = 0;
    uint32_t FileSizeLow = 0;
    LPITEMIDLIST RelativeID = nullptr;
    LPITEMIDLIST AbsoluteID = nullptr;

private:
    IShellFolder* FParentFolder = nullptr;
};

// Each exception's message is its string resource.
class EShellControlError : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};
class ENoRootFolder : public EShellControlError { public: ENoRootFolder(); };
class ENoEnumObjects : public EShellControlError { public: ENoEnumObjects(); };
class ENoFolderData : public EShellControlError { public: ENoFolderData(); };
class ENoBindFolder : public EShellControlError { public: ENoBindFolder(); };
class ENoDesktopFolder : public EShellControlError { public: ENoDesktopFolder(); };
class EInvokeFailed : public EShellControlError { public: explicit EInvokeFailed(HRESULT result); };
class ENoUIObject : public EShellControlError { public: explicit ENoUIObject(HRESULT result); };
class ELeaking : public EShellControlError { public: ELeaking(); };

} // namespace Systemcontrolpack
