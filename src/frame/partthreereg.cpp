#include "frame/partthreereg.h"

#include "frame/palettepages.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Partthreereg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Partthreereg", {});
} // namespace

void Register()
{
}

} // namespace Partthreereg
