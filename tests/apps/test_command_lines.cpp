// What every program shares on its command line: --help on standard output, the
// library's version, an unknown option refused with the usage on standard error and
// exit 2, and a bash completion file that offers the options.
#include "programs.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using qvtest::RunProgram;
using qvtest::TProgramRun;

namespace {

struct TProgram {
    const char* Name;
    QString Path;
};

class CommandLine : public testing::TestWithParam<TProgram> {
protected:
    QString Name() const { return QString::fromLatin1(GetParam().Name); }
    TProgramRun Run(const QStringList& Arguments) const { return RunProgram(GetParam().Path, Arguments); }
};

} // namespace

TEST_P(CommandLine, HelpGoesToStandardOutput)
{
    for (const char* option : {"--help", "-h"}) {
        const TProgramRun run = Run({option});
        EXPECT_EQ(run.ExitCode, 0) << option;
        EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Usage: %1 ").arg(Name()))) << run.Out.toStdString();
        EXPECT_TRUE(run.Out.contains(u"--version")) << run.Out.toStdString();
        EXPECT_EQ(run.Err, QString());
    }
}

TEST_P(CommandLine, VersionIsTheLibrarys)
{
    const TProgramRun run = Run({QStringLiteral("--version")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, QStringLiteral("%1 (QvKit) %2\n").arg(Name(), QStringLiteral(QVKIT_VERSION)));
}

TEST_P(CommandLine, UnknownOptionGetsTheUsageOnStandardErrorAndExit2)
{
    const TProgramRun run = Run({QStringLiteral("--frobnicate"), QStringLiteral("x")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, QString());
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("%1: Unknown option 'frobnicate'.\nUsage: %1 ").arg(Name())))
        << run.Err.toStdString();
}

TEST_P(CommandLine, BashCompletionOffersTheOptions)
{
    const QString completion = QStringLiteral(QV_COMPLETIONS_DIR "/") + Name();
    ASSERT_TRUE(QFileInfo::exists(completion));
    // The completion function the file registers, called as bash calls it for "NAME --ver<Tab>".
    const QString script = QStringLiteral("source '%1'; fn=$(complete -p %2 | sed 's/.*-F \\([^ ]*\\).*/\\1/'); "
                                          "COMP_WORDS=(%2 --ver); COMP_CWORD=1; $fn; echo \"${COMPREPLY[*]}\"")
                               .arg(completion, Name());
    const TProgramRun run = RunProgram(QStringLiteral("bash"), {QStringLiteral("-c"), script});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, QStringLiteral("--version\n"));
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLine,
                         testing::Values(TProgram{"qvcalc", qvprograms::Qvcalc}, TProgram{"qvgallery", qvprograms::Qvgallery},
                                         TProgram{"qvimage", qvprograms::Qvimage}, TProgram{"qvreg", qvprograms::Qvreg}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Qvreg, UsageErrorsNameTheCommand)
{
    const TProgramRun unknown = RunProgram(qvprograms::Qvreg, {QStringLiteral("frobnicate"), QStringLiteral("x")});
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_TRUE(unknown.Err.startsWith(QStringLiteral("qvreg: unknown command \"frobnicate\"\nUsage:")));
    const TProgramRun missing = RunProgram(qvprograms::Qvreg, {QStringLiteral("import")});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_TRUE(missing.Err.startsWith(QStringLiteral("qvreg: import takes one file\n")));
}
