// The RTF writer: what it writes reads back to the same paragraphs and runs, with the
// document's default font resolved, and its bytes are plain ASCII a reader of any age
// takes in (escapes checked against the code page 1252 and UTF-16 values by hand).
#include "richtextruns.h"
#include "vcl/richtext/rtfreader.h"
#include "vcl/richtext/rtfwriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

using qvtest::Paragraphs;
using qvtest::Runs;
using qvtest::TRun;

// The runs with the document's font filled in where they give none.
std::vector<TRun> Resolved(const QTextDocument& Document)
{
    std::vector<TRun> runs = Runs(Document);
    for (TRun& run : runs) {
        if (run.Family.isEmpty())
            run.Family = Document.defaultFont().family();
        if (run.Points == 0)
            run.Points = Document.defaultFont().pointSizeF();
    }
    return runs;
}

void ExpectRoundTrip(const QTextDocument& Original)
{
    const QByteArray rtf = vcl::WriteRtf(Original);
    QTextDocument again;
    const vcl::TRtfReadResult result = vcl::ReadRtf(rtf, again);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(again.toRawText(), Original.toRawText());
    EXPECT_EQ(Resolved(again), Resolved(Original));
    EXPECT_EQ(Paragraphs(again), Paragraphs(Original));
    for (const char c : rtf)
        ASSERT_TRUE(c > 0 && c < 0x7F) << "a byte outside 7-bit ASCII: " << int(c);
}

QTextCharFormat Format(const QString& Family, double Points, void (*Style)(QTextCharFormat&) = nullptr)
{
    QTextCharFormat format;
    if (!Family.isEmpty())
        format.setFontFamilies({Family});
    if (Points > 0)
        format.setFontPointSize(Points);
    if (Style)
        Style(format);
    return format;
}

TEST(RtfWriter, FormattedDocumentRoundTrips)
{
    QTextDocument document;
    document.setDefaultFont(QFont("DejaVu Sans", 11));
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(48);
    centred.setRightMargin(24);
    centred.setTextIndent(-16);
    centred.setTopMargin(8);
    centred.setBottomMargin(4);
    centred.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab), QTextOption::Tab(200, QTextOption::RightTab)});
    cursor.setBlockFormat(centred);
    cursor.insertText("plain ", Format({}, 0));
    cursor.insertText("bold", Format("DejaVu Serif", 14.5, [](QTextCharFormat& F) { F.setFontWeight(QFont::Bold); }));
    cursor.insertText(" italic", Format({}, 9, [](QTextCharFormat& F) { F.setFontItalic(true); }));
    cursor.insertText(" under", Format("Odd;Name", 0, [](QTextCharFormat& F) { F.setFontUnderline(true); }));
    cursor.insertText(" struck", Format({}, 0, [](QTextCharFormat& F) { F.setFontStrikeOut(true); }));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    cursor.insertText("red on yellow", Format({}, 0, [](QTextCharFormat& F) {
                          F.setForeground(QColor(200, 0, 0));
                          F.setBackground(QColor(255, 255, 0));
                      }));
    cursor.insertBlock(QTextBlockFormat()); // an empty paragraph in the middle
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QString::fromUtf8("{braces} \\ tab\there\u2028next caf\u00E9 \u20AC \u0416 \U0001F600 "
                                        "\u00A0nbsp soft\u00ADhyphen non\u2011breaking"),
                      Format({}, 0));
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(justified); // an empty last paragraph
    ExpectRoundTrip(document);
}

TEST(RtfWriter, HtmlEmptyAndPlainDocumentsRoundTrip)
{
    QTextDocument document;
    document.setHtml("<p align=center><b>Title</b></p><p>Some <i>italic</i>, <u>underlined</u> and "
                     "<span style='color:#0000ff; background-color:#00ff00'>coloured</span> text.</p>"
                     "<p style='margin-left:30px'><span style='font-size:20pt'>big</span></p>");
    ExpectRoundTrip(document);

    // Empty and plain documents round-trip too.
    for (const char* text : {"", "one", "\n", "a\n\nb\n", "\n\n"}) {
        SCOPED_TRACE(text);
        QTextDocument document;
        document.setPlainText(text);
        ExpectRoundTrip(document);
    }
}

TEST(RtfWriter, Escapes)
{
    struct Escape {
        QString Text;
        const char* Written;
    };
    // é is 0xE9 and € 0x80 in code page 1252; Ж (U+0416 = 1046) is not in it; U+1F600 is
    // the surrogates D83D DE00, as signed 16-bit numbers -10179 and -8704.
    const Escape cases[] = {
        {"caf\u00E9", "caf\\'e9"}, {"\u20AC", "\\'80"},      {"\u0416", "\\u1046?"},
        {"\U0001F600", "\\u-10179?\\u-8704?"}, {"{a}\\", "\\{a\\}\\\\"}, {"a\tb", "a\\tab b"},
        {"a\u2028b", "a\\line b"},
    };
    for (const Escape& c : cases) {
        SCOPED_TRACE(c.Written);
        QTextDocument document;
        document.setPlainText(c.Text);
        EXPECT_TRUE(vcl::WriteRtf(document).contains(c.Written)) << vcl::WriteRtf(document).toStdString();
    }
}

} // namespace
