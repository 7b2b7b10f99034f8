// Pictures of the pages: file names from captions, the pixels of a page, and the
// program's headless mode run as its own process.
#include "componenticon.h"
#include "designsurface.h"
#include "gallerytestclasses.h"
#include "gallerywindow.h"
#include "pagecaption.h"
#include "screenshots.h"

#include "package/package.h"
#include "gradient/coolpckbutton.h"
#include "gradient/coolpckgradbtn.h"
#include "gradient/coolpckwallpaper.h"
#include "gradient/qvbgrad.h"
#include "gradient/qvgprg.h"
#include "captionsample.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gallery;
using namespace gallerytest;

namespace {

// A caption as the host shows it, and the file name its page's picture gets.
TEST(PageCaption, ShownTextAndFileName)
{
    const struct {
        const char* Caption;
        const char* Shown;
        const char* File;
    } cases[] = {
        {"<Velnor Software Win32>", "<Velnor Software Win32>", "Velnor_Software_Win32"},
        {"<Velnor Software List && Combos>", "<Velnor Software List & Combos>", "Velnor_Software_List_Combos"},
        {"&File", "File", "File"},
        {"a&&&b", "a&b", "a_b"},
        {"trailing&", "trailing", "trailing"},
        {"../../etc/passwd", "../../etc/passwd", "etc_passwd"},
        {"a/b\\c:d*e?f\"g|h", "a/b\\c:d*e?f\"g|h", "a_b_c_d_e_f_g_h"},
        {"Größe-Seite_2", "Größe-Seite_2", "Größe-Seite_2"},
        {"<>&&&&", "<>&&", "page"},
        {"", "", "page"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayCaption(QString::fromUtf8(c.Caption)), QString::fromUtf8(c.Shown)) << c.Caption;
        EXPECT_EQ(PageFileName(QString::fromUtf8(c.Caption)), QString::fromUtf8(c.File)) << c.Caption;
    }
}

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override { vcl::ClearDesignRegistries(); }
    void TearDown() override { vcl::ClearDesignRegistries(); }
};

TEST_F(ScreenshotTest, EveryPageIsDrawnWithItsComponents)
{
    vcl::RegisterComponents(QStringLiteral("<A B>"), {vcl::ClassOf<TRedBox>(), vcl::ClassOf<TTicker>()});
    // Gives the same file name as the first page: it must not overwrite it.
    vcl::RegisterComponents(QStringLiteral("A_B"), {vcl::ClassOf<TTicker>()});
    QTemporaryDir dir;
    GalleryWindow window;
    const QStringList files = WriteScreenshots(window, dir.filePath(QStringLiteral("shots")));
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(QFileInfo(files[0]).fileName(), QStringLiteral("A_B.png"));
    EXPECT_EQ(QFileInfo(files[1]).fileName(), QStringLiteral("A_B_2.png"));
    // The whole window, inspector included, at the window's size.
    EXPECT_EQ(QFileInfo(files[2]).fileName(), QStringLiteral("gallery.png"));
    EXPECT_EQ(QImage(files[2]).size(), window.size());

    const QImage page(files[0]);
    TGalleryPage* root = window.Surface(0)->Root();
    ASSERT_EQ(page.size(), root->size());
    auto* box = dynamic_cast<TRedBox*>(root->Components(0));
    ASSERT_NE(box, nullptr);
    const QRect boxRect = box->geometry();
    for (const QPoint p : {boxRect.topLeft(), boxRect.center(), boxRect.bottomRight()})
        EXPECT_EQ(page.pixelColor(p), QColor(Qt::red)) << p.x() << "," << p.y();
    // The page around the box is not red, and its grid dots are black.
    EXPECT_NE(page.pixelColor(boxRect.right() + 8, boxRect.center().y()), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(8, 8), QColor(Qt::black));
    // The ticker's icon is drawn below the box: somewhere in its tile the glyph's white.
    QWidget* icon = window.Surface(0)->IconOf(root->Components(1));
    ASSERT_NE(icon, nullptr);
    const QImage tile = page.copy(icon->geometry());
    int white = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            white += tile.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_GT(white, 20);
}

