// The system information panel on a real X display: the first two bars are filled to
// the same length, the third is empty.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <gtest/gtest.h>

namespace {

// The columns of row Y between X0 and X1 that differ from the bar's empty groove,
// read at the bar's right end (a bar below 100% leaves that end empty).
int FilledColumns(const QImage& Shot, int X0, int X1, int Y)
{
    const QRgb groove = qvtest::ShotPixel(Shot, X1 - 3, Y);
    int filled = 0;
    for (int x = X0 + 3; x < X1 - 3; ++x)
        filled += qvtest::ShotPixel(Shot, x, Y) != groove ? 1 : 0;
    return filled;
}

TEST(SysInfoScreenshot, MemoryBarsAreFilled)
{
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram("sysinfo_screenshot", "sysinfo.png");
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    ASSERT_FALSE(run.Picture.isNull());
    const QImage& shot = run.Picture;
    // The form's client area starts below its drawn title bar: find the bars by the
    // panel's rows 24, 64 and 104 relative to the panel's top, which lies at the first
    // row of the shot whose pixel at x = 4 is the panel's face. The bars run from x = 8
    // to 289; their middle rows are 8 below their tops.
    int top = -1;
    for (int y = 0; y < shot.height() && top < 0; ++y)
        if (qvtest::ShotPixel(shot, 150, y) == qRgb(0xF0, 0xF0, 0xF0) || qvtest::ShotPixel(shot, 150, y) == qRgb(0xC0, 0xC0, 0xC0))
            top = y;
    ASSERT_GE(top, 0);
    const int x0 = 8 + (shot.width() - 320) / 2;
    const int first = FilledColumns(shot, x0, x0 + 281, top + 24 + 8);
    const int second = FilledColumns(shot, x0, x0 + 281, top + 64 + 8);
    const int third = FilledColumns(shot, x0, x0 + 281, top + 104 + 8);
    EXPECT_GT(first, 0);
    EXPECT_NEAR(first, second, 2);
    EXPECT_EQ(third, 0);
}

} // namespace
