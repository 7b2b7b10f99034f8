#pragma once
// Qvmemobrowser: TqvMemoEdTab, tabbed plain-text documents, one TMemo per page.
#include "utilities/qvedtabbase.h"

namespace vcl {
class TMemo;
}

namespace Qvmemobrowser {

using Qvedtabbase::TDocumentInfo;

class TqvMemoEdTab : public Qvedtabbase::TqvCustomEdTab {
    Q_OBJECT
public:
    explicit TqvMemoEdTab(vcl::TComponent* AOwner);

    // The memo of the active page.
    vcl::TMemo* GetCurrentEditor() const;

protected:
    vcl::TWinControl* CreateEditor(vcl::TComponent* AOwner) override;
    vcl::TStrings* EditorLines(vcl::TWinControl* Editor) const override;
    bool SavesPlainText(vcl::TWinControl* Editor) const override;
};

} // namespace Qvmemobrowser
