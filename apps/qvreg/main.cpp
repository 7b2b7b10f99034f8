// qvreg: lists, exports, imports and deletes keys of the QvKit registry store.
#include "commandline.h"
#include "vcl/core/strings.h"
#include "vcl/registry/regexport.h"
#include "vcl/registry/registry.h"

#include <QFile>
#include <cstdio>

using namespace vcl;

namespace {

const char* const Notes =
    "Commands:\n"
    "  list [hive\\]key     show a key's subkeys (ending in \\) and values\n"
    "  export [hive\\]key   write the key and everything below it to standard output\n"
    "  import FILE          read keys and values from an export (\"-\": standard input)\n"
    "  delete [hive\\]key   delete a key with its subkeys and values\n"
    "hive is HKEY_CURRENT_USER (the default), HKEY_LOCAL_MACHINE, HKEY_CURRENT_CONFIG or\n"
    "HKEY_CLASSES_ROOT (read-only), or HKCU, HKLM, HKCC, HKCR. The store lives in\n"
    "$QVKIT_REGISTRY_DIR, or else in the user's configuration folder under qvkit/registry.\n";

const QStringList Commands{QStringLiteral("list"), QStringLiteral("export"), QStringLiteral("import"),
                           QStringLiteral("delete")};

void Print(const QString& Text) { std::fputs(Text.toUtf8().constData(), stdout); }

int Fail(const QString& Message)
{
    std::fprintf(stderr, "qvreg: %s\n", Message.toUtf8().constData());
    return cli::ExitFailed;
}

QString FullName(const TRegKeyName& Key)
{
    return Key.Path.isEmpty() ? RootKeyName(Key.Root) : RootKeyName(Key.Root) + QLatin1Char('\\') + Key.Path;
}

int List(const TRegKeyName& Key)
{
    TRegistry reg;
    reg.SetRootKey(Key.Root);
    if (!reg.OpenKeyReadOnly(QLatin1Char('\\') + Key.Path))
        return Fail(QStringLiteral("key %1 does not exist").arg(FullName(Key)));
    TStringList keys;
    reg.GetKeyNames(keys);
    for (int i = 0; i < keys.Count(); ++i)
        Print(keys[i] + QLatin1String("\\\n"));
    TStringList values;
    reg.GetValueNames(values);
    for (int i = 0; i < values.Count(); ++i)
        if (const auto value = reg.ReadValue(values[i]))
            Print(FormatRegValue(values[i], *value) + QLatin1Char('\n'));
    return cli::ExitOk;
}

int Import(const QString& FileName)
{
    QFile file;
    const bool opened = FileName == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                        : (file.setFileName(FileName), file.open(QIODevice::ReadOnly));
    if (!opened)
        return Fail(QStringLiteral("cannot read %1: %2").arg(FileName, file.errorString()));
    const TRegImportCount count = ImportRegistryText(QString::fromUtf8(file.readAll()));
    Print(QStringLiteral("imported %1 keys and %2 values\n").arg(count.Keys).arg(count.Values));
    return cli::ExitOk;
}

int Delete(const TRegKeyName& Key)
{
    if (Key.Path.isEmpty() || Key.Path == QLatin1String("\\"))
        return Fail(QStringLiteral("refusing to delete the whole hive %1").arg(RootKeyName(Key.Root)));
    TRegistry reg;
    reg.SetRootKey(Key.Root);
    if (!reg.KeyExists(QLatin1Char('\\') + Key.Path))
        return Fail(QStringLiteral("key %1 does not exist").arg(FullName(Key)));
    if (!reg.DeleteKey(QLatin1Char('\\') + Key.Path))
        return Fail(QStringLiteral("cannot delete %1").arg(FullName(Key)));
    return cli::ExitOk;
}

int Run(const QString& Command, const QString& Argument)
{
    if (Command == QLatin1String("import"))
        return Import(Argument);
    const TRegKeyName key = ParseRegKeyName(Argument);
    if (Command == QLatin1String("list"))
        return List(key);
    if (Command == QLatin1String("export")) {
        Print(ExportRegistryKey(key));
        return cli::ExitOk;
    }
    return Delete(key);
}

} // namespace

int main(int argc, char** argv)
{
    cli::TCommandLine commandLine(QStringLiteral("qvreg"), QStringLiteral("list|export|import|delete KEY|FILE"),
                                  QStringLiteral("Lists, exports, imports and deletes keys of the QvKit registry store."),
                                  QString::fromLatin1(Notes));
    if (const auto done = commandLine.Parse(cli::Arguments(argc, argv)))
        return *done;
    const QStringList arguments = commandLine.Positional();
    if (arguments.isEmpty())
        return commandLine.UsageError(QStringLiteral("a command is needed"));
    if (!Commands.contains(arguments[0]))
        return commandLine.UsageError(QStringLiteral("unknown command \"%1\"").arg(arguments[0]));
    if (arguments.size() != 2)
        return commandLine.UsageError(QStringLiteral("%1 takes one %2").arg(
            arguments[0], arguments[0] == QLatin1String("import") ? QStringLiteral("file") : QStringLiteral("key")));
    try {
        return Run(arguments[0], arguments[1]);
    } catch (const Exception& e) {
        return Fail(e.Message());
    }
}
