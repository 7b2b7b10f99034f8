#pragma once
// The base of the shell combo box: a combo box linked to a tree view and a list view.
// Choosing an entry tells the linked controls before the click event runs.
#include "shell/systemcontrolpack.h"
#include "vcl/controls/combobox.h"

namespace Systemcontrolpack {

class TCustomSystemTreeView;
class TCustomSystemListView;

// A combo box that is one of the three linked shell controls; Reset tells the links.
class TCustomSystemComboBox : public vcl::TCustomComboBox, public ISystemControlLink {
    Q_OBJECT
public:
    // A combo box linked both ways to every tree view and list view already on AOwner
    // that has no combo box; its own links end on the first placed of each.
    explicit TCustomSystemComboBox(vcl::TComponent* AOwner);

    // The linked tree view, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemTreeView* TreeView() const { return FTreeView; }
    void SetTreeView(TCustomSystemTreeView* Value);
    // The linked list view, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemListView* ListView() const { return FListView; }
    void SetListView(TCustomSystemListView* Value);
    // The control's own image list: the small system images, or a copy of a list
    // given to SetImages.
    vcl::TImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* Value);

    void LinkedControlChanged(ISystemControlLink* Source, bool Force) override;
    // Tells the list view, then the tree view.
    virtual void NotifyLinkedControls(bool Force);
    // Tells the linked controls (without forcing them to list their folder again).
    virtual void Reset();

protected:
    virtual void SetupImageList();
    vcl::HWND GetValidHandle() { return Systemcontrolpack::GetValidHandle(this); }
    void Click() override;
    void CMSysColorChange(vcl::TMessage& Message) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TCustomSystemTreeView* FTreeView = nullptr;
    TCustomSystemListView* FListView = nullptr;
    vcl::TImageList* FImages = nullptr;
};

} // namespace Systemcontrolpack
