// A real form with both gradient controls on an X server (Xvfb), grabbed from the
// screen; the picture is kept in the build folder as form_screenshot.png.
#include "support/prerequisite.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

QString XvfbRun()
{
    return QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
}

// Runs the screenshot program under xvfb-run with Args after the output file and
// returns the picture, kept in the build folder as Name.
QImage Shoot(const QString& XvfbRun, const QString& Name, const QStringList& Args)
{
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    EXPECT_FALSE(dir.isEmpty());
    const QString output = QDir(dir).filePath(Name);
    QFile::remove(output);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(env);
    run.start(XvfbRun, QStringList{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 640x480x24"),
                           QDir(dir).filePath(QStringLiteral("form_screenshot")), output}
                           + Args);
    EXPECT_TRUE(run.waitForFinished(60000)) << "the screenshot program did not finish";
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    return QImage(output);
}

} // namespace

TEST(FormScreenshot, AFormWithBothGradientsLooksRight)
{
    if (XvfbRun().isEmpty())
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    const QImage shot = Shoot(XvfbRun(), QStringLiteral("form_screenshot.png"), {});
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

TEST(FormScreenshot, AReportListAndATreeShowTheirIcons)
{
    if (XvfbRun().isEmpty())
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    const QImage shot = Shoot(XvfbRun(), QStringLiteral("views_screenshot.png"), {QStringLiteral("views")});
    ASSERT_FALSE(shot.isNull());
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
