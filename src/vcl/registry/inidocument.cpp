#include "vcl/registry/inidocument.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace vcl {

namespace {

const QByteArray Utf8ByteOrderMark("\xEF\xBB\xBF");

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool HasLineBreak(const QString& Text)
{
    return Text.contains(QLatin1Char('\n')) || Text.contains(QLatin1Char('\r'));
}

bool IsCommentStart(QChar c) { return c == QLatin1Char(';') || c == QLatin1Char('#'); }

void CheckWritable(const QString& Section, const QString& Key, const QString& Value)
{
    const QString section = Section.trimmed();
    const QString key = Key.trimmed();
    if (section.isEmpty() || HasLineBreak(Section) || Section.contains(QLatin1Char(']')))
        throw EIniFileException(QStringLiteral("Invalid INI section name \"%1\"").arg(Section));
    if (key.isEmpty() || HasLineBreak(Key) || Key.contains(QLatin1Char('=')) || IsCommentStart(key.front())
        || key.front() == QLatin1Char('['))
        throw EIniFileException(QStringLiteral("Invalid INI key name \"%1\"").arg(Key));
    if (HasLineBreak(Value))
        throw EIniFileException(QStringLiteral("The value of \"%1\" holds a line break, which an INI file cannot keep").arg(Key));
}

} // namespace

TIniDocument::Line TIniDocument::ParseLine(const QString& Text)
{
    Line line;
    line.Text = Text;
    const QString trimmed = Text.trimmed();
    if (trimmed.isEmpty() || IsCommentStart(trimmed.front()))
        return line;
    if (trimmed.front() == QLatin1Char('[')) {
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.Kind = LineKind::Section;
            line.Name = trimmed.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals > 0) {
        line.Kind = LineKind::Entry;
        line.Name = trimmed.left(equals).trimmed();
        line.Value = trimmed.mid(equals + 1).trimmed();
    }
    return line;
}

TIniDocument::Line TIniDocument::EntryLine(const QString& Name, const QString& Value)
{
    return {LineKind::Entry, Name + QLatin1Char('=') + Value, Name, Value};
}

void TIniDocument::Clear() { FLines.clear(); }

void TIniDocument::SetData(const QByteArray& Data)
{
    FLines.clear();
    QByteArray bytes = Data;
    FByteOrderMark = bytes.startsWith(Utf8ByteOrderMark);
    if (FByteOrderMark)
        bytes.remove(0, Utf8ByteOrderMark.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    FLatin1 = utf8.hasError();
    if (FLatin1)
        text = QString::fromLatin1(bytes);
    // The first line end sets the style. Only in a CR LF file is a CR before the LF part
    // of the line end; elsewhere it is part of the line and is written back with it.
    const qsizetype firstBreak = text.indexOf(QLatin1Char('\n'));
    FCrLf = firstBreak > 0 && text[firstBreak - 1] == QLatin1Char('\r');
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end leaves an empty piece behind that is no line of the file.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (FCrLf && line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        FLines.push_back(ParseLine(line));
    }
}

QByteArray TIniDocument::Data() const
{
    const QString lineEnd = FCrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const Line& line : FLines)
        text += line.Text + lineEnd;
    // Characters that Latin-1 cannot hold become "?" in a Latin-1 file.
    QByteArray data = FLatin1 ? text.toLatin1() : text.toUtf8();
    if (FByteOrderMark)
        data.prepend(Utf8ByteOrderMark);
    return data;
}

void TIniDocument::LoadFromFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.exists()) {
        SetData({});
        return;
    }
    if (!file.open(QIODevice::ReadOnly))
        throw EIniFileException(QStringLiteral("Unable to read %1: %2").arg(FileName, file.errorString()));
    SetData(file.readAll());
}

void TIniDocument::SaveToFile(const QString& FileName) const
{
    QSaveFile file(FileName);
    const QByteArray data = Data();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw EIniFileException(QStringLiteral("Unable to write to %1: %2").arg(FileName, file.errorString()));
}

