// The three linked shell controls on an X server (Xvfb): the list on the right lists
// the folder selected in the tree on the left and the combo box on top names it. The
// same form with the controls left unlinked is the comparison: there only the tree
// shows anything of the folder.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Pixels of Area dark enough to be text.
int DarkPixels(const QImage& Shot, const QRect& Area)
{
    int count = 0;
    const QRect inside = Area.intersected(Shot.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += qGray(qvtest::ShotPixel(Shot, x, y)) < 90;
    return count;
}

// The form's areas (see shelllinks_screenshot.cpp): inside the frames of the combo
// box's face left of its button, the tree and the rows of the list below its header.
const QRect ComboFace(8, 7, 540, 18);
const QRect TreeArea(8, 38, 192, 274);
const QRect ListRows(214, 62, 378, 250);

} // namespace

TEST(ShellLinksScreenshot, ListAndComboShowTheTreesFolder)
{
    const qvtest::TScreenshotRun linked =
        qvtest::RunScreenshotProgram(QStringLiteral("shelllinks_screenshot"), QStringLiteral("shelllinks.png"));
    const qvtest::TScreenshotRun apart = qvtest::RunScreenshotProgram(
        QStringLiteral("shelllinks_screenshot"), QStringLiteral("shelllinks_apart.png"), {QStringLiteral("apart")});
    if (linked.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    ASSERT_TRUE(linked.Error.isEmpty()) << linked.Error.toStdString();
    ASSERT_TRUE(apart.Error.isEmpty()) << apart.Error.toStdString();
    ASSERT_FALSE(linked.Picture.isNull());
    // The tree shows the sample folder's four names in both.
    EXPECT_GT(DarkPixels(linked.Picture, TreeArea), 150);
    EXPECT_GT(DarkPixels(apart.Picture, TreeArea), 150);
    // Four rows of names, sizes, types and times in the linked list, none apart.
    const int rowsLinked = DarkPixels(linked.Picture, ListRows);
    const int rowsApart = DarkPixels(apart.Picture, ListRows);
    EXPECT_GT(rowsLinked, rowsApart + 400) << rowsLinked << " vs " << rowsApart;
    // The combo box names "docs" when linked; unlinked it shows the desktop.
    EXPECT_GT(DarkPixels(linked.Picture, ComboFace), 20);
}
