// The memo and rich-text tab editors (the same tests for both): pages and records,
// the reload question for two files of one name, the tab pictures by the records'
// flags (on pixels), closing pages, browse requests, saving through a temporary file
// (an interrupted save leaves the old file), and noticing a file changed on disk.
#include "utilities/qvmemobrowser.h"
#include "utilities/qvrichbrowser.h"

#include "package/package.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/notebook.h"
#include "vcl/controls/richedit.h"
#include "vcl/controls/stdctrls.h"
#include "vcl/controls/tabset.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/streaming/formfile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace vcl;

namespace {

// Answers every message box with Answer and records the messages.
struct MessageRecorder {
    QStringList Messages;
    int Answer = mrYes;
    MessageRecorder()
    {
        SetMessageDlgResponder([this](const QString& Msg, TMsgDlgType, TMsgDlgButtons) {
            Messages << Msg;
            return Answer;
        });
    }
    ~MessageRecorder() { SetMessageDlgResponder({}); }
};

QString WriteFile(const QString& Path, const QByteArray& Bytes)
{
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QFile file(Path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << Path.toStdString();
    file.write(Bytes);
    return Path;
}

QByteArray ReadFile(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

int CountColour(const QImage& Image, const TRect& R, QRgb Colour)
{
    int count = 0;
    for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, Image.height()); ++y)
        for (int x = std::max(R.Left, 0); x < std::min(R.Right, Image.width()); ++x)
            count += (Image.pixel(x, y) | 0xFF000000u) == (Colour | 0xFF000000u);
    return count;
}

template <class Tab>
struct EdTabTest : ::testing::Test {
    TForm Form{nullptr};
    Tab* Editor = new Tab(&Form);
    QTemporaryDir Dir;
    MessageRecorder Messages;

    EdTabTest()
    {
        Form.SetBounds(0, 0, 400, 300);
        Editor->SetParent(&Form);
        Editor->SetAlign(alClient);
    }
    QStringList CurrentLines() const
    {
        TStrings* lines = Editor->GetCurrentEditor()->Lines();
        QStringList all;
        for (int i = 0; i < lines->Count(); ++i)
            all << lines->Strings(i);
        return all;
    }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
};

// The colours of the two tab marks (drawn by resources/utilities/make_pictures.py).
template <class Tab>
struct Marks;
template <>
struct Marks<Qvmemobrowser::TqvMemoEdTab> {
    static constexpr QRgb NotSaved = qRgb(220, 0, 0), ReadOnly = qRgb(0, 110, 0);
};
template <>
struct Marks<Qvrichbrowser::TqvRichEdTab> {
    static constexpr QRgb NotSaved = qRgb(255, 128, 0), ReadOnly = qRgb(128, 0, 160);
};

using EdTabClasses = ::testing::Types<Qvmemobrowser::TqvMemoEdTab, Qvrichbrowser::TqvRichEdTab>;
TYPED_TEST_SUITE(EdTabTest, EdTabClasses);

} // namespace

TYPED_TEST(EdTabTest, StartsWithTheUntitledPage)
{
    auto* tab = this->Editor;
    EXPECT_EQ(tab->Book()->Pages()->Count(), 1);
    EXPECT_EQ(tab->Book()->ActivePage(), "untitled");
    EXPECT_EQ(tab->TabSet()->Tabs()->Count(), 1);
    EXPECT_EQ(tab->TabSet()->StartMargin(), 32);
    const Qvedtabbase::TDocumentInfo info = tab->GetDocumentInfo();
    EXPECT_EQ(info.Directory, "Not saved!");
    EXPECT_EQ(info.Title, "untitled");
    EXPECT_FALSE(info.ReadOnly || info.NotSaved);
    EXPECT_NE(tab->GetCurrentEditor(), nullptr);
    EXPECT_EQ(tab->GetAll(), tab->GetCurrentEditor());
}

