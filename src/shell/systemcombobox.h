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
    // Takes Child out of the child list (it is not freed).
    void RemoveChild(TShellItem* Child);
    // The child entries in the parent folder's order.
    const std::vector<TShellItem*>& Children() const { return FChildren; }

    IShellFolder* ParentFolder = nullptr; // The folder holding the item (referenced).
    IShellFolder* Folder = nullptr; // The item as a folder (referenced); null when it cannot be bound.
    LPITEMIDLIST AbsoluteID = nullptr; // The item's list from the desktop (owned).
    LPITEMIDLIST RelativeID = nullptr; // The item's list relative to ParentFolder (owned).
    QString ParsingName; // The name for parsing: a file-system item's path.
    QString DisplayName; // The name shown on the line.
    int NormalIcon = -1; // Small system icon index; -1 when none.
    int OpenIcon = -1; // Small system icon index of the open form; -1 when none.
    int Indent = 0; // Pixels the line is indented by (LevelIndent a level).
    TShellItem* Parent = nullptr; // The parent entry; null for the desktop's.
    bool Temporary = false; // True for an entry shown only until the active folder changes.

private:
    // Not owned: every entry belongs to its line of the combo box.
    std::vector<TShellItem*> FChildren;
};

// The shell combo box: see the unit's description above.
class TSystemComboBox : public Systemcontrolpack::TCustomSystemComboBox {
    Q_OBJECT
    Q_PROPERTY(Systemcontrolpack::TCustomSystemTreeView* TreeView READ TreeView WRITE SetTreeView)
    Q_PROPERTY(Systemcontrolpack::TCustomSystemListView* ListView READ ListView WRITE SetListView)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
public:
    // Pixels each level of the namespace is indented by.
    static constexpr int LevelIndent = 10;

    // An owner-drawn combo box; its lines are made when the window is.
    explicit TSystemComboBox(vcl::TComponent* AOwner);
    ~TSystemComboBox() override;

    // The component's version text, read-only (setting it does nothing; not stored).
    QString Version() const;
    void SetVersion(const QString&) {}

    // Lists the desktop, its folders and the drives under the computer anew and
    // selects the desktop (only with a window, not while loading).
    void Reset() override;
    // Makes ID (taken over) the active folder; a null ID does nothing.
    void SetActiveFolderIDList(LPITEMIDLIST ID);
    // The absolute list of the selected entry (owned by the entry); null when none.
    LPITEMIDLIST GetActiveFolderIDList() const;
    // Makes the item at the file-system Path the active folder; a path that cannot be
    // parsed does nothing.
    void SetActiveFolderName(const QString& Path);
    // The parsing name (for a file-system folder, its path) of the selected entry;
    // empty when none.
    QString GetActiveFolderName() const;
    // The entry of line Index; null outside the lines.
    TShellItem* Entry(int Index) const;

    // A new child entry of Parent for the item Relative (copied) in Parent's folder, with
    // its names, icons and indent; it is added to Parent's children but to no line.
    TShellItem* AddShellItem(TShellItem* Parent, LPCITEMIDLIST Relative, bool Temporary);
    // Reads the folders of Entry (hidden ones too) into its child list; nothing when
    // Entry cannot be bound as a folder.
    void EnumerateSubItems(TShellItem* Entry, bool Temporary);
    // Adds the children of Entry as lines at the end.
    void AddSubItems(TShellItem* Entry);
    // Inserts the children of Entry as lines right after line Index.
    void InsertSubItems(TShellItem* Entry, int Index);
    // Removes every line and frees every entry.
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
