#pragma once
// Image lists: many images of one size, each with a mask, drawn by index.
#include "vcl/core/classes.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/icon.h"

#include <QImage>
#include <QObject>
#include <array>
#include <memory>
#include <vector>

namespace vcl {

namespace ImgList {
Q_NAMESPACE
// How an image is drawn: blended with the highlight colour (focused a quarter,
// selected a half), plain, or plain over a transparent background.
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
Q_ENUM_NS(TDrawingStyle)
} // namespace ImgList
using namespace ImgList;

// One of the four overlay slots of an image list (0..3).
using TOverlay = int;
constexpr int MaxOverlays = 4;

// The handle of an image store; image lists bound to one handle show the same images.
struct HIMAGELIST {
    quint64 Value = 0;
    explicit operator bool() const { return Value != 0; }
    friend bool operator==(HIMAGELIST, HIMAGELIST) = default;
};

// What image lists share: the images of one size and the overlay slots.
struct TImageStore {
    int Width = 16;
    int Height = 16;
    std::vector<QImage> Images; // ARGB32
    std::array<int, MaxOverlays> Overlays{-1, -1, -1, -1};
    HIMAGELIST Handle;
};

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
    Q_PROPERTY(bool ShareImages READ ShareImages WRITE SetShareImages)
    Q_CLASSINFO("Default:ShareImages", "False")
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr);
    TCustomImageList(int AWidth, int AHeight, TComponent* AOwner = nullptr);
    ~TCustomImageList() override;

    int Width() const { return FStore->Width; }
    int Height() const { return FStore->Height; }
    // Changing the size clears the list.
    void SetWidth(int Value);
    void SetHeight(int Value);
    int Count() const { return int(FStore->Images.size()); }
    // Background drawn under transparent pixels; clNone draws them transparent.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value);

    // The handle of the images this list shows. Binding another handle makes this list
    // show that list's images (and take its size); an unknown handle raises
    // EInvalidOperation and changes nothing.
    HIMAGELIST Handle() const { return FStore->Handle; }
    void SetHandle(HIMAGELIST Value);
    // A list that shares its images never withdraws their handle: other lists can
    // still bind it after this one is gone. A list that does not share withdraws the
    // handle when it is freed; lists already bound keep their images either way.
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }

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

    // Makes image ImageIndex overlay number Overlay (0..3); false for a bad index.
    bool Overlay(int ImageIndex, TOverlay Overlay);
    // The image shown as overlay number Overlay, -1 when none.
    int OverlayImage(TOverlay Overlay) const;

    // Draws image Index at (X, Y); a disabled image is drawn in greys.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, bool Enabled = true);
    // Draws image ImageIndex with the image of overlay Overlay on top of it.
    void DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, TOverlay Overlay, bool Enabled = true);
    void DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, TOverlay Overlay, TDrawingStyle Style,
        bool Enabled = true);
    // Image Index as drawn: overlay Overlay on top (-1: none), the style's highlight
    // blend, greys when not Enabled, and half transparent when Ghosted (the look of
    // hidden or cut items). A bad index gives a null image.
    QImage Composite(int Index, int Overlay, TDrawingStyle Style, bool Enabled, bool Ghosted = false) const;
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
    void DrawImage(TCanvas* Canvas, int X, int Y, const QImage& Image);
    void NewStore(int AWidth, int AHeight);

    std::shared_ptr<TImageStore> FStore;
    TColor FBkColor = clNone;
    bool FMasked = true;
    bool FShareImages = false;
};

class TImageList : public TCustomImageList {
    Q_OBJECT
public:
    using TCustomImageList::TCustomImageList;
};

// Points Field (a control's image-list property) at Value, moving Owner's free
// notification from the old list to the new one; false when Field already pointed there.
bool ReplaceImageList(TComponent& Owner, TCustomImageList*& Field, TCustomImageList* Value);

} // namespace vcl
