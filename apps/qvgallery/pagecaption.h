#pragma once
// What the gallery makes of a palette page's caption.
#include <QString>

namespace gallery {

// The caption as the host shows it: "&&" is one ampersand, a lone "&" marks an
// accelerator and is not shown.
QString DisplayCaption(const QString& Caption);

// A file name (without extension) for a page: the shown caption keeping letters,
// digits, "-" and "_"; every run of other characters between them becomes one "_",
// and such runs at either end are dropped ("<Velnor Software Win32>" gives
// "Velnor_Software_Win32"). Such names are safe in every file system and need no
// quoting in a shell. "page" when nothing is left.
QString PageFileName(const QString& Caption);

} // namespace gallery
