#pragma once
// Writes a QTextDocument as Rich Text Format, in the subset the RTF reader reads: text,
// character formatting (bold, italic, underline, strike-out, font, size, colour,
// highlight), paragraph formatting (alignment, indents, spacing, tab stops), tabs and
// line breaks. Images, lists' numbering and table structure are not written; the text
// of list items and table cells is, a paragraph each.
#include <QByteArray>

class QTextDocument;

namespace vcl {

// The output is 7-bit ASCII: characters of code page 1252 as \'hh, all others as \uN
// with "?" for readers that know no Unicode. Every run names its font and size, so the
// text looks the same in a reader whose defaults differ from the document's.
QByteArray WriteRtf(const QTextDocument& Document);

} // namespace vcl
