#pragma once
// The command line of a QvKit program, so that all of them behave alike: -h/--help
// prints the usage on standard output and exits 0, --version prints the library's
// version, and an unknown option or a missing value prints the usage on standard error
// and exits 2. Parsing needs no application object, so a program can answer before it
// opens a display.
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace cli {

enum TExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// The arguments as Qt reads them, argv[0] first.
QStringList Arguments(int argc, char** argv);

class TCommandLine {
public:
    // Syntax is the usage line after the program's name ("[options] FILE..."); Notes,
    // when given, follow the option list in the help text.
    TCommandLine(const QString& Program, const QString& Syntax, const QString& Description,
                 const QString& Notes = {});

    void AddOption(const QCommandLineOption& Option);

    // Parses Arguments (argv[0] first). Returns the exit code when the program is done
    // already: help or version printed, or a usage error reported.
    std::optional<int> Parse(const QStringList& Arguments);

    bool IsSet(const QCommandLineOption& Option) const { return FParser.isSet(Option); }
    QString Value(const QCommandLineOption& Option) const { return FParser.value(Option); }
    QStringList Positional() const { return FParser.positionalArguments(); }

    // Prints "program: Message" and the usage on standard error; returns ExitUsage.
    int UsageError(const QString& Message) const;
    // Prints "program: Message" on standard error; returns ExitFailed.
    int Fail(const QString& Message) const;

    QString HelpText() const;

private:
    QString FProgram;
    QString FSyntax;
    QString FNotes;
    QCommandLineParser FParser;
    QCommandLineOption FHelp;
    QCommandLineOption FVersion;
};

} // namespace cli
