#include "testsupport.h"

#include <QDir>

namespace qvtest {

QString SourceDir()
{
    return qEnvironmentVariable("QV_TEST_SOURCE_DIR", QDir::currentPath());
}

QString SourceFile(const QString& relative)
{
    return QDir(SourceDir()).filePath(relative);
}

} // namespace qvtest
