#pragma once
// TqvFolderCombo: a drop-down list of the mounted volumes and of the folders leading
// to the file list view's directory; choosing one makes the list show it.
#include "vcl/controls/combobox.h"

#include <QStringList>

namespace Qvfilectrls {

class TqvFileListView;

// A drop-down list of the mounted volumes and of the folders leading to a file list
// view's directory; choosing an entry makes the list show that folder.
class TqvFolderCombo : public vcl::TCustomComboBox {
    Q_OBJECT
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_CLASSINFO("Default:TabStop", "True")
public:
    // Each level of the folder chain is indented by this many spaces.
    enum Metrics { IndentPerLevel = 2 };

    // Creates the combo box, owned (and freed) by AOwner.
    explicit TqvFolderCombo(vcl::TComponent* AOwner);

    // The list this combo box follows; set by the list's DirCombo.
    TqvFileListView* FileList() const { return FFileList; }
    void SetFileList(TqvFileListView* Value);
    // Fills the entries for Directory with the drive texts at Base and selects
    // Directory's entry (none for the special directories).
    void ShowDirectory(const QString& Directory, int Base);
    // The folder of each entry, in entry order.
    const QStringList& Paths() const { return FPaths; }

protected:
    void Change() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TqvFileListView* FFileList = nullptr;
    QStringList FPaths;
    bool FFilling = false;
};

} // namespace Qvfilectrls
