#include "shell/customsystemlistview.h"

#include "shell/customsystemcombobox.h"
#include "shell/customsystemtreeview.h"
#include "vcl/graphics/imagelist.h"

namespace Systemcontrolpack {

TCustomSystemListView::TCustomSystemListView(vcl::TComponent* AOwner) : vcl::TCustomListView(AOwner)
{
    SetupImageList();
    LinkToSiblings(this, &TCustomSystemTreeView::ListView, &TCustomSystemTreeView::SetListView,
        &TCustomSystemListView::SetTreeView);
    LinkToSiblings(this, &TCustomSystemComboBox::ListView, &TCustomSystemComboBox::SetListView,
        &TCustomSystemListView::SetComboBox);
}

void TCustomSystemListView::SetTreeView(TCustomSystemTreeView* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FTreeView = Value;
}

void TCustomSystemListView::SetComboBox(TCustomSystemComboBox* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FComboBox = Value;
}

void TCustomSystemListView::LinkedControlChanged(ISystemControlLink* Source, bool Force)
{
    FollowLinkedControl(this, Source, Force, FTreeView, FComboBox);
}

void TCustomSystemListView::NotifyLinkedControls(bool Force)
{
    if (FTreeView)
        FTreeView->LinkedControlChanged(this, Force);
    if (FComboBox)
        FComboBox->LinkedControlChanged(this, Force);
}

void TCustomSystemListView::Reset()
{
    NotifyLinkedControls(false);
}

void TCustomSystemListView::SetupImageList()
{
    vcl::TImageList* previousLarge = FLargeSystemImages;
    vcl::TImageList* previousSmall = FSmallSystemImages;
    FLargeSystemImages = NewSystemImageList(false, this);
    FSmallSystemImages = NewSystemImageList(true, this);
    SetLargeImages(FLargeSystemImages);
    SetSmallImages(FSmallSystemImages);
    delete previousLarge;
    delete previousSmall;
}

void TCustomSystemListView::CMSysColorChange(vcl::TMessage& Message)
{
    SetupImageList();
    vcl::TCustomListView::CMSysColorChange(Message);
    // The platform needed the colour flipped and back to repaint; a repaint is enough.
    Invalidate();
}

void TCustomSystemListView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation)
{
    vcl::TCustomListView::Notification(AComponent, Operation);
    LinkOnNotification(AComponent, Operation, FTreeView, this, &TCustomSystemTreeView::SetListView);
    LinkOnNotification(AComponent, Operation, FComboBox, this, &TCustomSystemComboBox::SetListView);
}

} // namespace Systemcontrolpack
