#include "vcl/core/resstrings.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <optional>

namespace vcl {

namespace {

// Resolves the escapes \t, \n and \\ of a table text; nullopt for any other escape.
std::optional<QString> Unescape(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case u't': out += u'\t'; break;
        case u'n': out += u'\n'; break;
        case u'\\': out += u'\\'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

[[noreturn]] void Refuse(const QString& name, qsizetype line, const QString& why)
{
    throw EResStringError(QStringLiteral("String table %1, line %2: %3").arg(name).arg(line).arg(why));
}

} // namespace

void TStringTable::AddTable(const QString& Name, const QString& Text)
{
    QHash<int, QString> added;
    const QStringList lines = Text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab < 0)
            Refuse(Name, n + 1, QStringLiteral("expected \"id<TAB>text\""));
        const QString digits = line.left(tab);
        const bool numeric = !digits.isEmpty() && digits.size() <= 5
            && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        const int id = numeric ? digits.toInt() : -1;
        if (id < 0 || id > 0xFFFF)
            Refuse(Name, n + 1, QStringLiteral("the id \"%1\" is not a number from 0 to 65535").arg(digits));
        if (FStrings.contains(id) || added.contains(id))
            Refuse(Name, n + 1, QStringLiteral("the id %1 appears twice").arg(id));
        const std::optional<QString> text = Unescape(line.mid(tab + 1));
        if (!text)
            Refuse(Name, n + 1, QStringLiteral("unknown escape (only \\t, \\n and \\\\ are known)"));
        added.insert(id, *text);
    }
    FStrings.insert(added);
}

void TStringTable::AddFolder(const QString& Folder)
{
    const QDir dir(Folder);
    for (const QString& entry : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(entry));
        if (!file.open(QIODevice::ReadOnly))
            throw EResStringError(QStringLiteral("String table %1 cannot be read: %2").arg(file.fileName(), file.errorString()));
        AddTable(file.fileName(), QString::fromUtf8(file.readAll()));
    }
}

int TStringTable::Copy(unsigned ID, char16_t* Buffer, int BufferMax) const
{
    if (!Buffer || BufferMax <= 0)
        return 0;
    const QString text = ID <= 0xFFFF ? Find(static_cast<int>(ID)) : QString();
    const auto count = static_cast<int>(std::min<qsizetype>(text.size(), BufferMax - 1));
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), count, Buffer);
    Buffer[count] = u'\0';
    return count;
}

const TStringTable& ResStringTable()
{
    // A malformed compiled-in table raises on every call, never leaving a half-read set.
    static const TStringTable table = [] {
        TStringTable t;
        t.AddFolder(QStringLiteral(":/strings"));
        return t;
    }();
    return table;
}

QString LoadResString(int Ident)
{
    return ResStringTable().Find(Ident);
}

int LoadString(HINSTANCE, unsigned ID, char16_t* Buffer, int BufferMax)
{
    return ResStringTable().Copy(ID, Buffer, BufferMax);
}

} // namespace vcl
