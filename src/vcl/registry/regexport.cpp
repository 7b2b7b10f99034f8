#include "vcl/registry/regexport.h"

#include "vcl/core/strings.h"
#include "vcl/registry/registry.h"

#include <cctype>
#include <vector>

namespace vcl {

namespace {

const QChar PathDelimiter = QLatin1Char('\\');
const QString DefaultValueName = QStringLiteral("@");
const QString StringPrefix = QStringLiteral("\"");
const QString ExpandPrefix = QStringLiteral("expand:");
const QString IntegerPrefix = QStringLiteral("dword:");
const QString BinaryPrefix = QStringLiteral("hex:");

QString Quoted(const QString& Text)
{
    QString out = StringPrefix;
    for (const QChar c : Text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + StringPrefix;
}

// One line of an import text, read from left to right; every fault names the line.
class LineReader {
public:
    LineReader(const QString& Line, int Number) : FLine(Line), FNumber(Number) {}

    bool AtEnd() const { return FPos >= FLine.size(); }
    bool Take(const QString& Prefix)
    {
        if (!FLine.mid(FPos).startsWith(Prefix))
            return false;
        FPos += Prefix.size();
        return true;
    }
    QString Rest()
    {
        const QString rest = FLine.mid(FPos);
        FPos = FLine.size();
        return rest;
    }

    QString QuotedString()
    {
        if (!Take(StringPrefix))
            Fail(QStringLiteral("expected a quoted string"));
        QString text;
        while (!AtEnd()) {
            const QChar c = FLine[FPos++];
            if (c == QLatin1Char('"'))
                return text;
            text += c == PathDelimiter ? Escaped() : c;
        }
        Fail(QStringLiteral("a quoted string is not closed"));
    }

    [[noreturn]] void Fail(const QString& What) const
    {
        throw ERegistryException(QStringLiteral("line %1: %2").arg(FNumber).arg(What));
    }

private:
    QChar Escaped()
    {
        if (AtEnd())
            Fail(QStringLiteral("a quoted string is not closed"));
        const QChar c = FLine[FPos++];
        switch (c.unicode()) {
        case '\\': return PathDelimiter;
        case '"': return QLatin1Char('"');
        case 'n': return QLatin1Char('\n');
        case 'r': return QLatin1Char('\r');
        case 't': return QLatin1Char('\t');
        case 'x': {
            bool ok = false;
            const int code = FLine.mid(FPos, 2).toInt(&ok, 16);
            if (!ok || FLine.mid(FPos, 2).size() != 2)
                Fail(QStringLiteral("\\x needs two hexadecimal digits"));
            FPos += 2;
            return QChar(code);
        }
        default: Fail(QStringLiteral("unknown escape \\%1").arg(c));
        }
    }

    QString FLine;
    qsizetype FPos = 0;
    int FNumber;
};

bool IsHexDigits(const QString& Text)
{
    for (const QChar c : Text)
        if (!std::isxdigit(c.toLatin1()) || c.unicode() > 0x7F)
            return false;
    return !Text.isEmpty();
}

TRegValue ParseValueData(LineReader& Reader)
{
    if (Reader.Take(ExpandPrefix))
        return TRegValue::FromString(Reader.QuotedString(), rdExpandString);
    if (Reader.Take(IntegerPrefix)) {
        const QString digits = Reader.Rest();
        if (!IsHexDigits(digits) || digits.size() > 8)
            Reader.Fail(QStringLiteral("dword: needs 1 to 8 hexadecimal digits"));
        return TRegValue::FromInteger(int32_t(digits.toUInt(nullptr, 16)));
    }
    if (Reader.Take(BinaryPrefix)) {
        const QString bytes = Reader.Rest();
        QByteArray data;
        if (!bytes.isEmpty())
            for (const QString& byte : bytes.split(QLatin1Char(','))) {
                if (!IsHexDigits(byte) || byte.size() != 2)
                    Reader.Fail(QStringLiteral("hex: needs bytes of two hexadecimal digits, separated by commas"));
                data += char(byte.toUInt(nullptr, 16));
            }
        return TRegValue::FromBinary(data);
    }
    return TRegValue::FromString(Reader.QuotedString());
}

// The key line "[name]": a known, writable root and a valid path of at most
// TRegistry::MaxKeyDepth levels.
TRegKeyName ParseKeyLine(const QString& Line, const LineReader& Reader)
{
    const TRegKeyName key = ParseRegKeyName(Line.mid(1, Line.size() - 2));
    if (key.Root == HKEY_CLASSES_ROOT)
        Reader.Fail(QStringLiteral("HKEY_CLASSES_ROOT is read-only"));
    if (key.Path.count(PathDelimiter) >= TRegistry::MaxKeyDepth)
        Reader.Fail(QStringLiteral("the key path is deeper than %1 levels").arg(TRegistry::MaxKeyDepth));
    if (!TRegistry::IsValidKeyPath(key.Path))
        Reader.Fail(QStringLiteral("invalid key path \"%1\"").arg(key.Path));
    return key;
}

} // namespace

std::vector<TRegImportBlock> ParseRegistryText(const QString& Text)
{
    std::vector<TRegImportBlock> blocks;
    bool sawSignature = false;
    const QStringList lines = Text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i].trimmed();
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        LineReader reader(line, i + 1);
        if (!sawSignature) {
            if (line != QLatin1String(RegistryExportSignature))
                reader.Fail(QStringLiteral("not a registry export (expected \"%1\")").arg(RegistryExportSignature));
            sawSignature = true;
        } else if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            blocks.push_back({i + 1, ParseKeyLine(line, reader), {}});
        } else {
            if (blocks.empty())
                reader.Fail(QStringLiteral("a value before the first [key] line"));
            const QString name = reader.Take(DefaultValueName) ? QString() : reader.QuotedString();
            if (!reader.Take(QStringLiteral("=")))
                reader.Fail(QStringLiteral("expected \"=\" after the value name"));
            TRegValue value = ParseValueData(reader);
            if (!reader.AtEnd())
                reader.Fail(QStringLiteral("unexpected text after the value"));
            blocks.back().Values.emplace_back(name, std::move(value));
        }
    }
    if (!sawSignature)
        throw ERegistryException(QStringLiteral("not a registry export: the text is empty"));
    return blocks;
}

