#include "dialogs/qvcolorsort.h"

#include "vcl/core/unitstartup.h"
#include "vcl/controls/application.h"

#include <QPointer>

namespace Qvcolorsort {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvcolorsort"), {});

namespace {

QPointer<TColorSotForm> CurrentForm;

} // namespace

TColorSotForm* ColorSotForm() { return CurrentForm.data(); }

TqvSelectColorDlg::TqvSelectColorDlg(TComponent* AOwner)
    : TComponent(AOwner)
{
    // The window belongs to the application; it joins it after its layout is read
    // and without the layout's name, so that several dialogs can each have one.
    FForm = new TColorSotForm(nullptr);
    FForm->SetName(QString());
    Application()->InsertComponent(FForm);
    CurrentForm = FForm;
    FForm->OnColorChange = [this](TComponent* sender, TColor color) { AlterColor(sender, color); };
    Show();
}

TqvSelectColorDlg::~TqvSelectColorDlg()
{
    if (FForm == nullptr)
        return;
    // The window belongs to the application, which frees it at exit; a design host
    // frees it with the component. Either way it must not call back into this
    // component once it is gone.
    FForm->OnColorChange = nullptr;
    if (ComponentState().testFlag(csDesigning))
        delete FForm.data();
}

TColor TqvSelectColorDlg::Color() const { return FForm ? FForm->Panel2->Color() : clBlack; }

void TqvSelectColorDlg::SetColor(TColor Value)
{
    if (!FForm)
        return;
    FForm->Panel2->SetColor(Value);
    FForm->SetCommittedColor(Value);
}

QString TqvSelectColorDlg::Caption() const { return FForm ? FForm->Caption() : QString(); }
void TqvSelectColorDlg::SetCaption(const QString& Value)
{
    if (FForm)
        FForm->SetCaption(Value);
}

void TqvSelectColorDlg::SetVisible(bool Value)
{
    if (Value)
        Show();
    else
        Close();
}

void TqvSelectColorDlg::Show()
{
    if (FForm)
        FForm->Show();
    FVisible = FForm != nullptr;
}

void TqvSelectColorDlg::Close()
{
    if (FForm)
        FForm->Close();
    FVisible = false;
}

TPanel* TqvSelectColorDlg::RecentSwatch(int Index) const
{
    if (!FForm)
        return nullptr;
    TPanel* swatches[] = {FForm->Panel3, FForm->Panel4, FForm->Panel7, FForm->Panel8};
    return Index >= 0 && Index < 4 ? swatches[Index] : nullptr;
}

TColor TqvSelectColorDlg::GetOldColor(int Index) const
{
    TPanel* swatch = RecentSwatch(Index);
    return swatch != nullptr ? swatch->Color() : TColor(0);
}

void TqvSelectColorDlg::SetOldColor(int Index, TColor Color)
{
    if (TPanel* swatch = RecentSwatch(Index))
        swatch->SetColor(Color);
}

void TqvSelectColorDlg::AlterColor(TComponent*, TColor NewColor)
{
    if (OnColorChange)
        OnColorChange(this, NewColor);
}

} // namespace Qvcolorsort
