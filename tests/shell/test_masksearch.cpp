// Mask lists from mask texts, and names matched against them, with the matcher's
// deliberate quirks (a name without a dot gets one, a star's first find is kept).
#include "shell/masksearch.h"
#include "vcl/core/unitstartup.h"

#include <gtest/gtest.h>

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

TEST(BuildMask, ReplacesWhatTheListHeld)
{
    vcl::TStringList list;
    list.Add(QStringLiteral("old"));
    BuildMask(QStringLiteral("*.c"), list);
    EXPECT_EQ(list.ToQStringList(), QStringList{QStringLiteral("*.c")});
    EXPECT_TRUE(list.Sorted());
}

TEST(FileMatches, NoListOrAnEmptyOneLetsEveryNamePass)
{
    vcl::TStringList empty;
    EXPECT_TRUE(FileMatches(QStringLiteral("anything.bin"), nullptr));
    EXPECT_TRUE(FileMatches(QStringLiteral("anything.bin"), &empty));
    EXPECT_TRUE(FileMatches(QString(), &empty));
}

struct MatchRow {
    const char* MaskText;
    const char* Name;
    bool Expected;
};

// Worked out by hand from the matching rules.
const MatchRow MatchRows[] = {
    // The empty text: every name.
    {"", "README", true},
    {"", ".hidden", true},
    // Upper-case masks and names.
    {"*.TXT;*.Doc", "README.txt", true},
    {"*.TXT;*.Doc", "LETTER.DOC", true},
    {"*.TXT;*.Doc", "notes.docx", false},
    {"readme.txt", "README.TXT", true},
    // Blanks are part of the mask.
    {"*.txt; *.doc", "a.doc", false},
    {"*.txt; *.doc", "a.txt", true},
    {"*.txt; *.doc", " a.doc", true},
    // Empty masks match nothing, but the others still apply.
    {";", "a.txt", false},
    {";", "makefile", false},
    {"*.txt;;*.doc", "a.doc", true},
    {"*.txt;;*.doc", "a.bmp", false},
    // A name without a dot is tested with one appended.
    {"*.*", "makefile", true},
    {"*.", "makefile", true},
    {"*.txt", "makefile", false},
    {"makefile", "makefile", false},
    {"makefile?", "makefile", true},
    {"*.", "a.txt", false},
    // "?" is exactly one character.
    {"a?c.txt", "abc.txt", true},
    {"a?c.txt", "ac.txt", false},
    {"a?c.txt", "abcd.txt", false},
    {"???", "ab", true},
    {"???", "abc", false},
    {"a???", "a", false},
    // A star before the last literal: the name must end with it.
    {"*.txt", "a.txt", true},
    {"*.txt", ".txt", true},
    {"*.txt", "a.txt.bak", false},
    {"*b", "a.b", true},
    {"*b", "ab", false},
    {"ab*", "abacus.tar.gz", true},
    {"ab*", "xab.c", false},
    // A star before an inner literal takes its first occurrence, never a later one.
    {"*a?c*", "abxaxc", false},
    {"*a?c*", "xxabc", true},
    {"*.t*", "a.b.txt", true},
    {"*a*c.txt", "bac.txt", true},
    // Names beyond ASCII: lower-cased by Unicode's rules, one "?" per character.
    {"ÄRGER*.TXT", "Ärger Brief.txt", true},
    {"?rger.txt", "ärger.txt", true},
    {"?.txt", "\xF0\x9F\x98\x80.txt", true},
    {"??.txt", "\xF0\x9F\x98\x80.txt", false},
    {"*\xF0\x9F\x98\x80", "smile.\xF0\x9F\x98\x80", true},
};

TEST(FileMatches, FollowsTheMatchingRules)
{
    for (const MatchRow& row : MatchRows) {
        vcl::TStringList list;
        BuildMask(QString::fromUtf8(row.MaskText), list);
        EXPECT_EQ(FileMatches(QString::fromUtf8(row.Name), &list), row.Expected)
            << "mask \"" << row.MaskText << "\" name \"" << row.Name << "\"";
    }
}

TEST(MatchOneMask, ComparesExactlyAsGiven)
{
    // FileMatches lower-cases the name; on its own the matcher compares as given.
    EXPECT_FALSE(MatchOneMask(QStringLiteral("README.TXT"), QStringLiteral("*.txt")));
    EXPECT_TRUE(MatchOneMask(QStringLiteral("abc"), QStringLiteral("abc")));
    EXPECT_FALSE(MatchOneMask(QStringLiteral("abc"), QString()));
    EXPECT_FALSE(MatchOneMask(QString(), QString()));
    // "*.*" needs a dot; without one the general rule decides.
    EXPECT_FALSE(MatchOneMask(QStringLiteral("abc"), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchOneMask(QStringLiteral("abc"), QStringLiteral("*")));
    EXPECT_TRUE(MatchOneMask(QStringLiteral("abc"), QStringLiteral("**")));
    EXPECT_TRUE(MatchOneMask(QStringLiteral("abc"), QStringLiteral("*?")));
    EXPECT_FALSE(MatchOneMask(QStringLiteral("ab"), QStringLiteral("abc")));
    EXPECT_FALSE(MatchOneMask(QStringLiteral("abcd"), QStringLiteral("abc")));
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
