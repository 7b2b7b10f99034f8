// The system tree view and the system combo box on folders the tests build in a scratch
// home: roots, lazy reading, masks, selection by path, the change watcher (changes
// from outside, a vanished folder, and no thread or descriptor left after 1,000
// changes of folder), new and renamed folders, the combo box's lines and temporary
// ancestors.
#include "controls/waituntil.h"
#include "shell/filechange.h"
#include "shell/pidlhelp.h"
#include "shell/shelltestkit.h"
#include "shell/systemcombobox.h"
#include "shell/systemtreeview.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/forms.h"
#include "vcl/graphics/colors.h"

#include <QDir>
#include <QFile>
#include <memory>

using namespace Systemtreeview;
using Systemcombobox::TSystemComboBox;

namespace {

// Entries of a /proc/self directory: descriptors or threads of this process.
int ProcEntries(const char* Folder)
{
    return int(QDir(QString::fromLatin1(Folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// The change-notification descriptors of this process: one per running watcher once
// it has started watching.
int InotifyDescriptors()
{
    int count = 0;
    for (const QFileInfo& entry : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        count += entry.symLinkTarget().contains(QStringLiteral("inotify"));
    return count;
}

// The watcher threads of this process (each names itself once it runs).
int WatcherThreads()
{
    int count = 0;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        count += comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == Filechange::TFileChangeThread::ThreadName;
    }
    return count;
}

// Threads and descriptors once the watchers of earlier tests have ended.
struct TProcessCounts {
    int Threads = 0;
    int Descriptors = 0;
    static TProcessCounts Settled()
    {
        EXPECT_TRUE(WaitUntil([] { return WatcherThreads() == 0 && InotifyDescriptors() == 0; }, 20000));
        return {ProcEntries("/proc/self/task"), ProcEntries("/proc/self/fd")};
    }
};

class SystemTreeViewTest : public qvtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        FRecordsBefore = LiveRecordCount();
        for (const char* folder : {"tree/a/b/c", "tree/a/d", "tree/empty", "tree/keep.txt"})
            ASSERT_TRUE(QDir().mkpath(Path(folder)));
        for (const char* file : {"tree/a/one.txt", "tree/a/two.doc", "tree/keep.txt/inner.doc", "tree/b.txt"})
            MakeFileBytes(file);
    }
    void TearDown() override
    {
        FTree.reset();
        FCombo.reset();
        EXPECT_EQ(LiveRecordCount(), FRecordsBefore) << "node records outlived their tree view";
        ShellTest::TearDown();
    }
    QString Path(const char* Relative) const { return QString::fromUtf8(Home() + '/' + Relative); }
    // A tree with its window; Setup runs before the window is made.
    TSystemTreeView* Tree(const std::function<void(TSystemTreeView*)>& Setup = {})
    {
        FTree = std::make_unique<TSystemTreeView>(nullptr);
        FTree->SetReadDelay(0);
        if (Setup)
            Setup(FTree.get());
        FTree->HandleNeeded();
        return FTree.get();
    }
    // A tree rooted at the test's "tree" folder; More runs before the window is made.
    TSystemTreeView* TreeOfTheSampleFolder(const std::function<void(TSystemTreeView*)>& More = {})
    {
        return Tree([&](TSystemTreeView* t) {
            t->SetRootFolder(rfCustom);
            t->SetCustomDir(Path("tree"));
            if (More)
                More(t);
        });
    }
    static QStringList Children(vcl::TTreeNode* Node)
    {
        QStringList names;
        for (vcl::TTreeNode* child = Node ? Node->GetFirstChild() : nullptr; child; child = child->getNextSibling())
            names << child->Text();
        return names;
    }
    static vcl::TTreeNode* Child(vcl::TTreeNode* Node, const QString& Name)
    {
        for (vcl::TTreeNode* child = Node->GetFirstChild(); child; child = child->getNextSibling())
            if (child->Text() == Name)
                return child;
        return nullptr;
    }

    std::unique_ptr<TSystemTreeView> FTree;
    std::unique_ptr<TSystemComboBox> FCombo;
    int FRecordsBefore = 0;
};

} // namespace

TEST_F(SystemTreeViewTest, RootsGiveTheirTreesAndMissingOnesAnEmptyTree)
{
    const struct {
        TRootFolder Root;
        const char* CustomDir;
        QString Caption;
        QString RootText; // empty: no root node at all
        const char* AChild;
    } cases[] = {
        {rfDesktop, "", {}, "Desktop", "Computer"},
        {rfDrives, "", {}, "Computer", "/"},
        {rfFileSystem, "", {}, "Computer", "/"},
        {rfCustom, "tree", {}, "tree", "a"},
        {rfCustom, "tree", "Project", "Project", "a"},
        {rfCustom, "missing", {}, {}, ""},
        {rfCustom, "", {}, {}, ""},
        // Special folders without a counterpart here.
        {rfPrinters, "", {}, {}, ""},
        {rfFonts, "", {}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "root " << c.Root << " " << c.CustomDir);
        TSystemTreeView* tree = Tree([&](TSystemTreeView* t) {
            t->SetRootFolder(c.Root);
            t->SetCustomDir(c.Root == rfCustom && *c.CustomDir ? Path(c.CustomDir) : QString());
            t->SetCustomDirCaption(c.Caption);
        });
        vcl::TTreeNode* root = tree->Items()->GetFirstNode();
        if (c.RootText.isEmpty()) {
            EXPECT_EQ(tree->Items()->Count(), 0);
            continue;
        }
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->Text(), c.RootText);
        EXPECT_TRUE(root->Expanded()) << "ExpandRoot";
        EXPECT_TRUE(Children(root).contains(QString::fromLatin1(c.AChild))) << Children(root).join(",").toStdString();
    }
}

TEST_F(SystemTreeViewTest, FoldersComeSortedFilesOnlyWithShowFilesAndMasksMatchTheName)
{
    const struct {
        bool ShowFiles;
        const char* Mask;
        QStringList InTree;   // children of tree/
        QStringList InA;      // children of tree/a
        QStringList InKeep;   // children of tree/keep.txt
    } cases[] = {
        {false, "", {"a", "empty", "keep.txt"}, {"b", "d"}, {}},
        {true, "", {"a", "b.txt", "empty", "keep.txt"}, {"b", "d", "one.txt", "two.doc"}, {"inner.doc"}},
        // The mask keeps folders; it is tried on the file's name, so a folder whose
        // name matches lets nothing below it through.
        {true, "*.txt", {"a", "b.txt", "empty", "keep.txt"}, {"b", "d", "one.txt"}, {}},
        {true, "o*;T*", {"a", "empty", "keep.txt"}, {"b", "d", "one.txt", "two.doc"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ShowFiles << " " << c.Mask);
        TSystemTreeView* tree = TreeOfTheSampleFolder([&](TSystemTreeView* t) {
            t->SetShowFiles(c.ShowFiles);
            t->SetFileMask(QString::fromLatin1(c.Mask));
        });
        vcl::TTreeNode* root = tree->Items()->GetFirstNode();
        ASSERT_NE(root, nullptr);
        QStringList inTree = Children(root);
        inTree.sort(); // the namespace puts folders and files in an order of its own
        EXPECT_EQ(inTree, c.InTree);
        vcl::TTreeNode* a = Child(root, "a");
        ASSERT_NE(a, nullptr);
        a->Expand(false);
        QStringList inA = Children(a);
        inA.sort();
        EXPECT_EQ(inA, c.InA);
        vcl::TTreeNode* keep = Child(root, "keep.txt");
        keep->Expand(false);
        EXPECT_EQ(Children(keep), c.InKeep);
    }
}

TEST_F(SystemTreeViewTest, AnEmptyFolderLosesItsButtonWhenExpanded)
{
    int populated = 0;
    TSystemTreeView* tree = TreeOfTheSampleFolder([&](TSystemTreeView* t) {
        t->SetShowFiles(true);
        t->OnPopulated = [&](vcl::TObject*, vcl::TTreeNode*) { ++populated; };
    });
    vcl::TTreeNode* empty = Child(tree->Items()->GetFirstNode(), "empty");
    ASSERT_NE(empty, nullptr);
    const int before = populated;
    EXPECT_TRUE(empty->HasChildren()) << "the button shows until the folder is read";
    empty->Expand(false);
    EXPECT_FALSE(empty->HasChildren());
    EXPECT_FALSE(empty->Expanded());
    EXPECT_EQ(populated, before) << "a refused expansion populates nothing";
    // A folder with only files keeps its button and reads them.
    vcl::TTreeNode* keep = Child(tree->Items()->GetFirstNode(), "keep.txt");
    keep->Expand(false);
    EXPECT_TRUE(keep->Expanded());
    EXPECT_EQ(populated, before + 1);
}

TEST_F(SystemTreeViewTest, SelectionByPathBeforeAndAfterTheWindow)
{
    TSystemTreeView* tree = Tree([&](TSystemTreeView* t) { t->SetSelection(Path("tree/a/b/c")); });
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "c");
    EXPECT_EQ(tree->Selection(), Path("tree/a/b/c"));
    const struct { const char* Set; const char* Expected; } cases[] = {
        {"tree/a/d", "tree/a/d"},
        {"tree/a/b/", "tree/a/b"},
        {"tree/a/b/c/../../d", "tree/a/d"},
        {"tree/a/nothing", "tree/a/d"}, // not there: the selection stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Set);
        tree->SetSelection(Path(c.Set));
        EXPECT_EQ(tree->Selection(), Path(c.Expected));
    }
    // A new window selects the same folder again.
    tree->RecreateWnd();
    tree->HandleNeeded();
    EXPECT_EQ(tree->Selection(), Path("tree/a/d"));
}

TEST_F(SystemTreeViewTest, TheWatchedFolderFollowsChangesFromOutside)
{
    // One watcher thread, and it is watching: every stopped one has ended.
    const int threads = TProcessCounts::Settled().Threads;
    auto watching = [&] {
        return WaitUntil([&] {
            return ProcEntries("/proc/self/task") == threads + 1 && WatcherThreads() == 1 && InotifyDescriptors() == 1;
        });
    };
    TSystemTreeView* tree = TreeOfTheSampleFolder();
    tree->SetSelection(Path("tree/a"));
    vcl::TTreeNode* a = tree->Selected();
    ASSERT_NE(a, nullptr);
    a->Expand(false);
    ASSERT_EQ(tree->WatchedNode(), a);
    ASSERT_TRUE(watching());
    // A folder made from outside shows up, and the node stays open.
    ASSERT_TRUE(QDir().mkdir(Path("tree/a/new")));
    EXPECT_TRUE(WaitUntil([&] { return Children(a).contains("new"); })) << Children(a).join(",").toStdString();
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(tree->WatchedNode(), a) << "watched again after the refresh";
    // The watched folder removed from outside: its parent is selected.
    tree->SetSelection(Path("tree/a/new"));
    ASSERT_EQ(tree->Selected()->Text(), "new");
    ASSERT_TRUE(watching());
    ASSERT_TRUE(QDir().rmdir(Path("tree/a/new")));
    EXPECT_TRUE(WaitUntil([&] { return tree->Selected() && tree->Selected()->Text() == "a"; }));
    EXPECT_FALSE(Children(tree->Selected()).contains("new"));
}

TEST_F(SystemTreeViewTest, AThousandFolderChangesLeaveNoThreadOrDescriptor)
{
    TSystemTreeView* tree = TreeOfTheSampleFolder();
    // Nothing is selected yet, so nothing is watched.
    ASSERT_EQ(tree->WatchedNode(), nullptr);
    const TProcessCounts before = TProcessCounts::Settled();
    const int threads = before.Threads;
    const int descriptors = before.Descriptors;
    vcl::TTreeNode* root = tree->Items()->GetFirstNode();
    vcl::TTreeNode* a = Child(root, "a");
    vcl::TTreeNode* empty = Child(root, "empty");
    ASSERT_TRUE(a && empty);
    for (int i = 0; i < 1000; ++i)
        tree->SetSelected(i % 2 ? a : empty);
    tree->SetSelected(root);
    EXPECT_EQ(tree->WatchedNode(), root);
    // Every stopped watcher ends within its wait period; only the root's runs on.
    EXPECT_TRUE(WaitUntil([&] {
        return ProcEntries("/proc/self/task") == threads + 1 && ProcEntries("/proc/self/fd") == descriptors + 1;
    }, 20000)) << ProcEntries("/proc/self/task") << " threads, " << ProcEntries("/proc/self/fd") << " descriptors";
    EXPECT_EQ(InotifyDescriptors(), 1);
    EXPECT_EQ(WatcherThreads(), 1);
    FTree.reset();
    EXPECT_TRUE(WaitUntil([&] {
        return ProcEntries("/proc/self/task") == threads && ProcEntries("/proc/self/fd") == descriptors;
    }, 20000)) << ProcEntries("/proc/self/task") << " threads, " << threads << " before; "
               << ProcEntries("/proc/self/fd") << " descriptors, " << descriptors << " before";
}

TEST_F(SystemTreeViewTest, NewAndRenamedFoldersStayInsideTheirParent)
{
    TSystemTreeView* tree = TreeOfTheSampleFolder();
    vcl::TTreeNode* a = Child(tree->Items()->GetFirstNode(), "a");
    const struct { QString Name; bool Created; } cases[] = {
        {"fresh", true}, {"fresh", false}, {"", false}, {"..", false}, {".", false}, {"x/y", false}, {"../out", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name.toStdString());
        EXPECT_EQ(tree->AddNewNode(a, c.Name, true), c.Created);
    }
    EXPECT_FALSE(QDir(Path("tree/out")).exists());
    EXPECT_FALSE(QDir(Path("tree/a/x")).exists());
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "fresh");
    // Renaming a read folder reads its children again under the new path.
    vcl::TTreeNode* b = Child(a, "b");
    b->Expand(false);
    ASSERT_TRUE(tree->RenameNode(b, "renamed"));
    EXPECT_EQ(b->Text(), "renamed");
    EXPECT_TRUE(QDir(Path("tree/a/renamed/c")).exists());
    EXPECT_EQ(tree->GetNodePath(Child(b, "c")), Path("tree/a/renamed/c"));
    EXPECT_FALSE(tree->RenameNode(b, ""));
    EXPECT_FALSE(tree->RenameNode(b, "d")) << "an existing name is refused";
    EXPECT_EQ(b->Text(), "renamed");
}

