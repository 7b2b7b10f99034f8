#include "utilities/qvtipdlgeditors.h"

#include "utilities/qvtipdlgu.h"
#include "vcl/controls/application.h"
#include "vcl/controls/dialogs.h"

#include <memory>

namespace Qvtipdlgu {

using namespace vcl;

void TTipDialogEditor::ExecuteVerb(int Index)
{
    if (auto* dialog = dynamic_cast<TqvTipDlg*>(Component()); dialog != nullptr && Index == 0)
        dialog->Execute();
}

QString TTipDialogEditor::GetVerb(int Index)
{
    return Index == 0 ? QStringLiteral("Test Tips Dialog") : QString();
}

int TTipDialogEditor::GetVerbCount()
{
    return 1;
}

TPropertyAttributes TFileNameProperty::GetAttributes()
{
    return paDialog;
}

void TFileNameProperty::Edit()
{
    // Freed on every path, chosen or not.
    std::unique_ptr<TOpenDialog> dialog(new TOpenDialog(Application()));
    dialog->SetFileName(GetStrValue());
    dialog->SetFilter(QStringLiteral("All files|*.*"));
    dialog->SetOptions(dialog->Options() | ofPathMustExist | ofFileMustExist);
    if (dialog->Execute())
        SetStrValue(dialog->FileName());
}

} // namespace Qvtipdlgu
