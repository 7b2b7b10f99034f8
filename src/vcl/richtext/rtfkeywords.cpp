#include "rtfkeywords.h"

#include <string_view>
#include <unordered_map>

namespace vcl::rtf {

namespace {

std::string_view View(QByteArrayView Name) { return {Name.data(), size_t(Name.size())}; }

const std::unordered_map<std::string_view, TKeyword>& Keywords()
{
    using K = TKeyword;
    static const std::unordered_map<std::string_view, TKeyword> keywords{
        {"ansi", K::CodePageAnsi}, {"mac", K::CodePageMac}, {"pc", K::CodePagePc}, {"pca", K::CodePagePca},
        {"ansicpg", K::AnsiCodePage}, {"deff", K::DefaultFont}, {"uc", K::UnicodeSkip}, {"u", K::Unicode},
        {"bin", K::Binary}, {"fonttbl", K::FontTable}, {"colortbl", K::ColorTable},
        // Destinations whose text is not document text: document information, styles,
        // lists, pictures, headers and footers, field instructions, revision tables.
        {"info", K::SkippedDestination}, {"stylesheet", K::SkippedDestination},
        {"listtable", K::SkippedDestination}, {"listoverridetable", K::SkippedDestination},
        {"pict", K::SkippedDestination}, {"object", K::SkippedDestination}, {"fldinst", K::SkippedDestination},
        {"header", K::SkippedDestination}, {"headerl", K::SkippedDestination}, {"headerr", K::SkippedDestination},
        {"headerf", K::SkippedDestination}, {"footer", K::SkippedDestination}, {"footerl", K::SkippedDestination},
        {"footerr", K::SkippedDestination}, {"footerf", K::SkippedDestination}, {"footnote", K::SkippedDestination},
        {"revtbl", K::SkippedDestination}, {"rsidtbl", K::SkippedDestination}, {"filetbl", K::SkippedDestination},
        {"xmlnstbl", K::SkippedDestination}, {"generator", K::SkippedDestination},
        {"nonshppict", K::SkippedDestination}, {"shppict", K::SkippedDestination},
        {"f", K::Font}, {"fcharset", K::Charset}, {"red", K::Red}, {"green", K::Green}, {"blue", K::Blue},
        {"plain", K::Plain}, {"b", K::Bold}, {"i", K::Italic}, {"ul", K::Underline}, {"uld", K::Underline},
        {"uldb", K::Underline}, {"uldash", K::Underline}, {"ulth", K::Underline}, {"ulw", K::Underline},
        {"ulwave", K::Underline}, {"ulnone", K::UnderlineNone}, {"strike", K::Strike}, {"striked", K::Strike},
        {"fs", K::FontSize}, {"cf", K::Foreground}, {"highlight", K::Highlight}, {"cb", K::Highlight},
        {"chcbpat", K::Highlight}, {"pard", K::ParagraphDefault}, {"ql", K::AlignLeft}, {"qr", K::AlignRight},
        {"qc", K::AlignCenter}, {"qj", K::AlignJustify}, {"li", K::LeftIndent}, {"lin", K::LeftIndent},
        {"ri", K::RightIndent}, {"rin", K::RightIndent}, {"fi", K::FirstIndent}, {"sb", K::SpaceBefore},
        {"sa", K::SpaceAfter}, {"tx", K::TabStop}, {"tqr", K::TabRight}, {"tqc", K::TabCenter},
        {"tqdec", K::TabDecimal}, {"par", K::Paragraph}, {"sect", K::Paragraph}, {"page", K::Paragraph},
        {"line", K::Line}, {"tab", K::Tab}, {"cell", K::Cell}, {"nestcell", K::Cell}, {"row", K::Row},
        {"nestrow", K::Row}, {"emdash", K::Character}, {"endash", K::Character}, {"bullet", K::Character},
        {"lquote", K::Character}, {"rquote", K::Character}, {"ldblquote", K::Character},
        {"rdblquote", K::Character}, {"emspace", K::Character}, {"enspace", K::Character},
        {"qmspace", K::Character}, {"zwj", K::Character}, {"zwnj", K::Character},
    };
    return keywords;
}

} // namespace

TKeyword LookupKeyword(QByteArrayView Name)
{
    const auto found = Keywords().find(View(Name));
    return found == Keywords().end() ? TKeyword::Unknown : found->second;
}

char16_t KeywordCharacter(QByteArrayView Name)
{
    static const std::unordered_map<std::string_view, char16_t> characters{
        {"emdash", u'\u2014'},    {"endash", u'\u2013'},    {"bullet", u'\u2022'}, {"lquote", u'\u2018'},
        {"rquote", u'\u2019'},    {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'},
        {"enspace", u'\u2002'},   {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},    {"zwnj", u'\u200C'},
    };
    const auto found = characters.find(View(Name));
    return found == characters.end() ? u'\uFFFD' : found->second;
}

} // namespace vcl::rtf