TEST_F(SystemTreeViewTest, DeletingAsksThenTrashesAndTheWatcherDropsTheNode)
{
    TSystemTreeView* tree = TreeOfTheSampleFolder();
    tree->SetSelection(Path("tree/a"));
    vcl::TTreeNode* a = tree->Selected();
    ASSERT_NE(a, nullptr);
    a->Expand(false);
    ASSERT_EQ(Children(a), (QStringList{"b", "d"}));
    // The watcher must be running before the deletion, or the change goes unseen.
    ASSERT_EQ(tree->WatchedNode(), a);
    ASSERT_TRUE(WaitUntil([] { return WatcherThreads() == 1 && InotifyDescriptors() == 1; }));
    int answer = vcl::mrNo;
    int asked = 0;
    vcl::SetMessageDlgResponder([&](const QString&, vcl::TMsgDlgType, vcl::TMsgDlgButtons) {
        ++asked;
        return answer;
    });
    EXPECT_FALSE(tree->DeleteNode(Child(a, "d"))) << "refused";
    EXPECT_TRUE(QDir(Path("tree/a/d")).exists());
    answer = vcl::mrYes;
    EXPECT_TRUE(tree->DeleteNode(Child(a, "d")));
    vcl::SetMessageDlgResponder(nullptr);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(QDir(Path("tree/a/d")).exists());
    EXPECT_TRUE(QDir(Path(".local/share/Trash/files/d")).exists());
    // The selected folder is watched, so the deleted child's node goes by itself.
    EXPECT_TRUE(WaitUntil([&] { return Children(a) == QStringList{"b"}; })) << Children(a).join(",").toStdString();
    EXPECT_FALSE(tree->DeleteNode(nullptr));
}

