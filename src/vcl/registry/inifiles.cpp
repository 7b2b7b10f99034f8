#include "vcl/registry/inifiles.h"

#include "vcl/core/strings.h"

#include <QFile>
#include <sys/stat.h>

namespace vcl {

namespace {

// Decimal with an optional sign, or hexadecimal after "$" or "0x", blanks around allowed.
std::optional<int> ParseInteger(const QString& Text)
{
    QString digits = Text.trimmed();
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    if (digits.isEmpty() || !digits.front().isLetterOrNumber())
        return std::nullopt;
    bool ok = false;
    const qlonglong magnitude = digits.toLongLong(&ok, base);
    const qlonglong value = negative ? -magnitude : magnitude;
    // Hexadecimal spells the 32-bit pattern, so "$FFFFFFFF" is -1.
    if (!ok || value < (base == 16 ? -0xFFFFFFFFLL : qlonglong(INT32_MIN))
        || value > (base == 16 ? 0xFFFFFFFFLL : qlonglong(INT32_MAX)))
        return std::nullopt;
    return int(uint32_t(value));
}

} // namespace

int TCustomIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default)
{
    return ParseInteger(ReadString(Section, Ident, QString())).value_or(Default);
}

void TCustomIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

bool TCustomIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TCustomIniFile::ReadSectionValues(const QString& Section, TStrings& Strings)
{
    TStringList names;
    ReadSection(Section, names);
    QStringList lines;
    for (int i = 0; i < names.Count(); ++i)
        lines << names[i] + QLatin1Char('=') + ReadString(Section, names[i], QString());
    Strings.SetQStringList(lines);
}

bool TCustomIniFile::ValueExists(const QString& Section, const QString& Ident)
{
    TStringList names;
    ReadSection(Section, names);
    return names.IndexOf(Ident) >= 0;
}

QString TIniDocumentFile::ReadString(const QString& Section, const QString& Ident, const QString& Default)
{
    Refresh();
    return FDocument.Value(Section, Ident).value_or(Default);
}

void TIniDocumentFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    Refresh();
    FDocument.SetValue(Section, Ident, Value);
    Changed();
}

void TIniDocumentFile::ReadSection(const QString& Section, TStrings& Strings)
{
    Refresh();
    Strings.SetQStringList(FDocument.Keys(Section));
}

void TIniDocumentFile::ReadSections(TStrings& Strings)
{
    Refresh();
    Strings.SetQStringList(FDocument.Sections());
}

bool TIniDocumentFile::SectionExists(const QString& Section)
{
    Refresh();
    return FDocument.HasSection(Section);
}

void TIniDocumentFile::EraseSection(const QString& Section)
{
    Refresh();
    if (FDocument.RemoveSection(Section))
        Changed();
}

void TIniDocumentFile::DeleteKey(const QString& Section, const QString& Ident)
{
    Refresh();
    if (FDocument.RemoveKey(Section, Ident))
        Changed();
}

TMemIniFile::TMemIniFile(QString FileName) : TIniDocumentFile(std::move(FileName))
{
    Document().LoadFromFile(this->FileName());
}

void TMemIniFile::UpdateFile() { Document().SaveToFile(FileName()); }

TIniFile::TIniFile(QString FileName) : TIniDocumentFile(std::move(FileName)) { Refresh(); }

TIniFile::FileStamp TIniFile::CurrentStamp() const
{
    struct stat info {};
    if (::stat(QFile::encodeName(FileName()).constData(), &info) != 0)
        return {};
    return {true, info.st_ino, info.st_size, int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void TIniFile::Refresh()
{
    // The stamp is taken before reading, so a change made while reading shows next time.
    const FileStamp stamp = CurrentStamp();
    if (stamp == FLoadedStamp)
        return;
    Document().LoadFromFile(FileName());
    FLoadedStamp = stamp;
}

void TIniFile::Changed()
{
    Document().SaveToFile(FileName());
    FLoadedStamp = CurrentStamp();
}

} // namespace vcl
