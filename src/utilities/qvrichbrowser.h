#pragma once
// Qvrichbrowser: TqvRichEdTab, tabbed rich-text documents, one TRichEdit per page.
#include "utilities/qvedtabbase.h"

namespace vcl {
class TRichEdit;
}

namespace Qvrichbrowser {

using Qvedtabbase::TDocumentInfo;

// Tabbed rich-text documents, one rich edit per page.
class TqvRichEdTab : public Qvedtabbase::TqvCustomEdTab {
    Q_OBJECT
public:
    // Creates the editor with one untitled page, owned (and freed) by AOwner.
    explicit TqvRichEdTab(vcl::TComponent* AOwner);

    // The rich-text edit of the active page.
    vcl::TRichEdit* GetCurrentEditor() const;

protected:
    vcl::TWinControl* CreateEditor(vcl::TComponent* AOwner) override;
    vcl::TStrings* EditorLines(vcl::TWinControl* Editor) const override;
    bool SavesPlainText(vcl::TWinControl* Editor) const override;
    // A file that is not rich text is kept plain: it is saved back as plain text.
    void LoadDocument(vcl::TWinControl* Editor, const QString& FileName) override;
};

} // namespace Qvrichbrowser
