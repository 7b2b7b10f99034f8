#include "package/partthreereg.h"

#include "package/palettepages.h"
#include "dialogs/qvcolorsort.h"
#include "gradient/coolpckbutton.h"
#include "gradient/coolpckgradbtn.h"
#include "gradient/coolpcklabel.h"
#include "gradient/coolpckwallpaper.h"
#include "gradient/qvbgrad.h"
#include "gradient/qvgprg.h"
#include "gradient/qvgrbtn.h"
#include "utilities/qvtipdlgeditors.h"
#include "utilities/qvtipdlgu.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Partthreereg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Partthreereg", {});
} // namespace

// Only the classes that exist are registered; the others of each step follow as their
// units arrive, at their place in the step.
void Register()
{
    using vcl::ClassOf;
    vcl::RegisterComponents(Palettepages::Dialogs, {ClassOf<Qvtipdlgu::TqvTipDlg>()});
    vcl::RegisterComponents(Palettepages::ZiruRode,
        {ClassOf<Qvbgrad::TqvBackGradient>(), ClassOf<Qvgrbtn::TqvGradientBtn>(), ClassOf<Coolpck::TqvCoolLabel>(),
            ClassOf<Coolpck::TqvCoolButton>(), ClassOf<Coolpck::TqvCoolWallpaper>(),
            ClassOf<Coolpck::TqvCoolGradientButton>()});
    vcl::RegisterComponents(Palettepages::Misc, {ClassOf<Qvcolorsort::TqvSelectColorDlg>()});
    vcl::RegisterComponents(Palettepages::Win32, {ClassOf<Qvgprg::TqvGradientProgress>()});
    vcl::RegisterComponentEditor(
        ClassOf<Qvtipdlgu::TqvTipDlg>(), vcl::EditorClassOf<Qvtipdlgu::TTipDialogEditor>("TTipDialogEditor"));
    vcl::RegisterPropertyEditor(vcl::TypeInfoOf<QString>(), ClassOf<Qvtipdlgu::TqvTipDlg>(), QStringLiteral("INIFile"),
        vcl::PropertyEditorClassOf<Qvtipdlgu::TFileNameProperty>("TFileNameProperty"));
}

} // namespace Partthreereg
