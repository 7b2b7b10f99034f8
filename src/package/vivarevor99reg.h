#pragma once
// Registration unit Vivarevor99reg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Vivarevor99reg {

void Register();

} // namespace Vivarevor99reg
