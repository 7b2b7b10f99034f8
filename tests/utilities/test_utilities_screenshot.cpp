// The tip dialog and a memo tab editor with three documents on an X server (Xvfb),
// grabbed from the screen; the pictures stay in the build folder.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using qvtest::CountShotPixels;

TEST(UtilitiesScreenshot, TipDialogAndTabEditorLookRight)
{
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    ASSERT_FALSE(dir.isEmpty());
    const QString out = QDir(dir).filePath(QStringLiteral("utilities_screenshots"));
    QDir(out).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out));
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram(
        QStringLiteral("utilities_screenshot"), QStringLiteral("utilities_screenshots"), {}, QStringLiteral("800x600x24"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();

    // The tip window: client 432 x 222 plus its frame; the panel in the chosen colour
    // (most of its 327 x 189 minus the text), the bulb's yellow glass, and no magenta
    // key colour left over from the picture.
    const QImage tip(QDir(out).filePath(QStringLiteral("tipdlg.png")));
    ASSERT_FALSE(tip.isNull());
    EXPECT_GE(tip.width(), 432);
    EXPECT_GE(tip.height(), 222);
    EXPECT_GT(CountShotPixels(tip, qRgb(255, 255, 225)), 30000);
    EXPECT_GT(CountShotPixels(tip, qRgb(255, 240, 0)), 100);
    EXPECT_EQ(CountShotPixels(tip, qRgb(255, 0, 255)), 0);

    // Three tabs: the file's (read-only mark, dark green lock), the draft's (unsaved
    // mark, red disc, 52 pixels of its 8 x 8) and "untitled" (lock too, 46 pixels each).
    const QImage tabs(QDir(out).filePath(QStringLiteral("edtab.png")));
    ASSERT_FALSE(tabs.isNull());
    EXPECT_EQ(CountShotPixels(tabs, qRgb(220, 0, 0)), 52);
    EXPECT_EQ(CountShotPixels(tabs, qRgb(0, 110, 0)), 2 * 46);
    EXPECT_GT(CountShotPixels(tabs, qRgb(0, 0, 255)), 20) << "blue captions";
}
