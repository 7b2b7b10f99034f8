#pragma once
// The control words the RTF reader acts on, looked up by name.
#include <QByteArrayView>

namespace vcl::rtf {

enum class TKeyword {
    Unknown,
    // Document
    CodePageAnsi, CodePageMac, CodePagePc, CodePagePca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode, Binary,
    // Destinations
    FontTable, ColorTable, SkippedDestination,
    // Font and colour table entries
    Font, Charset, Red, Green, Blue,
    // Character formatting
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Foreground, Highlight,
    // Paragraph formatting
    ParagraphDefault, AlignLeft, AlignRight, AlignCenter, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, TabStop, TabRight, TabCenter, TabDecimal,
    // Breaks and special characters
    Paragraph, Line, Tab, Cell, Row,
    Character, // a word that stands for one character (\emdash, \bullet...); see KeywordCharacter
};

TKeyword LookupKeyword(QByteArrayView Name);
// The character a TKeyword::Character word stands for.
char16_t KeywordCharacter(QByteArrayView Name);

} // namespace vcl::rtf
