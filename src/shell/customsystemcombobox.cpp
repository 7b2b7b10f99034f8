#include "shell/customsystemcombobox.h"

#include "shell/customsystemlistview.h"
#include "shell/customsystemtreeview.h"
#include "vcl/graphics/imagelist.h"

namespace Systemcontrolpack {

TCustomSystemComboBox::TCustomSystemComboBox(vcl::TComponent* AOwner) : vcl::TCustomComboBox(AOwner)
{
    SetupImageList();
    LinkToSiblings(this, &TCustomSystemTreeView::ComboBox, &TCustomSystemTreeView::SetComboBox,
        &TCustomSystemComboBox::SetTreeView);
    LinkToSiblings(this, &TCustomSystemListView::ComboBox, &TCustomSystemListView::SetComboBox,
        &TCustomSystemComboBox::SetListView);
}

void TCustomSystemComboBox::SetTreeView(TCustomSystemTreeView* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FTreeView = Value;
}

void TCustomSystemComboBox::SetListView(TCustomSystemListView* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FListView = Value;
}

void TCustomSystemComboBox::SetImages(vcl::TCustomImageList* Value)
{
    auto* copy = new vcl::TImageList(Value ? Value->Width() : 16, Value ? Value->Height() : 16, this);
    for (int index = 0; Value && index < Value->Count(); ++index)
        copy->AddImage(Value->ToQImage(index));
    delete FImages;
    FImages = copy;
}

void TCustomSystemComboBox::LinkedControlChanged(ISystemControlLink* Source, bool Force)
{
    FollowLinkedControl(this, Source, Force, FListView, FTreeView);
}

void TCustomSystemComboBox::NotifyLinkedControls(bool Force)
{
    if (FListView)
        FListView->LinkedControlChanged(this, Force);
    if (FTreeView)
        FTreeView->LinkedControlChanged(this, Force);
}

void TCustomSystemComboBox::Reset()
{
    NotifyLinkedControls(false);
}

void TCustomSystemComboBox::SetupImageList()
{
    vcl::TImageList* previous = FImages;
    FImages = NewSystemImageList(true, this);
    delete previous;
}

void TCustomSystemComboBox::Click()
{
    NotifyLinkedControls(false);
    vcl::TCustomComboBox::Click();
}

void TCustomSystemComboBox::CMSysColorChange(vcl::TMessage& Message)
{
    SetupImageList();
    vcl::TCustomComboBox::CMSysColorChange(Message);
}

void TCustomSystemComboBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation)
{
    vcl::TCustomComboBox::Notification(AComponent, Operation);
    LinkOnNotification(AComponent, Operation, FTreeView, this, &TCustomSystemTreeView::SetComboBox);
    LinkOnNotification(AComponent, Operation, FListView, this, &TCustomSystemListView::SetComboBox);
}

} // namespace Systemcontrolpack
