// A real form with both gradient controls on an X server (Xvfb), grabbed from the
// screen; the picture is kept in the build folder as form_screenshot.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

} // namespace

TEST(FormScreenshot, AFormWithBothGradientsLooksRight)
{
    if (qvtest::XvfbRunPath().isEmpty())
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    QString output;
    const QString problem = qvtest::RunScreenshotProgram(QStringLiteral("form_screenshot"), output);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();

    QImage shot(output);
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(shot.size(), QSize(360, 240));
    // Title bar: active (navy) or inactive (grey) caption colour, with the frame around it.
    const QRgb caption = At(shot, 180, 12);
    EXPECT_TRUE(caption == qRgb(0, 0, 128) || caption == qRgb(128, 128, 128)) << std::hex << caption;
    // The frame's outer line.
    EXPECT_EQ(At(shot, 0, 100), qRgb(192, 192, 192));
    // Client area from (4, 24) to (356, 236); the progress bar is its bottom 16 rows.
    // The gradient's sunken frame, then navy at the top turning to aqua at the bottom.
    EXPECT_EQ(At(shot, 4, 100), qRgb(128, 128, 128));
    EXPECT_EQ(At(shot, 5, 100), qRgb(0, 0, 0));
    const QRgb top = At(shot, 180, 27);
    const QRgb bottom = At(shot, 180, 216);
    EXPECT_LT(qGreen(top), 20);
    EXPECT_GT(qGreen(bottom), 230);
    EXPECT_GT(qBlue(bottom), 240);
    // The progress bar: position 60 fills blocks 0..21 of the 352-pixel bar
    // (c = (60*352 - 4) div 100 div 10 = 21); block 0 takes the highlight colour and
    // the background behind the last blocks is the button face.
    EXPECT_EQ(At(shot, 4 + 5, 228), qRgb(0, 0, 128));
    EXPECT_EQ(At(shot, 4 + 345, 228), qRgb(192, 192, 192));
}
