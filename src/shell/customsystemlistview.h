#pragma once
// The base of the shell list view: a list view linked to a tree view and a combo box,
// with the system image lists (large and small) as its images.
#include "shell/systemcontrolpack.h"
#include "vcl/controls/listview.h"

namespace Systemcontrolpack {

class TCustomSystemTreeView;
class TCustomSystemComboBox;

// A list view that is one of the three linked shell controls; Reset tells the links.
class TCustomSystemListView : public vcl::TCustomListView, public ISystemControlLink {
    Q_OBJECT
public:
    // A list view linked both ways to every tree view and combo box already on AOwner
    // that has no list view; its own links end on the first placed of each.
    explicit TCustomSystemListView(vcl::TComponent* AOwner);

    // The linked tree view, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemTreeView* TreeView() const { return FTreeView; }
    void SetTreeView(TCustomSystemTreeView* Value);
    // The linked combo box, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(TCustomSystemComboBox* Value);

    void LinkedControlChanged(ISystemControlLink* Source, bool Force) override;
    // Tells the tree view, then the combo box.
    virtual void NotifyLinkedControls(bool Force);
    // Tells the linked controls (without forcing them to list their folder again).
    virtual void Reset();

protected:
    virtual void SetupImageList();
    vcl::HWND GetValidHandle() { return Systemcontrolpack::GetValidHandle(this); }
    void CMSysColorChange(vcl::TMessage& Message) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TCustomSystemTreeView* FTreeView = nullptr;
    TCustomSystemComboBox* FComboBox = nullptr;
    vcl::TImageList* FLargeSystemImages = nullptr;
    vcl::TImageList* FSmallSystemImages = nullptr;
};

} // namespace Systemcontrolpack
