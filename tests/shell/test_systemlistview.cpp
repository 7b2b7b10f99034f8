// The system list view on folders the tests build in a scratch home: listing, filters,
// detail texts, sorting, renaming, the links between the shell controls, the records'
// life, and large folders listed in slices.
#include "controls/waituntil.h"
#include "platform/shell/shellapi.h"
#include "platform/shell/shellmalloc.h"
#include "platform/shell/shelluserinterface.h"
#include "shell/pidlhelp.h"
#include "shell/shelltestkit.h"
#include "shell/systemlistdetails.h"
#include "shell/systemlistview.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/menus.h"
#include "vcl/core/unitstartup.h"
#include "vcl/registry/registry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <sys/stat.h>
#include <unistd.h>

using namespace Systemlistview;
using platform::shell::IShellFolder;
using platform::shell::LPCITEMIDLIST;
using platform::shell::LPITEMIDLIST;
using qvtest::Ref;

namespace {

// Opens the protected notifications to the tests.
class TTestListView : public TSystemListView {
public:
    using TSystemListView::TSystemListView;
    using TSystemListView::ColClick;
    using TSystemListView::Edit;
    using TSystemListView::MouseMove;
    using TSystemListView::MouseUp;
};

// A tree view base that records what reaches it; its "selection" is set by the test.
class TTestTreeView : public Systemcontrolpack::TCustomSystemTreeView {
public:
    using TCustomSystemTreeView::TCustomSystemTreeView;
    using TCustomSystemTreeView::Change;
    LPITEMIDLIST GetSelectionPIDL() override { return Selection; }
    IShellFolder* GetSelectionParentFolder() override { return Folder; }
    bool LinkedReset(IShellFolder*, LPCITEMIDLIST ID, bool) override
    {
        Log->push_back("tree:" + QByteArray::number(Pidlhelp::PIDLCount(ID)));
        return true;
    }
    LPITEMIDLIST Selection = nullptr;
    IShellFolder* Folder = nullptr;
    std::vector<QByteArray>* Log = nullptr;
};

class TTestComboBox : public Systemcontrolpack::TCustomSystemComboBox {
public:
    using TCustomSystemComboBox::TCustomSystemComboBox;
    using TCustomSystemComboBox::Click;
    LPITEMIDLIST GetSelectionPIDL() override { return Selection; }
    IShellFolder* GetSelectionParentFolder() override { return Folder; }
    bool LinkedReset(IShellFolder*, LPCITEMIDLIST ID, bool) override
    {
        Log->push_back("combo:" + QByteArray::number(Pidlhelp::PIDLCount(ID)));
        return true;
    }
    LPITEMIDLIST Selection = nullptr;
    IShellFolder* Folder = nullptr;
    std::vector<QByteArray>* Log = nullptr;
};

class SystemListViewTest : public qvtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_EQ(platform::shell::SHGetDesktopFolder(&FDesktop.Object), platform::shell::S_OK);
        FRecordsBefore = LiveRecordCount();
    }
    void TearDown() override
    {
        FView.reset();
        EXPECT_EQ(LiveRecordCount(), FRecordsBefore) << "row records outlived their list view";
        Pidlhelp::FreePIDL(FFolderID);
        FDesktop.Object->Release();
        FDesktop.Object = nullptr;
        ShellTest::TearDown();
    }
    // A list view with its window, showing the folder at Home()/relative.
    TTestListView* Show(const QByteArray& relative)
    {
        if (!FView) {
            FView = std::make_unique<TTestListView>(nullptr);
            FView->HandleNeeded();
        }
        Pidlhelp::FreePIDL(FFolderID);
        EXPECT_TRUE(Pidlhelp::GetPIDLFromPath(nullptr, FDesktop.get(), QString::fromUtf8(Home() + '/' + relative), FFolderID));
        FListed = FView->LinkedReset(FDesktop.get(), FFolderID, true);
        return FView.get();
    }
    QStringList Captions() const
    {
        QStringList captions;
        for (int i = 0; i < FView->Items()->Count(); ++i)
            captions << FView->Items()->Item(i)->Caption();
        return captions;
    }
    vcl::TListItem* Row(const QString& caption) const
    {
        for (int i = 0; i < FView->Items()->Count(); ++i)
            if (FView->Items()->Item(i)->Caption() == caption)
                return FView->Items()->Item(i);
        ADD_FAILURE() << "no row " << caption.toStdString();
        return nullptr;
    }
    // The middle of a row, in the control's coordinates.
    QPoint RowPoint(const QString& caption) const
    {
        QAbstractItemView* view = FView->View();
        const QRect rect = view->visualRect(view->model()->index(Row(caption)->Index(), 0));
        return view->viewport()->mapTo(FView.get(), rect.center());
    }
    QString Detail(const QString& caption, int column) const { return Row(caption)->SubItems().Strings(column); }
    void MakeFolderWith(const QByteArray& folder, std::initializer_list<const char*> files)
    {
        MakeFolderBytes(folder);
        for (const char* file : files)
            MakeFileBytes(folder + '/' + file);
    }

    Ref<IShellFolder> FDesktop;
    std::unique_ptr<TTestListView> FView;
    LPITEMIDLIST FFolderID = nullptr;
    bool FListed = false;
    int FRecordsBefore = 0;
};

