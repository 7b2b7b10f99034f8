#pragma once
// Coolpck: TqvCoolWallpaper, a control that tiles a picture over its area.
#include "gradient/coolpck.h"
#include "vcl/graphics/streamedbitmap.h"

#include <memory>

namespace Coolpck {

// A control that tiles a picture over its area.
class TqvCoolWallpaper : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStreamedBitmap* Image READ Image WRITE SetImage)
    Q_PROPERTY(vcl::TColor TransColor READ TransColor WRITE SetTransColor)
    Q_CLASSINFO("Default:Align", "alClient")

public:
    static constexpr int DefaultSize = 100; // The width and height of a new control, in pixels.

    // Creates the control, owned (and freed) by AOwner.
    explicit TqvCoolWallpaper(vcl::TComponent* AOwner);
    ~TqvCoolWallpaper() override;

    // The picture (owned). Setting null empties it; setting a picture also takes its
    // transparent colour into TransColor.
    vcl::TStreamedBitmap* Image() const { return FImage.get(); }
    void SetImage(const vcl::TBitmap* Value);
    // Kept for the picture's users; tiling does not leave it out.
    TColor TransColor() const { return FTransColor; }
    void SetTransColor(TColor Value) { ChangeProperty(FTransColor, Value); }

protected:
    void Paint() override;

private:
    std::unique_ptr<vcl::TStreamedBitmap> FImage;
    TColor FTransColor = vcl::clWhite;
};

} // namespace Coolpck
