#pragma once
// The base of the shell tree view: a tree view linked to a list view and a combo box.
// A change of the selected node reaches the linked controls after a read delay (timer
// 33), so walking the tree with the keys does not list every folder passed; the first
// change after creation, or after the window was destroyed, notifies at once.
#include "shell/systemcontrolpack.h"
#include "vcl/controls/treeview.h"

#include <cstdint>

class QAbstractItemView;

namespace Systemcontrolpack {

// Auto-scrolling of the shell views: with the mouse at (X, Y) of Control within one
// text line of an edge (the scroll bars' room left out), View scrolls one step that way.
void ScrollNearEdges(QAbstractItemView* View, vcl::TWinControl* Control, int X, int Y);

// The display name of an absolute list from the file information (the desktop's own
// empty list has a name only there); empty when there is none.
QString DisplayNameOfList(LPCITEMIDLIST Absolute);

class TCustomSystemListView;
class TCustomSystemComboBox;

// A tree view that is one of the three linked shell controls, with the small system
// images as its images.
class TCustomSystemTreeView : public vcl::TCustomTreeView, public ISystemControlLink {
    Q_OBJECT
public:
    // The timer that carries a delayed change to the linked controls.
    static constexpr uintptr_t ReadTimerID = 33;
    static constexpr uint16_t DefaultReadDelay = 500; // ReadDelay's default, in milliseconds.

    // A tree view linked both ways to every list view and combo box already on AOwner
    // that has no tree view; its own links end on the first placed of each.
    explicit TCustomSystemTreeView(vcl::TComponent* AOwner);
    ~TCustomSystemTreeView() override;

    // The linked list view, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemListView* ListView() const { return FListView; }
    void SetListView(TCustomSystemListView* Value);
    // The linked combo box, null when none. Setting it links this control only (not back)
    // and clears the link when that control goes away.
    TCustomSystemComboBox* ComboBox() const { return FComboBox; }
    void SetComboBox(TCustomSystemComboBox* Value);
    // Milliseconds between a change of node and the notification; 0 notifies at once.
    uint16_t ReadDelay() const { return FReadDelay; }
    void SetReadDelay(uint16_t Value) { FReadDelay = Value; }
    // True while a delayed notification is waiting.
    bool ReadTimerRunning() const { return FTimerID != 0; }
    // The small system image list the nodes' icons come from (owned by the control).
    vcl::TImageList* SystemImages() const { return FImages; }

    void LinkedControlChanged(ISystemControlLink* Source, bool Force) override;
    // Tells the list view, then the combo box.
    virtual void NotifyLinkedControls(bool Force);
    // Tells the linked controls (without forcing them to list their folder again).
    virtual void Reset();

protected:
    virtual void SetupImageList();
    // While set, a change notifies the linked controls at once instead of after the
    // read delay; a rebuild sets it so that its changes are not delayed.
    bool FirstChange() const { return FFirstChange; }
    void SetFirstChange(bool Value) { FFirstChange = Value; }
    vcl::HWND GetValidHandle() { return Systemcontrolpack::GetValidHandle(this); }
    void Change(vcl::TTreeNode* Node) override;
    void WndProc(vcl::TMessage& Message) override;
    void DestroyWnd() override;
    void CMSysColorChange(vcl::TMessage& Message) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void StopReadTimer();

    uint16_t FReadDelay = DefaultReadDelay;
    uint32_t FTimerID = 0;
    bool FFirstChange = true;
    TCustomSystemListView* FListView = nullptr;
    TCustomSystemComboBox* FComboBox = nullptr;
    vcl::TImageList* FImages = nullptr;
};

} // namespace Systemcontrolpack
