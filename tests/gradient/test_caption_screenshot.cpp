// Two real forms with a gradient caption on an X server (Xvfb), grabbed from the
// screen; the picture is kept in the build folder as caption_screenshot.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

using qvtest::ShotPixel;

TEST(CaptionScreenshot, ActiveAndInactiveFormsShowTheirRamps)
{
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram(QStringLiteral("caption_screenshot"), QStringLiteral("caption_screenshot.png"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    const QImage& shot = run.Picture;
    ASSERT_EQ(shot.size(), QSize(400, 260));
    // Forms at (20, 20) and (20, 140), 360 x 100, sizeable: the title bar is rows 4..23
    // of each form, its ramp from x 4 to 360 - 66 = 294 (exclusive), black on the left
    // and the active or inactive caption colour on the right.
    for (const int top : {20, 140}) {
        EXPECT_EQ(ShotPixel(shot, 20 + 4, top + 22), qRgb(0, 0, 0)) << top;
        // The close button's face, left alone by the ramp.
        EXPECT_EQ(ShotPixel(shot, 20 + 360 - 22, top + 8), qRgb(192, 192, 192)) << top;
    }
    EXPECT_EQ(ShotPixel(shot, 20 + 293, 20 + 22), qRgb(0, 0, 128)) << "active: clActiveCaption";
    EXPECT_EQ(ShotPixel(shot, 20 + 293, 140 + 22), qRgb(128, 128, 128)) << "inactive: clInactiveCaption";
}