TYPED_TEST(EdTabTest, SameNameInTwoFoldersAsksToReload)
{
    auto* tab = this->Editor;
    const QString first = WriteFile(this->Path("a/x.txt"), "from a\n");
    const QString second = WriteFile(this->Path("b/x.txt"), "from b\n");
    tab->AddNewFile(first, false);
    ASSERT_EQ(tab->Book()->Pages()->Count(), 2);
    EXPECT_EQ(this->CurrentLines(), QStringList{"from a"});
    EXPECT_EQ(tab->GetDocumentInfo().Directory, QFileInfo(first).absolutePath());

    this->Messages.Answer = mrNo;
    tab->AddNewFile(second, false);
    EXPECT_EQ(this->CurrentLines(), QStringList{"from a"});
    this->Messages.Answer = mrYes;
    tab->AddNewBlank("other", false); // the question must bring page 1 back
    tab->AddNewFile(second, false);
    EXPECT_EQ(this->Messages.Messages,
        (QStringList{"The file is already open, reload?", "The file is already open, reload?"}));
    EXPECT_EQ(tab->Book()->Pages()->Count(), 3);
    EXPECT_EQ(tab->Book()->PageIndex(), 1);
    EXPECT_EQ(tab->TabSet()->TabIndex(), 1);
    EXPECT_EQ(this->CurrentLines(), QStringList{"from b"});

    // A name in another letter case is another file.
    tab->AddNewFile(WriteFile(this->Path("c/X.txt"), "upper\n"), false);
    EXPECT_EQ(tab->Book()->Pages()->Count(), 4);
    tab->AddNewFile(this->Path("missing.txt"), false);
    tab->AddNewFile(QString(), false);
    EXPECT_EQ(this->Messages.Messages.mid(2),
        (QStringList{this->Path("missing.txt") + " does not exists", " does not exists"}));
    EXPECT_EQ(tab->Book()->Pages()->Count(), 4);
}

TYPED_TEST(EdTabTest, TabPicturesFollowTheFlags)
{
    auto* tab = this->Editor;
    const QString locked = WriteFile(this->Path("locked.txt"), "x\n");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    tab->AddNewBlank("plain", false);    // tab 1: neither flag: the read-only picture
    tab->AddNewBlank("changed", true);   // tab 2: the unsaved picture
    tab->AddNewFile(locked, false);      // tab 3: read-only: no picture, black caption
    ASSERT_TRUE(tab->Document(3)->ReadOnly);
    tab->AddNewFile(locked, true);       // asked to reload: still four tabs
    ASSERT_EQ(tab->TabSet()->Tabs()->Count(), 4);
    tab->TabSet()->SetTabIndex(0);
    tab->TabSet()->Repaint();
    const QImage image = tab->TabSet()->BackBuffer();

    const QRgb readOnlyColour = Marks<TypeParam>::ReadOnly, notSavedColour = Marks<TypeParam>::NotSaved;
    const QRgb blue = qRgb(0, 0, 255);
    // The mark's colour at its centre: the picture sits 2 right and 6 down of the text
    // rectangle, and its pixel (3, 3) is part of both marks (see make_pictures.py).
    const TRect plain = tab->TabSet()->TabRect(1), changed = tab->TabSet()->TabRect(2),
                lockedTab = tab->TabSet()->TabRect(3);
    EXPECT_EQ(image.pixel(plain.Left + 5, plain.Top + 9) | 0xFF000000u, readOnlyColour | 0xFF000000u);
    EXPECT_EQ(image.pixel(changed.Left + 5, changed.Top + 9) | 0xFF000000u, notSavedColour | 0xFF000000u);
    EXPECT_GT(CountColour(image, plain, blue), 0);
    EXPECT_GT(CountColour(image, changed, blue), 0);
    EXPECT_EQ(CountColour(image, lockedTab, readOnlyColour) + CountColour(image, lockedTab, notSavedColour), 0);
    EXPECT_EQ(CountColour(image, lockedTab, blue), 0);
    EXPECT_GT(CountColour(image, lockedTab, qRgb(0, 0, 0)), 0);

    // Room for a picture unless both flags are set: the same caption is 8 (a picture)
    // narrower with both.
    int readOnlyWidth = 0, bothWidth = 0;
    tab->MeasureDrawTab(nullptr, 3, readOnlyWidth);
    tab->Document(3)->NotSaved = true;
    tab->MeasureDrawTab(nullptr, 3, bothWidth);
    EXPECT_EQ(readOnlyWidth - bothWidth, 8);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
}

