// The package's palette as the gallery shows it: every registered class of every page
// placed by the page's own form file, visible, every page's picture drawn with its
// components in it, the same in every run, and the components shown at work.
#include "componenticon.h"
#include "componentpreview.h"
#include "designsurface.h"
#include "gallerywindow.h"
#include "pagecaption.h"

#include "package/package.h"
#include "support/programrun.h"
#include "utilities/qvlinkparser.h"
#include "utilities/qvmemobrowser.h"
#include "vcl/controls/treenodes.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/strings.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace gallery;

namespace {

// The names of the objects a page's form file places on the page (all are owned by the
// page; nested ones sit on a panel of it).
QSet<QString> ObjectsOfForm(const QString& Caption)
{
    QFile form(QStringLiteral(":/gallery/pages/%1.qvform").arg(PageFileName(Caption)));
    if (!form.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> names;
    static const QRegularExpression objectLine(QStringLiteral("^ +object (\\w+): \\w+"),
                                               QRegularExpression::MultilineOption);
    for (const auto& match : objectLine.globalMatch(QString::fromUtf8(form.readAll())))
        names.insert(match.captured(1));
    return names;
}

// True when Component is of Class or shows one on a form embedded in it (the caption
// sample's form holds the gradient caption).
bool ShowsInstanceOf(vcl::TComponent* Component, vcl::TComponentClass Class)
{
    if (vcl::ClassOfInstance(Component) == Class)
        return true;
    if (QObject* object = Component->AsQObject())
        for (vcl::TCustomForm* form : object->findChildren<vcl::TCustomForm*>())
            for (int i = 0; i < form->ComponentCount(); ++i)
                if (ShowsInstanceOf(form->Components(i), Class))
                    return true;
    return false;
}

// What the page shows of a component: the control itself, or a non-visual
// component's icon.
QWidget* ShownWidget(DesignSurface* Surface, vcl::TComponent* Component)
{
    if (auto* widget = dynamic_cast<QWidget*>(Component->AsQObject()))
        return widget;
    return Surface->IconOf(Component);
}

struct TShownInstance {
    vcl::TComponent* Component = nullptr;
    QWidget* Widget = nullptr;
};

// The first component of the page's form that shows Class, with its widget.
TShownInstance FormInstanceOf(DesignSurface* Surface, const QSet<QString>& FormObjects, vcl::TComponentClass Class)
{
    TGalleryPage* root = Surface->Root();
    for (int i = 0; i < root->ComponentCount(); ++i) {
        vcl::TComponent* component = root->Components(i);
        if (FormObjects.contains(component->Name()) && ShowsInstanceOf(component, Class))
            return {component, ShownWidget(Surface, component)};
    }
    return {};
}

class GalleryForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        vcl::ClearDesignRegistries();
        Package::LoadPackage();
    }
    void TearDown() override { Package::UnloadPackage(); }
};

TEST_F(GalleryForms, EveryRegisteredClassIsPlacedVisibleByItsPageForm)
{
    GalleryWindow window;
    const auto& pages = vcl::PalettePages();
    ASSERT_EQ(pages.size(), 8u) << "the package's eight palette pages";
    ASSERT_EQ(window.PageCount(), 8);
    int checked = 0;
    for (int p = 0; p < window.PageCount(); ++p) {
        const vcl::TPalettePage& page = pages[p];
        SCOPED_TRACE(page.Caption.toStdString());
        const QSet<QString> formObjects = ObjectsOfForm(page.Caption);
        ASSERT_FALSE(formObjects.isEmpty()) << "no form file for the page";
        DesignSurface* surface = window.Surface(p);
        ASSERT_NE(surface, nullptr);
        TGalleryPage* root = surface->Root();
        for (vcl::TComponentClass cls : page.Classes) {
            SCOPED_TRACE(cls->ClassName().toStdString());
            const TShownInstance shown = FormInstanceOf(surface, formObjects, cls);
            ASSERT_NE(shown.Component, nullptr) << "the page's form places no instance";
            ASSERT_NE(shown.Widget, nullptr) << shown.Component->Name().toStdString() << " shows nothing";
            EXPECT_TRUE(shown.Widget->isVisibleTo(root)) << shown.Component->Name().toStdString();
            EXPECT_FALSE(shown.Widget->size().isEmpty()) << shown.Component->Name().toStdString();
            const QRect onPage(shown.Widget->mapTo(root, QPoint(0, 0)), shown.Widget->size());
            EXPECT_TRUE(root->rect().intersects(onPage)) << "outside the page";
            ++checked;
        }
    }
    // 2 + 6 + 3 + 9 + 3 + 3 + 2 + 3 classes, counted from the registration units.
    EXPECT_EQ(checked, 31);
}

// Distinct colours inside Rect of Picture, counting up to Limit.
int ColoursIn(const QImage& Picture, const QRect& Rect, int Limit)
{
    QSet<QRgb> colours;
    const QRect inside = Rect.intersected(Picture.rect());
    for (int y = inside.top(); y <= inside.bottom() && colours.size() < Limit; ++y)
        for (int x = inside.left(); x <= inside.right() && colours.size() < Limit; ++x)
            colours.insert(Picture.pixel(x, y));
    return int(colours.size());
}

