#include "package/vivarevor99reg.h"

#include "package/palettepages.h"
#include "system/qvtrayicon.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Vivarevor99reg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Vivarevor99reg", {});
} // namespace

void Register()
{
    // Only the classes that exist are registered; the others of each step follow as their
    // units arrive, at their place in the step.
    vcl::RegisterComponents(Palettepages::System, {vcl::ClassOf<Qvscontrols::TqvTrayIcon>()});
}

} // namespace Vivarevor99reg
