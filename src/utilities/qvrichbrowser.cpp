#include "utilities/qvrichbrowser.h"

#include "vcl/controls/richedit.h"
#include "vcl/core/unitstartup.h"

#include <QFile>

namespace Qvrichbrowser {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvrichbrowser"), {});

using namespace vcl;

TqvRichEdTab::TqvRichEdTab(TComponent* AOwner)
    : TqvCustomEdTab(AOwner, QStringLiteral("RICHNOTSAVED"), QStringLiteral("RICHREADONLY"))
{
    CreateFirstPage();
}

TRichEdit* TqvRichEdTab::GetCurrentEditor() const
{
    return static_cast<TRichEdit*>(TqvCustomEdTab::GetCurrentEditor());
}

TWinControl* TqvRichEdTab::CreateEditor(TComponent* AOwner)
{
    return new TRichEdit(AOwner);
}

TStrings* TqvRichEdTab::EditorLines(TWinControl* Editor) const
{
    return static_cast<TRichEdit*>(Editor)->Lines();
}

void TqvRichEdTab::LoadDocument(TWinControl* Editor, const QString& FileName)
{
    QFile file(FileName);
    const bool rich = file.open(QIODevice::ReadOnly) && file.read(5) == "{\\rtf";
    static_cast<TRichEdit*>(Editor)->SetPlainText(!rich);
    TqvCustomEdTab::LoadDocument(Editor, FileName);
}

bool TqvRichEdTab::SavesPlainText(TWinControl* Editor) const
{
    return static_cast<TRichEdit*>(Editor)->PlainText();
}

} // namespace Qvrichbrowser
