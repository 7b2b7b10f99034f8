#pragma once
// Image lists: many images of one size, each with a mask, drawn by index.
#include "vcl/core/classes.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/icon.h"

#include <QImage>
#include <QObject>
#include <vector>

namespace vcl {

// Images are kept with an alpha channel: a mask pixel that is set (white) makes the
// image pixel transparent, as the platform's image-list masks do.
class TCustomImageList : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_CLASSINFO("Default:Width", "16")
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_CLASSINFO("Default:Height", "16")
    Q_PROPERTY(vcl::TColor BkColor READ BkColor WRITE SetBkColor)
    Q_CLASSINFO("Default:BkColor", "clNone")
    Q_PROPERTY(bool Masked READ Masked WRITE SetMasked)
    Q_CLASSINFO("Default:Masked", "True")
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr);
    TCustomImageList(int AWidth, int AHeight, TComponent* AOwner = nullptr);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size clears the list.
    void SetWidth(int Value);
    void SetHeight(int Value);
    int Count() const { return int(FImages.size()); }
    // Background drawn under transparent pixels; clNone draws them transparent.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value);

    // Adds Image (split into Width-wide pieces when wider) with an optional
    // monochrome Mask; returns the index of the first image added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Adds Image with the pixels of MaskColor transparent (clDefault: the image's
    // bottom-left pixel).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Icon);
    int AddImage(const QImage& Image);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);

    // Draws image Index at (X, Y); a disabled image is drawn in greys.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // Copies image Index into Image (its transparent pixels in BkColor, or the
    // canvas brush colour of Image when BkColor is clNone).
    void GetBitmap(int Index, TBitmap* Image);
    // The image with its transparency, for Qt views.
    QImage ToQImage(int Index) const;

    TNotifyEvent OnChange;

protected:
    void Change();

private:
    void CheckIndex(int Index) const;
    QImage Fit(const QImage& Image) const;
    std::vector<QImage> Pieces(const QImage& Image) const;

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    bool FMasked = true;
    std::vector<QImage> FImages; // ARGB32
};

class TImageList : public TCustomImageList {
    Q_OBJECT
public:
    using TCustomImageList::TCustomImageList;
};

} // namespace vcl
