// The list page's combo boxes dropped down on a real X server (Xvfb), grabbed from the
// screen; the pictures stay in the build folder as lists_screenshot_<which>.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

qvtest::TScreenshotRun Shot(const QString& Which)
{
    return qvtest::RunScreenshotProgram(QStringLiteral("lists_screenshot"),
        QStringLiteral("lists_screenshot_%1.png").arg(Which), {Which});
}

// Pixels of colour C in the rows from Top down.
int Count(const QImage& Shot, QRgb C, int Top)
{
    int n = 0;
    for (int y = Top; y < Shot.height(); ++y)
        for (int x = 0; x < Shot.width(); ++x)
            n += (Shot.pixel(x, y) | 0xFF000000u) == C;
    return n;
}

} // namespace

// The form is 520 x 450 with a 4-pixel frame and a 20-pixel title bar; the combo boxes
// sit 10 pixels into the client area and are about 22 high, so rows from 60 down show
// only the dropped-down list (over the form's button face).
TEST(ListsScreenshot, EachComboDropsDownItsList)
{
    QImage shots[3];
    const char* which[3] = {"combo", "color", "font"};
    for (int i = 0; i < 3; ++i) {
        const qvtest::TScreenshotRun run = Shot(QString::fromLatin1(which[i]));
        if (run.XvfbMissing)
            QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
        ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
        shots[i] = run.Picture.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shots[i].size(), QSize(520, 450)) << which[i];
    }
    // The plain list: white rows with the selected entry (Apricot) in the highlight.
    EXPECT_GT(Count(shots[0], qRgb(255, 255, 255), 60), 140 * 40);
    EXPECT_GT(Count(shots[0], qRgb(0, 0, 128), 40), 100);
    // Each standard colour shows as a swatch of at least 12 x 6 inside its frame.
    for (const QRgb c : {qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(255, 0, 255), qRgb(0, 128, 128)})
        EXPECT_GE(Count(shots[1], c, 60), 12 * 6) << std::hex << c;
    EXPECT_EQ(Count(shots[2], qRgb(128, 128, 0), 0), 0) << "the glyphs' olive background is left out";
    EXPECT_GT(Count(shots[2], qRgb(0, 0, 128), 60), 100) << "the glyphs' navy letters and the highlight";
}
