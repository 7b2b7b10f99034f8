#pragma once
// Systemcombobox: TSystemComboBox, an owner-drawn drop-down of the desktop, its folders
// and the computer's drives, each level indented further, like the address drop-down
// of a file manager. Choosing an entry makes it the active folder of the linked tree
// and list views; a folder they choose that has no entry is shown with its missing
// ancestors as temporary entries until the active folder changes again.
#include "shell/customsystemcombobox.h"
#include "shell/customsystemlistview.h"
#include "shell/customsystemtreeview.h"

#include <vector>

namespace Systemcombobox {

using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;

// One entry of the drop-down. It holds references to its parent folder and (when the
// item can be bound) its own folder, and owns both identifier lists.
class TShellItem : public vcl::TObject {
public:
    TShellItem() = default;
    TShellItem(const TShellItem&) = delete;
    TShellItem& operator=(const TShellItem&) = delete;
    ~TShellItem() override;

    // Puts Child into the child list at its place in the parent folder's order.
    void AddChild(TShellItem* Child);
    void RemoveChild(TShellItem* Child);
    const std::vector<TShellItem*>& Children() const { return FChildren; }

    IShellFolder* ParentFolder = nullptr;
    IShellFolder* Folder = nullptr;
    LPITEMIDLIST AbsoluteID = nullptr;
    LPITEMIDLIST RelativeID = nullptr;
    QString ParsingName;
    QString DisplayName;
    int NormalIcon = -1;
    int OpenIcon = -1;
    int Indent = 0;
    TShellItem* Parent = nullptr;
    bool Temporary = false;

private:
    // Not owned: every entry belongs to its line of the combo box.
    std::vector<TShellItem*> FChildren;
};

class TSystemComboBox : public Systemcontrolpack::TCustomSystemComboBox {
    Q_OBJECT
    Q_PROPERTY(Systemcontrolpack::TCustomSystemTreeView* TreeView READ TreeView WRITE SetTreeView)
    Q_PROPERTY(Systemcontrolpack::TCustomSystemListView* ListView READ ListView WRITE SetListView)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
public:
    // Pixels each level of the namespace is indented by.
    static constexpr int LevelIndent = 10;

    explicit TSystemComboBox(vcl::TComponent* AOwner);
    ~TSystemComboBox() override;

    QString Version() const;
    void SetVersion(const QString&) {}

    // Lists the desktop, its folders and the drives under the computer anew and
    // selects the desktop (only with a window, not while loading).
    void Reset() override;
    // Makes ID (taken over) the active folder; a null ID does nothing.
    void SetActiveFolderIDList(LPITEMIDLIST ID);
    LPITEMIDLIST GetActiveFolderIDList() const;
    void SetActiveFolderName(const QString& Path);
    QString GetActiveFolderName() const;
    // The entry of line Index; null outside the lines.
    TShellItem* Entry(int Index) const;

    TShellItem* AddShellItem(TShellItem* Parent, LPCITEMIDLIST Relative, bool Temporary);
    // Reads the folders of Entry into its child list.
    void EnumerateSubItems(TShellItem* Entry, bool Temporary);
    // Adds the children of Entry as lines at the end, or right after line Index.
    void AddSubItems(TShellItem* Entry);
    void InsertSubItems(TShellItem* Entry, int Index);
    void RemoveAllItems();

    LPITEMIDLIST GetSelectionPIDL() override { return GetActiveFolderIDList(); }
    IShellFolder* GetSelectionParentFolder() override { return FDesktopFolder; }
    bool LinkedReset(IShellFolder* Folder, LPCITEMIDLIST ID, bool Force) override;

protected:
    void Loaded() override;
    void CreateWnd() override;
    void DrawItem(int Index, const vcl::TRect& Rect, vcl::TOwnerDrawState State) override;

private:
    TShellItem* NewRootEntry();
    void InsertLine(int Index, TShellItem* Entry);
    void RemoveLine(int Index);
    void RemoveTemporaryLines();
    int LineOf(LPCITEMIDLIST ID) const;
    void DrawEntry(const TShellItem* Entry, int Left, const vcl::TRect& Rect, bool Open, bool Selected, bool Focused);

    LPITEMIDLIST FDesktopID = nullptr;
    IShellFolder* FDesktopFolder = nullptr;
    TShellItem* FRoot = nullptr;
    LPITEMIDLIST FActiveID = nullptr;
};

} // namespace Systemcombobox
