#pragma once
// Small helpers shared by the test programs.
#include <QByteArray>
#include <QString>

namespace qvtest {

// The source folder of the running test program's CMakeLists.txt (for checked-in data).
QString SourceDir();

// Full path of a file under the test program's source folder.
QString SourceFile(const QString& relative);

// Writes Bytes to Path, replacing what was there; a failure fails the running test.
void WriteFile(const QString& Path, const QByteArray& Bytes);

} // namespace qvtest

#include <ostream>

// GoogleTest prints QStrings as text.
inline void PrintTo(const QString& S, std::ostream* Os)
{
    *Os << '"' << S.toStdString() << '"';
}
