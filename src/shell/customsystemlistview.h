#pragma once
// The base of the shell list view: a list view linked to a tree view and a combo box,
// with the system image lists (large and small) as its images.
#include "shell/systemcontrolpack.h"
#include "vcl/controls/listview.h"

namespace Systemcontrolpack {

class TCustomSystemTreeView;
class TCustomSystemComboBox;

class TCustomSystemListView : public vcl::TCustomListView, public ISystemControlLink {
    Q_OBJECT
public:
    explicit TCustomSystemListView(vcl::TComponent* AOwner);

    TCustomSystemTreeView* TreeView() const { return FTreeView; }
    void SetTreeView(TCustomSystemTreeView* Value);
    TCustomSystemComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(TCustomSystemComboBox* Value);

    void LinkedControlChanged(ISystemControlLink* Source, bool Force) override;
    // Tells the tree view, then the combo box.
    virtual void NotifyLinkedControls(bool Force);
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