TEST_F(SystemTreeViewTest, ComboListsDesktopThenItsFoldersWithDrivesUnderTheComputer)
{
    FCombo = std::make_unique<TSystemComboBox>(nullptr);
    FCombo->HandleNeeded();
    TSystemComboBox* combo = FCombo.get();
    ASSERT_GT(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Strings(0), "Desktop");
    EXPECT_EQ(combo->Entry(0)->Indent, 0);
    EXPECT_EQ(combo->ItemIndex(), 0);
    int computer = -1;
    for (int i = 1; i < combo->Items()->Count(); ++i)
        if (combo->Items()->Strings(i) == "Computer")
            computer = i;
    ASSERT_GT(computer, 0);
    // Desktop items at 10, drives right below the computer at 20, the root first.
    EXPECT_EQ(combo->Entry(computer)->Indent, 10);
    EXPECT_EQ(combo->Entry(computer + 1)->ParsingName, "/");
    int line = computer + 1;
    while (combo->Entry(line) && combo->Entry(line)->Indent == 20)
        ++line;
    for (int i = 1; i < combo->Items()->Count(); ++i)
        EXPECT_EQ(combo->Entry(i)->Indent, i > computer && i < line ? 20 : 10) << i;

    // A deep folder gets its missing ancestors as temporary lines after the home line.
    const int lines = combo->Items()->Count();
    combo->SetActiveFolderName(Path("tree/a/b"));
    ASSERT_EQ(combo->Items()->Count(), lines + 3);
    const int b = combo->ItemIndex();
    EXPECT_EQ(combo->GetActiveFolderName(), Path("tree/a/b"));
    const QString names[] = {"tree", "a", "b"};
    for (int i = 0; i < 3; ++i) {
        const Systemcombobox::TShellItem* entry = combo->Entry(b - 2 + i);
        EXPECT_EQ(entry->DisplayName, names[i]);
        EXPECT_TRUE(entry->Temporary);
        EXPECT_EQ(entry->Indent, combo->Entry(b - 3)->Indent + 10 * (i + 1));
    }
    EXPECT_EQ(combo->Entry(b - 3)->ParsingName, QString::fromUtf8(Home()));
    // The next change removes them; a folder that has a line is simply selected.
    combo->SetActiveFolderName(QString::fromUtf8(Home()));
    EXPECT_EQ(combo->Items()->Count(), lines);
    EXPECT_EQ(combo->GetActiveFolderName(), QString::fromUtf8(Home()));
    combo->SetActiveFolderName(Path("does/not/exist"));
    EXPECT_EQ(combo->GetActiveFolderName(), QString::fromUtf8(Home())) << "an unparsable path changes nothing";
}