// Sizes worked out by hand: ceil(bytes / 1024), grouped by threes.
TEST(SystemListDetails, SizeTexts)
{
    const struct { uint64_t Bytes; const char* Text; } cases[] = {
        {0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {1023999, "1,000 KB"},
        {1234567890, "1,205,633 KB"}, {uint64_t(1) << 40, "1,073,741,824 KB"},
        {UINT64_MAX, "18,014,398,509,481,984 KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.Bytes), QString::fromLatin1(c.Text)) << c.Bytes;
}

TEST(SystemListDetails, AttributeLettersAndTimes)
{
    using namespace platform::shell;
    EXPECT_EQ(AttributesText(FILE_ATTRIBUTE_NORMAL), QString());
    EXPECT_EQ(AttributesText(FILE_ATTRIBUTE_READONLY), QStringLiteral("R"));
    EXPECT_EQ(AttributesText(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | 0x4 | 0x20), QStringLiteral("RH"));
    EXPECT_EQ(ModifiedText({0, 5}), QString());
    EXPECT_EQ(ModifiedText({5, 0}), QString());
    // 2001-09-09 01:46:40 UTC is 1,000,000,000 s after 1970: (1e9 * 1e7 + 116444736000000000) ticks.
    const uint64_t ticks = 1000000000ULL * 10000000ULL + 116444736000000000ULL;
    const QDateTime local = QDateTime::fromSecsSinceEpoch(1000000000).toLocalTime();
    const QString expected = QLocale::system().toString(local.date(), QLocale::ShortFormat) + ' '
        + QLocale::system().toString(local.time(), QLocale::ShortFormat);
    EXPECT_EQ(ModifiedText({uint32_t(ticks), uint32_t(ticks >> 32)}), expected);
}

TEST_F(SystemListViewTest, ListsAFolderWithItsDetailTexts)
{
    MakeFolderWith("f", {});
    MakeFileBytes("f/one", "x");
    MakeFileBytes("f/kilo", QByteArray(1025, 'k'));
    MakeFolderBytes("f/sub");
    ASSERT_EQ(::truncate((Home() + "/f/big").constData(), 0), -1); // not there yet
    MakeFileBytes("f/big", "");
    ASSERT_EQ(::truncate((Home() + "/f/big").constData(), 1234567890), 0); // sparse
    MakeFileBytes("f/locked.txt", "r");
    ASSERT_EQ(::chmod((Home() + "/f/locked.txt").constData(), 0444), 0);
    Show("f");
    EXPECT_TRUE(FListed);
    EXPECT_EQ(Captions().size(), 5);
    EXPECT_EQ(FView->ColumnType(), ctFileSystem);
    EXPECT_EQ(Detail("one", 0), "1 KB");
    EXPECT_EQ(Detail("kilo", 0), "2 KB");
    EXPECT_EQ(Detail("big", 0), "1,205,633 KB");
    EXPECT_EQ(Detail("sub", 0), QString()) << "folders show no size";
    EXPECT_EQ(Detail("locked.txt", 3), "R");
    EXPECT_EQ(Detail("one", 3), QString());
    EXPECT_FALSE(Detail("one", 2).isEmpty()) << "modified time";
    EXPECT_EQ(FView->GetItemData(Row("big"))->GetFileSize(), 1234567890u);
    EXPECT_EQ(FView->GetFullPath(Row("sub")), QString::fromUtf8(Home() + "/f/sub/"));
    EXPECT_EQ(FView->GetFullFilename(Row("one")), QString::fromUtf8(Home() + "/f/one"));
}

TEST_F(SystemListViewTest, ForcedAndUnforcedResets)
{
    MakeFolderWith("f", {"a"});
    Show("f");
    MakeFileBytes("f/b");
    int populated = 0;
    FView->OnPopulated = [&](vcl::TObject*) { ++populated; };
    EXPECT_TRUE(FView->LinkedReset(FDesktop.get(), FFolderID, false)) << "already shown";
    EXPECT_EQ(Captions(), QStringList{"a"});
    EXPECT_EQ(populated, 0);
    EXPECT_TRUE(FView->LinkedReset(FDesktop.get(), FFolderID, true));
    EXPECT_EQ(Captions().size(), 2);
    EXPECT_EQ(populated, 1);
    // Reset hands the control its own folder and identifier.
    MakeFileBytes("f/c");
    FView->SetShowFolders(true);
    FView->SetFileMask(QString());
    EXPECT_EQ(Captions().size(), 3) << "a new mask lists the folder again";
}

TEST_F(SystemListViewTest, NullIdentifierShowsTheDesktopWithFileSystemColumns)
{
    FView = std::make_unique<TTestListView>(nullptr);
    FView->SetColumnType(ctUnknown);
    EXPECT_FALSE(FView->LinkedReset(nullptr, nullptr, true)) << "no window yet: the listing waits";
    EXPECT_EQ(FView->Items()->Count(), 0);
    FView->HandleNeeded();
    EXPECT_EQ(FView->ColumnType(), ctFileSystem);
    QStringList headers;
    for (int i = 0; i < FView->Columns()->Count(); ++i)
        headers << FView->Columns()->Items(i)->Caption();
    EXPECT_EQ(headers, (QStringList{"Name", "Size", "Type", "Modified", "Attributes"}));
    EXPECT_GT(FView->Items()->Count(), 0);
    EXPECT_EQ(Pidlhelp::GetPidlSize(FView->GetSelectionPIDL()), 2) << "the desktop's empty list";
    bool systemFolder = false;
    for (int i = 0; i < FView->Items()->Count(); ++i)
        systemFolder |= FView->Items()->Item(i)->SubItems().Strings(1) == "System Folder";
    EXPECT_TRUE(systemFolder) << "the computer and the trash are system folders";
}

TEST_F(SystemListViewTest, FiltersByMaskAndFolders)
{
    MakeFolderWith("f", {"a.txt", "b.doc", "C.TXT", "notes"});
    MakeFolderBytes("f/sub.d");
    MakeFolderWith("f/withsub", {});
    MakeFolderBytes("f/withsub/inner");
    Show("f");
    FView->SetFileMask("*.txt");
    QStringList captions = Captions();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"C.TXT", "a.txt", "sub.d", "withsub"})) << "folders stay";
    // Masks see the file's name: a path-wide match of "a*" would find nothing.
    FView->SetFileMask("a*;n?tes.*"); // "notes" is matched as "notes."
    captions = Captions();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"a.txt", "notes", "sub.d", "withsub"}));
    FView->SetShowFolders(false);
    captions = Captions();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"a.txt", "notes"}));
}

