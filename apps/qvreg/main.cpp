// qvreg: lists, exports, imports and deletes keys of the QvKit registry store.
#include "vcl/core/strings.h"
#include "vcl/registry/regexport.h"
#include "vcl/registry/registry.h"

#include <QFile>
#include <cstdio>

using namespace vcl;

namespace {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

const char* const Usage =
    "usage: qvreg list [hive\\]key      show a key's subkeys (ending in \\) and values\n"
    "       qvreg export [hive\\]key    write the key and everything below it to standard output\n"
    "       qvreg import FILE          read keys and values from an export (\"-\": standard input)\n"
    "       qvreg delete [hive\\]key    delete a key with its subkeys and values\n"
    "hive is HKEY_CURRENT_USER (the default), HKEY_LOCAL_MACHINE, HKEY_CURRENT_CONFIG or\n"
    "HKEY_CLASSES_ROOT (read-only), or HKCU, HKLM, HKCC, HKCR. The store lives in\n"
    "$QVKIT_REGISTRY_DIR, or else in the user's configuration folder under qvkit/registry.\n";

void Print(const QString& Text) { std::fputs(Text.toUtf8().constData(), stdout); }

int Fail(const QString& Message)
{
    std::fprintf(stderr, "qvreg: %s\n", Message.toUtf8().constData());
    return ExitFailed;
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
    return ExitOk;
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
    return ExitOk;
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
    return ExitOk;
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
        return ExitOk;
    }
    return Delete(key);
}

} // namespace

int main(int argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(Usage, stdout);
        return ExitOk;
    }
    const bool known = command == QLatin1String("list") || command == QLatin1String("export")
                       || command == QLatin1String("import") || command == QLatin1String("delete");
    if (!known || argc != 3) {
        if (!command.isEmpty() && !known)
            std::fprintf(stderr, "qvreg: unknown command \"%s\"\n", argv[1]);
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    try {
        return Run(command, QString::fromLocal8Bit(argv[2]));
    } catch (const Exception& e) {
        return Fail(e.Message());
    }
}
