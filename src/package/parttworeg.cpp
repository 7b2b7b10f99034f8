#include "package/parttworeg.h"

#include "layout/qvsplitter.h"
#include "layout/qvsplitterwindow.h"
#include "package/palettepages.h"
#include "dialogs/qvcolormix.h"
#include "dialogs/qvcolorselect.h"
#include "dialogs/qvmsgdlg.h"
#include "files/qvfilelistview.h"
#include "files/qvfilenameedit.h"
#include "files/qvfoldercombo.h"
#include "gradient/qvwordcaption.h"
#include "system/qvexitwin.h"
#include "system/qvmysys.h"
#include "system/qvsysinfo.h"
#include "utilities/qvsaveform.h"
#include "utilities/qvsaveformeditor.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Parttworeg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Parttworeg", {});
} // namespace

// Only the classes that exist are registered; the others of each step follow as their
// units arrive, at their place in the step.
void Register()
{
    using vcl::ClassOf;
    using Qvsplitterwindow::TPane;
    using Qvsplitterwindow::TqvSplitterWindow;
    vcl::RegisterComponents(Palettepages::System,
        {ClassOf<Qvmysys::TqvMySystem>(), ClassOf<Qvexitwin::TqvExitWin>()});
    vcl::RegisterComponents(Palettepages::Misc,
        {ClassOf<Qvcolormix::TqvColorMixer>(), ClassOf<Qvcolorselect::TqvColorSelector>()});
    vcl::RegisterComponents(Palettepages::Dialogs, {ClassOf<Qvmsgdlg::TqvMsgDlg>()});
    vcl::RegisterComponents(Palettepages::Win32,
        {ClassOf<Qvsaveform::TqvSaveForm>(), ClassOf<Qvsysinfo::TqvSysInfo>(),
            ClassOf<Qvwordcaption::TqvGradientCaption>(), ClassOf<Qvsplitter::TqvSplitter>(),
            ClassOf<Qvfilectrls::TqvFileListView>(), ClassOf<Qvfilectrls::TqvFolderCombo>(),
            ClassOf<Qvfilectrls::TqvFilenameEdit>(), ClassOf<TqvSplitterWindow>()});
    // The gradient caption's three text objects (TCompanyText and its descendants)
    // unfold into their own properties, on any class and under any name.
    vcl::RegisterPropertyEditor(vcl::TypeInfoOf<Qvwordcaption::TCompanyText>(), nullptr, QString(),
        vcl::ClassPropertyEditor());
    vcl::RegisterComponentEditor(ClassOf<Qvsaveform::TqvSaveForm>(),
        vcl::EditorClassOf<Qvsaveform::TDialogComponent>("TDialogComponent"));
    vcl::RegisterClasses({ClassOf<TPane>()});
    const vcl::TComponentEditorClass editor
        = vcl::EditorClassOf<Qvsplitterwindow::TqvSplitterWindowEditor>("TqvSplitterWindowEditor");
    vcl::RegisterComponentEditor(ClassOf<TqvSplitterWindow>(), editor);
    vcl::RegisterComponentEditor(ClassOf<TPane>(), editor);
}

} // namespace Parttworeg