// The program renders the pages of the package's own palette (or the notice page when
// it is empty) without a display: it chooses the offscreen platform itself.
TEST_F(ScreenshotTest, ProgramWritesOnePngPerPageWithoutADisplay)
{
    Package::LoadPackage();
    QStringList expected;
    for (const vcl::TPalettePage& page : vcl::PalettePages())
        expected << PageFileName(page.Caption) + QStringLiteral(".png");
    if (expected.isEmpty())
        expected << QStringLiteral("No_components_registered.png");
    expected << QStringLiteral("gallery.png");
    expected.sort();

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("pictures"));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QVGALLERY_PATH), {QStringLiteral("--screenshots"), out});
    ASSERT_TRUE(program.waitForFinished(60000)) << program.errorString().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();

    QStringList written = QDir(out).entryList(QDir::Files);
    written.sort();
    EXPECT_EQ(written, expected);
    for (const QString& name : written) {
        const QImage picture(QDir(out).filePath(name));
        EXPECT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_GT(picture.width(), 0);
        EXPECT_GT(picture.height(), 0);
    }
    Package::UnloadPackage();
}

// Each palette page of the package is a form file of its own: its components come up
// in the states the file gives them.
TEST(GalleryPages, PalettePagesAreReadFromTheirFormFiles)
{
    vcl::ClearDesignRegistries();
    Package::LoadPackage();
    GalleryWindow window;
    QStringList states;
    for (int i = 0; i < window.PageCount(); ++i) {
        DesignSurface* surface = window.Surface(i);
        ASSERT_NE(surface, nullptr);
        if (auto* gradient = dynamic_cast<Qvbgrad::TqvBackGradient*>(surface->Root()->FindComponent(QStringLiteral("qvBackGradient1"))))
            states << QStringLiteral("gradient %1").arg(int(gradient->GradientStyle()));
        if (auto* bar = dynamic_cast<Qvgprg::TqvGradientProgress*>(surface->Root()->FindComponent(QStringLiteral("qvGradientProgress1"))))
            states << QStringLiteral("progress %1").arg(bar->Position());
        if (auto* cool = dynamic_cast<Coolpck::TqvCoolButton*>(surface->Root()->FindComponent(QStringLiteral("qvCoolButton1"))))
            states << QStringLiteral("cool button %1x%2").arg(cool->UpImage()->Width()).arg(cool->DisabledImage()->Height());
        if (auto* paper = dynamic_cast<Coolpck::TqvCoolWallpaper*>(surface->Root()->FindComponent(QStringLiteral("qvCoolWallpaper1"))))
            states << QStringLiteral("wallpaper %1x%2 tiles %3x%4")
                          .arg(paper->Width())
                          .arg(paper->Height())
                          .arg(paper->Image()->Width())
                          .arg(paper->Image()->Height());
        if (auto* star = dynamic_cast<Coolpck::TqvCoolGradientButton*>(surface->Root()->FindComponent(QStringLiteral("qvCoolGradientButton1"))))
            states << QStringLiteral("glyph %1 down %2").arg(star->GlyphWidth()).arg(star->Down());
    }
    EXPECT_EQ(states, (QStringList{QStringLiteral("gradient 6"), QStringLiteral("cool button 24x24"),
                          QStringLiteral("wallpaper 160x90 tiles 20x20"),
                          QStringLiteral("glyph 16 down 1"), QStringLiteral("progress 60")}))
        << "qvRadial1 is style 6; the pictures are read from the page; the bar is part-filled";
    Package::UnloadPackage();
}

// The Win32 page shows the gradient caption on two sample forms, one active and one
// inactive: the title bar's right end takes the active or inactive caption colour.
TEST(GalleryPages, TheGradientCaptionIsShownActiveAndInactive)
{
    vcl::ClearDesignRegistries();
    Package::LoadPackage();
    GalleryWindow window;
    QStringList looks;
    for (int i = 0; i < window.PageCount(); ++i)
        for (const char* name : {"CaptionSampleActive", "CaptionSampleInactive"})
            if (auto* sample = dynamic_cast<TCaptionSample*>(window.Surface(i)->Root()->FindComponent(QString::fromLatin1(name)))) {
                // A 440-wide sizeable form: the ramp ends at x = 440 - 66 - 1, row 20.
                sample->SampleForm()->RedrawFrame();
                const QRgb pixel = sample->SampleForm()->BackBuffer().pixel(440 - 67, 20) | 0xFF000000u;
                looks << QStringLiteral("%1 %2").arg(sample->Active()).arg(pixel, 0, 16);
                EXPECT_EQ(sample->SampleForm()->Caption(), QStringLiteral("<Velnor Software>'s Program - Gradient caption"));
            }
    EXPECT_EQ(looks, (QStringList{QStringLiteral("1 ff000080"), QStringLiteral("0 ff808080")}));
    Package::UnloadPackage();
}

} // namespace
