// Qt Designer under Xvfb with the plugin on its plugin path: the plugin loads without a
// failure in Designer's plugin log, and the widget box shows the palette's groups with
// the plugin's tiles (the picture is kept as build/tests/designer/designer.png).
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString DesignerProgram = QStringLiteral("/usr/lib/qt6/bin/designer");

// Pixels near the top colour of one kind of the plugin's tiles, as Designer draws the
// entries' icons in the widget box.
int CountTilePixels(const QImage& Shot, const QColor& Tile)
{
    int count = 0;
    for (int y = 0; y < Shot.height(); ++y)
        for (int x = 0; x < Shot.width(); ++x) {
            const QColor pixel = Shot.pixelColor(x, y);
            count += qAbs(pixel.red() - Tile.red()) + qAbs(pixel.green() - Tile.green())
                    + qAbs(pixel.blue() - Tile.blue()) < 40;
        }
    return count;
}

TEST(DesignerScreenshot, DesignerShowsThePluginsWidgetBox)
{
    if (!QFileInfo(DesignerProgram).isExecutable())
        QV_PREREQUISITE_MISSING("Qt Designer (" + DesignerProgram.toStdString() + ", Debian package designer-qt6)");
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    const QString log = QDir(dir).filePath("designer_plugins.log");
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram("designer_screenshot", "designer.png",
        {DesignerProgram, QV_DESIGNER_PLUGIN_PATH, log, QDir(dir).filePath("designer_config")}, "1280x1024x24");
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    ASSERT_FALSE(run.Picture.isNull());

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLocal8Bit(file.readAll());
    const QString plugin = QFileInfo(QV_DESIGNER_PLUGIN).fileName();
    EXPECT_TRUE(text.contains(plugin)) << "Designer did not look at the plugin:\n" << text.toStdString();
    for (const QString& line : text.split(u'\n')) {
        if (line.contains(plugin) || line.startsWith("QvKit")) {
            EXPECT_FALSE(line.contains("Cannot load") || line.contains("failed") || line.startsWith("QvKit"))
                << line.toStdString();
        }
    }
    // The open groups (Dialogs, Edit, List & Combos, Internet, System) show 5 green tiles
    // (components without a face) and 8 blue ones (controls), about 68 pixels of the top
    // colour each at Designer's icon size; none are on a blank screen or closed groups.
    EXPECT_GT(CountTilePixels(run.Picture, QColor(0x4C, 0xAF, 0x50)), 5 * 40);
    EXPECT_GT(CountTilePixels(run.Picture, QColor(0x42, 0x8B, 0xCA)), 8 * 40);
}

} // namespace
