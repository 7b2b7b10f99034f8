#pragma once
// The design-time editors of TqvTipDlg: TTipDialogEditor, whose one verb (and a
// double-click) shows the dialog, and TFileNameProperty, which chooses the INI file
// in a file-open dialog.
#include "vcl/streaming/designintf.h"

namespace Qvtipdlgu {

// The tip dialog's design-time verb: 0 "Test Tips Dialog", which runs Execute.
class TTipDialogEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;

    // Runs verb Index.
    void ExecuteVerb(int Index) override;
    QString GetVerb(int Index) override; // The verb's caption.
    int GetVerbCount() override; // One verb.
};

// The property editor of the tip dialog's INIFile: a file-open dialog.
class TFileNameProperty : public vcl::TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;

    vcl::TPropertyAttributes GetAttributes() override; // Opens a dialog (paDialog).
    // A file-open dialog preset with the current name ("All files|*.*"; the path and
    // the file must exist); the chosen name becomes the value.
    void Edit() override;
};

} // namespace Qvtipdlgu