std::vector<size_t> TIniDocument::SectionLines(const QString& Section) const
{
    std::vector<size_t> indexes;
    bool inside = false;
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].Kind == LineKind::Section)
            inside = SameName(FLines[i].Name, Section);
        else if (inside)
            indexes.push_back(i);
    }
    return indexes;
}

std::optional<size_t> TIniDocument::FindEntry(const QString& Section, const QString& Key) const
{
    for (size_t i : SectionLines(Section))
        if (FLines[i].Kind == LineKind::Entry && SameName(FLines[i].Name, Key))
            return i;
    return std::nullopt;
}

std::optional<QString> TIniDocument::Value(const QString& Section, const QString& Key) const
{
    if (const auto entry = FindEntry(Section, Key))
        return FLines[*entry].Value;
    return std::nullopt;
}

void TIniDocument::SetValue(const QString& Section, const QString& Key, const QString& Value)
{
    CheckWritable(Section, Key, Value);
    const QString value = Value.trimmed();
    if (const auto entry = FindEntry(Section, Key)) {
        FLines[*entry] = EntryLine(FLines[*entry].Name, value);
        return;
    }
    // New keys go after the section's last entry, so that comments and blank lines
    // that close the section stay in front of the next one.
    std::optional<size_t> after;
    for (size_t i = 0; i < FLines.size() && !after; ++i)
        if (FLines[i].Kind == LineKind::Section && SameName(FLines[i].Name, Section))
            after = i;
    for (size_t i : SectionLines(Section))
        if (FLines[i].Kind == LineKind::Entry)
            after = i;
    if (after) {
        FLines.insert(FLines.begin() + std::ptrdiff_t(*after + 1), EntryLine(Key.trimmed(), value));
        return;
    }
    if (!FLines.empty() && !FLines.back().Text.trimmed().isEmpty())
        FLines.push_back(ParseLine(QString()));
    FLines.push_back(ParseLine(QLatin1Char('[') + Section.trimmed() + QLatin1Char(']')));
    FLines.push_back(EntryLine(Key.trimmed(), value));
}

bool TIniDocument::RemoveKey(const QString& Section, const QString& Key)
{
    std::vector<size_t> doomed;
    for (size_t i : SectionLines(Section))
        if (FLines[i].Kind == LineKind::Entry && SameName(FLines[i].Name, Key))
            doomed.push_back(i);
    for (auto i = doomed.rbegin(); i != doomed.rend(); ++i)
        FLines.erase(FLines.begin() + std::ptrdiff_t(*i));
    return !doomed.empty();
}

bool TIniDocument::RemoveSection(const QString& Section)
{
    std::vector<Line> kept;
    bool inside = false;
    for (Line& line : FLines) {
        if (line.Kind == LineKind::Section)
            inside = SameName(line.Name, Section);
        if (!inside)
            kept.push_back(std::move(line));
    }
    const bool removed = kept.size() != FLines.size();
    FLines = std::move(kept);
    return removed;
}

bool TIniDocument::HasSection(const QString& Section) const
{
    return std::any_of(FLines.begin(), FLines.end(), [&](const Line& line) {
        return line.Kind == LineKind::Section && SameName(line.Name, Section);
    });
}

QStringList TIniDocument::Sections() const
{
    QStringList names;
    for (const Line& line : FLines)
        if (line.Kind == LineKind::Section && !names.contains(line.Name, Qt::CaseInsensitive))
            names << line.Name;
    return names;
}

QStringList TIniDocument::Keys(const QString& Section) const
{
    QStringList names;
    for (size_t i : SectionLines(Section))
        if (FLines[i].Kind == LineKind::Entry && !names.contains(FLines[i].Name, Qt::CaseInsensitive))
            names << FLines[i].Name;
    return names;
}

} // namespace vcl
