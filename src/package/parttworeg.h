#pragma once
// Registration unit Parttworeg: places its share of the package's components on their
// palette pages and registers their design-time editors.

namespace Parttworeg {

// Registers the system, dialog, colour and Win32-page components (form state, system
// information, gradient caption, splitters, file list view), the text-object property
// editor, the form-state and splitter-window editors, and TPane for streaming.
void Register();

} // namespace Parttworeg
