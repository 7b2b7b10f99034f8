// Doxygen over the package's documented unit folders (docs/check_doxygen.py): no
// warnings, and a public member without a comment is caught.
#include "support/prerequisite.h"
#include "support/programrun.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qvtest::RunProgram;
using qvtest::TProgramRun;

namespace {

const QString Root = QStringLiteral(QV_SOURCE_ROOT);

TProgramRun CheckDoxygen(const QString& Out, const QStringList& Extra = {})
{
    return RunProgram(QStringLiteral(QV_PYTHON),
                      QStringList{Root + QStringLiteral("/docs/check_doxygen.py"), QStringLiteral("--out"), Out,
                                  QStringLiteral("--source"), Root}
                          + Extra);
}

class Docs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("doxygen")).isEmpty())
            QV_PREREQUISITE_MISSING("doxygen (Debian package doxygen)");
    }
    QTemporaryDir FDir;
};

TEST_F(Docs, CheckedFoldersHaveNoWarnings)
{
    const TProgramRun run = CheckDoxygen(FDir.path());
    EXPECT_EQ(run.ExitCode, 0) << run.Out.toStdString() << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
}

// A header like the units' own: the documented parts pass, the one public member
// without a comment is named with its line; a private one is not.
TEST_F(Docs, UndocumentedPublicMemberIsAWarning)
{
    const QString folder = FDir.filePath(QStringLiteral("unit"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile header(folder + QStringLiteral("/sample.h"));
    ASSERT_TRUE(header.open(QIODevice::WriteOnly));
    header.write("#pragma once\n"
                 "// Sample: a unit with one class.\n"
                 "\n"
                 "namespace Sample {\n"
                 "\n"
                 "// Counts things.\n"
                 "class TCounter {\n"
                 "public:\n"
                 "    // The count so far.\n"
                 "    int Count() const { return FCount; }\n"
                 "    void SetCount(int Value) { FCount = Value; }\n"
                 "    void Reset();\n"
                 "protected:\n"
                 "    void Changed();\n"
                 "private:\n"
                 "    int FCount = 0;\n"
                 "};\n"
                 "\n"
                 "} // namespace Sample\n");
    header.close();
    const TProgramRun run = CheckDoxygen(FDir.filePath(QStringLiteral("out")), {QStringLiteral("--checked"), folder});
    EXPECT_EQ(run.ExitCode, 1) << run.Err.toStdString();
    const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << run.Out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(folder + QStringLiteral("/sample.h:12:"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Reset"))) << lines[0].toStdString();
}

} // namespace