TEST_F(SystemListViewTest, ColumnClicksSortDescendingThenAscending)
{
    MakeFolderBytes("f");
    MakeFileBytes("f/a", "xxx");
    MakeFileBytes("f/b", "x");
    MakeFileBytes("f/c", "xx");
    MakeFolderBytes("f/dir");
    Show("f");
    FView->ColClick(FView->Columns()->Items(0));
    EXPECT_TRUE(FView->LastSortDescending());
    EXPECT_EQ(Captions(), (QStringList{"c", "b", "a", "dir"})) << "the whole order reversed";
    FView->ColClick(FView->Columns()->Items(0));
    EXPECT_FALSE(FView->LastSortDescending());
    EXPECT_EQ(Captions(), (QStringList{"dir", "a", "b", "c"})) << "folders first";
    FView->ColClick(FView->Columns()->Items(1));
    EXPECT_EQ(FView->LastSortColumn(), 1);
    EXPECT_FALSE(FView->LastSortDescending()) << "another column starts ascending";
    EXPECT_EQ(Captions(), (QStringList{"dir", "b", "c", "a"})) << "by size: 1, 2, 3 bytes";
    FView->ColClick(FView->Columns()->Items(1));
    EXPECT_EQ(Captions(), (QStringList{"a", "c", "b", "dir"}));
}

