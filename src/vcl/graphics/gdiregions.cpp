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

// Result becomes A combined with B by a RGN_ mode (B is not read for RGN_COPY); false
// for an unknown mode.
bool Combine(const QRegion& A, const QRegion& B, int Mode, QRegion& Result)
{
    switch (Mode) {
    case RGN_AND: Result = A.intersected(B); return true;
    case RGN_OR: Result = A.united(B); return true;
    case RGN_XOR: Result = A.xored(B); return true;
    case RGN_DIFF: Result = A.subtracted(B); return true;
    case RGN_COPY: Result = A; return true;
    default: return false;
    }
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
    if (!dest || !a || !b || !Combine(a->Region, b->Region, Mode, dest->Region))
        return ERROR;
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

int ExtSelectClipRgn(HDC DC, HRGN Region, int Mode)
{
    if (!DC)
        return ERROR;
    if (Mode == RGN_COPY)
        return SelectClipRgn(DC, Region);
    const TGdiRegion* region = LiveRegion(Region);
    QRegion combined;
    if (!region || !Combine(CurrentClip(*DC), region->Region, Mode, combined))
        return ERROR;
    return SetClip(*DC, std::move(combined));
}

int GetClipRgn(HDC DC, HRGN Region)
{
    TGdiRegion* region = LiveRegion(Region);
    if (!DC || !region)
        return -1;
    if (!DC->HasClip)
        return 0;
    region->Region = DC->ClipRegion;
    return 1;
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
