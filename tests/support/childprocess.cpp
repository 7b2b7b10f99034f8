#include "support/childprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <cstdio>
#include <string>

namespace qvtest {

std::unique_ptr<QProcess> StartChildRole(const char* Role, const char* Variable, const QString& Argument,
    const QProcessEnvironment& Extra)
{
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(Variable), Argument);
    environment.insert(Extra);
    child->setProcessEnvironment(environment);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QFile::symLinkTarget("/proc/self/exe"), {QStringLiteral("--gtest_filter=ChildRole.%1").arg(Role)});
    EXPECT_TRUE(child->waitForStarted(ChildDeadlineMs));
    return child;
}

::testing::AssertionResult WaitForLine(QProcess& Child, const QByteArray& Line)
{
    QByteArray printed;
    QDeadlineTimer deadline(ChildDeadlineMs);
    while (!deadline.hasExpired()) {
        while (Child.canReadLine()) {
            const QByteArray line = Child.readLine();
            if (line.trimmed() == Line)
                return ::testing::AssertionSuccess();
            printed += line;
        }
        if (!Child.waitForReadyRead(int(deadline.remainingTime())))
            break;
    }
    printed += Child.readAll();
    const std::string ending = Child.state() != QProcess::NotRunning ? "is still running (" + Child.errorString().toStdString() + ")"
        : Child.exitStatus() == QProcess::CrashExit ? "was killed by signal " + std::to_string(Child.exitCode())
                                                    : "ended with exit code " + std::to_string(Child.exitCode());
    return ::testing::AssertionFailure() << "the child did not print \"" << Line.toStdString() << "\"; it " << ending
                                         << " after printing:\n" << printed.toStdString();
}

void Say(const char* Text)
{
    std::fputs(Text, stdout);
    std::fflush(stdout);
}

} // namespace qvtest
