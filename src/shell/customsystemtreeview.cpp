#include "shell/customsystemtreeview.h"

#include "shell/customsystemcombobox.h"
#include "shell/customsystemlistview.h"
#include "vcl/graphics/imagelist.h"

namespace Systemcontrolpack {

TCustomSystemTreeView::TCustomSystemTreeView(vcl::TComponent* AOwner) : vcl::TCustomTreeView(AOwner)
{
    SetupImageList();
    LinkToSiblings(this, &TCustomSystemListView::TreeView, &TCustomSystemListView::SetTreeView,
        &TCustomSystemTreeView::SetListView);
    LinkToSiblings(this, &TCustomSystemComboBox::TreeView, &TCustomSystemComboBox::SetTreeView,
        &TCustomSystemTreeView::SetComboBox);
}

TCustomSystemTreeView::~TCustomSystemTreeView()
{
    StopReadTimer();
}

void TCustomSystemTreeView::SetListView(TCustomSystemListView* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FListView = Value;
}

void TCustomSystemTreeView::SetComboBox(TCustomSystemComboBox* Value)
{
    if (Value)
        Value->FreeNotification(this);
    FComboBox = Value;
}

void TCustomSystemTreeView::LinkedControlChanged(ISystemControlLink* Source, bool Force)
{
    FollowLinkedControl(this, Source, Force, FListView, FComboBox);
}

void TCustomSystemTreeView::NotifyLinkedControls(bool Force)
{
    if (FListView)
        FListView->LinkedControlChanged(this, Force);
    if (FComboBox)
        FComboBox->LinkedControlChanged(this, Force);
}

void TCustomSystemTreeView::Reset()
{
    NotifyLinkedControls(false);
}

void TCustomSystemTreeView::SetupImageList()
{
    vcl::TImageList* previous = FImages;
    FImages = NewSystemImageList(true, this);
    SetImages(FImages);
    delete previous;
}

void TCustomSystemTreeView::Change(vcl::TTreeNode* Node)
{
    vcl::TCustomTreeView::Change(Node);
    if (FReadDelay > 0 && !FFirstChange) {
        if (vcl::SetTimer(Handle(), ReadTimerID, FReadDelay))
            FTimerID = ReadTimerID;
        return;
    }
    if (!ComponentState().testFlag(vcl::csLoading))
        FFirstChange = false;
    NotifyLinkedControls(false);
}

void TCustomSystemTreeView::WndProc(vcl::TMessage& Message)
{
    if (Message.Msg == vcl::WM_TIMER && Message.WParam == ReadTimerID) {
        StopReadTimer();
        NotifyLinkedControls(false);
        return;
    }
    vcl::TCustomTreeView::WndProc(Message);
}

void TCustomSystemTreeView::StopReadTimer()
{
    if (FTimerID != 0 && HandleAllocated())
        vcl::KillTimer(Handle(), FTimerID);
    FTimerID = 0;
}

void TCustomSystemTreeView::DestroyWnd()
{
    if (FTimerID != 0) {
        StopReadTimer();
        FFirstChange = true;
    }
    vcl::TCustomTreeView::DestroyWnd();
}

void TCustomSystemTreeView::CMSysColorChange(vcl::TMessage& Message)
{
    SetupImageList();
    vcl::TCustomTreeView::CMSysColorChange(Message);
    // The platform needed the colour flipped and back to repaint; a repaint is enough.
    Invalidate();
}

void TCustomSystemTreeView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation)
{
    vcl::TCustomTreeView::Notification(AComponent, Operation);
    LinkOnNotification(AComponent, Operation, FListView, this, &TCustomSystemListView::SetTreeView);
    LinkOnNotification(AComponent, Operation, FComboBox, this, &TCustomSystemComboBox::SetTreeView);
}

} // namespace Systemcontrolpack
