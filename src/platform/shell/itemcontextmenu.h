#pragma once
// The context menu of one or more items of a folder: open (the default), cut, copy,
// paste (into a folder), delete (to the trash), rename and properties.
#include "platform/shell/idlist.h"
#include "platform/shell/shellfolder.h"

#include <functional>

namespace platform::shell {

// How paste moves a cut item: renameat2 without replacing (0, or -1 with errno). Tests
// replace it to take the path of a move across volumes (EXDEV) on one file system.
using TMoveFunction = std::function<int(const QByteArray& from, const QByteArray& to)>;
TMoveFunction& ItemMoveFunction();

class TItemContextMenu : public IContextMenu {
public:
    // Each entry is the absolute items of one selected item.
    explicit TItemContextMenu(std::vector<std::vector<TShellItem>> items) : FItems(std::move(items)) {}

    std::vector<TCommand> Commands(UINT flags) const override;
    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) override;
    HRESULT GetCommandString(UINT offset, UINT type, QString& text) const override;
    QString LastErrorText() const override { return FError; }

protected:
    bool Offers(REFIID riid) const override { return riid == IID_IContextMenu; }

private:
    bool AllFileSystem() const;
    bool Run(const QString& verb);
    bool Open();
    bool PutOnClipboard(bool cut);
    bool Paste();
    bool Delete();
    bool Rename();
    bool Properties();
    // The file-system paths of the items; false (and the reason kept) when one vanished.
    bool ExistingPaths(std::vector<QByteArray>& paths);

    std::vector<std::vector<TShellItem>> FItems;
    QString FError;
};

} // namespace platform::shell
