#pragma once
// What the shell controls share: the record each tree node and list row carries, the
// protocol by which linked controls follow each other's folder, the system image lists
// as framework image lists, and the controls' exception classes. The three control
// bases live in customsystem*.h.
#include "platform/shell/shellfolder.h"
#include "vcl/controls/messages.h"
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/types.h"

#include <QObject>
#include <cstdint>

namespace vcl {
class TCustomImageList;
class TImageList;
class TWinControl;
} // namespace vcl

namespace Systemcontrolpack {

Q_NAMESPACE

using platform::shell::HRESULT;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;

// Which menu a right click shows: none, the shell's context menu of the item, the
// control's own pop-up menu, or the shell's menu over an item and the control's own
// menu elsewhere.
enum TPopupMenuMethod { pmmNone, pmmContext, pmmUser, pmmContextUser };
Q_ENUM_NS(TPopupMenuMethod)

// What each of the three linked controls answers the others. The returned identifier
// and folder stay owned by the control; a caller that keeps them copies them.
class ISystemControlLink {
public:
    // The absolute identifier of the control's current item.
    virtual LPITEMIDLIST GetSelectionPIDL() = 0;
    // The folder object the current identifier is read against.
    virtual IShellFolder* GetSelectionParentFolder() = 0;
    // Shows the folder named by ID (read against Folder; null: the desktop). Unless
    // Force is set, a folder already shown is not listed again.
    virtual bool LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force) = 0;
    // Follows Source when it is one of this control's links.
    virtual void LinkedControlChanged(ISystemControlLink* Source, bool Force) = 0;

protected:
    ~ISystemControlLink() = default;
};

// The body of LinkedControlChanged that all three controls share: nothing at design
// time; when Source is one of the control's two links, show the source's folder.
void FollowLinkedControl(vcl::TComponent* Self, ISystemControlLink* Source, bool Force,
    ISystemControlLink* FirstLink, ISystemControlLink* SecondLink);

// Notification's part of the link protocol: a control of type Other inserted while
// Link is empty is linked both ways, so controls placed on one form link in pairs; a
// linked control that goes away clears the link.
template <class Other, class Mine>
void LinkOnNotification(vcl::TComponent* AComponent, vcl::TOperation Operation, Other*& Link, Mine* Self,
    void (Other::*SetLinkBack)(Mine*))
{
    if (Operation == vcl::TOperation::opRemove) {
        if (Link != nullptr && AComponent == Link)
            Link = nullptr;
        return;
    }
    auto* inserted = dynamic_cast<Other*>(AComponent);
    if (inserted != nullptr && Link == nullptr) {
        Link = inserted;
        Self->FreeNotification(inserted);
        (inserted->*SetLinkBack)(Self);
    }
}

// What a control does once it is fully made, in place of the insert notifications
// its siblings got while it was still being constructed (and could not be told
// apart): every sibling of type Other whose Link is empty is linked both ways, the
// last placed first, so the new control's own link ends on the first placed.
template <class Other, class Mine>
void LinkToSiblings(Mine* Self, Mine* (Other::*Link)() const, void (Other::*SetLink)(Mine*),
    void (Mine::*SetLinkBack)(Other*))
{
    vcl::TComponent* owner = Self->Owner();
    for (int i = owner ? owner->ComponentCount() - 1 : -1; i >= 0; --i) {
        auto* sibling = dynamic_cast<Other*>(owner->Components(i));
        if (sibling != nullptr && (sibling->*Link)() == nullptr) {
            (sibling->*SetLink)(Self);
            (Self->*SetLinkBack)(sibling);
        }
    }
}

// The window that owns shell user interface for Control: its own when it exists, else
// its parent's, its form's or the main form's; a null handle when there is none.
vcl::HWND GetValidHandle(vcl::TWinControl* Control);

// A new framework image list owned by Owner that shows the system image list of the
// size (masked, no background colour, shared so nothing the control does frees the
// system images). The images are brought up to date by SyncSystemImages.
vcl::TImageList* NewSystemImageList(bool Small, vcl::TComponent* Owner);
// Copies the images the system image lists gained since the last call into the
// framework image lists every NewSystemImageList binds to (indices stay the same).
void SyncSystemImages();

// The record of one tree node or list row. The controls create and free it and
// release both identifier lists with the shell allocator; the record holds a
// reference to its parent folder for its whole life.
class TFolderItemData : public vcl::TObject {
public:
    TFolderItemData() = default;
    // A record of an item of Folder (referenced), taking ownership of both lists: the
    // record frees them (through the shell allocator) when it goes.
    TFolderItemData(IShellFolder* Folder, uint32_t ItemAttributes, LPITEMIDLIST Relative, LPITEMIDLIST Absolute);
    TFolderItemData(const TFolderItemData&) = delete;
    TFolderItemData& operator=(const TFolderItemData&) = delete;
    ~TFolderItemData() override;

    // The item's size in bytes, from FileSizeHigh and FileSizeLow.
    uint64_t GetFileSize() const { return (uint64_t(FileSizeHigh) << 32) | FileSizeLow; }
    // True when Attributes hold any bit of flag (an SFGAO_* value).
    bool ItemHasFlag(uint32_t flag) const { return (Attributes & flag) != 0; }
    // Takes a reference to the folder and drops the one held before.
    void SetParentFolder(IShellFolder* folder);
    IShellFolder* ParentFolder() const { return FParentFolder; }
    // Renames the item through its parent folder and takes the new identifiers, freeing
    // the old ones; false (nothing changed) for an empty name or a refused rename.
    bool Rename(const QString& Name);

    bool Populated = false; // True once a node's children have been read.
    uint32_t Attributes = 0; // The item's SFGAO_* attributes from its folder.
    uint32_t FileSizeHigh = 0; // The high 32 bits of the file size.
    uint32_t FileSizeLow = 0; // The low 32 bits of the file size.
    LPITEMIDLIST RelativeID = nullptr; // The item's list relative to its parent folder.
    LPITEMIDLIST AbsoluteID = nullptr; // The item's list from the desktop.

private:
    IShellFolder* FParentFolder = nullptr;
};

// The base of the shell controls' exceptions. Each exception's message is its string
// resource.
class EShellControlError : public vcl::Exception {
public:
    using vcl::Exception::Exception;
};
// The root folder of a control could not be found.
class ENoRootFolder : public EShellControlError { public: ENoRootFolder(); };
// A folder's items could not be listed.
class ENoEnumObjects : public EShellControlError { public: ENoEnumObjects(); };
// A node or row has no item record.
class ENoFolderData : public EShellControlError { public: ENoFolderData(); };
// An item could not be opened as a folder.
class ENoBindFolder : public EShellControlError { public: ENoBindFolder(); };
// The desktop folder could not be obtained.
class ENoDesktopFolder : public EShellControlError { public: ENoDesktopFolder(); };
// A context-menu command failed; the message carries the result code.
class EInvokeFailed : public EShellControlError {
public:
    explicit EInvokeFailed(HRESULT result); // The error for the failure code result.
};
// A folder gave no user-interface object for its items; the message carries the
// result code.
class ENoUIObject : public EShellControlError {
public:
    explicit ENoUIObject(HRESULT result); // The error for the failure code result.
};
// Item records or identifier lists were not given back.
class ELeaking : public EShellControlError { public: ELeaking(); };

} // namespace Systemcontrolpack