namespace {

// Writes the key and everything below it, walking the hive by key, so that the work
// is linear in the size of the tree however deep it is, and the stack stays flat.
void ExportTree(TRegHive& Hive, TRegKeyId Top, const QString& TopName, QString& Out)
{
    std::vector<std::pair<TRegKeyId, QString>> pending{{Top, TopName}};
    while (!pending.empty()) {
        const auto [key, fullName] = std::move(pending.back());
        pending.pop_back();
        Out += QLatin1String("\n[") + fullName + QLatin1String("]\n");
        for (const QString& name : Hive.ValueNames(key))
            if (const auto value = Hive.ReadValue(key, name))
                Out += FormatRegValue(name, *value) + QLatin1Char('\n');
        const QStringList children = Hive.SubKeyNames(key);
        // Pushed last to first, so the first subkey is written first. A key deleted by
        // someone else while we export is left out.
        for (auto child = children.crbegin(); child != children.crend(); ++child)
            if (const auto id = Hive.FindKey(key, {*child}))
                pending.emplace_back(*id, fullName + PathDelimiter + *child);
    }
}

} // namespace

TRegKeyName ParseRegKeyName(const QString& Name)
{
    const qsizetype delimiter = Name.indexOf(PathDelimiter);
    const QString first = delimiter < 0 ? Name : Name.left(delimiter);
    if (const auto root = RootKeyFromName(first))
        return {*root, delimiter < 0 ? QString() : Name.mid(delimiter + 1)};
    // A leading delimiter changes nothing: every path counts from the root.
    return {HKEY_CURRENT_USER, Name.startsWith(PathDelimiter) ? Name.mid(1) : Name};
}

QString FormatRegValue(const QString& Name, const TRegValue& Value)
{
    QString line = (Name.isEmpty() ? DefaultValueName : Quoted(Name)) + QLatin1Char('=');
    switch (Value.Type) {
    case rdString: return line + Quoted(Value.Text);
    case rdExpandString: return line + ExpandPrefix + Quoted(Value.Text);
    case rdInteger: return line + IntegerPrefix + QStringLiteral("%1").arg(uint32_t(Value.Integer), 8, 16, QLatin1Char('0'));
    case rdBinary:
    case rdUnknown: break;
    }
    QStringList bytes;
    for (const char byte : Value.Bytes)
        bytes << QStringLiteral("%1").arg(uint8_t(byte), 2, 16, QLatin1Char('0'));
    return line + BinaryPrefix + bytes.join(QLatin1Char(','));
}

QString ExportRegistryKey(const TRegKeyName& Key)
{
    TRegistry reg;
    reg.SetRootKey(Key.Root);
    if (!reg.OpenKeyReadOnly(PathDelimiter + Key.Path))
        throw ERegistryException(QStringLiteral("Key %1\\%2 does not exist").arg(RootKeyName(Key.Root), Key.Path));
    QString out = QLatin1String(RegistryExportSignature) + QLatin1Char('\n');
    QString fullName = RootKeyName(Key.Root);
    if (!reg.CurrentPath().isEmpty())
        fullName += PathDelimiter + reg.CurrentPath();
    const std::shared_ptr<TRegHive> hive = OpenHive(Key.Root);
    const auto top = hive->FindKey(hive->RootKey(), reg.CurrentPath().split(PathDelimiter, Qt::SkipEmptyParts));
    if (top)
        ExportTree(*hive, *top, fullName, out);
    return out;
}

TRegImportCount ImportRegistryText(const QString& Text)
{
    TRegImportCount count;
    for (const TRegImportBlock& block : ParseRegistryText(Text)) {
        TRegistry reg;
        reg.SetRootKey(block.Key.Root);
        if (!reg.OpenKey(PathDelimiter + block.Key.Path, true))
            throw ERegistryException(QStringLiteral("line %1: cannot create key %2").arg(block.Line).arg(block.Key.Path));
        ++count.Keys;
        for (const auto& [name, value] : block.Values) {
            reg.WriteValue(name, value);
            ++count.Values;
        }
    }
    return count;
}

} // namespace vcl
