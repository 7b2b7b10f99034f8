#pragma once
// The mouse pointer: where it is on the screen, as Mouse.CursorPos and GetCursorPos
// give it, and moving it there.
#include "vcl/core/types.h"

namespace vcl {

class TMouse {
public:
    // The pointer's position in screen coordinates.
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& Value);
};

// The process's mouse object.
TMouse* Mouse();

// The pointer's position in screen coordinates; false (Point untouched) for a null Point.
bool GetCursorPos(TPoint* Point);
bool SetCursorPos(int X, int Y);

} // namespace vcl
