#pragma once
// TqvFilenameEdit: an edit that shows the name of the file selected in a file list view.
#include "vcl/controls/stdctrls.h"

namespace Qvfilectrls {

// An edit showing the name of the file selected in a TqvFileListView.
class TqvFilenameEdit : public vcl::TEdit {
    Q_OBJECT
public:
    // Creates the edit, owned (and freed) by AOwner.
    explicit TqvFilenameEdit(vcl::TComponent* AOwner);

    // Shows the name part of Path (empty text for an empty path) and keeps the path.
    void ShowFile(const QString& Path);
    // The full path of the file shown.
    QString FileName() const { return FFileName; }

private:
    QString FFileName;
};

} // namespace Qvfilectrls
