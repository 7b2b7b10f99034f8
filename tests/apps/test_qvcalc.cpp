// The qvcalc program: results, errors with their caret, registers carried between
// lines, and exit codes. Expected numbers are worked out by hand.
#include "programs.h"

#include <gtest/gtest.h>

namespace {

qvtest::TProgramRun RunQvcalc(const QStringList& Arguments, const QByteArray& Input = {})
{
    return qvtest::RunProgram(qvprograms::Qvcalc, Arguments, Input);
}

} // namespace

TEST(Qvcalc, EvaluatesArgumentsWithSharedRegisters)
{
    // 7 goes into A; A*2 is 14; -2^2 is -(2^2); A+B is -4 + 14.
    const qvtest::TProgramRun run = RunQvcalc({"1+2*3", "A*2", "-2^2", "A+B"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.toStdString(),
              "7.00000000000000E+000\n1.40000000000000E+001\n-4.00000000000000E+000\n1.00000000000000E+001\n");
    EXPECT_TRUE(run.Err.isEmpty());
}

TEST(Qvcalc, ReadsStandardInputLineByLineWithAFormat)
{
    // Blank lines are skipped; a CR LF line end is no part of the expression.
    const qvtest::TProgramRun run = RunQvcalc({"--format", "%.1f"}, "2\n\n3\r\nA*B\n");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.toStdString(), "2.0\n3.0\n6.0\n");
}

TEST(Qvcalc, ReportsErrorsWithACaretAndGoesOn)
{
    // 1/0 fails but still pushes 1 (the value reached), which the next line reads.
    const qvtest::TProgramRun run = RunQvcalc({"--format=%.0f"}, "2*-3\n1/0\nA+1\n");
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
    const qvtest::TProgramRun run = RunQvcalc({"SIN\t1"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.toStdString(), "SIN\t1\n   \t^\nerror 3 TqvcLeftPar at position 5\n");
}

TEST(Qvcalc, FormatThatDoesNotFitFails)
{
    const qvtest::TProgramRun run = RunQvcalc({"--format", "%d", "7"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_EQ(run.Err.toStdString(), "error 7 TqvcFormatError: the format \"%d\" does not fit a number\n");
}

TEST(Qvcalc, OptionsAndNegativeExpressions)
{
    const qvtest::TProgramRun missing = RunQvcalc({"--format"});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_TRUE(missing.Err.startsWith(QStringLiteral("qvcalc: Missing value after '--format'.\nUsage:")))
        << missing.Err.toStdString();
    // A single "-" starts an expression, also where it looks like a short option; after
    // "--" even "--help" is an expression (and not a valid one).
    EXPECT_EQ(RunQvcalc({"--format=%.0f", "-PI", "-3*2", "--", "--help"}).Out.toStdString(), "-3\n-6\n");
    EXPECT_EQ(RunQvcalc({"--", "--help"}).ExitCode, 1);
}
