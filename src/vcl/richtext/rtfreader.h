#pragma once
// Reads Rich Text Format into a QTextDocument: text, character formatting (bold, italic,
// underline, strike-out, font, size, colour, highlight), paragraph formatting (alignment,
// indents, spacing, tab stops), tabs and line breaks. Pictures, fields' instructions,
// headers, footers, footnotes, styles and every destination marked \* are skipped;
// tables keep their text, a tab after each cell and a paragraph after each row.
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace vcl {

struct TRtfReadResult {
    bool ok = false;
    QString error;             // why the data could not be read in full; empty when ok
    qsizetype errorOffset = -1; // the byte where the fault starts; -1 when ok
    // The data ended inside open groups (a truncated file): everything up to the end is
    // loaded and ok is true.
    bool truncated = false;
};

// Groups nested deeper than this are refused (no real file comes near it); the groups
// are kept on a list, not the call stack, so any depth up to it is safe.
constexpr int MaxRtfGroupDepth = 10000;

// Replaces Document's content by the RTF in Data. Data that does not start with "{\rtf"
// is refused and leaves Document unchanged. Malformed markup further on (a control word
// longer than 32 letters, a number longer than 10 digits, a broken \'hh, nesting deeper
// than MaxRtfGroupDepth) stops reading: the result says what and where, and Document
// keeps the text read before it. Document's undo history is cleared.
TRtfReadResult ReadRtf(QByteArrayView Data, QTextDocument& Document);

// True when Data starts as an RTF file does ("{\rtf", after any white space).
bool IsRtf(QByteArrayView Data);

} // namespace vcl
