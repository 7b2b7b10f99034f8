#pragma once
// Gives each test a registry of its own: a fresh folder named by QVKIT_REGISTRY_DIR.
#include "support/testsupport.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace regtest {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        qputenv("QVKIT_REGISTRY_DIR", FDir.path().toUtf8());
    }
    void TearDown() override { qunsetenv("QVKIT_REGISTRY_DIR"); }

    QString Dir() const { return FDir.path(); }
    QString StoreFile(const char* Hive = "HKEY_CURRENT_USER") const
    {
        return FDir.filePath(QString::fromLatin1(Hive) + QStringLiteral(".sqlite"));
    }

private:
    QTemporaryDir FDir;
};

inline QByteArray FileBytes(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace regtest