TEST_F(SystemListViewTest, RenamingKeepsTheOldCaptionWhenRefused)
{
    MakeFolderWith("f", {"old", "taken"});
    Show("f");
    vcl::TListItem* row = Row("old");
    const struct { const char* Name; } refused[] = {{""}, {"taken"}, {"a/b"}, {".."}};
    for (const auto& r : refused) {
        FView->Edit(row, QString::fromUtf8(r.Name));
        EXPECT_EQ(row->Caption(), "old") << r.Name;
    }
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(Home() + "/f/taken")));
    FView->Edit(row, "new name");
    EXPECT_EQ(row->Caption(), "new name");
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(Home() + "/f/new name")));
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(Home() + "/f/old")));
    EXPECT_EQ(FView->GetFullPath(row), QString::fromUtf8(Home() + "/f/new name"));
    EXPECT_EQ(FView->FindItemFromID(FView->GetItemData(row)->RelativeID), row);
}

TEST_F(SystemListViewTest, UserColumnsFallBackWithoutAHandler)
{
    FView = std::make_unique<TTestListView>(nullptr);
    FView->SetColumnType(ctUser);
    EXPECT_EQ(FView->ColumnType(), ctUnknown);
    ASSERT_EQ(FView->Columns()->Count(), 1);
    EXPECT_EQ(FView->Columns()->Items(0)->Caption(), "Name");
    int asked = 0;
    FView->OnCreateColumns = [&](vcl::TObject*) { ++asked; };
    FView->SetColumnType(ctUser);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(FView->ColumnType(), ctUser);
}

TEST_F(SystemListViewTest, ColumnWidthsComeFromTheRegistry)
{
    {
        vcl::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true));
        registry.WriteBinaryData("DirectoryCols", QByteArray("\xC8\x00\x50\x00\x07", 5)); // 200, 80, half an entry
    }
    FView = std::make_unique<TTestListView>(nullptr);
    FView->CreateColumns(ctFileSystem);
    const int expected[] = {200, 80, 120, 120, 60};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(FView->Columns()->Items(i)->Width(), expected[i]) << i;
    vcl::TRegistry().DeleteKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
}

TEST_F(SystemListViewTest, RowWithoutRecordIsReported)
{
    MakeFolderWith("f", {"a"});
    Show("f");
    QStringList messages;
    vcl::SetMessageDlgResponder([&](const QString& msg, vcl::TMsgDlgType, vcl::TMsgDlgButtons) {
        messages << msg;
        return int(vcl::mrOk);
    });
    vcl::TListItem* bare = FView->Items()->Add();
    EXPECT_EQ(FView->GetItemAttrs(bare), 0u);
    EXPECT_FALSE(FView->RenameItem(bare, "x"));
    vcl::SetMessageDlgResponder(nullptr);
    EXPECT_EQ(messages, (QStringList{"Could not get folder data.", "Could not get folder data."}));
}

TEST_F(SystemListViewTest, FolderDeletedWhileShown)
{
    MakeFolderWith("f", {"a", "b"});
    Show("f");
    vcl::TListItem* row = Row("a");
    QDir(QString::fromUtf8(Home() + "/f")).removeRecursively();
    EXPECT_FALSE(FView->RenameItem(row, "c"));
    EXPECT_EQ(row->Caption(), "a");
    FView->DefaultDblClickAction(Row("b")); // the default action of a vanished file fails quietly
    int populated = 0;
    FView->OnPopulated = [&](vcl::TObject*) { ++populated; };
    EXPECT_FALSE(FView->LinkedReset(FDesktop.get(), FFolderID, true));
    EXPECT_EQ(FView->Items()->Count(), 0);
    EXPECT_EQ(populated, 1);
}

