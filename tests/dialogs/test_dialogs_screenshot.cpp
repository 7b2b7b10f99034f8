// The message dialog with four buttons and the colour window's three pages on an X
// server (Xvfb), grabbed from the screen; the pictures stay in the build folder.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pixels of Image whose colour is exactly Color.
int Count(const QImage& Image, QRgb Color)
{
    int count = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            count += (Image.pixel(x, y) | 0xFF000000u) == (Color | 0xFF000000u);
    return count;
}

} // namespace

TEST(DialogsScreenshot, MessageDialogAndColourPagesLookRight)
{
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    ASSERT_FALSE(dir.isEmpty());
    const QString out = QDir(dir).filePath(QStringLiteral("dialogs_screenshots"));
    QDir(out).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out));
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram(
        QStringLiteral("dialogs_screenshot"), QStringLiteral("dialogs_screenshots"), {}, QStringLiteral("800x600x24"));
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();

    // Four buttons: at least 4 x 100 + 8 wide; the confirmation picture's green disc
    // and the Yes glyph's green tick are on screen.
    const QImage message(QDir(out).filePath(QStringLiteral("msgdlg.png")));
    ASSERT_FALSE(message.isNull());
    EXPECT_GE(message.width(), 408);
    EXPECT_GT(Count(message, qRgb(0, 140, 60)), 400);
    EXPECT_GT(Count(message, qRgb(0, 130, 0)), 10);

    const QImage ring(QDir(out).filePath(QStringLiteral("ring.png")));
    ASSERT_FALSE(ring.isNull());
    EXPECT_GT(Count(ring, qRgb(255, 0, 0)), 0);
    EXPECT_GT(Count(ring, qRgb(0, 0, 255)), 0);
    // The gradient page's first plane: blue across, red down, the mixer's green (200).
    const QImage gradient(QDir(out).filePath(QStringLiteral("gradient.png")));
    ASSERT_FALSE(gradient.isNull());
    EXPECT_GT(Count(gradient, qRgb(0, 200, 0)), 0);
    // The mixer page shows the current colour in its sample and in the swatch.
    const QImage mixer(QDir(out).filePath(QStringLiteral("mixer.png")));
    ASSERT_FALSE(mixer.isNull());
    EXPECT_GT(Count(mixer, qRgb(10, 200, 30)), 500);
}
