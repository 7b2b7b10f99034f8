#include "shell/masksearch.h"

#include "vcl/core/unitstartup.h"

#include <QStringView>

namespace Masksearch {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Masksearch"), {});

namespace {

const QChar Separator = QLatin1Char(';');
const QChar AnyRun = QLatin1Char('*');
const QChar AnyOne = QLatin1Char('?');

bool IsWildcard(QChar c)
{
    return c == AnyRun || c == AnyOne;
}

// Where a literal token starting at Start ends: at the next wildcard or the end.
qsizetype LiteralEnd(QStringView mask, qsizetype start)
{
    qsizetype end = start;
    while (end < mask.size() && !IsWildcard(mask[end]))
        ++end;
    return end;
}

// One character of Name from index Pos: a surrogate pair counts as one character.
qsizetype CharacterLength(QStringView name, qsizetype pos)
{
    if (pos + 1 < name.size() && name[pos].isHighSurrogate() && name[pos + 1].isLowSurrogate())
        return 2;
    return 1;
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

bool FileMatches(const QString& FileName, const vcl::TStrings* List)
{
    if (!List || List->Count() == 0)
        return true;
    QString name = vcl::AnsiLowerCase(FileName);
    if (!name.contains(QLatin1Char('.')))
        name += QLatin1Char('.');
    for (int i = 0; i < List->Count(); ++i)
        if (MatchOneMask(name, List->Strings(i)))
            return true;
    return false;
}

bool MatchOneMask(const QString& Name, const QString& Mask)
{
    if (Mask == QLatin1String("*"))
        return true;
    if (Mask == QLatin1String("*.*") && Name.contains(QLatin1Char('.')))
        return true;
    if (Mask.isEmpty())
        return false;
    if (Mask == Name && LiteralEnd(Mask, 0) == Mask.size())
        return true;

    // Positions are 0-based here: pos is the index of the next character of the
    // name to match, so the whole name is matched when pos == name.size().
    const QStringView name(Name);
    const QStringView mask(Mask);
    qsizetype pos = 0;
    bool star = false;
    for (qsizetype token = 0; token < mask.size();) {
        if (mask[token] == AnyOne) {
            pos += pos < name.size() ? CharacterLength(name, pos) : 1;
            if (pos > name.size())
                return false;
            ++token;
            continue;
        }
        if (mask[token] == AnyRun) {
            star = true;
            ++token;
            continue;
        }
        const qsizetype end = LiteralEnd(mask, token);
        const QStringView literal = mask.sliced(token, end - token);
        if (!star) {
            if (name.sliced(pos).left(literal.size()) != literal)
                return false;
            pos += literal.size();
        } else if (end == mask.size()) {
            // The last literal after a star: the name must end with it.
            const QStringView rest = name.sliced(pos);
            pos = rest.endsWith(literal) ? name.size() : name.size() - 1;
            star = false;
        } else {
            const qsizetype found = name.indexOf(literal, pos);
            if (found < 0)
                return false;
            pos = found + literal.size();
            star = false;
        }
        token = end;
    }
    return star || pos == name.size();
}

} // namespace Masksearch