TEST_F(SystemListViewTest, OpeningAFolderRowFollowsIntoIt)
{
    MakeFolderWith("f", {});
    MakeFolderWith("f/inner", {"x", "y"});
    Show("f");
    FView->DefaultDblClickAction(Row("inner"));
    EXPECT_EQ(Captions().size(), 2);
    EXPECT_EQ(Pidlhelp::GetDisplayName(FDesktop.get(), FView->GetSelectionPIDL(), Pidlhelp::dntForParsing),
              QString::fromUtf8(Home() + "/f/inner"));
}

TEST_F(SystemListViewTest, LinksFormInPairsAndNotifyInOrder)
{
    MakeFolderWith("f", {});
    MakeFolderWith("f/inner", {"x"});
    std::vector<QByteArray> log;
    vcl::TComponent form(nullptr);
    auto* list = new TTestListView(&form);
    auto* second = new TTestListView(&form);
    auto* combo = new TTestComboBox(&form);
    combo->Log = &log;
    auto* tree = new TTestTreeView(&form);
    tree->Log = &log;
    EXPECT_EQ(list->TreeView(), tree);
    EXPECT_EQ(list->ComboBox(), combo);
    // Both list views follow the tree; the tree tells the first one placed.
    EXPECT_EQ(second->TreeView(), tree);
    EXPECT_EQ(tree->ListView(), list);
    EXPECT_EQ(tree->ComboBox(), combo);
    EXPECT_EQ(combo->ListView(), list);
    EXPECT_EQ(combo->TreeView(), tree);

    // The list tells its tree view, then its combo box.
    list->HandleNeeded();
    log.clear();
    LPITEMIDLIST inner = nullptr;
    ASSERT_TRUE(Pidlhelp::GetPIDLFromPath(nullptr, FDesktop.get(), QString::fromUtf8(Home() + "/f/inner"), inner));
    list->LinkedReset(FDesktop.get(), inner, true);
    list->NotifyLinkedControls(false);
    EXPECT_EQ(log, (std::vector<QByteArray>{"tree:" + QByteArray::number(Pidlhelp::PIDLCount(inner)),
                                            "combo:" + QByteArray::number(Pidlhelp::PIDLCount(inner))}));

    // The tree's first change reaches the list at once, later ones after the delay.
    tree->Selection = inner;
    tree->Folder = FDesktop.get();
    list->LinkedReset(nullptr, nullptr, true);
    tree->Change(nullptr);
    EXPECT_EQ(list->Items()->Count(), 1) << "the first change notifies at once";
    list->LinkedReset(nullptr, nullptr, true);
    tree->SetReadDelay(30);
    tree->Change(nullptr);
    EXPECT_TRUE(tree->ReadTimerRunning());
    EXPECT_NE(list->Items()->Count(), 1);
    EXPECT_TRUE(WaitUntil([&] { return list->Items()->Count() == 1; }));
    EXPECT_FALSE(tree->ReadTimerRunning());

    delete tree;
    EXPECT_EQ(list->TreeView(), nullptr);
    EXPECT_EQ(combo->TreeView(), nullptr);
    form.DestroyComponents();
    Pidlhelp::FreePIDL(inner);
}

