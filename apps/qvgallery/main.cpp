// qvgallery: every registered component on its palette page, live, with a property
// inspector, the component editors' verbs and form files.
//
//   qvgallery                    the gallery window
//   qvgallery --screenshots DIR  every page to DIR/<page>.png and the window to
//                                DIR/gallery.png, then exit (no display needed)
#include "gallerywindow.h"
#include "screenshots.h"

#include "frame/package.h"
#include "vcl/core/sysutils.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

namespace {

const char* const ScreenshotsOption = "--screenshots";

bool WantsScreenshots(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], ScreenshotsOption) == 0 || std::strncmp(argv[i], "--screenshots=", 14) == 0)
            return true;
    return false;
}

int RunScreenshots(gallery::GalleryWindow& Window, const QString& Dir)
{
    try {
        for (const QString& file : gallery::WriteScreenshots(Window, Dir))
            std::printf("%s\n", qPrintable(file));
        return 0;
    } catch (const vcl::Exception& e) {
        std::fprintf(stderr, "qvgallery: %s\n", qPrintable(e.Message()));
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures are rendered without a display: the platform must be chosen before the
    // application object exists.
    if (WantsScreenshots(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvgallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows every registered QvKit component on its palette page."));
    parser.addHelpOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
        QStringLiteral("Render every page to <dir>/<page>.png and exit."), QStringLiteral("dir"));
    parser.addOption(screenshots);
    parser.process(app);

    Package::LoadPackage();
    int result = 0;
    {
        gallery::GalleryWindow window;
        if (parser.isSet(screenshots)) {
            result = RunScreenshots(window, parser.value(screenshots));
        } else {
            window.show();
            result = app.exec();
        }
    }
    Package::UnloadPackage();
    return result;
}
