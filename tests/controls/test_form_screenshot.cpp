// A real form with both gradient controls on an X server (Xvfb), grabbed from the
// screen; the picture is kept in the build folder as form_screenshot.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

using qvtest::ShotPixel;

TEST(FormScreenshot, AFormWithBothGradientsLooksRight)
{
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram(QStringLiteral("form_screenshot"), QStringLiteral("form_screenshot.png"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    const QImage& shot = run.Picture;
    ASSERT_EQ(shot.size(), QSize(360, 240));
    // Title bar: active (navy) or inactive (grey) caption colour, with the frame around it.
    const QRgb caption = ShotPixel(shot, 180, 12);
    EXPECT_TRUE(caption == qRgb(0, 0, 128) || caption == qRgb(128, 128, 128)) << std::hex << caption;
    // The frame's outer line.
    EXPECT_EQ(ShotPixel(shot, 0, 100), qRgb(192, 192, 192));
    // Client area from (4, 24) to (356, 236); the progress bar is its bottom 16 rows.
    // The gradient's sunken frame, then navy at the top turning to aqua at the bottom.
    EXPECT_EQ(ShotPixel(shot, 4, 100), qRgb(128, 128, 128));
    EXPECT_EQ(ShotPixel(shot, 5, 100), qRgb(0, 0, 0));
    const QRgb top = ShotPixel(shot, 180, 27);
    const QRgb bottom = ShotPixel(shot, 180, 216);
    EXPECT_LT(qGreen(top), 20);
    EXPECT_GT(qGreen(bottom), 230);
    EXPECT_GT(qBlue(bottom), 240);
    // The progress bar: position 60 fills blocks 0..21 of the 352-pixel bar
    // (c = (60*352 - 4) div 100 div 10 = 21); block 0 takes the highlight colour and
    // the background behind the last blocks is the button face.
    EXPECT_EQ(ShotPixel(shot, 4 + 5, 228), qRgb(0, 0, 128));
    EXPECT_EQ(ShotPixel(shot, 4 + 345, 228), qRgb(192, 192, 192));
}

TEST(FormScreenshot, AReportListAndATreeShowTheirIcons)
{
    const qvtest::TScreenshotRun run
        = qvtest::RunScreenshotProgram(QStringLiteral("form_screenshot"), QStringLiteral("views_screenshot.png"), {QStringLiteral("views")});
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    const QImage& shot = run.Picture;
    ASSERT_EQ(shot.size(), QSize(360, 240));
    // The list (client x 4..224) shows five red icons, the tree (x 228..356) four blue
    // ones (the folder and its three files): count the screen rows showing the colour
    // per half. The style tints the current row faintly, so colours are told by their
    // strongest channel.
    const auto rowsWith = [&](int from, int to, int channel) {
        int rows = 0;
        for (int y = 24; y < 236; ++y) {
            bool found = false;
            for (int x = from; x < to && !found; ++x) {
                const int c[3] = {qRed(shot.pixel(x, y)), qGreen(shot.pixel(x, y)), qBlue(shot.pixel(x, y))};
                found = c[channel] > 150 && c[(channel + 1) % 3] < 100 && c[(channel + 2) % 3] < 100;
            }
            rows += found ? 1 : 0;
        }
        return rows;
    };
    // Each icon is 16 pixels high.
    EXPECT_EQ(rowsWith(4, 224, 0), 5 * 16);
    EXPECT_EQ(rowsWith(228, 356, 2), 4 * 16);
    EXPECT_EQ(rowsWith(228, 356, 0), 0);
}
