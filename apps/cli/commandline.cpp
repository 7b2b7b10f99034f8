#include "commandline.h"

#include <cstdio>

namespace cli {

namespace {

void Write(std::FILE* Stream, const QString& Text)
{
    std::fputs(Text.toLocal8Bit().constData(), Stream);
    std::fflush(Stream);
}

} // namespace

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

TCommandLine::TCommandLine(const QString& Program, const QString& Syntax, const QString& Description,
                           const QString& Notes)
    : FProgram(Program),
      FSyntax(Syntax),
      FNotes(Notes),
      FHelp({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      FVersion(QStringLiteral("version"), QStringLiteral("Show the QvKit version and exit."))
{
    FParser.setApplicationDescription(Description);
    FParser.addOption(FHelp);
    FParser.addOption(FVersion);
}

void TCommandLine::AddOption(const QCommandLineOption& Option)
{
    FParser.addOption(Option);
}

std::optional<int> TCommandLine::Parse(const QStringList& Arguments)
{
    if (!FParser.parse(Arguments))
        return UsageError(FParser.errorText());
    if (FParser.isSet(FHelp)) {
        Write(stdout, HelpText());
        return ExitOk;
    }
    if (FParser.isSet(FVersion)) {
        Write(stdout, QStringLiteral("%1 (QvKit) %2\n").arg(FProgram, QStringLiteral(QVKIT_VERSION)));
        return ExitOk;
    }
    return std::nullopt;
}

int TCommandLine::UsageError(const QString& Message) const
{
    Write(stderr, QStringLiteral("%1: %2\n%3").arg(FProgram, Message, HelpText()));
    return ExitUsage;
}

int TCommandLine::Fail(const QString& Message) const
{
    Write(stderr, QStringLiteral("%1: %2\n").arg(FProgram, Message));
    return ExitFailed;
}

// Qt's own text starts with a usage line built from argv[0] (or a placeholder when no
// application object exists); the program's name and syntax replace it.
QString TCommandLine::HelpText() const
{
    QString text = FParser.helpText();
    text = text.mid(text.indexOf(u'\n') + 1);
    text.prepend(QStringLiteral("Usage: %1 %2\n").arg(FProgram, FSyntax));
    if (!FNotes.isEmpty())
        text += u'\n' + FNotes;
    return text;
}

} // namespace cli
