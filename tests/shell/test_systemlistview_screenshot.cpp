// The system list view in report view on an X server (Xvfb): the rows of a folder of
// sample files put text under the column headers, where an empty folder's list has none.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pixels of the band [Top, Bottom) dark enough to be text.
int DarkPixels(const QImage& Shot, int Top, int Bottom)
{
    int count = 0;
    for (int y = Top; y < std::min(Bottom, Shot.height()); ++y)
        for (int x = 0; x < Shot.width(); ++x)
            count += qGray(qvtest::ShotPixel(Shot, x, y)) < 90;
    return count;
}

qvtest::TScreenshotRun Shoot(const QString& Output, const QStringList& Args)
{
    return qvtest::RunScreenshotProgram(QStringLiteral("systemlistview_screenshot"), Output, Args);
}

} // namespace

TEST(SystemListViewScreenshot, ReportViewShowsHeadersAndRows)
{
    const qvtest::TScreenshotRun files = Shoot(QStringLiteral("systemlistview_files.png"), {});
    const qvtest::TScreenshotRun empty = Shoot(QStringLiteral("systemlistview_empty.png"), {QStringLiteral("empty")});
    if (files.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(files.Error.isEmpty()) << files.Error.toStdString();
    ASSERT_TRUE(empty.Error.isEmpty()) << empty.Error.toStdString();
    ASSERT_FALSE(files.Picture.isNull());
    ASSERT_FALSE(empty.Picture.isNull());
    // The header strip (the top 24 rows of the client) holds the column captions in both.
    EXPECT_GT(DarkPixels(empty.Picture, 0, 24), 40);
    // Five rows of names, sizes, types and times against none.
    const int rowsWithFiles = DarkPixels(files.Picture, 30, files.Picture.height());
    const int rowsEmpty = DarkPixels(empty.Picture, 30, empty.Picture.height());
    EXPECT_GT(rowsWithFiles, rowsEmpty + 500) << rowsWithFiles << " vs " << rowsEmpty;
}
