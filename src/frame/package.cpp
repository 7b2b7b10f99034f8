#include "frame/package.h"

#include "frame/parttworeg.h"
#include "frame/partthreereg.h"
#include "frame/vivarevor99reg.h"
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
