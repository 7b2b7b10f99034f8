#include "support/xvfbscreenshot.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace qvtest {

namespace {
// Starting X, mapping and painting the windows takes well under this.
constexpr int ProgramTimeoutMs = 60000;
} // namespace

TScreenshotRun RunScreenshotProgram(const QString& Program, const QString& PictureName, const QStringList& Args)
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
    const QString output = QDir(dir).filePath(PictureName);
    QFile::remove(output);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    run.setProcessEnvironment(env);
    run.start(xvfbRun, QStringList{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 640x480x24"),
                           QDir(dir).filePath(Program), output}
                           + Args);
    if (!run.waitForFinished(ProgramTimeoutMs)) {
        result.Error = Program + QStringLiteral(" did not finish");
        return result;
    }
    if (run.exitCode() != 0) {
        result.Error = QString::fromLocal8Bit(run.readAllStandardError());
        return result;
    }
    result.Picture = QImage(output);
    if (result.Picture.isNull())
        result.Error = QStringLiteral("no picture in ") + output;
    return result;
}

} // namespace qvtest
