#include "shell/masksearch.h"

#include "vcl/core/unitstartup.h"

#include <QLocale>
#include <QVarLengthArray>
#include <array>
#include <optional>
#include <span>
#include <utility>

namespace Masksearch {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Masksearch"), {});

namespace {

const QChar Separator = QLatin1Char(';');
const QChar AnyRun = QLatin1Char('*');
const QChar AnyOne = QLatin1Char('?');
const QChar Dot = QLatin1Char('.');

bool IsWildcard(QChar c)
{
    return c == AnyRun || c == AnyOne;
}

// Appends the tokens of Mask to Tokens, left to right.
template <class Container>
void CutIntoTokens(QStringView mask, Container& tokens)
{
    using Kind = MaskToken::Kind;
    for (qsizetype start = 0; start < mask.size();) {
        if (IsWildcard(mask[start])) {
            tokens.push_back({mask[start] == AnyRun ? Kind::AnyRun : Kind::AnyOne, mask.sliced(start, 1)});
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < mask.size() && !IsWildcard(mask[end]))
            ++end;
        tokens.push_back({end == mask.size() ? Kind::LastLiteral : Kind::Literal, mask.sliced(start, end - start)});
        start = end;
    }
}

// One character of Name from index Pos: a surrogate pair counts as one character.
qsizetype CharacterLength(QStringView name, qsizetype pos)
{
    if (pos + 1 < name.size() && name[pos].isHighSurrogate() && name[pos + 1].isLowSurrogate())
        return 2;
    return 1;
}

// Exact comparisons of UTF-16 text: the parts are a few characters long, too short
// for QStringView's general comparison or memcmp to pay for their set-up.
bool SameText(const QChar* a, const QChar* b, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

bool StartsWith(QStringView text, qsizetype from, QStringView part)
{
    return text.size() - from >= part.size() && SameText(text.data() + from, part.data(), part.size());
}

bool EndsWith(QStringView text, qsizetype from, QStringView part)
{
    return text.size() - from >= part.size() && SameText(text.data() + text.size() - part.size(), part.data(), part.size());
}

// Where Part first occurs in Text at or after From, or -1.
qsizetype IndexOf(QStringView text, qsizetype from, QStringView part)
{
    const QChar first = part[0];
    for (qsizetype i = from; i + part.size() <= text.size(); ++i)
        if (text[i] == first && SameText(text.data() + i + 1, part.data() + 1, part.size() - 1))
            return i;
    return -1;
}

// The general rule for one mask. Pos is the index of the next character of the name
// to match, so the whole name is matched when pos == name.size().
bool MatchTokens(QStringView name, std::span<const MaskToken> tokens)
{
    if (tokens.empty())
        return false; // an empty mask matches nothing, not even an empty name
    qsizetype pos = 0;
    bool star = false;
    for (const MaskToken& token : tokens) {
        switch (token.Type) {
        case MaskToken::Kind::AnyOne:
            if (pos >= name.size())
                return false;
            pos += CharacterLength(name, pos);
            break;
        case MaskToken::Kind::AnyRun:
            star = true;
            break;
        case MaskToken::Kind::Literal:
        case MaskToken::Kind::LastLiteral:
            if (!star) {
                if (!StartsWith(name, pos, token.Text))
                    return false;
                pos += token.Text.size();
            } else if (token.Type == MaskToken::Kind::LastLiteral) {
                return EndsWith(name, pos, token.Text);
            } else {
                // The first occurrence only: a later one is never tried.
                const qsizetype found = IndexOf(name, pos, token.Text);
                if (found < 0)
                    return false;
                pos = found + token.Text.size();
                star = false;
            }
            break;
        }
    }
    return star || pos == name.size();
}

// Names up to this length are lower-cased on the stack.
constexpr qsizetype FoldedNameRoom = 256;
using FoldedNameBuffer = std::array<char16_t, FoldedNameRoom>;

// A plain ASCII name lower-cased into Buffer, with the dot FileMatches appends to a
// name without one. Empty when the name needs the locale's full lower-casing: beyond
// ASCII, too long for the buffer, or with an "I" in a locale where it lower-cases
// to a dotless i.
std::optional<QStringView> FoldAsciiName(QStringView name, FoldedNameBuffer& buffer)
{
    if (name.size() >= FoldedNameRoom)
        return std::nullopt;
    bool hasDot = false;
    bool hasCapitalI = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char16_t c = name[i].unicode();
        if (c >= 0x80)
            return std::nullopt;
        hasDot = hasDot || c == u'.';
        hasCapitalI = hasCapitalI || c == u'I';
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
        buffer[static_cast<size_t>(i)] = c;
    }
    if (hasCapitalI) {
        const QLocale::Language language = QLocale().language();
        if (language == QLocale::Turkish || language == QLocale::Azerbaijani)
            return std::nullopt;
    }
    qsizetype length = name.size();
    if (!hasDot)
        buffer[static_cast<size_t>(length++)] = u'.';
    return QStringView(buffer.data(), length);
}

// The name as FileMatches compares it: lower case, with a dot appended when it has
// none. Plain ASCII names are lower-cased into Buffer, others into Fallback.
QStringView FoldedName(const QString& FileName, FoldedNameBuffer& buffer, QString& fallback)
{
    if (const std::optional<QStringView> ascii = FoldAsciiName(FileName, buffer))
        return *ascii;
    fallback = vcl::AnsiLowerCase(FileName);
    if (!fallback.contains(Dot))
        fallback += Dot;
    return fallback;
}

// The same characters in memory are the same text: the matcher's copy holds them
// alive, and a change to the list's string would have copied them first.
bool SameString(const QString& listed, const QString& kept)
{
    return listed.constData() == kept.constData() && listed.size() == kept.size();
}

} // namespace

void BuildMask(const QString& MaskText, vcl::TStringList& List)
{
    List.Clear();
    List.SetSorted(false);
    if (MaskText.isEmpty()) {
        List.Add(QStringLiteral("*"));
        return;
    }
    QString text = MaskText;
    if (!text.endsWith(Separator))
        text += Separator;
    for (qsizetype p = text.indexOf(Separator); p >= 0; p = text.indexOf(Separator)) {
        List.Add(vcl::AnsiLowerCase(text.left(p)));
        text.remove(0, p + 1);
    }
    List.SetSorted(true);
}

TMaskMatcher::TMaskMatcher(const vcl::TStrings& List)
{
    for (int i = 0; i < List.Count(); ++i)
        FMasks.append(List.Strings(i));
    for (const QString& mask : std::as_const(FMasks)) {
        const size_t first = FTokens.size();
        CutIntoTokens(QStringView(mask), FTokens);
        FRanges.push_back({first, FTokens.size() - first});
    }
}

std::optional<bool> TMaskMatcher::Match(const QString& FileName, const vcl::TStrings* List) const
{
    if (List && List->Count() != FMasks.size())
        return std::nullopt;
    if (FRanges.empty())
        return true;
    FoldedNameBuffer buffer;
    QString fallback;
    const QStringView name = FoldedName(FileName, buffer, fallback);
    const std::span<const MaskToken> tokens(FTokens);
    for (size_t i = 0; i < FRanges.size(); ++i) {
        if (List && !SameString(List->Strings(static_cast<int>(i)), FMasks[static_cast<qsizetype>(i)]))
            return std::nullopt;
        if (MatchTokens(name, tokens.subspan(FRanges[i].First, FRanges[i].Count)))
            return true;
    }
    return false;
}

bool TMaskMatcher::Matches(const QString& FileName) const
{
    return *Match(FileName, nullptr);
}

std::optional<bool> TMaskMatcher::MatchesWhileBuiltFrom(const QString& FileName, const vcl::TStrings& List) const
{
    return Match(FileName, &List);
}

bool FileMatches(const QString& FileName, const vcl::TStrings* List)
{
    if (!List || List->Count() == 0)
        return true;
    // The masks of the last list seen on this thread, cut into tokens.
    thread_local std::optional<TMaskMatcher> matcher;
    if (matcher)
        if (const std::optional<bool> result = matcher->MatchesWhileBuiltFrom(FileName, *List))
            return *result;
    matcher.emplace(*List);
    return matcher->Matches(FileName);
}

bool MatchOneMask(const QString& Name, const QString& Mask)
{
    QVarLengthArray<MaskToken, 32> tokens;
    CutIntoTokens(QStringView(Mask), tokens);
    return MatchTokens(Name, std::span<const MaskToken>(tokens.data(), static_cast<size_t>(tokens.size())));
}

} // namespace Masksearch
