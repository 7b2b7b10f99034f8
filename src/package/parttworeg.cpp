#include "package/parttworeg.h"

#include "dialogs/qvcolormix.h"
#include "dialogs/qvcolorselect.h"
#include "dialogs/qvmsgdlg.h"
#include "package/palettepages.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Parttworeg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Parttworeg", {});
} // namespace

void Register()
{
    // Only the classes that exist are registered; the others of each step follow as
    // their units arrive, at their place in the step.
    using vcl::ClassOf;
    vcl::RegisterComponents(Palettepages::Misc,
        {ClassOf<Qvcolormix::TqvColorMixer>(), ClassOf<Qvcolorselect::TqvColorSelector>()});
    vcl::RegisterComponents(Palettepages::Dialogs, {ClassOf<Qvmsgdlg::TqvMsgDlg>()});
}

} // namespace Parttworeg
