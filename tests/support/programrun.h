#pragma once
// Runs one of the built programs as a user would and collects what it printed.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace qvtest {

struct TProgramRun {
    // -1 when the program did not start, crashed or did not finish.
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Environment defaults to the test's own. Input is written to the program's standard
// input, which is then closed.
TProgramRun RunProgram(const QString& Program, const QStringList& Arguments, const QByteArray& Input = {},
                       const QProcessEnvironment& Environment = QProcessEnvironment::systemEnvironment());

} // namespace qvtest
