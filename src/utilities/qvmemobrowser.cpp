#include "utilities/qvmemobrowser.h"

#include "vcl/controls/stdctrls.h"
#include "vcl/core/unitstartup.h"

namespace Qvmemobrowser {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvmemobrowser"), {});

using namespace vcl;

TqvMemoEdTab::TqvMemoEdTab(TComponent* AOwner)
    : TqvCustomEdTab(AOwner, QStringLiteral("MEMONOTSAVED"), QStringLiteral("MEMOREADONLY"))
{
    CreateFirstPage();
}

TMemo* TqvMemoEdTab::GetCurrentEditor() const
{
    return static_cast<TMemo*>(TqvCustomEdTab::GetCurrentEditor());
}

TWinControl* TqvMemoEdTab::CreateEditor(TComponent* AOwner)
{
    return new TMemo(AOwner);
}

TStrings* TqvMemoEdTab::EditorLines(TWinControl* Editor) const
{
    return static_cast<TMemo*>(Editor)->Lines();
}

bool TqvMemoEdTab::SavesPlainText(TWinControl*) const
{
    return true;
}

} // namespace Qvmemobrowser
