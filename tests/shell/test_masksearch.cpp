// Mask lists from mask texts, and names matched against them, with the matcher's
// deliberate quirks (a name without a dot gets one, a star's first find is kept).
#include "shell/masksearch.h"
#include "vcl/core/unitstartup.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <random>
#include <vector>

using namespace Masksearch;

namespace {

QStringList Masks(const QString& text)
{
    vcl::TStringList list;
    BuildMask(text, list);
    return list.ToQStringList();
}

TEST(BuildMask, SplitsLowerCasesAndSorts)
{
    struct Row {
        const char* Text;
        QStringList Expected;
    };
    const Row rows[] = {
        {"", {"*"}},
        {"*.TXT;*.Doc", {"*.doc", "*.txt"}},
        {"*.txt;", {"*.txt"}},              // a final separator adds no empty mask
        {"*.txt; *.doc", {" *.doc", "*.txt"}}, // blanks are kept (and sort first)
        {";", {""}},
        {";;", {"", ""}},
        {"*.txt;;*.doc", {"", "*.doc", "*.txt"}},
        {"B;a;B", {"a", "b", "b"}},
        {"ÄRGER*.TXT", {"ärger*.txt"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Masks(QString::fromUtf8(row.Text)), row.Expected) << row.Text;
}

// BuildMask replaces what the list held; no list or an empty one lets every name pass.
TEST(BuildMask, ReplacesWhatTheListHeldAndAnEmptyListMatchesAll)
{
    vcl::TStringList list;
    EXPECT_TRUE(FileMatches(QStringLiteral("anything.bin"), nullptr));
    EXPECT_TRUE(FileMatches(QStringLiteral("anything.bin"), &list));
    EXPECT_TRUE(FileMatches(QString(), &list));
    list.Add(QStringLiteral("old"));
    BuildMask(QStringLiteral("*.c"), list);
    EXPECT_EQ(list.ToQStringList(), QStringList{QStringLiteral("*.c")});
    EXPECT_TRUE(list.Sorted());
}

struct MatchRow {
    const char* MaskText;
    std::vector<const char*> Matching, NotMatching;
};

// Worked out by hand from the matching rules.
const MatchRow MatchRows[] = {
    // The empty text: every name.
    {"", {"README", ".hidden"}, {}},
    // Upper-case masks and names.
    {"*.TXT;*.Doc", {"README.txt", "LETTER.DOC"}, {"notes.docx"}},
    {"readme.txt", {"README.TXT"}, {}},
    // Blanks are part of the mask.
    {"*.txt; *.doc", {"a.txt", " a.doc"}, {"a.doc"}},
    // Empty masks match nothing, but the others still apply.
    {";", {}, {"a.txt", "makefile"}},
    {"*.txt;;*.doc", {"a.doc"}, {"a.bmp"}},
    // A name without a dot is tested with one appended.
    {"*.*", {"makefile"}, {}},
    {"*.", {"makefile"}, {"a.txt"}},
    {"*.txt", {}, {"makefile"}},
    {"makefile", {}, {"makefile"}},
    {"makefile?", {"makefile"}, {}},
    // "?" is exactly one character.
    {"a?c.txt", {"abc.txt"}, {"ac.txt", "abcd.txt"}},
    {"???", {"ab"}, {"abc"}},
    {"a???", {}, {"a"}},
    // A star before the last literal: the name must end with it.
    {"*.txt", {"a.txt", ".txt"}, {"a.txt.bak"}},
    {"*b", {"a.b"}, {"ab"}},
    {"ab*", {"abacus.tar.gz"}, {"xab.c"}},
    // A star before an inner literal takes its first occurrence, never a later one.
    {"*a?c*", {"xxabc"}, {"abxaxc"}},
    {"*.t*", {"a.b.txt"}, {}},
    {"*a*c.txt", {"bac.txt"}, {}},
    // Names beyond ASCII: lower-cased by Unicode's rules, one "?" per character.
    {"ÄRGER*.TXT", {"Ärger Brief.txt"}, {}},
    {"?rger.txt", {"ärger.txt"}, {}},
    {"?.txt", {"\xF0\x9F\x98\x80.txt"}, {}},
    {"??.txt", {}, {"\xF0\x9F\x98\x80.txt"}},
    {"*\xF0\x9F\x98\x80", {"smile.\xF0\x9F\x98\x80"}, {}},
};

TEST(FileMatches, FollowsTheMatchingRules)
{
    for (const MatchRow& row : MatchRows) {
        vcl::TStringList list;
        BuildMask(QString::fromUtf8(row.MaskText), list);
        for (const bool expected : {true, false})
            for (const char* name : expected ? row.Matching : row.NotMatching)
                EXPECT_EQ(FileMatches(QString::fromUtf8(name), &list), expected)
                    << "mask \"" << row.MaskText << "\" name \"" << name << "\"";
    }
}

TEST(MatchOneMask, ComparesExactlyAsGiven)
{
    // FileMatches lower-cases the name; on its own the matcher compares as given.
    // "*.*" needs a dot; without one the general rule decides.
    const struct {
        const char* Name;
        const char* Mask;
        bool Expected;
    } cases[] = {
        {"README.TXT", "*.txt", false}, {"abc", "abc", true}, {"abc", "", false}, {"", "", false},
        {"abc", "*.*", false}, {"abc", "*", true}, {"abc", "**", true}, {"abc", "*?", true},
        {"ab", "abc", false}, {"abcd", "abc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchOneMask(QString::fromLatin1(c.Name), QString::fromLatin1(c.Mask)), c.Expected)
            << c.Name << " " << c.Mask;
}

// The matcher as it was before masks were cut into tokens once per list, kept as the
// reference for the differential test below.
namespace reference {

bool IsWildcard(QChar c)
{
    return c == u'*' || c == u'?';
}

qsizetype LiteralEnd(QStringView mask, qsizetype start)
{
    qsizetype end = start;
    while (end < mask.size() && !IsWildcard(mask[end]))
        ++end;
    return end;
}

qsizetype CharacterLength(QStringView name, qsizetype pos)
{
    return pos + 1 < name.size() && name[pos].isHighSurrogate() && name[pos + 1].isLowSurrogate() ? 2 : 1;
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
    const QStringView name(Name);
    const QStringView mask(Mask);
    qsizetype pos = 0;
    bool star = false;
    for (qsizetype token = 0; token < mask.size();) {
        if (mask[token] == u'?') {
            pos += pos < name.size() ? CharacterLength(name, pos) : 1;
            if (pos > name.size())
                return false;
            ++token;
            continue;
        }
        if (mask[token] == u'*') {
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

} // namespace reference

// Short random texts over characters that matter to the matcher: wildcards, the dot,
// both cases (and the Turkish-sensitive "I"), a letter beyond ASCII and a surrogate pair.
QString RandomText(std::mt19937& random, int maxLength, bool wildcards)
{
    static const QString plain = QString::fromUtf8("aAbBiI.. x\xc3\xa4\xc3\x84\xF0\x9F\x98\x80");
    QString text;
    const int length = static_cast<int>(random() % static_cast<unsigned>(maxLength + 1));
    for (int i = 0; i < length; ++i) {
        const unsigned pick = random() % static_cast<unsigned>(plain.size() + (wildcards ? 4 : 0));
        if (pick >= static_cast<unsigned>(plain.size()))
            text += pick % 2 ? u'*' : u'?';
        else if (plain[pick].isSurrogate())
            text += plain.mid(plain.size() - 2); // the whole pair
        else
            text += plain[pick];
    }
    return text;
}

TEST(FileMatches, GivesWhatTheCharacterByCharacterMatcherGave)
{
    std::mt19937 random(61);
    const QLocale saved;
    for (const QLocale::Language language : {QLocale::English, QLocale::Turkish}) {
        QLocale::setDefault(QLocale(language));
        for (int round = 0; round < 3000; ++round) {
            QString maskText;
            for (int m = 1 + static_cast<int>(random() % 3); m > 0; --m)
                maskText += RandomText(random, 6, true) + (m > 1 ? ";" : "");
            vcl::TStringList masks;
            BuildMask(maskText, masks);
            for (int n = 0; n < 8; ++n) {
                const QString name = RandomText(random, 8, false);
                ASSERT_EQ(FileMatches(name, &masks), reference::FileMatches(name, &masks))
                    << "mask \"" << maskText.toStdString() << "\" name \"" << name.toStdString() << "\"";
                const QString mask = masks.Strings(0);
                ASSERT_EQ(MatchOneMask(name, mask), reference::MatchOneMask(name, mask))
                    << "mask \"" << mask.toStdString() << "\" name \"" << name.toStdString() << "\"";
            }
        }
    }
    QLocale::setDefault(saved);
}

// The masks are cut into tokens once and kept: a changed list, or another list, must
// be seen at the next call.
TEST(FileMatches, FollowsAListThatChangesBetweenCalls)
{
    vcl::TStringList texts;
    vcl::TStringList images;
    BuildMask(QStringLiteral("*.txt"), texts);
    BuildMask(QStringLiteral("*.png;*.jpg"), images);
    EXPECT_TRUE(FileMatches(QStringLiteral("a.txt"), &texts));
    EXPECT_FALSE(FileMatches(QStringLiteral("a.txt"), &images));
    EXPECT_TRUE(FileMatches(QStringLiteral("a.txt"), &texts));
    BuildMask(QStringLiteral("*.doc"), texts);
    EXPECT_FALSE(FileMatches(QStringLiteral("a.txt"), &texts));
    texts.SetSorted(false);
    texts.SetStrings(0, QStringLiteral("*.txt"));
    EXPECT_TRUE(FileMatches(QStringLiteral("a.txt"), &texts));
    EXPECT_TRUE(FileMatches(QStringLiteral("b.png"), &images));
    images.SetSorted(false);
    images.SetStrings(1, QStringLiteral("*.gif")); // the mask after one that does not match
    EXPECT_FALSE(FileMatches(QStringLiteral("b.png"), &images));
    images.Delete(0); // "*.jpg" goes, "*.gif" stays
    EXPECT_FALSE(FileMatches(QStringLiteral("b.jpg"), &images));
    EXPECT_TRUE(FileMatches(QStringLiteral("b.gif"), &images));
}

TEST(Units, MasksAndChangeWatchingAreInTheStartUpTable)
{
    QStringList names;
    for (const vcl::TPackageUnitEntry& entry : vcl::GetPackageInfoTable().UnitInfo)
        names << entry.Name;
    EXPECT_TRUE(names.contains(QStringLiteral("Masksearch")));
    EXPECT_TRUE(names.contains(QStringLiteral("Filechange")));
}

} // namespace
