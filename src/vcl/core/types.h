#pragma once
// Plain value types shared by the whole framework layer.
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

namespace vcl {

class TObject;

// A point in pixels.
struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
    QPoint ToQPoint() const { return {X, Y}; }
    static TPoint FromQPoint(const QPoint& p) { return {p.x(), p.y()}; }
};

// A rectangle with exclusive right and bottom edges.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
    // QRect's right() is inclusive; the conversion keeps the same covered pixels.
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Events keep the original argument lists, sender first.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Root of the class tree: anything that can be a Sender.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The class name as the original framework spells it (used in messages and streaming).
    QString ClassName() const;
};

} // namespace vcl
