#include "rtfreader.h"

#include "rtfcodepages.h"
#include "rtfgroupstate.h"
#include "rtfkeywords.h"
#include "rtftokenizer.h"

#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace vcl {

namespace {

using namespace vcl::rtf;

// The largest \ucN honoured: fallbacks are a few bytes, and a huge count would swallow text.
constexpr int MaxUnicodeSkip = 16;
// Half-points beyond this (1638 points) are taken as this.
constexpr int MaxHalfPoints = 3276;
// Tab stops a paragraph keeps, as word processors do; further \tx are ignored.
constexpr qsizetype MaxTabStops = 64;

class TRtfParser {
public:
    explicit TRtfParser(QTextDocument& Document) : FDocument(Document), FCursor(&Document) {}

    TRtfReadResult Parse(QByteArrayView Data);

private:
    bool HandleToken(const TRtfToken& Token);
    bool OpenGroup(qsizetype Offset);
    bool CloseGroup();
    bool ConsumeSkippedToken(const TRtfToken& Token);
    void HandleWord(const TRtfToken& Token);
    bool HandleDocumentWord(TKeyword Word, const TRtfToken& Token);
    void HandleTableWord(TKeyword Word, int Value);
    bool HandleCharWord(TKeyword Word, const TRtfToken& Token);
    bool HandleParaWord(TKeyword Word, int Value);
    void HandleBreakWord(TKeyword Word, const TRtfToken& Token);
    void HandleSymbol(unsigned char Symbol);
    void HandleBytes(QByteArrayView Bytes);
    void HandleTableBytes(QByteArrayView Bytes);
    void HandleHexByte(unsigned char Byte);
    void AppendText(QChar Char);
    void BeginText();
    const QTextCharFormat& FormatOf(const TCharState& Char);
    void CommitFont();
    void EnsureParagraph();
    void EndParagraph();
    void EndDocument();
    void Flush();
    void Fail(qsizetype Offset, const QString& Message);