TYPED_TEST(EdTabTest, ClosingPagesKeepsTheFirst)
{
    auto* tab = this->Editor;
    tab->GetCurrentEditor()->Lines()->Add("scratch");
    tab->AddNewFile(WriteFile(this->Path("one.txt"), "1\n"), false);
    tab->AddNewFile(WriteFile(this->Path("two.txt"), "2\n"), false);
    tab->SetNewFile(this->Path("renamed.txt"));
    EXPECT_EQ(tab->Book()->ActivePage(), "renamed.txt");
    EXPECT_EQ(tab->TabSet()->Tabs()->Strings(2), "renamed.txt");
    EXPECT_EQ(tab->GetDocumentInfo().Directory, this->Dir.path()) << "a file's record, though there is none yet";

    EXPECT_TRUE(tab->CloseActPage());
    EXPECT_EQ(tab->Book()->Pages()->Count(), 2);
    EXPECT_EQ(tab->TabSet()->Tabs()->Count(), 2);
    EXPECT_EQ(tab->GetDocumentInfo().Title, "one.txt");
    EXPECT_EQ(this->CurrentLines(), QStringList{"1"});
    EXPECT_TRUE(tab->CloseActPage());
    // The first page stays: cleared and named "untitled" again.
    EXPECT_FALSE(tab->CloseActPage());
    EXPECT_FALSE(tab->CloseActPage());
    EXPECT_EQ(tab->Book()->Pages()->Count(), 1);
    EXPECT_EQ(tab->Book()->ActivePage(), "untitled");
    EXPECT_EQ(tab->TabSet()->Tabs()->Strings(0), "untitled");
    EXPECT_EQ(tab->GetCurrentEditor()->Lines()->Count(), 0);
}

TYPED_TEST(EdTabTest, BrowseRequestNeverPassesTheUrlOnButEditorEventsArePassedOn)
{
    auto* tab = this->Editor;
    QStringList seen;
    TObject* sender = nullptr;
    tab->OnRequestBrowseURL = [&](TObject* Sender, QString& FileName) {
        sender = Sender;
        seen << FileName;
        FileName = "changed by the handler";
    };
    tab->BrowseRequest(tab, "http://example.org/page.htm");
    tab->BrowseDocumentFile(&this->Form, "file:///etc/passwd");
    EXPECT_EQ(seen, (QStringList{"tijdelijk.fle", "tijdelijk.fle"}));
    EXPECT_EQ(sender, &this->Form);
    tab->OnRequestBrowseURL = nullptr;
    tab->BrowseRequest(tab, "no handler: nothing happens");

    // The editors' events are passed on.
    tab->AddNewBlank("second", false);
    TObject* keySender = nullptr;
    uint16_t keySeen = 0;
    tab->OnActiveDocKeyDown = [&](TObject* Sender, uint16_t& Key, TShiftState) {
        keySender = Sender;
        keySeen = Key;
    };
    TObject* moveSender = nullptr;
    tab->OnEditorTabMouseMove = [&](TObject* Sender, TShiftState, int, int) { moveSender = Sender; };
    uint16_t key = 'A';
    tab->GetCurrentEditor()->OnKeyDown(tab->GetCurrentEditor(), key, TShiftState());
    tab->TabSet()->OnMouseMove(tab->TabSet(), TShiftState(), 3, 4);
    EXPECT_EQ(keySender, tab->GetCurrentEditor());
    EXPECT_EQ(keySeen, 'A');
    EXPECT_EQ(moveSender, tab->TabSet());
}

