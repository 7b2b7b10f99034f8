// The three shell controls on one form link themselves and follow each other through
// real mouse clicks: a node clicked in the tree, a folder double-clicked in the list
// and a line chosen in the combo box's drop-down each move the other two.
#include "controls/waituntil.h"
#include "shell/shelltestkit.h"
#include "shell/systemcombobox.h"
#include "shell/systemlistview.h"
#include "shell/systemtreeview.h"
#include "vcl/controls/forms.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>
#include <QDir>
#include <QtTest/QTest>

using Systemcombobox::TSystemComboBox;
using Systemlistview::TSystemListView;
using Systemtreeview::TSystemTreeView;

namespace {

class ShellLinksTest : public qvtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        for (const char* folder : {"tree/a/b", "tree/a/d", "tree/e"})
            ASSERT_TRUE(QDir().mkpath(Path(folder)));
        MakeFileBytes("tree/a/one.txt");
        MakeFileBytes("tree/a/b/deep.txt");
        FForm = std::make_unique<vcl::TForm>(nullptr);
        FForm->SetBounds(0, 0, 640, 400);
        FCombo = new TSystemComboBox(FForm.get());
        FTree = new TSystemTreeView(FForm.get());
        FList = new TSystemListView(FForm.get());
        FCombo->SetParent(FForm.get());
        FCombo->SetBounds(0, 0, 640, 24);
        FTree->SetParent(FForm.get());
        FTree->SetBounds(0, 30, 240, 370);
        FTree->SetReadDelay(50);
        FTree->SetRootFolder(Systemtreeview::rfCustom);
        FTree->SetCustomDir(Path("tree"));
        FList->SetParent(FForm.get());
        FList->SetBounds(250, 30, 390, 370);
        FForm->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FForm.get()));
    }
    void TearDown() override
    {
        FForm.reset();
        ShellTest::TearDown();
    }
    QString Path(const char* Relative) const { return QString::fromUtf8(Home() + '/' + Relative); }
    QStringList ListCaptions() const
    {
        QStringList captions;
        for (int i = 0; i < FList->Items()->Count(); ++i)
            captions << FList->Items()->Item(i)->Caption();
        captions.sort();
        return captions;
    }
    // True once the list shows Folder's items and the tree and combo box name Folder.
    bool AllShow(const char* Folder, const QStringList& Items) const
    {
        return ListCaptions() == Items && FTree->Selection() == Path(Folder)
            && FCombo->GetActiveFolderName() == Path(Folder);
    }
    QString State() const
    {
        return "list " + ListCaptions().join(",") + " | tree " + FTree->Selection() + " | combo "
            + FCombo->GetActiveFolderName();
    }
    vcl::TTreeNode* Node(vcl::TTreeNode* Parent, const QString& Text) const
    {
        for (vcl::TTreeNode* child = Parent->GetFirstChild(); child; child = child->getNextSibling())
            if (child->Text() == Text)
                return child;
        return nullptr;
    }

    std::unique_ptr<vcl::TForm> FForm;
    TSystemComboBox* FCombo = nullptr;
    TSystemTreeView* FTree = nullptr;
    TSystemListView* FList = nullptr;
};

} // namespace

