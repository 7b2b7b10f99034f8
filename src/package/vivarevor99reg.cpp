#include "package/vivarevor99reg.h"

#include "internet/qvftp.h"
#include "internet/qvftpbutton.h"
#include "internet/qvftpeditor.h"
#include "lists/qvcolorcombo.h"
#include "lists/qvfontcombo.h"
#include "package/palettepages.h"
#include "system/qvtrayicon.h"
#include "utilities/qvlinkparser.h"
#include "utilities/qvmemobrowser.h"
#include "utilities/qvrichbrowser.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Vivarevor99reg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Vivarevor99reg", {});
} // namespace

// Only the classes that exist are registered; the others of each step follow as their
// units arrive, at their place in the step.
void Register()
{
    using vcl::ClassOf;
    vcl::RegisterComponents(Palettepages::Edit, {ClassOf<Qvmemobrowser::TqvMemoEdTab>(),
        ClassOf<Qvrichbrowser::TqvRichEdTab>(), ClassOf<Qvlinkparser::TqvLinkParser>()});
    vcl::RegisterComponents(Palettepages::ListAndCombos,
        {ClassOf<Qvcolorcombobox::TqvComboBox>(), ClassOf<Qvcolorcombobox::TqvColorCombo>(),
            ClassOf<Qvfontcombo::TqvFontCombo>()});
    vcl::RegisterComponents(Palettepages::Internet,
        {ClassOf<Qvftpshell::TqvFTP>(), ClassOf<Qvftpshell::TqvFTPButton>()});
    vcl::RegisterComponentEditor(ClassOf<Qvftpshell::TqvFTP>(),
        vcl::EditorClassOf<Qvftpshell::TqvFTPEditor>("TqvFTPEditor"));
    vcl::RegisterComponents(Palettepages::System, {ClassOf<Qvscontrols::TqvTrayIcon>()});
}

} // namespace Vivarevor99reg
