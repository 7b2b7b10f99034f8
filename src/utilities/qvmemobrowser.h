#pragma once
// Qvmemobrowser: TqvMemoEdTab, tabbed plain-text documents, one TMemo per page.
#include "utilities/qvedtabbase.h"

namespace vcl {
class TMemo;
}

namespace Qvmemobrowser {

using Qvedtabbase::TDocumentInfo;

// Tabbed plain-text documents, one memo per page.
class TqvMemoEdTab : public Qvedtabbase::TqvCustomEdTab {
    Q_OBJECT
public:
    // Creates the editor with one untitled page, owned (and freed) by AOwner.
    explicit TqvMemoEdTab(vcl::TComponent* AOwner);

    // The memo of the active page.
    vcl::TMemo* GetCurrentEditor() const;

protected:
    vcl::TWinControl* CreateEditor(vcl::TComponent* AOwner) override;
    vcl::TStrings* EditorLines(vcl::TWinControl* Editor) const override;
    bool SavesPlainText(vcl::TWinControl* Editor) const override;
};

} // namespace Qvmemobrowser
