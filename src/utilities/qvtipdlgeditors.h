#pragma once
// The design-time editors of TqvTipDlg: TTipDialogEditor, whose one verb (and a
// double-click) shows the dialog, and TFileNameProperty, which chooses the INI file
// in a file-open dialog.
#include "vcl/streaming/designintf.h"

namespace Qvtipdlgu {

class TTipDialogEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;

    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override;
    int GetVerbCount() override;
};

class TFileNameProperty : public vcl::TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;

    vcl::TPropertyAttributes GetAttributes() override;
    // A file-open dialog preset with the current name ("All files|*.*"; the path and
    // the file must exist); the chosen name becomes the value.
    void Edit() override;
};

} // namespace Qvtipdlgu
