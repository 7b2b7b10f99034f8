#include "gradient/coolpckwallpaper.h"

#include "vcl/controls/controlevents.h"
#include "vcl/graphics/bitmap.h"

namespace Coolpck {

using namespace vcl;

static const bool WallpaperEventsPublished = [] {
    PublishMouseEvents<TqvCoolWallpaper>();
    RegisterEvent<TqvCoolWallpaper>(&TControl::OnDragDrop, "OnDragDrop");
    RegisterEvent<TqvCoolWallpaper>(&TControl::OnDragOver, "OnDragOver");
    return RegisterEvent<TqvCoolWallpaper>(&TControl::OnEndDrag, "OnEndDrag");
}();

TqvCoolWallpaper::TqvCoolWallpaper(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FImage(std::make_unique<TStreamedBitmap>())
{
    SetBounds(Left(), Top(), DefaultSize, DefaultSize);
    SetAlign(alClient);
}

TqvCoolWallpaper::~TqvCoolWallpaper() = default;

void TqvCoolWallpaper::SetImage(const TBitmap* Value)
{
    if (Value == nullptr) {
        FImage->SetSize(0, 0);
    } else {
        FTransColor = Value->TransparentColor();
        FImage->Assign(Value);
    }
    Invalidate();
}

void TqvCoolWallpaper::Paint()
{
    const int w = FImage->Width();
    const int h = FImage->Height();
    // A picture without width or height paints nothing (stepping by a zero height
    // would never reach the bottom).
    if (w <= 0 || h <= 0)
        return;
    TBitmap tiles;
    tiles.SetSize(Width(), Height());
    for (int y = 0; y < Height(); y += h)
        for (int x = 0; x < Width(); x += w)
            tiles.Canvas()->Draw(x, y, FImage.get());
    Canvas()->Draw(0, 0, &tiles);
}

} // namespace Coolpck
