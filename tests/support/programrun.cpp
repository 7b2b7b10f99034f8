#include "programrun.h"

#include <QProcess>

namespace qvtest {

TProgramRun RunProgram(const QString& Program, const QStringList& Arguments, const QByteArray& Input,
                       const QProcessEnvironment& Environment)
{
    QProcess process;
    process.setProcessEnvironment(Environment);
    process.start(Program, Arguments);
    TProgramRun run;
    if (!process.waitForStarted(30000))
        return run;
    process.write(Input);
    process.closeWriteChannel();
    // A generous bound that only a hung program reaches.
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.ExitCode = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace qvtest
