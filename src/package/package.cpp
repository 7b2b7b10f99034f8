#include "package/package.h"

#include "package/parttworeg.h"
#include "package/partthreereg.h"
#include "package/vivarevor99reg.h"
#include "vcl/core/unitstartup.h"
#include "vcl/streaming/designintf.h"

namespace Package {

void LoadPackage()
{
    vcl::Initialize();
    Partthreereg::Register();
    Vivarevor99reg::Register();
    Parttworeg::Register();
}

void UnloadPackage()
{
    vcl::ClearDesignRegistries();
    vcl::Finalize();
}

} // namespace Package
