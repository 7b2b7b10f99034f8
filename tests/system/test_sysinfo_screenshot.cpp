// The system information panel on a real X display: the first two bars are filled to
// the same length, the third is empty.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The panel lies at the form's client origin, so its bars run across x = client + 8
// to client + 289. The bars are found as the runs of at least 14 rows in which the
// pixel at column X differs from the panel's face at column Face (labels are shorter).
std::vector<int> BarMiddles(const QImage& Shot, int X, int Face)
{
    std::vector<int> middles;
    int start = -1;
    for (int y = 0; y <= Shot.height(); ++y) {
        const bool differs = y < Shot.height() && qvtest::ShotPixel(Shot, X, y) != qvtest::ShotPixel(Shot, Face, y);
        if (differs && start < 0)
            start = y;
        if (!differs && start >= 0) {
            if (y - start >= 14)
                middles.push_back((start + y) / 2);
            start = -1;
        }
    }
    return middles;
}

// The columns of row Y between X0 and X1 that differ from the bar's empty groove, read
// at the bar's right end (a bar below 100% leaves that end empty).
int FilledColumns(const QImage& Shot, int X0, int X1, int Y)
{
    const QRgb groove = qvtest::ShotPixel(Shot, X1 - 4, Y);
    int filled = 0;
    for (int x = X0 + 2; x < X1 - 2; ++x)
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
    // The form's drawn frame is 4 pixels wide (see the saved picture): client x = 4.
    const int client = 4, left = client + 8, right = left + 281;
    const std::vector<int> bars = BarMiddles(shot, left + 3, client + 2);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[1] - bars[0], 40); // tops 24, 64 and 104
    EXPECT_EQ(bars[2] - bars[1], 40);
    const int first = FilledColumns(shot, left, right, bars[0]);
    const int second = FilledColumns(shot, left, right, bars[1]);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 281);
    EXPECT_EQ(first, second);
    EXPECT_EQ(FilledColumns(shot, left, right, bars[2]), 0);
}

} // namespace