TYPED_TEST(EdTabTest, SavingReplacesTheFileOnlyWhenComplete)
{
    auto* tab = this->Editor;
    const QString path = WriteFile(this->Path("doc.txt"), "old text\n");
    tab->AddNewFile(path, false);
    tab->GetCurrentEditor()->Lines()->SetText("new text");
    ASSERT_TRUE(tab->SaveActPage());
    EXPECT_EQ(ReadFile(path), "new text\n");
    EXPECT_TRUE(QDir(this->Dir.path()).entryList(QDir::Files) == QStringList{"doc.txt"}) << "no temporary file left";

    // Interrupt the next save: files may grow to 4 KiB only, and the new text is larger.
    // The write fails part-way (EFBIG; the signal that would stop the process is ignored).
    tab->GetCurrentEditor()->Lines()->SetText(QString(100000, 'z'));
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved2 = tab->SaveActPage();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved2);
    EXPECT_EQ(ReadFile(path), "new text\n");
    EXPECT_TRUE(QDir(this->Dir.path()).entryList(QDir::Files) == QStringList{"doc.txt"});
    ASSERT_EQ(this->Messages.Messages.size(), 1);
    EXPECT_TRUE(this->Messages.Messages[0].startsWith(path + " could not be saved: "))
        << this->Messages.Messages[0].toStdString();

    // Documents without a file are not written; Save As gives them one.
    tab->AddNewBlank("draft", true);
    tab->GetCurrentEditor()->Lines()->SetText("draft text");
    EXPECT_FALSE(tab->SaveActPage());
    ASSERT_TRUE(tab->SaveActPageAs(this->Path("draft.txt")));
    EXPECT_TRUE(ReadFile(this->Path("draft.txt")).contains("draft text")) << "plain or rich text";
    EXPECT_EQ(tab->GetDocumentInfo().Title, "draft.txt");
    EXPECT_FALSE(tab->GetDocumentInfo().NotSaved);
}

TYPED_TEST(EdTabTest, AFileChangedOnDiskIsNoticedOnActivation)
{
    auto* tab = this->Editor;
    const QString path = WriteFile(this->Path("watched.txt"), "first\n");
    tab->AddNewFile(path, false);
    tab->CheckDiskChange();
    EXPECT_TRUE(this->Messages.Messages.isEmpty()) << "unchanged: no question";

    WriteFile(path, "second version\n");
    this->Messages.Answer = mrNo;
    tab->TabSet()->SetTabIndex(1);
    tab->tabClick(tab->TabSet());
    ASSERT_EQ(this->Messages.Messages, QStringList{path + " was changed by another program, reload?"});
    EXPECT_EQ(this->CurrentLines(), QStringList{"first"}) << "No keeps the text in the editor";
    tab->CheckDiskChange();
    EXPECT_EQ(this->Messages.Messages.size(), 1) << "asked once per change";

    // Activating the window asks again after the next change; Yes reloads.
    WriteFile(path, "third and last version\n");
    this->Messages.Answer = mrYes;
    this->Form.Show();
    QApplication::setActiveWindow(&this->Form);
    EXPECT_EQ(this->Messages.Messages.size(), 2);
    EXPECT_EQ(this->CurrentLines(), QStringList{"third and last version"});
}

TEST(RichEdTab, PlainFilesStayPlainWhenSaved)
{
    QTemporaryDir dir;
    Qvrichbrowser::TqvRichEdTab tab(nullptr);
    QFile file(dir.filePath("notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("line one\nline two\n");
    file.close();
    tab.AddNewFile(file.fileName(), false);
    EXPECT_TRUE(tab.GetCurrentEditor()->PlainText());
    ASSERT_TRUE(tab.SaveActPage());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "line one\nline two\n");
    file.close();

    // A file with CR LF line ends keeps them.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("dos one\r\ndos two\r\n");
    file.close();
    SetMessageDlgResponder([](const QString&, TMsgDlgType, TMsgDlgButtons) { return int(mrYes); });
    tab.AddNewFile(file.fileName(), false);
    SetMessageDlgResponder({});
    ASSERT_TRUE(tab.SaveActPage());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "dos one\r\ndos two\r\n");
}

TEST(MemoEdTab, MarginMovesTheTabsOnceLoaded)
{
    Package::LoadPackage();
    TForm form(nullptr);
    TextToComponent("object Form1: TForm\n  object Tabs1: TqvMemoEdTab\n    Margin = 10\n  end\nend\n", &form);
    auto* tabs = dynamic_cast<Qvmemobrowser::TqvMemoEdTab*>(form.FindComponent("Tabs1"));
    ASSERT_NE(tabs, nullptr);
    // The tab row starts at the offset 34 plus the margin read: 44 (32 before loading).
    EXPECT_EQ(tabs->Margin(), 10);
    EXPECT_EQ(tabs->TabSet()->StartMargin(), 44);
    Package::UnloadPackage();
}