// The share of the picture's pixels that differ from its most common colour (the
// page's background).
double ShareOffBackground(const QImage& Picture)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < Picture.height(); ++y)
        for (int x = 0; x < Picture.width(); ++x)
            ++counts[Picture.pixel(x, y)];
    int most = 0;
    for (const int count : counts)
        most = std::max(most, count);
    const double total = double(Picture.width()) * Picture.height();
    return total > 0 ? (total - most) / total : 0;
}

// The program's --screenshots mode, as the README's pictures are made: one picture
// per page at the page's size, each showing its components (every component's area
// has more than one colour, so something is drawn there).
TEST_F(GalleryForms, ScreenshotModeDrawsEveryPageWithItsComponents)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("pictures"));
    const QString again = dir.filePath(QStringLiteral("again"));
    for (const QString& target : {out, again}) {
        const qvtest::TProgramRun run = qvtest::RunProgram(QStringLiteral(QVGALLERY_PATH), {QStringLiteral("--screenshots"), target});
        ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    }
    // The same code draws the same pictures: no clock, no random folder name on a page.
    const QStringList files = QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), 9);
    for (const QString& name : files) {
        QFile first(QDir(out).filePath(name));
        QFile second(QDir(again).filePath(name));
        ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(first.readAll() == second.readAll()) << name.toStdString() << " differs between two runs";
    }

    GalleryWindow window;
    ASSERT_EQ(window.PageCount(), 8);
    for (int p = 0; p < window.PageCount(); ++p) {
        const QString file = QDir(out).filePath(PageFileName(window.PageCaption(p)) + QStringLiteral(".png"));
        SCOPED_TRACE(file.toStdString());
        const QImage picture(file);
        ASSERT_FALSE(picture.isNull());
        DesignSurface* surface = window.Surface(p);
        EXPECT_EQ(picture.size(), window.PageContent(p)->size());
        // The grid's dots alone cover 1 pixel in 64 (0.0156); a page of non-visual
        // components' icons covers about 0.03, a page of controls far more.
        EXPECT_GT(ShareOffBackground(picture), 0.02) << "the picture is blank";
        TGalleryPage* root = surface->Root();
        for (int i = 0; i < root->ComponentCount(); ++i) {
            QWidget* shown = ShownWidget(surface, root->Components(i));
            if (shown == nullptr || !shown->isVisibleTo(root))
                continue;
            const QRect area(shown->mapTo(root, QPoint(0, 0)), shown->size());
            EXPECT_GE(ColoursIn(picture, area, 2), 2) << root->Components(i)->Name().toStdString() << " is not drawn";
        }
    }
}

// The pages show their components working: the tabbed editors and the link parser hold
// the sample documents, the message dialog is drawn as it would show, and the system
// component's values are on the page. Expected values: the sample texts' first lines,
// the four links of the sample page counted by hand, and the page size and processor
// count asked from the system here (sysconf), not through the component.
TEST_F(GalleryForms, PagesShowWhatTheirNonVisualComponentsAndEditorsDo)
{
    GalleryWindow window;
    QHash<QString, TGalleryPage*> pages;
    for (int p = 0; p < window.PageCount(); ++p)
        pages.insert(PageFileName(window.PageCaption(p)), window.Surface(p)->Root());
    TGalleryPage* edit = pages.value(QStringLiteral("Velnor_Software_Edit"));
    ASSERT_NE(edit, nullptr);
    auto* memo = dynamic_cast<Qvmemobrowser::TqvMemoEdTab*>(edit->FindComponent(QStringLiteral("qvMemoEdTab1")));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->GetCurrentEditor()->Lines()->Text().startsWith("Welcome to the QvKit gallery."));
    auto* links = dynamic_cast<Qvlinkparser::TqvLinkParser*>(edit->FindComponent(QStringLiteral("qvLinkParser1")));
    ASSERT_NE(links, nullptr);
    ASSERT_NE(links->RootNode(), nullptr);
    EXPECT_EQ(links->RootNode()->Count(), 4);

    const QList<ComponentPreview*> dialogs = pages.value(QStringLiteral("Velnor_Software_Dialogs"))->findChildren<ComponentPreview*>();
    const auto message = std::find_if(dialogs.begin(), dialogs.end(),
        [](ComponentPreview* p) { return p->Component()->ClassName() == "TqvMsgDlg"; });
    ASSERT_NE(message, dialogs.end());
    EXPECT_GT((*message)->pixmap().width(), 100) << "the dialog is drawn";
    EXPECT_GT(ColoursIn((*message)->pixmap().toImage(), (*message)->pixmap().rect(), 3), 2);

    QString systemText;
    for (ComponentPreview* preview : pages.value(QStringLiteral("Velnor_Software_System"))->findChildren<ComponentPreview*>())
        systemText += preview->text();
    EXPECT_TRUE(systemText.contains(QStringLiteral("Page size: %1 bytes").arg(sysconf(_SC_PAGESIZE)))) << systemText.toStdString();
    EXPECT_TRUE(systemText.contains(QStringLiteral("Processors: %1 ").arg(sysconf(_SC_NPROCESSORS_ONLN)))) << systemText.toStdString();
}

} // namespace