// The shell's menu comes up synchronously, so "no menu" is known when the call returns.
TEST_F(SystemListViewTest, RightButtonUpShowsTheShellMenuOfTheRowOrTheSelection)
{
    MakeFolderWith("f", {"a", "b"});
    Show("f");
    FView->SetBounds(0, 0, 300, 200);
    FView->show();
    ASSERT_TRUE(WaitUntil([&] { return FView->View()->visualRect(FView->View()->model()->index(1, 0)).isValid(); }));
    QList<QStringList> menus;
    auto expectMenu = [&] {
        WhenFound<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, [&](QMenu* menu) {
            QStringList texts;
            for (QAction* action : menu->actions())
                texts << action->text();
            menus << texts;
            menu->close();
        });
    };
    expectMenu();
    FView->MouseUp(vcl::mbRight, {}, RowPoint("b").x(), RowPoint("b").y());
    ASSERT_EQ(menus.size(), 1);
    EXPECT_TRUE(menus.front().contains(QStringLiteral("&Open"))) << menus.front().join(u',').toStdString();
    EXPECT_TRUE(Row("b")->Selected());
    EXPECT_TRUE(Row("b")->Focused());
    // On the focused row the menu is the selection's.
    expectMenu();
    FView->MouseUp(vcl::mbRight, {}, RowPoint("b").x(), RowPoint("b").y());
    EXPECT_EQ(menus.size(), 2);
    // Nothing under the pointer, the left button, or a method without the shell's menu.
    FView->MouseUp(vcl::mbRight, {}, 290, 190);
    FView->MouseUp(vcl::mbLeft, {}, RowPoint("a").x(), RowPoint("a").y());
    FView->SetPopupMenuMethod(Systemcontrolpack::pmmUser);
    FView->MouseUp(vcl::mbRight, {}, RowPoint("a").x(), RowPoint("a").y());
    EXPECT_EQ(menus.size(), 2);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_FALSE(Row("a")->Selected());
}

// The control's own pop-up menu shows only for the methods that offer it, and never
// over a row that gets the shell's menu.
TEST_F(SystemListViewTest, ContextMenuEventShowsTheUserMenuWhereAllowed)
{
    MakeFolderWith("f", {"a"});
    Show("f");
    FView->SetBounds(0, 0, 300, 200);
    FView->show();
    ASSERT_TRUE(WaitUntil([&] { return FView->View()->visualRect(FView->View()->model()->index(0, 0)).isValid(); }));
    vcl::TPopupMenu user(nullptr);
    FView->SetPopupMenu(&user);
    int shown = 0;
    vcl::TPopupMenu::SetResponder([&](vcl::TPopupMenu* menu, int, int) -> vcl::TMenuItem* {
        shown += menu == &user;
        return nullptr;
    });
    const QPoint row = RowPoint("a");
    const QPoint empty(290, 190);
    const struct { Systemcontrolpack::TPopupMenuMethod Method; QPoint At; int Shown; } cases[] = {
        {Systemcontrolpack::pmmContextUser, row, 0}, {Systemcontrolpack::pmmContextUser, empty, 1},
        {Systemcontrolpack::pmmUser, row, 1}, {Systemcontrolpack::pmmUser, empty, 1},
        {Systemcontrolpack::pmmContext, empty, 0}, {Systemcontrolpack::pmmNone, empty, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Method));
        shown = 0;
        FView->SetPopupMenuMethod(c.Method);
        QContextMenuEvent event(QContextMenuEvent::Mouse, c.At, FView->mapToGlobal(c.At));
        QApplication::sendEvent(FView.get(), &event);
        EXPECT_EQ(shown, c.Shown);
    }
    vcl::TPopupMenu::SetResponder(nullptr);
    FView->SetPopupMenu(nullptr);
}

TEST_F(SystemListViewTest, AutoscrollScrollsNearTheEdgesOnly)
{
    MakeFolderBytes("f");
    for (int i = 0; i < 200; ++i)
        MakeFileBytes("f/file" + QByteArray::number(i));
    Show("f");
    FView->SetViewStyle(vcl::vsReport);
    FView->SetBounds(0, 0, 200, 120);
    FView->show();
    QScrollBar* bar = FView->View()->verticalScrollBar();
    ASSERT_TRUE(WaitUntil([&] { return bar->maximum() > 2; }));
    FView->MouseMove({}, 100, FView->height() - 2);
    EXPECT_EQ(bar->value(), 0) << "off by default";
    FView->SetAutoscroll(true);
    FView->MouseMove({}, 100, FView->height() / 2);
    EXPECT_EQ(bar->value(), 0) << "the middle does not scroll";
    FView->MouseMove({}, 100, FView->height() - 2);
    FView->MouseMove({}, 100, FView->height() - 2);
    EXPECT_EQ(bar->value(), 2 * bar->singleStep());
    FView->MouseMove({}, 100, 1);
    EXPECT_EQ(bar->value(), bar->singleStep());
}

