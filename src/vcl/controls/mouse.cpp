#include "vcl/controls/mouse.h"

#include <QCursor>

namespace vcl {

TPoint TMouse::CursorPos() const
{
    return TPoint::FromQPoint(QCursor::pos());
}

void TMouse::SetCursorPos(const TPoint& Value)
{
    QCursor::setPos(Value.ToQPoint());
}

TMouse* Mouse()
{
    static TMouse mouse;
    return &mouse;
}

bool GetCursorPos(TPoint* Point)
{
    if (Point == nullptr)
        return false;
    *Point = Mouse()->CursorPos();
    return true;
}

bool SetCursorPos(int X, int Y)
{
    Mouse()->SetCursorPos(Point(X, Y));
    return true;
}

} // namespace vcl
