// Regions, the clip region and saved drawing states of the drawing engine.
#include "vcl/graphics/gdi.h"

#include "vcl/graphics/gdiengine.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace vcl {

using namespace gdiengine;

namespace {

// Region coordinates are kept within 27 bits, as the platform keeps them, so that no
// width, height or offset overflows.
constexpr int CoordinateLimit = (1 << 27) - 1;

int Limited(int Value)
{
    return std::clamp(Value, -CoordinateLimit, CoordinateLimit);
}

// The region of the rectangle with exclusive right and bottom edges; swapped edges
// are put in order, equal ones give an empty region.
QRegion RectRegion(int Left, int Top, int Right, int Bottom)
{
    Left = Limited(Left);
    Top = Limited(Top);
    Right = Limited(Right);
    Bottom = Limited(Bottom);
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    if (Left == Right || Top == Bottom)
        return QRegion();
    return QRegion(QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)));
}

int KindOf(const QRegion& Region)
{
    if (Region.isEmpty())
        return NULLREGION;
    return Region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN NewRegion(QRegion Region)
{
    auto* region = new TGdiRegion;
    region->Region = std::move(Region);
    TrackObject(region);
    return region;
}

// The region a clip rectangle narrows: the clip region, or the whole surface when
// there is none.
QRegion CurrentClip(const TDeviceContext& DC)
{
    if (DC.HasClip)
        return DC.ClipRegion;
    return DC.Surface() ? QRegion(DC.Surface()->rect()) : QRegion();
}

int SetClip(TDeviceContext& DC, QRegion Region)
{
    DC.ClipRegion = std::move(Region);
    DC.HasClip = true;
    return KindOf(DC.ClipRegion);
}

} // namespace

namespace gdiengine {

QRegion DrawableRegion(const TDeviceContext& DC)
{
    if (!DC.Surface())
        return QRegion();
    const QRect surface = DC.Surface()->rect();
    return DC.HasClip ? DC.ClipRegion.intersected(surface) : QRegion(surface);
}

} // namespace gdiengine

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    return NewRegion(RectRegion(Left, Top, Right, Bottom));
}

HRGN CreateRectRgnIndirect(const TRect& Rect)
{
    return CreateRectRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

int CombineRgn(HRGN Dest, HRGN Source1, HRGN Source2, int Mode)
{
    TGdiRegion* dest = LiveRegion(Dest);
    const TGdiRegion* a = LiveRegion(Source1);
    const TGdiRegion* b = Mode == RGN_COPY ? a : LiveRegion(Source2);
    if (!dest || !a || !b)
        return ERROR;
    switch (Mode) {
    case RGN_AND: dest->Region = a->Region.intersected(b->Region); break;
    case RGN_OR: dest->Region = a->Region.united(b->Region); break;
    case RGN_XOR: dest->Region = a->Region.xored(b->Region); break;
    case RGN_DIFF: dest->Region = a->Region.subtracted(b->Region); break;
    case RGN_COPY: dest->Region = a->Region; break;
    default: return ERROR;
    }
    return KindOf(dest->Region);
}

int OffsetRgn(HRGN Region, int X, int Y)
{
    TGdiRegion* region = LiveRegion(Region);
    if (!region)
        return ERROR;
    const QRect box = region->Region.boundingRect();
    if (!box.isEmpty()) {
        const int64_t left = int64_t(box.left()) + X, right = int64_t(box.right()) + 1 + X;
        const int64_t top = int64_t(box.top()) + Y, bottom = int64_t(box.bottom()) + 1 + Y;
        if (std::min(left, top) < -CoordinateLimit || std::max(right, bottom) > CoordinateLimit)
            return ERROR;
        region->Region.translate(X, Y);
    }
    return KindOf(region->Region);
}

BOOL PtInRegion(HRGN Region, int X, int Y)
{
    const TGdiRegion* region = LiveRegion(Region);
    return region && region->Region.contains(QPoint(X, Y));
}

int GetRgnBox(HRGN Region, TRect& Rect)
{
    const TGdiRegion* region = LiveRegion(Region);
    if (!region)
        return ERROR;
    Rect = region->Region.isEmpty() ? TRect{} : TRect::FromQRect(region->Region.boundingRect());
    return KindOf(region->Region);
}

int SelectClipRgn(HDC DC, HRGN Region)
{
    if (!DC)
        return ERROR;
    if (!Region) {
        DC->HasClip = false;
        DC->ClipRegion = QRegion();
        return SIMPLEREGION;
    }
    const TGdiRegion* region = LiveRegion(Region);
    if (!region)
        return ERROR;
    return SetClip(*DC, region->Region);
}

int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return ERROR;
    const QRegion rect = RectRegion(Left, Top, Right, Bottom);
    return SetClip(*DC, DC->HasClip ? DC->ClipRegion.intersected(rect) : rect);
}

int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return ERROR;
    return SetClip(*DC, CurrentClip(*DC).subtracted(RectRegion(Left, Top, Right, Bottom)));
}

int GetClipBox(HDC DC, TRect& Rect)
{
    if (!DC)
        return ERROR;
    const QRegion drawable = DrawableRegion(*DC);
    Rect = drawable.isEmpty() ? TRect{} : TRect::FromQRect(drawable.boundingRect());
    return KindOf(drawable);
}

int TDeviceContext::Save()
{
    FSaved.push_back({Bitmap, StateFields()});
    return int(FSaved.size());
}

bool TDeviceContext::Restore(int Level)
{
    const int64_t index = Level < 0 ? int64_t(FSaved.size()) + Level : int64_t(Level) - 1;
    if (Level == 0 || index < 0 || index >= int64_t(FSaved.size()))
        return false;
    SavedState& state = FSaved[size_t(index)];
    if (DefaultBitmap && state.Bitmap != Bitmap) {
        Bitmap = state.Bitmap;
        SetSurface(&Bitmap->Image, Bitmap->Monochrome);
    }
    StateFields() = std::move(state.Values);
    FSaved.resize(size_t(index));
    return true;
}

int SaveDC(HDC DC)
{
    return DC ? DC->Save() : 0;
}

BOOL RestoreDC(HDC DC, int SavedDC)
{
    return DC && DC->Restore(SavedDC);
}

} // namespace vcl
