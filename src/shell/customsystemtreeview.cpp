#include "shell/customsystemtreeview.h"

#include "shell/customsystemcombobox.h"
#include "shell/customsystemlistview.h"
#include "platform/shell/shellfileinfo.h"
#include "vcl/graphics/imagelist.h"

#include <QAbstractItemView>
#include <QScrollBar>

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

QString DisplayNameOfList(LPCITEMIDLIST Absolute)
{
    using namespace platform::shell;
    SHFILEINFO info;
    if (!Absolute || SHGetFileInfo(reinterpret_cast<const char*>(Absolute), 0, &info, sizeof info,
                                   SHGFI_PIDL | SHGFI_DISPLAYNAME) == 0)
        return {};
    return QString::fromUtf8(info.szDisplayName);
}

void ScrollNearEdges(QAbstractItemView* View, vcl::TWinControl* Control, int X, int Y)
{
    const int margin = std::abs(QFontMetrics(Control->font()).height());
    QScrollBar* vertical = View->verticalScrollBar();
    QScrollBar* horizontal = View->horizontalScrollBar();
    const int bottomBar = horizontal->maximum() > 0 ? horizontal->height() : 0;
    const int rightBar = vertical->maximum() > 0 ? vertical->width() : 0;
    if (Y < margin)
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (Y > Control->height() - bottomBar - margin)
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (X < margin)
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (X > Control->width() - rightBar - margin)
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

} // namespace Systemcontrolpack
