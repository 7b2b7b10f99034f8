#pragma once
// Registration unit Partthreereg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Partthreereg {

// Registers TqvTipDlg, the gradient and cool-look controls, the colour selection dialog
// and the gradient progress bar, with the tip dialog's component and property editors.
void Register();

} // namespace Partthreereg
