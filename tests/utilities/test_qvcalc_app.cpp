// The qvcalc program: results, errors with their caret, registers carried between
// lines, and exit codes. Expected numbers are worked out by hand.
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

namespace {

struct TRunResult {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRunResult RunQvcalc(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral(QVCALC_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForStarted(10000));
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(Qvcalc, EvaluatesArgumentsWithSharedRegisters)
{
    // 7 goes into A; A*2 is 14; -2^2 is -(2^2); A+B is -4 + 14.
    const TRunResult run = RunQvcalc({"1+2*3", "A*2", "-2^2", "A+B"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.toStdString(),
              "7.00000000000000E+000\n1.40000000000000E+001\n-4.00000000000000E+000\n1.00000000000000E+001\n");
    EXPECT_TRUE(run.Err.isEmpty());
}

TEST(Qvcalc, ReadsStandardInputLineByLineWithAFormat)
{
    // Blank lines are skipped; a CR LF line end is no part of the expression.
    const TRunResult run = RunQvcalc({"--format", "%.1f"}, "2\n\n3\r\nA*B\n");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.toStdString(), "2.0\n3.0\n6.0\n");
}

TEST(Qvcalc, ReportsErrorsWithACaretAndGoesOn)
{
    // 1/0 fails but still pushes 1 (the value reached), which the next line reads.
    const TRunResult run = RunQvcalc({"--format=%.0f"}, "2*-3\n1/0\nA+1\n");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out.toStdString(), "2\n");
    EXPECT_EQ(run.Err.toStdString(),
              "2*-3\n"
              "  ^\n"
              "error 1 TqvcNumberMissing at position 3\n"
              "1/0\n"
              "   ^\n"
              "error 5 TqvcDivZero at position 4\n");
}

TEST(Qvcalc, CaretFollowsTabs)
{
    // Tabs are not skipped: the missing "(" is the tab, and the scan steps past it.
    const TRunResult run = RunQvcalc({"SIN\t1"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.toStdString(), "SIN\t1\n   \t^\nerror 3 TqvcLeftPar at position 5\n");
}

TEST(Qvcalc, FormatThatDoesNotFitFails)
{
    const TRunResult run = RunQvcalc({"--format", "%d", "7"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_EQ(run.Err.toStdString(), "error 7 TqvcFormatError: the format \"%d\" does not fit a number\n");
}

TEST(Qvcalc, UsageErrors)
{
    const TRunResult run = RunQvcalc({"--format"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("qvcalc: --format needs a text\nUsage:")));
    EXPECT_EQ(RunQvcalc({"--help"}).ExitCode, 0);
    // After "--" even "--help" is an expression (and not a valid one).
    EXPECT_EQ(RunQvcalc({"--", "--help"}).ExitCode, 1);
}
