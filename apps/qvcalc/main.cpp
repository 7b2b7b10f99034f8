// qvcalc: evaluates expressions with one TqvCalc, so that its registers carry over from
// one expression to the next.
#include "utilities/qvscontrols.h"

#include <QString>
#include <QStringList>
#include <iostream>
#include <string>

using Qvscontrols::TqvCalc;
using Qvscontrols::TqvCalcResult;

namespace {

constexpr int ExitOK = 0;
constexpr int ExitSomeLineFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "Usage: qvcalc [--format TEXT] [EXPRESSION ...]\n"
    "Evaluates each EXPRESSION, or each line of standard input when none is given\n"
    "(blank lines are skipped), with one calculator: every result is pushed into\n"
    "register A and the older ones move on to B, C, D, F, G, H, I and J, so later\n"
    "lines can use them. E is Euler's number.\n"
    "\n"
    "  --format TEXT  print results by this format (\"%.2f\"); default \"%e\"\n"
    "  --help         show this text\n"
    "\n"
    "Operators + - * / ^ (all left-associative; * / ^ on one level), parentheses,\n"
    "PI, E, EXP SIN COS ARCTAN ABS FRAC ARCSIN ARCCOS LN LOG SQR SQRT ROUND TRUNC\n"
    "CEILING FLOOR RANDOM. The exit code is 1 when any expression failed.\n";

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

} // namespace

int main(int argc, char** argv)
{
    QString formatLine;
    QStringList expressions;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (optionsEnded) {
            expressions << arg;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::cout << Usage;
            return ExitOK;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("--format")) {
            if (++i == argc) {
                std::cerr << "qvcalc: --format needs a text\n" << Usage;
                return ExitUsage;
            }
            formatLine = QString::fromLocal8Bit(argv[i]);
        } else if (arg.startsWith(QLatin1String("--format="))) {
            formatLine = arg.mid(9);
        } else {
            // Anything else, also when it starts with "-" ("-3*2"), is an expression.
            expressions << arg;
        }
    }

    TCalcSession session(formatLine);
    bool allOK = true;
    if (!expressions.isEmpty()) {
        for (const QString& expression : expressions)
            allOK = session.Evaluate(expression) && allOK;
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            QString expression = QString::fromUtf8(line);
            if (expression.endsWith(u'\r'))
                expression.chop(1);
            if (expression.trimmed().isEmpty())
                continue;
            allOK = session.Evaluate(expression) && allOK;
        }
    }
    return allOK ? ExitOK : ExitSomeLineFailed;
}
