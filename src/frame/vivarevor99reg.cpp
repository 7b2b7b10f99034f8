#include "frame/vivarevor99reg.h"

#include "frame/palettepages.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Vivarevor99reg {

namespace {
// Registration units have empty start-up and shut-down bodies.
const vcl::TUnitRegistration unit("Vivarevor99reg", {});
} // namespace

void Register()
{
}

} // namespace Vivarevor99reg
