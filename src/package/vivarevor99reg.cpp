#include "package/vivarevor99reg.h"

#include "vcl/core/unitstartup.h"

namespace Vivarevor99reg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Vivarevor99reg", {});
} // namespace

void Register()
{
    // None of the classes this procedure places exists in QvKit yet; each is added to its
    // page here, at its place in the procedure's order, when its unit arrives.
}

} // namespace Vivarevor99reg
