// qvgallery: every registered component on its palette page, live, with a property
// inspector, the component editors' verbs and form files.
//
//   qvgallery                    the gallery window
//   qvgallery --screenshots DIR  every page to DIR/<page>.png and the window to
//                                DIR/gallery.png, then exit (no display needed)
#include "commandline.h"
#include "gallerywindow.h"
#include "screenshots.h"

#include "package/package.h"
#include "vcl/core/sysutils.h"

#include <QApplication>
#include <cstdio>

namespace {

// Without a display Qt would end the program with its own message and a list of
// platform plugins; one line that names the ways on serves better.
bool NoDisplay()
{
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunScreenshots(gallery::GalleryWindow& Window, const QString& Dir)
{
    try {
        for (const QString& file : gallery::WriteScreenshots(Window, Dir))
            std::printf("%s\n", qPrintable(file));
        return cli::ExitOk;
    } catch (const vcl::Exception& e) {
        std::fprintf(stderr, "qvgallery: %s\n", qPrintable(e.Message()));
        return cli::ExitFailed;
    }
}

} // namespace

int main(int argc, char** argv)
{
    cli::TCommandLine commandLine(QStringLiteral("qvgallery"), QStringLiteral("[--screenshots DIR]"),
                                  QStringLiteral("Shows every registered QvKit component on its palette page."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Render every page to DIR/<page>.png and exit (no display needed)."),
                                         QStringLiteral("DIR"));
    commandLine.AddOption(screenshots);
    if (const auto done = commandLine.Parse(cli::Arguments(argc, argv)))
        return *done;
    if (!commandLine.Positional().isEmpty())
        return commandLine.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(commandLine.Positional().first()));

    // Pictures are rendered without a display: the platform must be chosen before the
    // application object exists.
    if (commandLine.IsSet(screenshots))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (NoDisplay())
        return commandLine.Fail(QStringLiteral("no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                                               "run it as xvfb-run ./qv run, or write the pages as pictures with "
                                               "qvgallery --screenshots DIR"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qvgallery"));

    Package::LoadPackage();
    int result = cli::ExitOk;
    {
        gallery::GalleryWindow window;
        if (commandLine.IsSet(screenshots)) {
            result = RunScreenshots(window, commandLine.Value(screenshots));
        } else {
            window.show();
            result = app.exec();
        }
    }
    Package::UnloadPackage();
    return result;
}
