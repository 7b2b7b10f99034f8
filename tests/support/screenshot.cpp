#include "screenshot.h"

#include "vcl/controls/forms.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <cstdio>

namespace qvtest {

int GrabShownWindow(QWidget& Window, const char* Output)
{
    Window.show();
    Window.activateWindow();
    // Give the display time to map and paint the window, then grab the screen.
    QDeadlineTimer deadline(3000);
    while (!Window.isActiveWindow() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    QDeadlineTimer settle(300);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, Window.x(), Window.y(), Window.width(), Window.height());
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(Output))) {
        std::fprintf(stderr, "could not grab or save the screen\n");
        return 1;
    }
    return 0;
}

int ScreenshotMain(int argc, char** argv, const char* Program, const std::function<void(vcl::TForm&)>& Build)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", Program);
        return 2;
    }
    QApplication app(argc, argv);
    vcl::TForm form(nullptr);
    Build(form);
    return GrabShownWindow(form, argv[1]);
}

QString XvfbRunPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
}

QString RunScreenshotProgram(const QString& Program, QString& Output)
{
    const QString dir = qEnvironmentVariable("QV_TEST_BINARY_DIR");
    if (dir.isEmpty())
        return QStringLiteral("QV_TEST_BINARY_DIR is not set");
    Output = QDir(dir).filePath(Program + QStringLiteral(".png"));
    QFile::remove(Output);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(env);
    run.start(XvfbRunPath(), {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 640x480x24"),
                                 QDir(dir).filePath(Program), Output});
    if (!run.waitForFinished(60000))
        return QStringLiteral("the screenshot program did not finish");
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        return QString::fromLocal8Bit(run.readAllStandardError());
    return {};
}

} // namespace qvtest
