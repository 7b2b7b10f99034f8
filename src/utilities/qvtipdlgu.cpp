#include "utilities/qvtipdlgu.h"

#include "utilities/qvtipfrmdlg.h"
#include "vcl/controls/application.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/screen.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/strings.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/graphicsobjects.h"
#include "vcl/registry/inifiles.h"
#include "vcl/registry/registry.h"

namespace Qvtipdlgu {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvtipdlgu"), {});

using namespace vcl;
using Qvtipfrmdlg::TqvTipsForm;

namespace {

HKEY HiveOf(TRegRoot Root)
{
    switch (Root) {
    case LOCAL_MACHINE:
        return HKEY_LOCAL_MACHINE;
    case CURRENT_CONFIG:
        return HKEY_CURRENT_CONFIG;
    case CURRENT_USER:
        break;
    }
    return HKEY_CURRENT_USER;
}

} // namespace

TqvTipDlg::TqvTipDlg(TComponent* AOwner)
    : TComponent(AOwner)
    , FTips(std::make_unique<TStringList>())
    , FTipTitleFont(std::make_unique<TFont>())
    , FTipFont(std::make_unique<TFont>())
    , FPanelColor(clInfoBk)
{
}

TqvTipDlg::~TqvTipDlg() = default;

TStrings* TqvTipDlg::Tips() const
{
    return FTips.get();
}

void TqvTipDlg::SetTipValues(TStrings* Value)
{
    FTips->Assign(Value);
}

void TqvTipDlg::SetTitleFont(TFont* Value)
{
    FTipTitleFont->Assign(Value);
}

void TqvTipDlg::SetTipFont(TFont* Value)
{
    FTipFont->Assign(Value);
}

bool TqvTipDlg::ReadFromRegistry()
{
    TRegistry registry;
    registry.SetRootKey(HiveOf(FRegistryRoot));
    if (!registry.KeyExists(FRegistryKey))
        return false;
    if (!registry.OpenKeyReadOnly(FRegistryKey))
        return false;
    TStringList names;
    registry.GetValueNames(names);
    for (int i = 0; i < names.Count(); ++i)
        if (registry.GetDataType(names.Strings(i)) == rdString)
            FTips->Add(registry.ReadString(names.Strings(i)));
    registry.CloseKey();
    return FTips->Count() > 0;
}

bool TqvTipDlg::ReadFromINIFile()
{
    if (FINIFile.isEmpty() || FINISection.isEmpty() || !FileExists(FINIFile))
        return false;
    TIniFile ini(FINIFile);
    TStringList keys;
    ini.ReadSection(FINISection, keys);
    for (int i = 0; i < keys.Count(); ++i)
        FTips->Add(ini.ReadString(FINISection, keys.Strings(i), QString()));
    return true;
}

void TqvTipDlg::DrawPicture(TqvTipsForm& Form) const
{
    // The picture's key colour (its bottom-left pixel) shows the panel colour.
    TBitmap picture;
    picture.LoadFromResourceName(0, QStringLiteral("TIPBMP"));
    picture.SetTransparent(true);
    TBitmap* face = Form.Image1->Picture();
    face->SetSize(picture.Width(), picture.Height());
    face->Canvas()->Brush()->SetColor(FPanelColor);
    face->Canvas()->FillRect(TRect(0, 0, picture.Width(), picture.Height()));
    face->Canvas()->Draw(0, 0, &picture);
    Form.Image1->SetBounds(Form.Image1->Left(), Form.Image1->Top(), picture.Width(), picture.Height());
}

void TqvTipDlg::PrepareForm(TqvTipsForm& Form)
{
    Form.TipPanel->SetColor(FPanelColor);
    DrawPicture(Form);
    Form.SetCaption(FDlgCaption.isEmpty() ? QStringLiteral("Tip of the day") : FDlgCaption);
    if (FTipsLocation == locRegistry) {
        FTips->Clear();
        ReadFromRegistry();
    } else if (FTipsLocation == locINIFile) {
        FTips->Clear();
        ReadFromINIFile();
    }
    Form.TipTitleLbl->SetCaption(FTipTitle.isEmpty() ? QStringLiteral("Did you know...") : FTipTitle);
    Form.ShowChk->SetChecked(FShowAtStartup);
    Form.LineBreakMarker = FCRLFSubstitute;
    Form.TipLbl->Font()->Assign(FTipFont.get());
    Form.TipTitleLbl->Font()->Assign(FTipTitleFont.get());
    Form.Tips()->Assign(FTips.get());
    Form.RandomOrder = FRandomTips;
    Form.PrevBtn->SetVisible(!FRandomTips);
    const int count = FTips->Count();
    if (count > 0) {
        Form.TipIndex = FRandomTips ? Qvtipfrmdlg::RandomBelow(count - 1) : -1;
        Form.NextBtnClick(&Form);
    } else {
        Form.TipLbl->SetCaption(QString());
        Form.NextBtn->SetEnabled(false);
        Form.PrevBtn->SetEnabled(false);
    }
}

void TqvTipDlg::PlaceForm(TqvTipsForm& Form) const
{
    TCustomForm* main = Application()->MainForm();
    const bool atMainForm = FPosition == posFormCenter && !(ComponentState() & csDesigning) && main != nullptr;
    if (!atMainForm) {
        Form.SetPosition(poScreenCenter);
        return;
    }
    // div truncates toward zero, as C++ integer division does.
    Form.SetLeft(main->Left() + main->Width() / 2 - Form.Width() / 2);
    Form.SetTop(main->Top() + main->Height() / 2 - Form.Height() / 2);
}

bool TqvTipDlg::Execute()
{
    std::unique_ptr<TqvTipsForm> form(new TqvTipsForm(Application()));
    PrepareForm(*form);
    PlaceForm(*form);
    FForm = form.get();
    form->ShowModal();
    FForm = nullptr;
    FShowAtStartup = form->ShowChk->Checked();
    return FShowAtStartup;
}

} // namespace Qvtipdlgu
