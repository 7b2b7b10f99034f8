// The RTF reader on hand-written files: the expected text and formatting are read off
// the markup by hand; broken files must load what precedes the fault or report it.
#include "richtextruns.h"
#include "vcl/richtext/rtfreader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

using qvtest::Paragraphs;
using qvtest::Run;
using qvtest::Runs;
using qvtest::TRun;

// Between paragraphs toRawText gives U+2029; \line gives U+2028.
const QString Par = QString(QChar::ParagraphSeparator);

QString ReadText(const QByteArray& Rtf)
{
    QTextDocument document;
    const vcl::TRtfReadResult result = vcl::ReadRtf(Rtf, document);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    return document.toRawText();
}

struct TextCase {
    const char* Rtf;
    QString Text;
};

TEST(RtfReader, Text)
{
    const TextCase cases[] = {
        {"{\\rtf1\\ansi Hello world}", "Hello world"},
        {"{\\rtf1 a\r\nb\nc}", "abc"}, // line ends are not text
        {"{\\rtf1 a\\par b}", "a" + Par + "b"},
        {"{\\rtf1 a\\par}", "a"},                  // the last \par closes a paragraph, opens none
        {"{\\rtf1 a\\par\\par}", "a" + Par},       // but an empty paragraph before it stays
        {"{\\rtf1 a\\tab b\\line c}", "a\tb\u2028c"},
        {"{\\rtf1 \\{\\}\\\\}", "{}\\"},
        {"{\\rtf1 \\~\\-\\_}", "\u00A0\u00AD\u2011"},
        {"{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}", "\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
        // Code pages: 1252 by default (0x80 is the euro, not a C1 control), or as named.
        {"{\\rtf1\\ansi caf\\'e9 \\'80}", "caf\u00E9 \u20AC"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "\u041F\u0440\u0438"},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f1 \\'cf\\f0 \\'cf}", "\u041F\u00CF"},
        {"{\\rtf1\\mac \\'8e}", "\u00E9"},
        {"{\\rtf1\\pc \\'82}", "\u00E9"},
        {"{\\rtf1\\ansi caf\xe9}", "caf\u00E9"}, // raw 8-bit bytes too
        // \uN and the fallback after it: \ucN bytes, a \'hh or a control word counting as one.
        {"{\\rtf1 \\u8364?x}", "\u20ACx"},
        {"{\\rtf1 \\uc2\\u8364??x}", "\u20ACx"},
        {"{\\rtf1 \\uc0\\u233 x}", "\u00E9x"},
        {"{\\rtf1 \\u233\\'e9x}", "\u00E9x"},
        {"{\\rtf1 {\\uc3\\u233}abc}", "\u00E9abc"}, // the group's end ends the fallback
        {"{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        {"{\\rtf1 \\uc99999\\u233 abcdefghijklmnopqrstuvwxyz}", "\u00E9qrstuvwxyz"}, // at most 16
        // Destinations that hold no document text.
        {"{\\rtf1{\\*\\unknown secret}shown}", "shown"},
        {"{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}body}", "body"},
        {"{\\rtf1{\\pict\\pngblip 89504e47{\\x}}after}", "after"},
        {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
        {"{\\rtf1{\\footer page}{\\header top}body}", "body"},
        {"{\\rtf1{\\*\\x \\bin3 }}{ y}z}", "z"}, // \bin data inside a skipped group hides a brace
        {"{\\rtf1 a\\bin3 }{b c}", "a c"},
        // Tables keep their text.
        {"{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row after}", "a\tb\t" + Par + "after"},
        {"  \r\n{\\rtf1 a}junk}", "a"}, // white space before, anything after the root group
        {"{\\rtf1 a}}b", "a"},
        {"{\\rtf1}", ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.Rtf);
        EXPECT_EQ(ReadText(c.Rtf), c.Text);
    }
    // A NUL byte inside the text is dropped.
    EXPECT_EQ(ReadText(QByteArray("{\\rtf1 a\0b}", 11)), "ab");
}

TRun Styled(int Block, const QString& Text, const QString& Family, double Points, void (*Style)(TRun&) = nullptr)
{
    TRun run = Run(Block, Text);
    run.Family = Family;
    run.Points = Points;
    if (Style)
        Style(run);
    return run;
}

TEST(RtfReader, CharacterFormattingRunsAndColourIndexesOutsideTheTable)
{
    QTextDocument document;
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                             "\\f0\\fs20 a{\\b b}{\\i\\f1 c}{\\ul d\\ul0 e}{\\strike f}{\\cf1 g}{\\highlight2 h}"
                             "{\\b\\b0 j}{\\ul k\\ulnone l}\\plain i}",
                             document)
                    .ok);
    const QString arial = "Arial";
    const std::vector<TRun> expected{
        Styled(0, "a", arial, 10),
        Styled(0, "b", arial, 10, [](TRun& R) { R.Bold = true; }),
        Styled(0, "c", "Courier New", 10, [](TRun& R) { R.Italic = true; }),
        Styled(0, "d", arial, 10, [](TRun& R) { R.Underline = true; }),
        Styled(0, "e", arial, 10),
        Styled(0, "f", arial, 10, [](TRun& R) { R.Strike = true; }),
        Styled(0, "g", arial, 10, [](TRun& R) { R.Foreground = Qt::red; }),
        Styled(0, "h", arial, 10, [](TRun& R) { R.Background = Qt::blue; }),
        Styled(0, "j", arial, 10),
        Styled(0, "k", arial, 10, [](TRun& R) { R.Underline = true; }),
        Styled(0, "l", arial, 10),
        Styled(0, "i", arial, 12), // \plain: the default font (\deff0) at 12 points
    };
    EXPECT_EQ(Runs(document), expected);

    // Entry 0 is the automatic colour; \cf5 names no entry; a colour without a ';' is no entry.
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1{\\colortbl;\\red0\\green128\\blue0;\\red9}{\\cf0 a}{\\cf1 b}{\\cf5 c}{\\cf2 d}}", document).ok);
    const std::vector<TRun> runs = Runs(document);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_FALSE(runs[0].Foreground.isValid());
    EXPECT_EQ(runs[1].Text, "b");
    EXPECT_EQ(runs[1].Foreground, QColor(0, 128, 0));
    EXPECT_EQ(runs[2].Text, "cd");
    EXPECT_FALSE(runs[2].Foreground.isValid());
}