TEST_F(SystemListViewTest, ComboBoxClickTakesTheLinkedListToItsFolder)
{
    MakeFolderWith("f", {"x", "y"});
    std::vector<QByteArray> log;
    vcl::TComponent form(nullptr);
    auto* list = new TTestListView(&form);
    auto* combo = new TTestComboBox(&form);
    combo->Log = &log;
    ASSERT_EQ(combo->ListView(), list);
    list->HandleNeeded();
    LPITEMIDLIST folder = nullptr;
    ASSERT_TRUE(Pidlhelp::GetPIDLFromPath(nullptr, FDesktop.get(), QString::fromUtf8(Home() + "/f"), folder));
    combo->Selection = folder;
    combo->Folder = FDesktop.get();
    combo->Click();
    QStringList captions;
    for (int i = 0; i < list->Items()->Count(); ++i)
        captions << list->Items()->Item(i)->Caption();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"x", "y"}));
    form.DestroyComponents();
    Pidlhelp::FreePIDL(folder);
}

TEST_F(SystemListViewTest, DeletingAsksThenTrashesAndDropsTheRow)
{
    MakeFolderWith("f", {"a", "b"});
    Show("f");
    int answer = vcl::mrNo;
    QStringList asked;
    vcl::SetMessageDlgResponder([&](const QString& msg, vcl::TMsgDlgType, vcl::TMsgDlgButtons) {
        asked << msg;
        return answer;
    });
    EXPECT_FALSE(FView->DeleteItem(Row("a"))) << "refused";
    EXPECT_EQ(Captions().size(), 2);
    answer = vcl::mrYes;
    EXPECT_TRUE(FView->DeleteItem(Row("a")));
    vcl::SetMessageDlgResponder(nullptr);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(Captions(), QStringList{"b"});
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(Home() + "/f/a")));
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(Home() + "/.local/share/Trash/files/a")));
}

TEST_F(SystemListViewTest, DoubleClickingAFileOpensIt)
{
    MakeFolderWith("f", {"doc.txt"});
    Show("f");
    QList<QUrl> opened;
    const auto desktopOpener = platform::shell::ShellUserInterface().OpenUrl;
    platform::shell::ShellUserInterface().OpenUrl = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    FView->DefaultDblClickAction(Row("doc.txt"));
    platform::shell::ShellUserInterface().OpenUrl = desktopOpener;
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromUtf8(Home() + "/f/doc.txt"))});
    EXPECT_EQ(Captions(), QStringList{"doc.txt"}) << "a file does not change the folder shown";
}

TEST_F(SystemListViewTest, UnitEndRaisesWhileRecordsLive)
{
    MakeFolderWith("f", {"a"});
    Show("f");
    vcl::Initialize();
    try {
        vcl::Finalize();
        ADD_FAILURE() << "no ELeaking with a row record alive";
    } catch (const Systemcontrolpack::ELeaking& error) {
        EXPECT_EQ(error.Message(), "Memory Leak Detected.  Not all folder data was freed.");
    }
    FView.reset();
    vcl::Initialize();
    EXPECT_NO_THROW(vcl::Finalize());
}

TEST_F(SystemListViewTest, LargeFolderArrivesInSlices)
{
    constexpr int FileCount = 20000;
    MakeFolderBytes("big");
    for (int i = 0; i < FileCount; ++i)
        MakeFileBytes("big/file" + QByteArray::number(i), "");
    FView = std::make_unique<TTestListView>(nullptr);
    FView->HandleNeeded();
    int populated = 0;
    std::vector<int> counts;
    FView->OnPopulated = [&](vcl::TObject*) { ++populated; };
    Show("big");
    EXPECT_TRUE(FListed);
    counts.push_back(FView->Items()->Count());
    EXPECT_EQ(FView->Populating(), counts.back() < FileCount);
    ASSERT_TRUE(WaitUntil([&] {
        counts.push_back(FView->Items()->Count());
        return populated == 1;
    }, 120000));
    EXPECT_EQ(FView->Items()->Count(), FileCount);
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end())) << "rows only ever added";
    // A new listing while one is pending drops the rest of the old one.
    Show("big");
    MakeFolderWith("small", {"only"});
    Show("small");
    EXPECT_EQ(Captions(), QStringList{"only"});
    EXPECT_FALSE(FView->Populating());
}

} // namespace
