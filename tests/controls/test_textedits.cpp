// Multi-line edits' Lines as a TStrings (memo and rich edit), the rich edit's
// loading and saving (plain and rich text), and a control canvas drawing outside Paint.
#include "vcl/controls/controlcanvas.h"
#include "vcl/controls/extctrls.h"
#include "vcl/controls/richedit.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/core/streams.h"
#include "vcl/core/sysutils.h"

#include "support/testsupport.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace vcl;

TEST(MemoLines, EditTheDocumentLineByLine)
{
    TMemo memo(nullptr);
    TStrings& lines = *memo.Lines();
    struct Step {
        const char* Name;
        std::function<void()> Do;
        const char* Text;
        int Count;
    } steps[] = {
        {"empty", [] {}, "", 0},
        {"add to empty", [&] { lines.Add("a"); }, "a", 1},
        {"add", [&] { lines.Add("b"); }, "a\nb", 2},
        {"insert first", [&] { lines.Insert(0, "z"); }, "z\na\nb", 3},
        {"delete middle", [&] { lines.Delete(1); }, "z\nb", 2},
        {"delete last", [&] { lines.Delete(1); }, "z", 1},
        {"put", [&] { lines.SetStrings(0, QString::fromUtf8("ü")); }, "ü", 1},
        {"final break", [&] { memo.Editor()->setPlainText("a\nb\n"); }, "a\nb\n", 2},
        {"add after a final break", [&] { lines.Add("c"); }, "a\nb\nc", 3},
        {"one empty line", [&] { memo.Editor()->setPlainText("\n"); }, "\n", 1},
        {"delete the empty line", [&] { lines.Delete(0); }, "", 0},
        {"text", [&] { lines.SetText("x\r\ny"); }, "x\ny", 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Name);
        step.Do();
        EXPECT_EQ(memo.Editor()->toPlainText(), QString::fromUtf8(step.Text));
        EXPECT_EQ(lines.Count(), step.Count);
    }
    EXPECT_EQ(memo.Text(), QStringLiteral("x\ny")) << "the control's text follows";
    EXPECT_THROW(lines.Strings(2), EStringListError);
    EXPECT_THROW(lines.Insert(3, "q"), EStringListError);
    EXPECT_THROW(lines.Delete(-1), EStringListError);
}

TEST(RichEdit, LoadsPlainFilesSavesPlainTextOnRequestAndReadOnlyKeepsTheProgramsText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath("plain.txt");
    qvtest::WriteFile(plain, QByteArray("first\r\nzweite \xc3\xa4\nthird"));
    TRichEdit edit(nullptr);
    edit.Lines()->LoadFromFile(plain);
    EXPECT_EQ(edit.Lines()->Count(), 3);
    EXPECT_EQ(edit.Lines()->Strings(1), QString::fromUtf8("zweite ä"));
    EXPECT_FALSE(edit.Modified()) << "loading leaves the document unmodified";
    edit.Lines()->Add("fourth");
    EXPECT_TRUE(edit.Modified());

    // A rich-text file read as plain text keeps its bytes as text.
    const QString rich = dir.filePath("doc.rtf");
    qvtest::WriteFile(rich, QByteArray("{\\rtf1 hello}"));
    edit.SetPlainText(true);
    edit.Lines()->LoadFromFile(rich);
    EXPECT_EQ(edit.Lines()->Text(), QStringLiteral("{\\rtf1 hello}\r\n"));

    const QString saved = dir.filePath("saved.txt");
    edit.Lines()->SaveToFile(saved);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{\\rtf1 hello}\r\n"));

    // Read-only refuses typing, not the program.
    TRichEdit readOnly(nullptr);
    readOnly.SetReadOnly(true);
    readOnly.SetText(QStringLiteral("set by the program"));
    EXPECT_EQ(readOnly.Lines()->Count(), 1);
    EXPECT_TRUE(readOnly.Editor()->isReadOnly());
}

namespace {

bool BoldAt(const TRichEdit& Edit, int Position)
{
    QTextCursor cursor(Edit.Editor()->document());
    cursor.setPosition(Position + 1); // the format of the character before the cursor
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

} // namespace

TEST(RichEdit, RichTextFilesLoadSaveAndReloadWithTheirFormatting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath("in.rtf");
    qvtest::WriteFile(source, QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plain {\\b bold} text\\par}"));
    TRichEdit edit(nullptr);
    edit.Lines()->LoadFromFile(source);
    EXPECT_EQ(edit.Editor()->toPlainText(), QStringLiteral("plain bold text"));
    EXPECT_FALSE(BoldAt(edit, 0));
    EXPECT_TRUE(BoldAt(edit, 6));
    EXPECT_FALSE(BoldAt(edit, 11));

    const QString saved = dir.filePath("out.rtf");
    edit.Lines()->SaveToFile(saved);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("{\\rtf1"));
    TRichEdit again(nullptr);
    again.Lines()->LoadFromFile(saved);
    EXPECT_EQ(again.Editor()->toPlainText(), QStringLiteral("plain bold text"));
    EXPECT_TRUE(BoldAt(again, 6));
    EXPECT_FALSE(BoldAt(again, 11));

    // Malformed markup: a clear error, and the text before the fault stays.
    const QString broken = dir.filePath("broken.rtf");
    qvtest::WriteFile(broken, QByteArray("{\\rtf1 kept \\") + QByteArray(40, 'a') + " lost}");
    EXPECT_THROW(again.Lines()->LoadFromFile(broken), EStreamError);
    EXPECT_TRUE(again.Editor()->toPlainText().startsWith(QStringLiteral("kept")));
}

TEST(ControlCanvas, DrawsOnAControlOutsidePaintAndLetsGoOfIt)
{
    auto* panel = new TPanel(nullptr);
    panel->SetBounds(0, 0, 40, 30);
    panel->Repaint();
    TControlCanvas canvas;
    canvas.SetControl(panel);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(5, 5, 10, 10));
    EXPECT_EQ(panel->BackBuffer().pixel(7, 7) | 0xFF000000u, qRgb(255, 0, 0));
    EXPECT_NE(panel->BackBuffer().pixel(12, 7) | 0xFF000000u, qRgb(255, 0, 0));
    // After a resize the canvas follows the larger surface.
    panel->SetBounds(0, 0, 80, 30);
    canvas.FillRect(Rect(60, 5, 70, 10));
    EXPECT_EQ(panel->BackBuffer().pixel(65, 7) | 0xFF000000u, qRgb(255, 0, 0));
    delete panel;
    EXPECT_EQ(canvas.Control(), nullptr);
    canvas.FillRect(Rect(0, 0, 10, 10)); // draws nowhere, and does not crash
    EXPECT_EQ(canvas.Surface(), nullptr);
}
