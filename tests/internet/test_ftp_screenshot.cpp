// The FTP browser on a real X server (Xvfb) listing a server folder in report view;
// the picture is kept in the build folder as ftp_screenshot.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

using qvtest::ShotPixel;

namespace {

// Bands of screen rows (from Top to Bottom) that show dark text pixels between Left and Right.
int TextBands(const QImage& Shot, int Left, int Right, int Top, int Bottom)
{
    int bands = 0;
    bool inBand = false;
    for (int y = Top; y < Bottom; ++y) {
        bool dark = false;
        for (int x = Left; x < Right && !dark; ++x) {
            const QRgb pixel = ShotPixel(Shot, x, y);
            dark = qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
        }
        bands += dark && !inBand ? 1 : 0;
        inBand = dark;
    }
    return bands;
}

} // namespace

TEST(FtpScreenshot, TheBrowserListsAServerFolderInReportView)
{
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram(QStringLiteral("ftp_screenshot"), QStringLiteral("ftp_screenshot.png"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    const QImage& shot = run.Picture;
    ASSERT_EQ(shot.size(), QSize(480, 240));
    // Below the last row the list is the window colour (white); the columns are wider
    // than the panel, so a scroll bar takes the bottom rows.
    EXPECT_EQ(ShotPixel(shot, 240, 190), qRgb(255, 255, 255));
    // The Name column (client x 4..154 inside the panel's bevel) shows its header and
    // five rows: "..", "docs", "alpha.txt", "beta.txt", "gamma.txt".
    EXPECT_EQ(TextBands(shot, 30, 150, 26, 236), 6);
}