    QTextDocument& FDocument;
    QTextCursor FCursor;
    TRtfTokenizer* FTokenizer = nullptr;
    TRtfReadResult FResult;
    TDocumentTables FTables;
    std::vector<TGroupState> FStack; // the enclosing groups' states; FState is the innermost
    TGroupState FState;
    int FSkipDepth = 0;             // groups open inside a skipped destination, itself included
    int FFallbackLeft = 0;          // bytes of a \uN fallback still to skip
    bool FParagraphPending = false; // \par ended a paragraph; the next text opens one
    bool FDone = false;
    // The font table entry being read, and the colour table entry.
    int FFontId = 0;
    TFontEntry FFont;
    int FRed = 0, FGreen = 0, FBlue = 0;
    bool FColorGiven = false;
    // Text not yet in the document, all of it formatted as FPendingChar says.
    QString FPending;
    TCharState FPendingChar;
    // The Qt formats of the last few character states: a document uses only a few.
    std::vector<std::pair<TCharState, QTextCharFormat>> FFormats;
};

TRtfReadResult TRtfParser::Parse(QByteArrayView Data)
{
    TRtfTokenizer tokenizer(Data);
    FTokenizer = &tokenizer;
    FCursor.beginEditBlock();
    while (!FDone) {
        const TRtfToken token = tokenizer.Next();
        if (FStack.empty() && token.Type != TRtfToken::GroupStart && token.Type != TRtfToken::End)
            continue; // white space before the root group
        if (token.Type == TRtfToken::End) {
            // Open groups at the end: a truncated file, loaded as far as it goes.
            FResult.truncated = true;
            break;
        }
        FDone = !HandleToken(token);
    }
    if (!FStack.empty())
        EndDocument(); // the data ended, or a fault stopped reading, inside the root group
    FCursor.endEditBlock();
    FResult.ok = FResult.error.isEmpty();
    return FResult;
}

// False when reading ends here.
bool TRtfParser::HandleToken(const TRtfToken& Token)
{
    if (Token.Type == TRtfToken::Error) {
        Fail(Token.Offset, Token.Message);
        return false;
    }
    if (FSkipDepth > 0)
        return ConsumeSkippedToken(Token);
    if (FFallbackLeft > 0 && Token.Type != TRtfToken::GroupStart && Token.Type != TRtfToken::GroupEnd) {
        if (Token.Type != TRtfToken::Text) {
            --FFallbackLeft;
            return true;
        }
        const qsizetype skipped = qMin<qsizetype>(FFallbackLeft, Token.Bytes.size());
        FFallbackLeft -= int(skipped);
        HandleBytes(Token.Bytes.sliced(skipped));
        return true;
    }
    FFallbackLeft = 0;
    switch (Token.Type) {
    case TRtfToken::GroupStart: return OpenGroup(Token.Offset);
    case TRtfToken::GroupEnd: return CloseGroup();
    case TRtfToken::ControlWord: HandleWord(Token); break;
    case TRtfToken::ControlSymbol: HandleSymbol(Token.Byte); break;
    case TRtfToken::HexByte: HandleHexByte(Token.Byte); break;
    case TRtfToken::Text: HandleBytes(Token.Bytes); break;
    default: break;
    }
    return true;
}

bool TRtfParser::OpenGroup(qsizetype Offset)
{
    if (FStack.size() >= size_t(MaxRtfGroupDepth)) {
        Fail(Offset, QStringLiteral("groups are nested deeper than %1 levels").arg(MaxRtfGroupDepth));
        return false;
    }
    FStack.push_back(FState);
    return true;
}

// The root group's end ends the document; anything after it is ignored.
bool TRtfParser::CloseGroup()
{
    if (FState.Destination == TDestination::FontTable)
        CommitFont();
    if (FStack.size() == 1)
        EndDocument();
    FState = FStack.back();
    FStack.pop_back();
    return !FStack.empty();
}

bool TRtfParser::ConsumeSkippedToken(const TRtfToken& Token)
{
    if (Token.Type == TRtfToken::GroupStart) {
        ++FSkipDepth;
    } else if (Token.Type == TRtfToken::GroupEnd) {
        if (--FSkipDepth == 0)
            return CloseGroup();
    } else if (Token.Type == TRtfToken::ControlWord && LookupKeyword(Token.Name) == TKeyword::Binary
               && Token.Parameter > 0) {
        FTokenizer->SkipBinary(Token.Parameter);
    }
    return true;
}

void TRtfParser::HandleWord(const TRtfToken& Token)
{
    const TKeyword word = LookupKeyword(Token.Name);
    if (word == TKeyword::Unknown || HandleDocumentWord(word, Token))
        return;
    const int value = Token.HasParameter ? Token.Parameter : 0;
    if (FState.Destination != TDestination::Text) {
        HandleTableWord(word, value);
        return;
    }
    if (!HandleCharWord(word, Token) && !HandleParaWord(word, value))
        HandleBreakWord(word, Token);
}

// Words that mean the same in every destination.
bool TRtfParser::HandleDocumentWord(TKeyword Word, const TRtfToken& Token)
{
    const int value = Token.HasParameter ? Token.Parameter : 0;
    switch (Word) {
    case TKeyword::CodePageAnsi: FTables.CodePage = DefaultCodePage; return true;
    case TKeyword::CodePageMac: FTables.CodePage = 10000; return true;
    case TKeyword::CodePagePc: FTables.CodePage = 437; return true;
    case TKeyword::CodePagePca: FTables.CodePage = 850; return true;
    case TKeyword::AnsiCodePage: FTables.CodePage = value; return true;
    case TKeyword::DefaultFont: FTables.DefaultFont = value; return true;
    case TKeyword::UnicodeSkip: FState.UnicodeSkip = qBound(0, value, MaxUnicodeSkip); return true;
    case TKeyword::Binary: FTokenizer->SkipBinary(value); return true; // binary data is never text
    case TKeyword::FontTable: FState.Destination = TDestination::FontTable; return true;
    case TKeyword::ColorTable: FState.Destination = TDestination::ColorTable; return true;
    case TKeyword::SkippedDestination: FSkipDepth = 1; return true;
    case TKeyword::Unicode:
        if (FState.Destination == TDestination::FontTable)
            FFont.Name += QChar(char16_t(value));
        else if (FState.Destination == TDestination::Text)
            AppendText(QChar(char16_t(value))); // negative values stand for those above 32767
        FFallbackLeft = FState.UnicodeSkip;
        return true;
    default: return false;
    }
}

// Words inside the font and colour tables.
void TRtfParser::HandleTableWord(TKeyword Word, int Value)
{
    switch (Word) {
    case TKeyword::Font:
        CommitFont();
        FFontId = Value;
        return;
    case TKeyword::Charset: FFont.CodePage = CodePageOfCharset(Value, 0); return;
    case TKeyword::Red: FRed = qBound(0, Value, 255); break;
    case TKeyword::Green: FGreen = qBound(0, Value, 255); break;
    case TKeyword::Blue: FBlue = qBound(0, Value, 255); break;
    default: return;
    }
    FColorGiven = true;
}

bool TRtfParser::HandleCharWord(TKeyword Word, const TRtfToken& Token)
{
    const bool on = !Token.HasParameter || Token.Parameter != 0;
    TCharState& c = FState.Char;
    switch (Word) {
    case TKeyword::Plain: c = TCharState(); return true;
    case TKeyword::Bold: c.Bold = on; return true;
    case TKeyword::Italic: c.Italic = on; return true;
    case TKeyword::Underline: c.Underline = on; return true;
    case TKeyword::UnderlineNone: c.Underline = false; return true;
    case TKeyword::Strike: c.Strike = on; return true;
    case TKeyword::Font: c.Font = Token.Parameter; return true;
    case TKeyword::FontSize:
        if (Token.Parameter > 0) // \fs0 is no size; the size in force stays
            c.HalfPoints = qMin(Token.Parameter, MaxHalfPoints);
        return true;
    case TKeyword::Foreground: c.Foreground = Token.Parameter; return true;
    case TKeyword::Highlight: c.Highlight = Token.Parameter; return true;
    default: return false;
    }
}

bool TRtfParser::HandleParaWord(TKeyword Word, int Value)
{
    TParaState& p = FState.Para;
    const auto addTab = [&](QTextOption::TabType Type) {
        if (p.Tabs.size() < MaxTabStops)
            p.Tabs.append(QTextOption::Tab(Value / TwipsPerPixel, Type));
        p.NextTabType = QTextOption::LeftTab;
    };
    switch (Word) {
    case TKeyword::ParagraphDefault: p = TParaState(); return true;
    case TKeyword::AlignLeft: p.Alignment = Qt::AlignLeft; return true;
    case TKeyword::AlignRight: p.Alignment = Qt::AlignRight; return true;
    case TKeyword::AlignCenter: p.Alignment = Qt::AlignHCenter; return true;
    case TKeyword::AlignJustify: p.Alignment = Qt::AlignJustify; return true;
    case TKeyword::LeftIndent: p.LeftTwips = Value; return true;
    case TKeyword::RightIndent: p.RightTwips = Value; return true;
    case TKeyword::FirstIndent: p.FirstLineTwips = Value; return true;
    case TKeyword::SpaceBefore: p.BeforeTwips = Value; return true;
    case TKeyword::SpaceAfter: p.AfterTwips = Value; return true;
    case TKeyword::TabStop: addTab(p.NextTabType); return true;
    case TKeyword::TabRight: p.NextTabType = QTextOption::RightTab; return true;
    case TKeyword::TabCenter: p.NextTabType = QTextOption::CenterTab; return true;
    case TKeyword::TabDecimal: p.NextTabType = QTextOption::DelimiterTab; return true;
    default: return false;
    }
}

void TRtfParser::HandleBreakWord(TKeyword Word, const TRtfToken& Token)
{
    switch (Word) {
    case TKeyword::Paragraph:
    case TKeyword::Row: EndParagraph(); break;
    case TKeyword::Line: AppendText(QChar::LineSeparator); break;
    case TKeyword::Tab:
    case TKeyword::Cell: AppendText(QLatin1Char('\t')); break;
    case TKeyword::Character: AppendText(QChar(KeywordCharacter(Token.Name))); break;
    default: break;
    }
}

void TRtfParser::HandleSymbol(unsigned char Symbol)
{
    switch (Symbol) {
    case '*': // the group is a destination this reader may not know: skip it
        FSkipDepth = 1;
        break;
    case '\\':
    case '{':
    case '}': HandleBytes(QByteArrayView(&Symbol, 1)); break;
    case '~': AppendText(QChar::Nbsp); break;
    case '-': AppendText(QChar::SoftHyphen); break;
    case '_': AppendText(QChar(u'\u2011')); break;
    case '\t': AppendText(QLatin1Char('\t')); break;
    case '\n':
    case '\r': EndParagraph(); break;
    default: break;
    }
}

void TRtfParser::HandleBytes(QByteArrayView Bytes)
{
    if (FState.Destination != TDestination::Text) {
        HandleTableBytes(Bytes);
        return;
    }
    if (Bytes.isEmpty())
        return;
    const int codePage = FTables.CodePageOf(FState.Char);
    BeginText();
    FPending.reserve(FPending.size() + Bytes.size());
    for (const char byte : Bytes) {
        // No single-byte page gives a paragraph separator or a document marker.
        const char16_t c = DecodeByte(codePage, static_cast<unsigned char>(byte));
        if (c >= 0x20 || c == u'\t')
            FPending += QChar(c);
    }
}

// In the tables a ';' ends each entry.
void TRtfParser::HandleTableBytes(QByteArrayView Bytes)
{
    for (const char byte : Bytes) {
        if (FState.Destination == TDestination::FontTable) {
            if (byte == ';')
                CommitFont();
            else
                HandleHexByte(static_cast<unsigned char>(byte));
        } else if (byte == ';') {
            FTables.Colors.append(FColorGiven ? QColor(FRed, FGreen, FBlue) : QColor());
            FFormats.clear();
            FRed = FGreen = FBlue = 0;
            FColorGiven = false;
        }
    }
}

// An escaped byte is always part of the text, also a ';' in a font's name.
void TRtfParser::HandleHexByte(unsigned char Byte)
{
    if (FState.Destination == TDestination::FontTable)
        FFont.Name += QChar(DecodeByte(FFont.CodePage ? FFont.CodePage : FTables.CodePage, Byte));
    else
        HandleBytes(QByteArrayView(&Byte, 1));
}

void TRtfParser::CommitFont()
{
    const QString name = FFont.Name.trimmed();
    if (!name.isEmpty()) {
        FTables.Fonts.insert(FFontId, TFontEntry{name, FFont.CodePage});
        FFormats.clear();
    }
    FFont = TFontEntry();
}

// Control characters and the document's own markers (objects, frames) are not text; a
// paragraph separator given as \u8233 is a paragraph's end.
void TRtfParser::AppendText(QChar Char)
{
    const char16_t c = Char.unicode();
    if ((c < 0x20 && c != u'\t') || c == QChar::ObjectReplacementCharacter || c == 0xFDD0 || c == 0xFDD1)
        return;
    if (c == QChar::ParagraphSeparator) {
        EndParagraph();
        return;
    }
    BeginText();
    FPending += Char;
}

// Text formatted otherwise than the pending text goes into the document first.
void TRtfParser::BeginText()
{
    EnsureParagraph();
    if (!FPending.isEmpty() && !(FPendingChar == FState.Char))
        Flush();
    if (FPending.isEmpty())
        FPendingChar = FState.Char;
}

void TRtfParser::EnsureParagraph()
{
    if (!FParagraphPending)
        return;
    FParagraphPending = false;
    FCursor.insertBlock(QTextBlockFormat(), FormatOf(FState.Char));
}

// The paragraph formatting in force at \par is that paragraph's.
void TRtfParser::EndParagraph()
{
    Flush();
    EnsureParagraph();
    FCursor.setBlockFormat(BlockFormat(FState.Para));
    FCursor.setBlockCharFormat(FormatOf(FState.Char));
    FParagraphPending = true;
}

// The last paragraph takes the formatting in force at the end, as if a \par followed.
void TRtfParser::EndDocument()
{
    Flush();
    if (!FParagraphPending)
        FCursor.setBlockFormat(BlockFormat(FState.Para));
}

void TRtfParser::Flush()
{
    if (FPending.isEmpty())
        return;
    FCursor.insertText(FPending, FormatOf(FPendingChar));
    FPending.clear();
}

const QTextCharFormat& TRtfParser::FormatOf(const TCharState& Char)
{
    constexpr size_t CachedFormats = 16;
    for (const auto& [state, format] : FFormats)
        if (state == Char)
            return format;
    if (FFormats.size() == CachedFormats)
        FFormats.erase(FFormats.begin());
    FFormats.emplace_back(Char, FTables.CharFormat(Char));
    return FFormats.back().second;
}

void TRtfParser::Fail(qsizetype Offset, const QString& Message)
{
    FResult.error = QStringLiteral("%1 at byte %2").arg(Message).arg(Offset);
    FResult.errorOffset = Offset;
}

} // namespace

bool IsRtf(QByteArrayView Data)
{
    qsizetype i = 0;
    while (i < Data.size() && (Data[i] == ' ' || Data[i] == '\t' || Data[i] == '\r' || Data[i] == '\n'))
        ++i;
    return Data.sliced(i).startsWith("{\\rtf");
}

TRtfReadResult ReadRtf(QByteArrayView Data, QTextDocument& Document)
{
    if (!IsRtf(Data)) {
        TRtfReadResult result;
        result.error = QStringLiteral("the data is not RTF: it does not start with {\\rtf");
        result.errorOffset = 0;
        return result;
    }
    const bool undo = Document.isUndoRedoEnabled();
    Document.setUndoRedoEnabled(false); // a loaded file starts a new history
    Document.clear();
    TRtfReadResult result = TRtfParser(Document).Parse(Data);
    Document.setUndoRedoEnabled(undo);
    return result;
}

} // namespace vcl
