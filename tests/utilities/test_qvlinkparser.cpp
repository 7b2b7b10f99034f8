// TqvLinkParser: the link rules of a line (targets worked out by hand from the rules in
// qvlinkscanner.h), line ends of every kind, lines longer than a read block, and the
// failure path for missing, unreadable and non-UTF-8 files.
#include "utilities/qvlinkparser.h"
#include "utilities/qvlinkscanner.h"

#include "vcl/controls/dialogs.h"
#include "vcl/controls/treeview.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl;
using namespace Qvlinkparser;

namespace {

struct LinkCase {
    const char* Line;
    bool HasLink;
    const char* Target;
};

QStringList ScanAll(const QByteArray& Text, TScanResult* Result = nullptr)
{
    QBuffer buffer;
    buffer.setData(Text);
    buffer.open(QIODevice::ReadOnly);
    QStringList links;
    const TScanResult result = ScanLinks(buffer, [&links](const QString& T) { links << T; });
    if (Result != nullptr)
        *Result = result;
    return links;
}

// Records the error boxes shown instead of showing them.
struct MessageRecorder {
    QStringList Messages;
    MessageRecorder()
    {
        SetMessageDlgResponder([this](const QString& Msg, TMsgDlgType, TMsgDlgButtons) {
            Messages << Msg;
            return int(mrOk);
        });
    }
    ~MessageRecorder() { SetMessageDlgResponder({}); }
};

QString WriteFile(const QTemporaryDir& Dir, const QString& Name, const QByteArray& Bytes)
{
    const QString path = Dir.filePath(Name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
    return path;
}

QStringList ChildTexts(TqvLinkParser& Parser)
{
    QStringList texts;
    TTreeNode* root = Parser.Tree()->Items()->GetFirstNode();
    for (int i = 0; root != nullptr && i < root->Count(); ++i)
        texts << root->Item(i)->Text();
    return texts;
}

} // namespace

TEST(LinkRules, TargetsOfOneLineAndUtf8Validation)
{
    // Each target worked out by hand: start one character after "href=", stop before the
    // next double quote or before the line's last character, strip a leading quote and
    // the last character with it.
    const LinkCase cases[] = {
        {"<a href=\"one.htm\">1</a> <a href=\"two.htm\">2</a>", true, "one.htm"},
        {"<A HREF=\"Up.HTM\">x</A>", true, "Up.HTM"},
        {"<a hReF=\"mixed\">", true, "mixed"},
        {"href=\"start.htm\" rest", true, "start.htm"},
        // Single quotes: up to the next double quote, keeping the closing single quote.
        {"<a href='s.htm'>x</a> title=\"t\"", true, "s.htm'>x</a> title="},
        // ... or, without one, up to the character before the line's last.
        {"<a href='s.htm'>x</a>", true, "s.htm'>x</a"},
        // Unquoted: the first character is taken for a quote and skipped.
        {"<a href=page.htm>x</a>", true, "age.htm>x</a"},
        {"<a href=\"\">x</a>", true, ""},
        {"<a href=\"\">", true, ""},
        // A target that begins with a quote loses its first and last character.
        {"<a href=\"'quoted'\">", true, "quoted"},
        {"href=", true, ""},
        {"href=\"", true, ""},
        {"href=\"a", true, ""},
        {"href=\"ab", true, "a"},
        {"<p>no link here</p>", false, ""},
        {"hre f=\"x\" ref=\"y\"", false, ""},
        {"", false, ""},
        // Characters, not bytes: the skipped quote and the dropped last character are
        // whole characters.
        {"href=\xE2\x80\x9C\xC3\xA9t\xC3\xA9\xE2\x80\x9D", true, "\xC3\xA9t\xC3\xA9"},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.Line);
        QString target = QStringLiteral("stale");
        EXPECT_EQ(ExtractLink(QByteArrayView(c.Line), target), c.HasLink);
        if (c.HasLink) {
            EXPECT_EQ(target, QString::fromUtf8(c.Target));
        }
    }

    // UTF-8 validation.
    const std::pair<QByteArray, bool> texts[] = {
        {"plain ascii text that is longer than eight", true},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", true}, // é € 😀
        {"\xC3", false},                                 // cut short
        {"\xC0\xAF", false},                             // overlong '/'
        {"\xE0\x80\xAF", false},                         // overlong three-byte form
        {"\xED\xA0\x80", false},                         // a surrogate
        {"\xF4\x90\x80\x80", false},                     // past U+10FFFF
        {"\x80", false},                                 // a lone continuation byte
        {"abcdefg\xFF", false},
    };
    for (const auto& [bytes, valid] : texts) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(IsValidUtf8(bytes), valid);
    }
}

