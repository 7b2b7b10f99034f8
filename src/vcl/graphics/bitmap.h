#pragma once
// TBitmap: a pixel buffer with a pixel format, palette, monochrome flag, transparent
// colour and canvas, read from and written to the BMP format.
#include "vcl/graphics/canvas.h"
#include "vcl/graphics/gdi.h"
#include "vcl/graphics/graphic.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

namespace vcl {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // Resizing keeps the pixels that stay inside; new pixels are white.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    void SetSize(int AWidth, int AHeight);

    // The canvas drawing on this bitmap's pixels (created on first use).
    TCanvas* Canvas();
    // The bitmap object behind the canvas, for the GDI functions.
    HBITMAP Handle() const { return FImage.get(); }
    // The bitmap's palette (null for formats without one).
    HPALETTE Palette() const { return FPalette.Entries.empty() ? nullptr : const_cast<TGdiPalette*>(&FPalette); }
    // The palette's colours (empty without a palette).
    const std::vector<TColor>& PaletteColors() const { return FPalette.Entries; }
    // Replaces the palette of a 1-, 4- or 8-bit bitmap and maps the pixels onto it.
    void SetPaletteColors(const std::vector<TColor>& Colors);

    // pf1bit makes the bitmap monochrome; pf4bit and pf8bit give it the standard
    // 16- and 256-colour palettes (pixels are mapped to the nearest entry, also after
    // every later drawing); pf15bit and pf16bit are kept as true colour.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    // Monochrome conversion works as the platform's blit to a monochrome bitmap: the
    // background colour (white) stays white and every other colour becomes black.
    bool Monochrome() const { return FImage->Monochrome; }
    void SetMonochrome(bool Value);

    // The colour treated as transparent: the bottom-left pixel unless set
    // (tmAuto); clWhite for a monochrome bitmap in that mode.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    void Assign(const TPersistent* Source) override;
    // Takes the pixels of a Qt image (as a 32-bit true-colour bitmap).
    void AssignImage(const QImage& Image);
    // A copy of the pixels as a Qt image (32-bit, opaque).
    QImage ToQImage() const;
    // One row of pixels, always 32 bits per pixel (0xFFRRGGBB) whatever PixelFormat is.
    uint32_t* ScanLine(int Row);

    // Reads a BMP image (file header included) from the stream's position. Readers of
    // other formats override this, decode, and hand an assembled BMP to the base.
    void LoadFromStream(TStream& Stream) override;
    // Writes a BMP image of the bitmap's pixel format (24 bits for pfDevice,
    // pf15bit, pf16bit and pfCustom).
    void SaveToStream(TStream& Stream) override;
    // Loads a picture compiled into the program: ":/path" names a Qt resource
    // directly, anything else is looked up as ":/bitmaps/<Name>.bmp" (then .png).
    // Raises EResNotFound when there is no such resource.
    void LoadFromResourceName(intptr_t Instance, const QString& ResName);
    void LoadFromResourceName(const QString& ResName) { LoadFromResourceName(0, ResName); }

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void Changed() override;

private:
    void CanvasChanged();
    // Maps the pixels of Area (all pixels when empty) to the nearest palette colour.
    void MapToPalette(const QRect& Area = QRect());
    void ReplaceImage(std::unique_ptr<TGdiBitmap> Image);

    std::unique_ptr<TGdiBitmap> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    TGdiPalette FPalette;
    TPixelFormat FPixelFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// The standard palettes of 4- and 8-bit bitmaps.
const std::vector<TColor>& StandardPalette16();
const std::vector<TColor>& StandardPalette256();

} // namespace vcl
