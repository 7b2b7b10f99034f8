#pragma once
// Helpers of the graphics tests: bitmaps filled with a colour and pixel checks.
#include "vcl/graphics/bitmap.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace graphicstest {

// A 24-bit bitmap of the given size filled with Color.
std::unique_ptr<vcl::TBitmap> FilledBitmap(int Width, int Height, vcl::TColor Color);

// A bitmap of random pixels from a few colours (lime, black, white, red and two
// others, so that a key colour turns up often) in the given pixel format: black and
// white for pf1bit, the nearest palette colours for pf4bit and pf8bit.
std::unique_ptr<vcl::TBitmap> RandomBitmap(std::mt19937& Rng, int Width, int Height, vcl::TPixelFormat Format);

// The pixels of a bitmap as rows of characters: each pixel's colour is looked up in
// Legend (colour, character) and shown as '?' when it is not there.
std::vector<std::string> Picture(vcl::TBitmap& Bitmap, const std::vector<std::pair<vcl::TColor, char>>& Legend);

// Runs /usr/bin/python3 with Script (PIL available) in Dir; returns its exit code.
int RunPython(const QString& Dir, const QString& Script);

} // namespace graphicstest