TEST(LinkScan, EveryKindOfLineEnd)
{
    // Four lines each time, whatever ends them; the last line needs no line end.
    const QByteArray lines[] = {"href=\"a\"", "no link", "HREF=\"b\"", "x href=\"c\" y"};
    for (const QByteArray ending : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(ending.toHex().toStdString());
        const QByteArray text = lines[0] + ending + lines[1] + ending + lines[2] + ending + lines[3];
        EXPECT_EQ(ScanAll(text), (QStringList{"a", "b", "c"}));
    }
    // Mixed ends, an empty line between CR and LF pairs, and a trailing line end.
    EXPECT_EQ(ScanAll("href=\"a\"\r\rhref=\"b\"\n\r\nhref=\"c\"\r\n"), (QStringList{"a", "b", "c"}));
    // Without splitting at CR the first line would run on and give "a" only once.
    EXPECT_EQ(ScanAll("href=\"a\"\rhref=\"b\""), (QStringList{"a", "b"}));
    EXPECT_TRUE(ScanAll("").isEmpty());
}

TEST(LinkScan, LinesAcrossReadBlocksAndInvalidUtf8StoppingWithTheLine)
{
    // Reads are 1 MiB blocks: a CR LF split over two blocks is one line end, and a line
    // of three megabytes with its link at the end is one line.
    const int block = 1 << 20;
    QByteArray text(block - 9, 'x');
    text += "href=\"a\"\r";
    ASSERT_EQ(text.size(), block);
    text += "\nhref=\"b\"\n";
    text += QByteArray(3 * block, 'y') + "href=\"long\"\n";
    text += "href=\"last\"";
    TScanResult result;
    EXPECT_EQ(ScanAll(text, &result), (QStringList{"a", "b", "long", "last"}));
    EXPECT_EQ(result.Error, TScanError::Ok);

    // Invalid UTF-8 stops the scan with the line.
    ScanAll("href=\"a\"\nfine\nbad \xFF byte\n", &result);
    EXPECT_EQ(result.Error, TScanError::InvalidUtf8);
    EXPECT_EQ(result.Line, 3);
    EXPECT_TRUE(result.Message.contains("line 3"));
}

TEST(LinkParser, TreeOfAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TqvLinkParser parser(nullptr);
    EXPECT_EQ(parser.TreeColor(), TColorOf(0xFFFFFF));
    parser.SetFileName(WriteFile(dir, "index.htm",
        "<html>\r\n<a href=\"one.htm\">1</a><a href=\"x\">\r\n<p>text</p>\r\n<A HREF=\"\">e</A>\r\n"));
    parser.Parse();
    TTreeNode* root = parser.Tree()->Items()->GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, parser.RootNode());
    EXPECT_EQ(root->Text(), "index.htm");
    EXPECT_EQ(ChildTexts(parser), (QStringList{"one.htm", ""}));
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(root->Item(0)->ImageIndex(), 0);
    EXPECT_EQ(parser.Images()->Count(), 1);
    EXPECT_EQ(parser.Tree()->Items()->Count(), 3);

    // A second parse replaces the tree; a file without links leaves only its root.
    parser.SetFileName(WriteFile(dir, "plain.txt", "nothing\nhere\n"));
    parser.Parse();
    EXPECT_EQ(parser.Tree()->Items()->Count(), 1);
    EXPECT_EQ(parser.Tree()->Items()->GetFirstNode()->Text(), "plain.txt");

    // The colour reaches the tree only through SetColor.
    parser.SetTreeColor(TColorOf(0x00FF00));
    EXPECT_NE(parser.Tree()->Color(), TColorOf(0x00FF00));
    parser.SetColor();
    EXPECT_EQ(parser.Tree()->Color(), TColorOf(0x00FF00));
}

TEST(LinkParser, FailuresKeepTheTree)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MessageRecorder messages;
    TqvLinkParser parser(nullptr);
    parser.SetFileName(WriteFile(dir, "good.htm", "href=\"kept\"\n"));
    parser.Parse();
    ASSERT_EQ(ChildTexts(parser), QStringList{"kept"});

    const QString missing = dir.filePath("missing.htm");
    parser.SetFileName(missing);
    parser.Parse();
    // A folder is not a file.
    parser.SetFileName(dir.path());
    parser.Parse();
    // A file every user may open whose reading fails (its first page is never mapped).
    parser.SetFileName("/proc/self/mem");
    parser.Parse();
    parser.SetFileName(WriteFile(dir, "latin1.htm", "href=\"caf\xE9\"\n"));
    parser.Parse();

    ASSERT_EQ(messages.Messages.size(), 4);
    EXPECT_EQ(messages.Messages[0], QString("File \"%1\" doesn't exists!").arg(missing));
    EXPECT_EQ(messages.Messages[1], QString("File \"%1\" doesn't exists!").arg(dir.path()));
    EXPECT_TRUE(messages.Messages[2].startsWith("File \"/proc/self/mem\" can't be read: "))
        << messages.Messages[2].toStdString();
    EXPECT_EQ(messages.Messages[3], QString("File \"%1\" can't be read: line 1 is not valid UTF-8 text")
                                        .arg(dir.filePath("latin1.htm")));
    EXPECT_EQ(parser.Tree()->Items()->GetFirstNode()->Text(), "good.htm");
    EXPECT_EQ(ChildTexts(parser), QStringList{"kept"});
}
