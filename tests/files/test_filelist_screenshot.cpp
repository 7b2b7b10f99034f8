// The file list view in report view on an X server (Xvfb), once in English and once in
// German; the pictures stay in the build folder as filelist_en.png and filelist_de.png.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Rows of Shot (x from Left to Right) in which the two pictures differ.
int DifferingRows(const QImage& A, const QImage& B, int Top, int Bottom, int Left, int Right)
{
    int rows = 0;
    for (int y = Top; y < Bottom; ++y)
        for (int x = Left; x < Right; ++x)
            if (qvtest::ShotPixel(A, x, y) != qvtest::ShotPixel(B, x, y)) {
                ++rows;
                break;
            }
    return rows;
}

} // namespace

TEST(FileListScreenshot, ColumnCaptionsChangeWithTheLanguageAndRowsDoNot)
{
    const qvtest::TScreenshotRun english = qvtest::RunScreenshotProgram(
        QStringLiteral("filelist_screenshot"), QStringLiteral("filelist_en.png"), {QStringLiteral("lnEnglish")});
    if (english.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(english.Error.isEmpty()) << english.Error.toStdString();
    const qvtest::TScreenshotRun german = qvtest::RunScreenshotProgram(
        QStringLiteral("filelist_screenshot"), QStringLiteral("filelist_de.png"), {QStringLiteral("lnGerman")});
    ASSERT_TRUE(german.Error.isEmpty()) << german.Error.toStdString();
    ASSERT_EQ(english.Picture.size(), QSize(568, 268));
    ASSERT_EQ(german.Picture.size(), english.Picture.size());
    // The form's client area starts at (4, 24) after the frame and title bar. The column
    // header takes the list's first rows; the rows of files start below it.
    const int left = 4, right = 564, top = 24;
    EXPECT_GT(DifferingRows(english.Picture, german.Picture, top, top + 20, left, right), 3)
        << "the captions differ between the languages";
    EXPECT_EQ(DifferingRows(english.Picture, german.Picture, top + 40, 264, left, right), 0)
        << "the rows are the same in both languages";
    // Below the seven rows the list shows its window colour (white).
    EXPECT_EQ(qvtest::ShotPixel(english.Picture, 400, 250), qRgb(255, 255, 255));
}
