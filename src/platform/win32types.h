#pragma once
// The platform's base integer types, under their original names, for the units that
// keep the original call signatures (the drawing interface in vcl, the FTP layer here).
// It lives in platform, the lowest layer, so that both can include it without platform
// depending on anything above it; it needs nothing but the standard library.
#include <cstdint>

namespace platform {

using BOOL = int;
using UINT = unsigned;
using DWORD = uint32_t;

} // namespace platform
