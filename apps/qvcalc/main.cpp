// qvcalc: evaluates expressions with one TqvCalc, so that its registers carry over from
// one expression to the next.
#include "commandline.h"
#include "utilities/qvscontrols.h"

#include <QString>
#include <QStringList>
#include <iostream>
#include <string>

using Qvscontrols::TqvCalc;
using Qvscontrols::TqvCalcResult;

namespace {

const char* const Notes =
    "Each EXPRESSION, or each line of standard input when none is given (blank lines\n"
    "are skipped), is evaluated with one calculator: every result is pushed into\n"
    "register A and the older ones move on to B, C, D, F, G, H, I and J, so later\n"
    "lines can use them. E is Euler's number.\n"
    "\n"
    "Operators + - * / ^ (all left-associative; * / ^ on one level), parentheses,\n"
    "PI, E, EXP SIN COS ARCTAN ABS FRAC ARCSIN ARCCOS LN LOG SQR SQRT ROUND TRUNC\n"
    "CEILING FLOOR RANDOM. An argument that starts with a single \"-\" (\"-3*2\", \"-A\")\n"
    "is an expression; after \"--\" every argument is one. The exit code is 1 when any\n"
    "expression failed.\n";

// Options start with "--", or are -h; any other argument that starts with "-" is a
// negative expression. They are handed to the parser behind "--", in their order, so
// that the parser does not read them as short options.
QStringList ExpressionsAfterOptions(const QStringList& Arguments)
{
    QStringList options{Arguments.value(0)};
    QStringList expressions;
    for (qsizetype i = 1; i < Arguments.size(); ++i) {
        const QString& arg = Arguments[i];
        if (arg == QLatin1String("--")) {
            expressions += Arguments.mid(i + 1);
            break;
        }
        if (arg.startsWith(QLatin1String("--")) || arg == QLatin1String("-h")) {
            options << arg;
            if (arg == QLatin1String("--format") && i + 1 < Arguments.size())
                options << Arguments[++i];
        } else {
            expressions << arg;
        }
    }
    // With no expression nothing follows, so that a "--format" at the end lacks its value.
    return expressions.isEmpty() ? options : options << QStringLiteral("--") << expressions;
}

void Print(std::ostream& out, const QString& text)
{
    out << text.toStdString() << '\n';
}

// The line with a caret under the character at Position (1-based). Tabs before it are
// repeated in the caret line so that the caret stays under its character.
QString CaretLine(const QString& Line, int Position)
{
    QString caret;
    for (int i = 0; i < Position - 1 && i < Line.size(); ++i)
        caret += Line.at(i) == u'\t' ? u'\t' : u' ';
    caret += QString(Position - 1 - caret.size(), u' ');
    return caret + u'^';
}

class TCalcSession {
public:
    explicit TCalcSession(const QString& FormatLine)
    {
        FCalc.SetFormatLine(FormatLine);
        // Evaluation errors are read from CalcResult; the event matters for formatting,
        // whose failure is reported only through it.
        FCalc.OnError = [this](vcl::TObject*, const QString&, uint8_t) {
            if (FCalc.CalcResult() == Qvscontrols::TqvcFormatError)
                FFormatFailed = true;
        };
    }

    // Evaluates one expression and prints its result or its error; false on an error.
    bool Evaluate(const QString& Expression)
    {
        FCalc.SetCalcLine(Expression);
        const TqvCalcResult result = FCalc.CalcResult();
        if (result != Qvscontrols::TqvcOK) {
            std::cout.flush();
            Print(std::cerr, FCalc.CalcLine());
            Print(std::cerr, CaretLine(FCalc.CalcLine(), FCalc.WhereIsLastError()));
            Print(std::cerr, QStringLiteral("error %1 %2 at position %3")
                                 .arg(int(result))
                                 .arg(Qvscontrols::CalcResultName(result))
                                 .arg(FCalc.WhereIsLastError()));
            return false;
        }
        FFormatFailed = false;
        const QString text = FCalc.Number();
        if (FFormatFailed) {
            std::cout.flush();
            Print(std::cerr, QStringLiteral("error %1 %2: the format \"%3\" does not fit a number")
                                 .arg(int(Qvscontrols::TqvcFormatError))
                                 .arg(Qvscontrols::CalcResultName(Qvscontrols::TqvcFormatError), FCalc.FormatLine()));
            return false;
        }
        Print(std::cout, text);
        return true;
    }

private:
    TqvCalc FCalc;
    bool FFormatFailed = false;
};

int EvaluateStandardInput(TCalcSession& Session)
{
    bool allOK = true;
    std::string line;
    while (std::getline(std::cin, line)) {
        QString expression = QString::fromUtf8(line);
        if (expression.endsWith(u'\r'))
            expression.chop(1);
        if (!expression.trimmed().isEmpty())
            allOK = Session.Evaluate(expression) && allOK;
    }
    return allOK ? cli::ExitOk : cli::ExitFailed;
}

} // namespace

int main(int argc, char** argv)
{
    cli::TCommandLine commandLine(QStringLiteral("qvcalc"), QStringLiteral("[--format TEXT] [EXPRESSION...]"),
                                  QStringLiteral("Evaluates expressions, keeping registers from one to the next."),
                                  QString::fromLatin1(Notes));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("Print results by this format (\"%.2f\"); default \"%e\"."),
                                    QStringLiteral("TEXT"));
    commandLine.AddOption(format);
    if (const auto done = commandLine.Parse(ExpressionsAfterOptions(cli::Arguments(argc, argv))))
        return *done;

    TCalcSession session(commandLine.Value(format));
    const QStringList expressions = commandLine.Positional();
    if (expressions.isEmpty())
        return EvaluateStandardInput(session);
    bool allOK = true;
    for (const QString& expression : expressions)
        allOK = session.Evaluate(expression) && allOK;
    return allOK ? cli::ExitOk : cli::ExitFailed;
}
