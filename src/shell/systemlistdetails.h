#pragma once
// The detail texts of a system list view row: size, modification time, attributes.
#include "platform/win32types.h"

#include <QString>
#include <cstdint>

namespace Systemlistview {

// ceil(Bytes / 1024) with "," between groups of three digits, then " KB".
QString SizeText(uint64_t Bytes);
// The last-write time in the user's short date and time formats, joined by a blank;
// empty when either half of the time is zero.
QString ModifiedText(const platform::FILETIME& Time);
// "R" for read-only, "H" for hidden, in that order. The system ("S") and archive ("A")
// letters have no counterpart in the file modes of this platform and never appear.
QString AttributesText(platform::DWORD FileAttributes);

} // namespace Systemlistview
