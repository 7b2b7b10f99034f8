#pragma once
// Reading and writing the BMP format: file header, 40-byte or 12-byte info header
// (later, longer headers are read as the 40-byte one), palette and rows.
#include "vcl/graphics/colors.h"

#include <QByteArray>
#include <QImage>
#include <vector>

namespace vcl {

struct TBmpImage {
    QImage Image; // 32-bit pixels, opaque
    int BitCount = 24;
    std::vector<TColor> Palette; // the colours of a 1-, 4- or 8-bit image
};

// The largest image read: dimensions are checked against this before anything is
// allocated, so a lying header cannot exhaust memory.
constexpr qint64 MaxBmpPixels = qint64(1) << 26;

// Decodes a BMP file image (starting with "BM"). Every read is bounded by Data;
// malformed, truncated or oversized input raises EInvalidGraphic naming the fault.
TBmpImage DecodeBmp(const QByteArray& Data);

// Encodes Image as a bottom-up BMP file of BitCount 1, 4, 8 (pixels mapped to the
// nearest colour of Palette), 24 or 32 bits.
QByteArray EncodeBmp(const QImage& Image, int BitCount, const std::vector<TColor>& Palette);

// Index of the palette colour nearest to a 0xAARRGGBB pixel (squared distance).
int NearestColorIndex(const std::vector<TColor>& Palette, uint32_t Pixel);

} // namespace vcl
