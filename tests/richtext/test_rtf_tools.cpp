// RTF written by independent programs Debian ships (pandoc, enscript, latex2rtf) read by
// our reader, checked against what the sources the test writes say; and RTF written by
// our writer read by unrtf, which must find the same text.
#include "richtextruns.h"
#include "support/prerequisite.h"
#include "support/programrun.h"
#include "support/testsupport.h"
#include "vcl/richtext/rtfreader.h"
#include "vcl/richtext/rtfwriter.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <map>

namespace {

using qvtest::Paragraphs;
using qvtest::Runs;
using qvtest::TRun;

const QString Par = QString(QChar::ParagraphSeparator);

// Ends the test when the program Tool is not installed (a failure under ./qv test).
#define REQUIRE_TOOL(Tool)                                                                                        \
    if (QStandardPaths::findExecutable(Tool).isEmpty())                                                          \
    QV_PREREQUISITE_MISSING(Tool " (the Debian package of that name, installed by ./qv setup)")

class RtfTools : public ::testing::Test {
protected:
    // Runs Tool with Arguments (where "%in" and "%out" stand for the input and output
    // files) on Source, and reads the RTF it writes into FDocument.
    void Convert(const char* Tool, const QStringList& Arguments, const QByteArray& Source, const QString& Suffix)
    {
        const QString program = QStandardPaths::findExecutable(QLatin1String(Tool));
        ASSERT_TRUE(FFolder.isValid());
        const QString in = FFolder.filePath("source" + Suffix), out = FFolder.filePath("out.rtf");
        qvtest::WriteFile(in, Source);
        QStringList arguments = Arguments;
        arguments.replaceInStrings("%in", in).replaceInStrings("%out", out);
        const qvtest::TProgramRun run = qvtest::RunProgram(program, arguments);
        ASSERT_EQ(run.ExitCode, 0) << Tool << ": " << run.Err.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        FRtf = file.readAll();
        const vcl::TRtfReadResult result = vcl::ReadRtf(FRtf, FDocument);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        ASSERT_FALSE(result.truncated);
    }

    // The run holding Text in full, or a failure.
    TRun RunWith(const QString& Text) const
    {
        for (const TRun& run : Runs(FDocument))
            if (run.Text == Text)
                return run;
        ADD_FAILURE() << "no run \"" << Text.toStdString() << "\" in " << testing::PrintToString(Runs(FDocument));
        return {};
    }

