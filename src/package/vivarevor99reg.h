#pragma once
// Registration unit Vivarevor99reg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Vivarevor99reg {

// Registers the tab editors and link parser, the combo boxes, the FTP panel and button
// and the tray icon.
void Register();

} // namespace Vivarevor99reg