TEST_F(ShellLinksTest, TreeListAndComboFollowEachOtherThroughClicks)
{
    ASSERT_EQ(FTree->ListView(), FList);
    ASSERT_EQ(FTree->ComboBox(), FCombo);
    ASSERT_EQ(FList->ComboBox(), FCombo);
    EXPECT_TRUE(WaitUntil([&] { return AllShow("tree", {"a", "e"}); })) << State().toStdString();

    // A click on a node of the tree.
    vcl::TTreeNode* a = Node(FTree->Items()->GetFirstNode(), "a");
    ASSERT_NE(a, nullptr);
    const vcl::TRect text = a->DisplayRect(true);
    const QPoint onA = FTree->View()->viewport()->mapFrom(FTree, QPoint(text.Left + 4, (text.Top + text.Bottom) / 2));
    QTest::mouseClick(FTree->View()->viewport(), Qt::LeftButton, {}, onA);
    EXPECT_TRUE(WaitUntil([&] { return AllShow("tree/a", {"b", "d", "one.txt"}); })) << State().toStdString();

    // A double click on a folder of the list.
    int row = -1;
    for (int i = 0; i < FList->Items()->Count(); ++i)
        if (FList->Items()->Item(i)->Caption() == "b")
            row = i;
    ASSERT_GE(row, 0);
    QAbstractItemView* listView = FList->View();
    const QPoint onB = listView->visualRect(listView->model()->index(row, 0)).center();
    QTest::mouseClick(listView->viewport(), Qt::LeftButton, {}, onB);
    QTest::mouseDClick(listView->viewport(), Qt::LeftButton, {}, onB);
    EXPECT_TRUE(WaitUntil([&] { return AllShow("tree/a/b", {"deep.txt"}); })) << State().toStdString();

    // A line of the combo box's drop-down: its temporary line of "tree".
    int line = -1;
    for (int i = 0; i < FCombo->Items()->Count(); ++i)
        if (FCombo->Entry(i)->ParsingName == Path("tree"))
            line = i;
    ASSERT_GE(line, 0) << "the ancestors of the active folder have lines";
    EXPECT_TRUE(FCombo->Entry(line)->Temporary);
    FCombo->SetDropDownCount(FCombo->Items()->Count());
    QTest::mouseClick(FCombo, Qt::LeftButton, {}, QPoint(FCombo->Width() - 8, FCombo->Height() / 2));
    ASSERT_TRUE(FCombo->DroppedDown());
    const QPoint onLine(60, 1 + line * FCombo->ItemHeight() + FCombo->ItemHeight() / 2);
    QTest::mouseMove(FCombo->DropDownList(), onLine);
    QTest::mouseClick(FCombo->DropDownList(), Qt::LeftButton, {}, onLine);
    EXPECT_TRUE(WaitUntil([&] { return AllShow("tree", {"a", "e"}); })) << State().toStdString();
    EXPECT_EQ(FTree->Selected(), FTree->Items()->GetFirstNode());
}

TEST_F(ShellLinksTest, ARightClickOnANodeSelectsItAndShowsItsShellMenu)
{
    ASSERT_TRUE(WaitUntil([&] { return AllShow("tree", {"a", "e"}); })) << State().toStdString();
    const struct { Systemcontrolpack::TPopupMenuMethod Method; const char* Node; bool Menu; } cases[] = {
        {Systemcontrolpack::pmmContext, "e", true},
        {Systemcontrolpack::pmmContextUser, "a", true},
        // Without the shell's menu a right click leaves the selection where it was.
        {Systemcontrolpack::pmmNone, "e", false},
        {Systemcontrolpack::pmmUser, "e", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Method);
        FTree->SetPopupMenuMethod(c.Method);
        vcl::TTreeNode* node = Node(FTree->Items()->GetFirstNode(), QString::fromLatin1(c.Node));
        ASSERT_NE(node, nullptr);
        vcl::TTreeNode* before = FTree->Selected();
        QStringList shown;
        WhenFound<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
            [&](QMenu* menu) {
                for (QAction* action : menu->actions())
                    shown << action->text();
                menu->close();
            });
        const vcl::TRect text = node->DisplayRect(true);
        const QPoint at = FTree->View()->viewport()->mapFrom(FTree, QPoint(text.Left + 4, (text.Top + text.Bottom) / 2));
        QTest::mouseClick(FTree->View()->viewport(), Qt::RightButton, {}, at);
        if (c.Menu) {
            EXPECT_TRUE(shown.contains("&Open")) << shown.join(",").toStdString();
            EXPECT_EQ(FTree->Selected(), node);
        } else {
            QCoreApplication::processEvents();
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_EQ(FTree->Selected(), before);
        }
    }
}

TEST_F(ShellLinksTest, CheckBoxesToggleWithTheSpaceBarAndNewNodesStartUnchecked)
{
    FTree->SetCheckboxes(true);
    vcl::TTreeNode* a = Node(FTree->Items()->GetFirstNode(), "a");
    vcl::TTreeNode* e = Node(FTree->Items()->GetFirstNode(), "e");
    ASSERT_TRUE(a && e);
    EXPECT_FALSE(FTree->GetItemCheck(e));
    FTree->SetSelected(e);
    FTree->View()->setFocus();
    QTest::keyClick(FTree->View(), Qt::Key_Space);
    EXPECT_TRUE(FTree->GetItemCheck(e));
    FTree->SetItemCheck(e, false);
    EXPECT_FALSE(FTree->GetItemCheck(e));
    QTest::keyClick(FTree->View(), Qt::Key_Space);
    EXPECT_TRUE(FTree->GetItemCheck(e));
    // Children read later get an empty box of their own.
    a->Expand(false);
    ASSERT_GT(a->Count(), 0);
    for (vcl::TTreeNode* child = a->GetFirstChild(); child; child = child->getNextSibling()) {
        EXPECT_FALSE(FTree->GetItemCheck(child)) << child->Text().toStdString();
        EXPECT_EQ(child->StateIndex(), 0);
    }
}