TEST(RtfReader, ParagraphFormatting)
{
    QTextDocument document;
    // Pixels are twips / 15 (1440 twips an inch, 96 pixels an inch).
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1\\pard\\qc\\li720\\ri360\\fi-360\\sb240\\sa120 centred\\par "
                             "still\\par\\pard\\qr right\\par"
                             "\\pard\\qj\\tx1440\\tqr\\tx2880 justified\\par"
                             "{\\pard\\qc grouped\\par}after}",
                             document)
                    .ok);
    const auto paragraphs = Paragraphs(document);
    ASSERT_EQ(paragraphs.size(), 6u);
    const qvtest::TParagraph centred{"centred", Qt::AlignHCenter, 48, 24, -24, 16, 8, {}};
    EXPECT_EQ(paragraphs[0], centred);
    EXPECT_EQ(paragraphs[1].Alignment, Qt::AlignHCenter); // no \pard: the formatting stays
    EXPECT_EQ(paragraphs[1].Left, 48);
    EXPECT_EQ(paragraphs[2], (qvtest::TParagraph{"right", Qt::AlignRight, 0, 0, 0, 0, 0, {}}));
    EXPECT_EQ(paragraphs[3], (qvtest::TParagraph{"justified", Qt::AlignJustify, 0, 0, 0, 0, 0, {96, 192}}));
    EXPECT_EQ(document.findBlockByNumber(3).blockFormat().tabPositions().at(1).type, QTextOption::RightTab);
    EXPECT_EQ(paragraphs[4].Alignment, Qt::AlignHCenter);
    EXPECT_EQ(paragraphs[5].Alignment, Qt::AlignJustify); // the group's \pard ended with it
}

TEST(RtfReader, ReplacesContentAndHistory)
{
    QTextDocument document;
    QTextCursor(&document).insertText("old");
    ASSERT_TRUE(document.isUndoAvailable());
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1 new}", document).ok);
    EXPECT_EQ(document.toRawText(), "new");
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

struct BadCase {
    const char* Name;
    QByteArray Rtf;
    QString Text;       // what the document holds afterwards
    const char* Error;  // a part of the message; nullptr: read in full
    qsizetype Offset;   // the fault's byte; -1 for none
    bool Truncated;
};

QByteArray Nested(const QByteArray& Head, int Depth, const QByteArray& Inner, const QByteArray& Tail)
{
    return Head + QByteArray(Depth, '{') + Inner + QByteArray(Depth, '}') + Tail;
}

