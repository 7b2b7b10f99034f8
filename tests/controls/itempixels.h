#pragma once
// Reading back buffers in the tests of drawn items: a pixel as opaque RGB, and the
// classic colours items are drawn in (clWindow, clHighlight, clBtnFace).
#include <QImage>

namespace itempixels {

inline QRgb Px(const QImage& Image, int X, int Y)
{
    return Image.pixel(X, Y) | 0xFF000000u;
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Navy = qRgb(0, 0, 128);
const QRgb Face = qRgb(192, 192, 192);
// A focus rectangle inverts every other pixel: navy becomes (255, 255, 127).
const QRgb NavyInverted = qRgb(255, 255, 127);

} // namespace itempixels
