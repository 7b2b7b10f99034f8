#pragma once
// Screenshots of real windows on an X server (Xvfb): a small program shows its windows
// and grabs them from the screen, and a test runs that program under xvfb-run and checks
// the pictures' pixels.
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vcl {
class TForm;
} // namespace vcl

namespace qvtest {

// Program side: activates Window and runs the event loop until the display has mapped,
// activated and painted it.
void WaitUntilShown(QWidget& Window);
// Program side: saves Area of the screen as Path (PNG); false when that failed.
bool SaveScreenArea(const QRect& Area, const QString& Path);
// Program side: the whole main() of a screenshot program called Program, run as
// "Program OUTPUT.png [ARGS...]": makes the application and a form, lets Build put the
// controls on it (with ARGS), shows it and saves its area. Exit code 0, 1 when the grab
// failed, 2 for bad usage.
int ScreenshotMain(int argc, char** argv, const char* Program,
    const std::function<void(vcl::TForm& Form, const QStringList& Args)>& Build);

struct TScreenshotRun {
    QString Output;    // the path given to the program
    QImage Picture;    // Output read as a picture, when the program wrote a file there
    QString Error;     // empty when the program ran and succeeded
    bool XvfbMissing = false; // xvfb-run is not installed (the test names the prerequisite)
};

// Test side: runs Program (in the test's binary folder, QV_TEST_BINARY_DIR) under
// xvfb-run with the xcb platform on a screen of ScreenSize, giving it the path of
// OutputName there (removed first, and kept for people to look at) followed by Args.
TScreenshotRun RunScreenshotProgram(const QString& Program, const QString& OutputName, const QStringList& Args = {},
    const QString& ScreenSize = QStringLiteral("640x480x24"));

// A pixel of a screenshot as opaque red-green-blue (the grab's alpha is not compared).
inline QRgb ShotPixel(const QImage& Shot, int X, int Y)
{
    return Shot.pixel(X, Y) | 0xFF000000u;
}

// The number of pixels of Shot whose opaque colour is Colour.
inline int CountShotPixels(const QImage& Shot, QRgb Colour)
{
    int count = 0;
    for (int y = 0; y < Shot.height(); ++y)
        for (int x = 0; x < Shot.width(); ++x)
            count += ShotPixel(Shot, x, y) == (Colour | 0xFF000000u);
    return count;
}

} // namespace qvtest