TEST(RtfReader, BadInput)
{
    const QByteArray longWord(1000, 'a');
    const BadCase cases[] = {
        {"control word of 1000 letters", "{\\rtf1 before \\" + longWord + " after}", "before ", "longer than 32 letters", 14, false},
        {"control word of 33 letters", "{\\rtf1 x\\" + QByteArray(33, 'q') + " y}", "x", "longer than 32 letters", 8, false},
        {"control word of 32 letters", "{\\rtf1 x\\" + QByteArray(32, 'q') + " y}", "xy", nullptr, -1, false},
        {"number of 100 digits", "{\\rtf1 x\\fs" + QByteArray(100, '9') + " y}", "x", "longer than 10 digits", 8, false},
        {"number of 11 digits", "{\\rtf1 x\\fs-" + QByteArray(11, '1') + " y}", "x", "longer than 10 digits", 8, false},
        {"broken hex escape", "{\\rtf1 a\\'zq b}", "a", "two hexadecimal digits", 8, false},
        {"hex escape cut short", "{\\rtf1 a\\'e", "a", "two hexadecimal digits", 8, false},
        {"nesting 100,000 deep", Nested("{\\rtf1 start", 100000, "x", "}"), "start", "deeper than 10000 levels",
         12 + 9999, false},
        {"nesting just inside the limit", Nested("{\\rtf1 ", 9999, "x", "}"), "x", nullptr, -1, false},
        {"nesting 100,000 deep in a skipped group", Nested("{\\rtf1{\\*\\x", 100000, "x", "}y}"), "y", nullptr, -1, false},
        {"truncated in a group", "{\\rtf1 a\\par{\\b bold", "a" + Par + "bold", nullptr, -1, true},
        {"truncated in a word", "{\\rtf1 ab\\par cd\\fs", "ab" + Par + "cd", nullptr, -1, true},
        {"truncated after a backslash", "{\\rtf1 ab\\", "ab", nullptr, -1, true},
        {"truncated in \\bin data", "{\\rtf1 a\\bin99999 xyz}", "a", nullptr, -1, true},
        {"only the signature", "{\\rtf", "", nullptr, -1, true},
        {"too many closing braces", "{\\rtf1 a}}}b", "a", nullptr, -1, false},
        {"not RTF", "hello", "kept", "not RTF", 0, false},
        {"empty", "", "kept", "not RTF", 0, false},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTextDocument document;
        document.setPlainText("kept");
        const vcl::TRtfReadResult result = vcl::ReadRtf(c.Rtf, document);
        EXPECT_EQ(document.toRawText(), c.Text);
        EXPECT_EQ(result.ok, c.Error == nullptr);
        EXPECT_EQ(result.errorOffset, c.Offset);
        EXPECT_EQ(result.truncated, c.Truncated);
        if (c.Error) {
            EXPECT_TRUE(result.error.contains(QLatin1String(c.Error))) << result.error.toStdString();
            EXPECT_TRUE(result.error.contains(QStringLiteral("at byte %1").arg(c.Offset)) || c.Offset == 0)
                << result.error.toStdString();
        } else {
            EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        }
    }
}

TEST(RtfReader, NumbersSizesAndTabStopsAreBoundedAndIsRtfSkipsOnlyWhiteSpace)
{
    QTextDocument document;
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1 {\\fs9999999999 a}{\\fs0 b}{\\fs-4 c}}", document).ok);
    const auto runs = Runs(document);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Points, 1638); // the largest size, 3276 half-points
    EXPECT_EQ(runs[1].Text, "bc");   // a size of 0 or less leaves 12 points
    EXPECT_EQ(runs[1].Points, 12);
    // A paragraph keeps at most 64 tab stops.
    ASSERT_TRUE(vcl::ReadRtf("{\\rtf1 " + QByteArray("\\tx15").repeated(100) + " a\\par}", document).ok);
    EXPECT_EQ(Paragraphs(document).at(0).Tabs.size(), 64u);

    // IsRtf looks past leading white space only.
    EXPECT_TRUE(vcl::IsRtf("{\\rtf1"));
    EXPECT_TRUE(vcl::IsRtf(" \r\n\t{\\rtf"));
    EXPECT_FALSE(vcl::IsRtf("{\\rt"));
    EXPECT_FALSE(vcl::IsRtf("x{\\rtf1"));
}

} // namespace