TEST_F(SystemTreeViewTest, ComboLinesAreDrawnIndentedWithTheSelectionFromTheText)
{
    vcl::TForm form(nullptr);
    auto* combo = new TSystemComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(0, 0, 300, 24);
    combo->SetItemHeight(18);
    form.Show();
    combo->SetActiveFolderName(Path("tree/a"));
    ASSERT_EQ(combo->GetActiveFolderName(), Path("tree/a"));
    combo->SetDropDownCount(combo->Items()->Count());
    const uint32_t highlight = vcl::ToQRgb(vcl::clHighlight);
    // The line shown selected has its text area, and only that, in the highlight
    // colour: it starts after the one-pixel frame, the indent and the 16-pixel icon.
    const struct { const char* Name; int Indent; } lines[] = {{"Desktop", 0}, {"Home", 10}, {"tree", 20}, {"a", 30}};
    for (const auto& line : lines) {
        SCOPED_TRACE(line.Name);
        int index = -1;
        for (int i = 0; i < combo->Items()->Count(); ++i)
            if (combo->Items()->Strings(i) == QString::fromLatin1(line.Name))
                index = i;
        ASSERT_GE(index, 0);
        EXPECT_EQ(combo->Entry(index)->Indent, line.Indent);
        combo->SetItemIndex(index);
        combo->SetDroppedDown(true);
        combo->DropDownList()->Repaint();
        const QImage list = combo->DropDownList()->BackBuffer();
        combo->SetDroppedDown(false);
        const int y = 1 + index * 18 + 9;
        int first = -1;
        for (int x = 0; x < list.width() && first < 0; ++x)
            if ((list.pixel(x, y) | 0xFF000000u) == highlight)
                first = x;
        EXPECT_EQ(first, 1 + line.Indent + 16);
    }
}
