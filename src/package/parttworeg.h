#pragma once
// Registration unit Parttworeg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Parttworeg {

void Register();

} // namespace Parttworeg
