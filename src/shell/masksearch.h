#pragma once
// File masks: a ";"-separated mask text turned into a list of masks, and file names
// tested against such a list with the wildcards "*" (any run of characters, also
// none) and "?" (exactly one character).
#include "vcl/core/strings.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace Masksearch {

// Fills List (which the caller owns) with the masks of MaskText, lower-cased and
// sorted. Nothing is trimmed: blanks stay part of a mask, and two adjacent ";"
// give an empty mask, which matches nothing. An empty text gives the single mask
// "*".
void BuildMask(const QString& MaskText, vcl::TStringList& List);

// True when FileName matches at least one mask of List, or when List is null or
// empty. The name is compared in lower case, and a name without a "." is tested
// with one appended (makefile is tested as "makefile.", so "*." finds names
// without an extension). The masks are cut into tokens once and kept for the next
// call with the same masks, so testing many plain ASCII names allocates nothing
// (other names are lower-cased by the locale's full rules, into a new string).
bool FileMatches(const QString& FileName, const vcl::TStrings* List);

// The matcher FileMatches uses for one name and one mask, both already in lower
// case; comparisons are exact. A "*" takes the first place where the text after it
// occurs and never tries a later one, so "*a?c*" does not match "abxaxc.".
bool MatchOneMask(const QString& Name, const QString& Mask);

// One piece of a mask: "?", "*", or a run of other characters (a view into the mask).
struct MaskToken {
    // "?", "*", a run of characters, or the run that ends the mask.
    enum class Kind : uint8_t { AnyOne, AnyRun, Literal, LastLiteral };
    Kind Type; // What the token stands for.
    QStringView Text; // The token's characters in the mask (the wildcard itself for "?" and "*").
};

// The masks of a list cut into tokens once, for testing many names against them.
class TMaskMatcher {
public:
    // Cuts the masks of List into tokens; the matcher keeps its own copy of them.
    explicit TMaskMatcher(const vcl::TStrings& List);
    // FileMatches against the list this matcher was built from.
    bool Matches(const QString& FileName) const;
    // Matches, checking just before each mask is tested that List still holds it
    // (so only the masks the answer needs are read); empty when List no longer holds
    // the masks this matcher was built from.
    std::optional<bool> MatchesWhileBuiltFrom(const QString& FileName, const vcl::TStrings& List) const;

private:
    std::optional<bool> Match(const QString& FileName, const vcl::TStrings* List) const;

    struct MaskRange {
        size_t First;
        size_t Count;
    };
    QStringList FMasks; // keeps the tokens' text alive
    std::vector<MaskToken> FTokens;
    std::vector<MaskRange> FRanges;
};

} // namespace Masksearch
