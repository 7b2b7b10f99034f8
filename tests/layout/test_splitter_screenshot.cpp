// A real form with a three-pane splitter window and a collapsible splitter on an X
// server (Xvfb), grabbed from the screen; the picture stays in the build folder as
// splitter_screenshot.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

// The form is 408 x 268 with a 4-pixel frame and a 20-pixel title bar: its client area
// is 400 x 240 from (4, 24). The bottom panel takes 40 rows, the splitter 7 above it, the
// splitter window the top 193 rows, with panes 100, 100 and 200 wide and 3-pixel bars
// (pane 0: x 0 .. 98, pane 1: 102 .. 198, pane 2: 202 .. 399 of the client area).
TEST(SplitterScreenshot, ThreePanesSideBySideWithBarsBetween)
{
    const qvtest::TScreenshotRun run
        = qvtest::RunScreenshotProgram(QStringLiteral("splitter_screenshot"), QStringLiteral("splitter_screenshot.png"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    const QImage shot = run.Picture.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(408, 268));
    const int x0 = 4, y0 = 24;
    const auto at = [&](int x, int y) { return shot.pixel(x0 + x, y0 + y); };
    EXPECT_EQ(at(50, 100), qRgb(0, 0, 128)) << "pane 0 is navy";
    EXPECT_EQ(at(150, 100), qRgb(255, 255, 255)) << "pane 1 is white";
    EXPECT_EQ(at(300, 100), qRgb(0, 128, 128)) << "pane 2 is teal";
    // The bars show the window's button face.
    EXPECT_EQ(at(100, 100), qRgb(192, 192, 192));
    EXPECT_EQ(at(200, 100), qRgb(192, 192, 192));
    // The splitter's face below the window, across the whole width.
    EXPECT_EQ(at(20, 196), qRgb(192, 192, 192));
}
