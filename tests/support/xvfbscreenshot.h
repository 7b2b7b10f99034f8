#pragma once
// Screenshots of real windows: a small program built beside the test shows them on a
// fresh X server (Xvfb) and saves what the screen shows.
#include <QImage>
#include <QString>
#include <QStringList>

namespace qvtest {

struct TScreenshotRun {
    QImage Picture;
    // Empty when the program ran and wrote a picture.
    QString Error;
    // xvfb-run is not installed (the test names the missing prerequisite).
    bool XvfbMissing = false;
};

// Runs Program (in the test's binary folder, QV_TEST_BINARY_DIR) under xvfb-run on a
// 640x480x24 screen with the xcb platform, giving it the path of PictureName there
// (replaced, and kept for people to look at) followed by Args, and reads the picture it
// writes.
TScreenshotRun RunScreenshotProgram(const QString& Program, const QString& PictureName, const QStringList& Args = {});

// A pixel of a screenshot as opaque red-green-blue (the grab's alpha is not compared).
inline QRgb ShotPixel(const QImage& Shot, int X, int Y)
{
    return Shot.pixel(X, Y) | 0xFF000000u;
}

} // namespace qvtest
