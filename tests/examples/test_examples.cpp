// The README's examples: each program runs and prints what was worked out by hand for
// its input, and the README shows each program's source exactly as it is built.
#include "ftptestserver.h"
#include "support/prerequisite.h"
#include "support/programrun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qvtest::RunProgram;
using qvtest::TProgramRun;

namespace {

QByteArray ReadAll(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& Path, const QByteArray& Data)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Path.toStdString();
    file.write(Data);
}

// Runs an example and expects it to succeed.
QString Output(const char* Program, const QStringList& Arguments = {},
               const QProcessEnvironment& Environment = QProcessEnvironment::systemEnvironment())
{
    const TProgramRun run = RunProgram(QString::fromUtf8(Program), Arguments, {}, Environment);
    EXPECT_EQ(run.ExitCode, 0) << Program << ": " << run.Err.toStdString() << run.Out.toStdString();
    return run.Out;
}

TEST(Examples, ReadmeShowsEachExampleAsItIsBuilt)
{
    const QString readme = QString::fromUtf8(ReadAll(QStringLiteral(QV_README_PATH)));
    ASSERT_FALSE(readme.isEmpty());
    const QDir sources(qEnvironmentVariable("QV_TEST_SOURCE_DIR"));
    const QStringList files = sources.entryList({QStringLiteral("example_*.cpp")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 11) << "one example per subsystem";
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QRegularExpression block(QStringLiteral("<!-- example: tests/examples/%1 -->\\n```cpp\\n(.*?)```\\n")
                                           .arg(QRegularExpression::escape(file)),
                                       QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = block.match(readme);
        ASSERT_TRUE(match.hasMatch()) << "the README has no block for it";
        EXPECT_EQ(match.captured(1), QString::fromUtf8(ReadAll(sources.filePath(file))));
    }
}

TEST(Examples, GradientProgressIsDrawnPartFilled)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("bar.png"));
    EXPECT_EQ(Output(QV_EXAMPLE_gradients, {picture}), QStringLiteral("200x24 at 60%\n"));
    const QImage image(picture);
    ASSERT_EQ(image.size(), QSize(200, 24));
    // 60% of the bar is filled. Blocks are 8 pixels wide every 10, from x = 2: block 5
    // covers x = 52..59 and is drawn; x = 50 is a gap and x = 180 lies past the position,
    // both the background.
    EXPECT_NE(image.pixel(55, 12), image.pixel(180, 12));
    EXPECT_EQ(image.pixel(50, 12), image.pixel(180, 12));
}

TEST(Examples, ImageReaderReadsAGifBuiltByHand)
{
    QTemporaryDir dir;
    const QString gif = dir.filePath(QStringLiteral("dot.gif"));
    // GIF89a, 1 x 1, a 2-entry global palette (black, white), one image of LZW minimum
    // code size 2 holding the codes clear, 0, end.
    WriteAll(gif, QByteArray::fromHex("474946383961010001008000000000" "00ffffff"
                                      "2c00000000010001000002024401003b"));
    EXPECT_EQ(Output(QV_EXAMPLE_images, {gif}), QStringLiteral("1 x 1 pixels\n"));
    const TProgramRun unknown = RunProgram(QStringLiteral(QV_EXAMPLE_images), {dir.filePath(QStringLiteral("a.xyz"))});
    EXPECT_EQ(unknown.ExitCode, 2) << "an extension no reader takes";
}

TEST(Examples, FtpDownloadsFromALoopbackServer)
{
    qvtest::FtpTestServer server(qvtest::FtpServerKind::Pyftpdlib);
    if (!server.Start())
        QV_PREREQUISITE_MISSING("pyftpdlib (python3-pyftpdlib): " + server.Error().toStdString());
    server.WriteFile("hello.txt", "hello over ftp\n");
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("hello.txt"));
    const QString remote = QString::fromUtf8(server.RemoteWorkDir() + "/hello.txt");
    EXPECT_EQ(Output(QV_EXAMPLE_ftp, {QStringLiteral("127.0.0.1"), QString::number(server.Port()),
                                      QString::fromUtf8(server.User()), QString::fromUtf8(server.Password()),
                                      remote, local}),
              remote + QStringLiteral(" downloaded\n"));
    EXPECT_EQ(ReadAll(local), QByteArray("hello over ftp\n"));
}

TEST(Examples, CalculatorAndItsErrorPosition)
{
    // 2*(3+4) = 14; "2*(3+" ends after its fifth character, so the scan stops at 6.
    EXPECT_EQ(Output(QV_EXAMPLE_utilities), QStringLiteral("2*(3+4) = 14\n2*(3+ fails at 6\n"));
}

TEST(Examples, FormComesBackWhereItWasClosed)
{
    QTemporaryDir store;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QVKIT_REGISTRY_DIR"), store.path());
    const QStringList lines = Output(QV_EXAMPLE_formstate, {}, env).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("shown at 120"));
}

TEST(Examples, MasksMatchNamesInAnyCase)
{
    EXPECT_EQ(Output(QV_EXAMPLE_shell), QStringLiteral("notes.txt     matches\n"
                                                       "report1.doc   matches\n"
                                                       "report10.doc  -\n"
                                                       "image.png     -\n"));
}

TEST(Examples, MessageDialogAnswer)
{
    EXPECT_EQ(Output(QV_EXAMPLE_dialogs), QStringLiteral("answer 6 (6 is Yes, 7 is No)\n"));
}

TEST(Examples, SystemFactsAgreeWithTheMachine)
{
    const QString out = Output(QV_EXAMPLE_system);
    // The host name fits a 16-character buffer: at most 15 characters of it.
    EXPECT_TRUE(out.startsWith(QStringLiteral("user ")) && out.contains(QStringLiteral(" on %1\n").arg(QSysInfo::machineHostName().left(15))))
        << out.toStdString();
    // The root is always drive C; the memory line holds a percentage from 0 to 100.
    EXPECT_TRUE(out.contains(QStringLiteral("drives: C"))) << out.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("memory: [1-9][0-9]* MiB, [0-9]{1,3}% in use")).match(out).hasMatch())
        << out.toStdString();
}

TEST(Examples, ColourComboSelectsTheNamedEntry)
{
    EXPECT_TRUE(Output(QV_EXAMPLE_lists).endsWith(QStringLiteral("selected \"Red\"\n")));
}

TEST(Examples, FileRowsListFoldersFirstWithSizes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    WriteAll(dir.filePath(QStringLiteral("a.txt")), QByteArray(1234, 'x'));
    // A folder has no size text; 1234 bytes are "1,234".
    EXPECT_EQ(Output(QV_EXAMPLE_files, {dir.path()}),
              QStringLiteral("%1%2\n%3%4\n")
                  .arg(QStringLiteral("sub"), -25)
                  .arg(QString(), 12)
                  .arg(QStringLiteral("a.txt"), -25)
                  .arg(QStringLiteral("1,234"), 12));
}

TEST(Examples, SplitterSitsBesideTheSidePanel)
{
    const QString out = Output(QV_EXAMPLE_layout);
    EXPECT_TRUE(out.startsWith(QStringLiteral("side 120, splitter at 120, rest "))) << out.toStdString();
}

} // namespace
