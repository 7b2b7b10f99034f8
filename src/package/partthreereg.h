#pragma once
// Registration unit Partthreereg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Partthreereg {

void Register();

} // namespace Partthreereg
