#include "support/screenshot.h"

#include "vcl/controls/forms.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>

namespace qvtest {

namespace {
// Starting X, mapping and painting the windows takes well under this.
constexpr int ProgramTimeoutMs = 60000;
} // namespace

void WaitUntilShown(QWidget& Window)
{
    Window.show();
    Window.activateWindow();
    QDeadlineTimer deadline(3000);
    while (!Window.isActiveWindow() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    // The window is active; let the paints that follow activation reach the screen.
    QDeadlineTimer settle(300);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool SaveScreenArea(const QRect& Area, const QString& Path)
{
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, Area.x(), Area.y(), Area.width(), Area.height());
    return !shot.isNull() && shot.save(Path);
}

int ScreenshotMain(int argc, char** argv, const char* Program,
    const std::function<void(vcl::TForm& Form, const QStringList& Args)>& Build)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [ARGS...]\n", Program);
        return 2;
    }
    QApplication app(argc, argv);
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    vcl::TForm form(nullptr);
    Build(form, args);
    WaitUntilShown(form);
    if (!SaveScreenArea(form.geometry(), QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s: could not grab or save the screen\n", Program);
        return 1;
    }
    return 0;
}

TScreenshotRun RunScreenshotProgram(const QString& Program, const QString& OutputName, const QStringList& Args,
    const QString& ScreenSize)
{
    TScreenshotRun result;
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        result.XvfbMissing = true;
        result.Error = QStringLiteral("xvfb-run is not installed");
        return result;
    }
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    if (dir.isEmpty()) {
        result.Error = QStringLiteral("QV_TEST_BINARY_DIR is not set");
        return result;
    }
    result.Output = QDir(dir).filePath(OutputName);
    QFile::remove(result.Output);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(env);
    run.start(xvfbRun, QStringList{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 ") + ScreenSize,
                           QDir(dir).filePath(Program), result.Output}
                           + Args);
    if (!run.waitForFinished(ProgramTimeoutMs))
        result.Error = Program + QStringLiteral(" did not finish");
    else if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        result.Error = QString::fromLocal8Bit(run.readAllStandardError());
    else if (QFileInfo(result.Output).isFile() && (result.Picture = QImage(result.Output)).isNull())
        result.Error = QStringLiteral("no picture in ") + result.Output;
    return result;
}

} // namespace qvtest
