#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace qvtest {

QString SourceDir()
{
    return qEnvironmentVariable("QV_TEST_SOURCE_DIR", QDir::currentPath());
}

QString SourceFile(const QString& relative)
{
    return QDir(SourceDir()).filePath(relative);
}

void WriteFile(const QString& Path, const QByteArray& Bytes)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << Path.toStdString();
    ASSERT_EQ(file.write(Bytes), Bytes.size()) << Path.toStdString();
}

} // namespace qvtest
