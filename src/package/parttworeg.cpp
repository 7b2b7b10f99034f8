#include "package/parttworeg.h"

#include "vcl/core/unitstartup.h"

namespace Parttworeg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Parttworeg", {});
} // namespace

void Register()
{
    // None of the classes this procedure places exists in QvKit yet; each is added to its
    // page here, at its place in the procedure's order, when its unit arrives.
}

} // namespace Parttworeg