    QTemporaryDir FFolder;
    QByteArray FRtf;
    QTextDocument FDocument;
};

TEST_F(RtfTools, PandocMarkdown)
{
    REQUIRE_TOOL("pandoc");
    Convert("pandoc", {"-f", "markdown", "-t", "rtf", "-s", "-o", "%out", "%in"},
            "# Heading\n\nPlain **bold** *italic* ~~struck~~ `code` [link](http://example.org) caf\xC3\xA9 \xE2\x82\xAC "
            "\xD0\x96.\n\n> Quoted paragraph\n",
            ".md");
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(FDocument.toRawText(), "Heading" + Par + "Plain bold italic struck code link caf\u00E9 \u20AC \u0416." + Par
                                         + "Quoted paragraph");
    const TRun body = RunWith("Plain ");
    EXPECT_FALSE(body.Bold || body.Italic || body.Strike || body.Underline);
    const TRun heading = RunWith("Heading");
    EXPECT_TRUE(heading.Bold);
    EXPECT_GT(heading.Points, body.Points);
    EXPECT_TRUE(RunWith("bold").Bold);
    EXPECT_TRUE(RunWith("italic").Italic);
    EXPECT_TRUE(RunWith("struck").Strike);
    EXPECT_TRUE(RunWith("link").Underline); // the link's text, not its address
    EXPECT_NE(RunWith("code").Family, body.Family); // code is set in a fixed-pitch font
    EXPECT_FALSE(RunWith("code").Bold || RunWith("italic").Bold);
    // The quotation is indented, the rest is not.
    const auto paragraphs = Paragraphs(FDocument);
    ASSERT_EQ(paragraphs.size(), 3u);
    EXPECT_EQ(paragraphs[1].Left, 0);
    EXPECT_GT(paragraphs[2].Left, 0);
}

TEST_F(RtfTools, EnscriptPlainTextAndHighlighting)
{
    REQUIRE_TOOL("enscript");
    // enscript reads Latin-1: 0xE9 is é. Its lines end in \line, not \par. (It escapes
    // braces but not backslashes, so the source has none.)
    Convert("enscript", {"-q", "--language=rtf", "-o", "%out", "%in"}, "hello\tworld\ncaf\xE9 {braces}\n", ".txt");
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(FDocument.toRawText(), "hello\tworld\u2028caf\u00E9 {braces}\u2028");
    // With C highlighting keywords are bold and comments italic, each in a colour.
    Convert("enscript", {"-q", "-Ec", "--color", "--language=rtf", "-o", "%out", "%in"},
            "int main(void)\n{\n  return 0; /* done */\n}\n", ".c");
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(FDocument.toRawText(), "int main(void)\u2028{\u2028  return 0; /* done */\u2028}\u2028");
    for (const char* keyword : {"int", "void", "return"}) {
        const TRun run = RunWith(keyword);
        EXPECT_TRUE(run.Bold && !run.Italic) << keyword;
        EXPECT_TRUE(run.Foreground.isValid()) << keyword;
    }
    const TRun comment = RunWith("/* done */");
    EXPECT_TRUE(comment.Italic && !comment.Bold);
    EXPECT_TRUE(comment.Foreground.isValid());
    EXPECT_NE(comment.Foreground, RunWith("return").Foreground);
    EXPECT_FALSE(RunWith(" 0; ").Bold);
}

TEST_F(RtfTools, Latex2rtf)
{
    REQUIRE_TOOL("latex2rtf");
    Convert("latex2rtf", {"-o", "%out", "%in"},
            "\\documentclass{article}\n\\begin{document}\n"
            "Plain \\textbf{bold} \\textit{italic} \\underline{under} caf\\'e.\n\n"
            "\\begin{center}Centred\\end{center}\n\\begin{flushright}Right\\end{flushright}\n"
            "\\end{document}\n",
            ".tex");
    ASSERT_FALSE(HasFailure());
    const auto paragraphs = Paragraphs(FDocument);
    std::vector<QString> texts;
    for (const auto& p : paragraphs)
        if (!p.Text.trimmed().isEmpty())
            texts.push_back(p.Text.trimmed());
    ASSERT_EQ(texts, (std::vector<QString>{"Plain bold italic under caf\u00E9.", "Centred", "Right"}));
    // LaTeX sets body text justified; the environments align their lines.
    const std::map<QString, Qt::Alignment> alignments{
        {"Plain bold italic under caf\u00E9.", Qt::AlignJustify}, {"Centred", Qt::AlignHCenter}, {"Right", Qt::AlignRight}};
    for (const auto& p : paragraphs) {
        if (alignments.count(p.Text.trimmed())) {
            EXPECT_EQ(p.Alignment, alignments.at(p.Text.trimmed())) << p.Text.toStdString();
        }
    }
    EXPECT_TRUE(RunWith("bold").Bold);
    EXPECT_TRUE(RunWith("italic").Italic);
    EXPECT_TRUE(RunWith("under").Underline);
    EXPECT_FALSE(RunWith("Plain ").Bold);
}

// Our writer's RTF for Document, put through Tool with Arguments and the file last.
class OurRtfInTools : public ::testing::Test {
protected:
    QByteArray ToolOutput(const char* Tool, QStringList Arguments, const QTextDocument& Document)
    {
        const QString program = QStandardPaths::findExecutable(QLatin1String(Tool));
        QTemporaryDir folder;
        const QString file = folder.filePath("ours.rtf");
        qvtest::WriteFile(file, vcl::WriteRtf(Document));
        QProcess process;
        process.start(program, Arguments << file);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    }
};

// unrtf --text writes Latin-1 and a "?" for each UTF-16 unit beyond it, a line per
// paragraph and per \line, after a banner that ends in a line of dashes. (It shows a
// tab as a line break and the euro as "\xAC", so the text has neither.)
TEST_F(OurRtfInTools, UnrtfFindsTheSameText)
{
    REQUIRE_TOOL("unrtf");
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("First paragraph with ");
    cursor.insertText("bold", bold);
    cursor.insertText(" text, {braces} and back\\slash.");
    cursor.insertBlock();
    cursor.insertText(QString::fromUtf8("Gr\u00FC\u00DFe, caf\u00E9, \u00A3 \u00A9\u2028after a line break, \u0416"));
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText("After an empty paragraph.");
    const QString text = QString::fromLatin1(ToolOutput("unrtf", {"--text"}, document));
    ASSERT_FALSE(HasFailure());
    const qsizetype body = text.indexOf("-----------------\n");
    ASSERT_GE(body, 0) << text.toStdString();
    EXPECT_EQ(text.mid(body + 18), QString::fromUtf8("First paragraph with bold text, {braces} and back\\slash.\n"
                                                     "Gr\u00FC\u00DFe, caf\u00E9, \u00A3 \u00A9\nafter a line break, ?\n\n"
                                                     "After an empty paragraph.\n"));
}

// pandoc, a second reader, finds the paragraphs, the emphasis and the letters.
TEST_F(OurRtfInTools, PandocFindsTheSameTextAndEmphasis)
{
    REQUIRE_TOOL("pandoc");
    QTextDocument document;
    QTextCursor cursor(&document);
    const auto styled = [&](const QString& Text, void (*Style)(QTextCharFormat&)) {
        QTextCharFormat format;
        Style(format);
        cursor.insertText(Text, format);
        cursor.insertText(" ", QTextCharFormat());
    };
    styled("bold", [](QTextCharFormat& F) { F.setFontWeight(QFont::Bold); });
    styled("italic", [](QTextCharFormat& F) { F.setFontItalic(true); });
    styled("under", [](QTextCharFormat& F) { F.setFontUnderline(true); });
    styled("struck", [](QTextCharFormat& F) { F.setFontStrikeOut(true); });
    cursor.insertText(QString::fromUtf8("caf\u00E9 \u20AC \u0416"));
    cursor.insertBlock();
    cursor.insertText("second");
    const QString html = QString::fromUtf8(ToolOutput("pandoc", {"-f", "rtf", "-t", "html", "--wrap=none"}, document));
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(html, QString::fromUtf8("<p><strong>bold</strong> <em>italic</em> <u>under</u> <del>struck</del> "
                                      "caf\u00E9 \u20AC \u0416</p>\n<p>second</p>\n"));
}

} // namespace
