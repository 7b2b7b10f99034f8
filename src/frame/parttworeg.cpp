#include "frame/parttworeg.h"

#include "frame/palettepages.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Parttworeg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Parttworeg", {});
} // namespace

void Register()
{
}

} // namespace Parttworeg
