// The tree view through real mouse and key events on the offscreen platform: lazy
// children read in OnExpanding (and a refused expansion), editing, deletion
// notifications, node navigation and sorting.
#include "controls/waituntil.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/treeview.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

struct ShownTree {
    TForm form{nullptr};
    TTreeView* tree = new TTreeView(&form);

    ShownTree()
    {
        form.SetBounds(0, 0, 300, 300);
        tree->SetParent(&form);
        tree->SetAlign(alClient);
        form.Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        tree->View()->setFocus();
    }
    void Select(TTreeNode* node) { tree->SetSelected(node); }
};

} // namespace

TEST(TreeView, ChildrenAreReadOnlyWhenANodeExpandsAndExpansionCanBeRefused)
{
    ShownTree t;
    TTreeNode* lazy = t.tree->Items()->Add(nullptr, QStringLiteral("lazy"));
    TTreeNode* locked = t.tree->Items()->Add(nullptr, QStringLiteral("locked"));
    lazy->SetHasChildren(true);
    locked->SetHasChildren(true);
    // The button shows before any child exists.
    EXPECT_TRUE(t.tree->View()->model()->hasChildren(t.tree->View()->model()->index(0, 0)));
    int reads = 0, expanded = 0;
    t.tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
        if (node == locked) {
            allow = false;
            return;
        }
        if (node->Count() == 0) {
            ++reads;
            for (int i = 0; i < 3; ++i)
                t.tree->Items()->AddChild(node, QStringLiteral("child %1").arg(i));
        }
    };
    t.tree->OnExpanded = [&](TObject*, TTreeNode*) { ++expanded; };
    t.Select(lazy);
    QTest::keyClick(t.tree->View(), Qt::Key_Right);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(expanded, 1);
    EXPECT_TRUE(lazy->Expanded());
    EXPECT_TRUE(t.tree->View()->isExpanded(t.tree->View()->model()->index(0, 0)));
    ASSERT_EQ(lazy->Count(), 3);
    EXPECT_EQ(lazy->Item(2)->Level(), 1);
    // The children are on screen: Down moves onto the first of them.
    QTest::keyClick(t.tree->View(), Qt::Key_Down);
    EXPECT_EQ(t.tree->Selected(), lazy->Item(0));
    // Refused: stays closed, nothing read, no OnExpanded.
    t.Select(locked);
    QTest::keyClick(t.tree->View(), Qt::Key_Right);
    EXPECT_FALSE(locked->Expanded());
    EXPECT_FALSE(t.tree->View()->isExpanded(t.tree->View()->model()->index(1, 0)));
    EXPECT_EQ(expanded, 1);
    // A double-click on the lazy node's row collapses it again; expanding reads nothing new.
    lazy->SetExpanded(false);
    lazy->SetExpanded(true);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(expanded, 2);
}

TEST(TreeView, ClickingTheExpansionButtonExpands)
{
    ShownTree t;
    TTreeNode* node = t.tree->Items()->Add(nullptr, QStringLiteral("folder"));
    node->SetHasChildren(true);
    t.tree->OnExpanding = [&](TObject*, TTreeNode* n, bool&) { t.tree->Items()->AddChild(n, QStringLiteral("x")); };
    const QRect row = t.tree->View()->visualRect(t.tree->View()->model()->index(0, 0));
    // The button sits in the indentation left of the row's text.
    QTest::mouseClick(t.tree->View()->viewport(), Qt::LeftButton, {},
        QPoint(row.left() - t.tree->View()->indentation() / 2, row.center().y()));
    EXPECT_TRUE(node->Expanded());
    EXPECT_EQ(node->Count(), 1);
}

TEST(TreeView, EditingCanBeRefusedOrChanged)
{
    ShownTree t;
    TTreeNode* a = t.tree->Items()->Add(nullptr, QStringLiteral("a"));
    TTreeNode* b = t.tree->Items()->Add(nullptr, QStringLiteral("b"));
    t.tree->OnEditing = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != a; };
    t.tree->OnEdited = [](TObject*, TTreeNode*, QString& s) { s = QStringLiteral("[") + s + QStringLiteral("]"); };
    t.Select(a);
    QTest::keyClick(t.tree->View(), Qt::Key_F2);
    EXPECT_FALSE(t.tree->IsEditing());
    t.Select(b);
    QTest::keyClick(t.tree->View(), Qt::Key_F2);
    ASSERT_TRUE(t.tree->IsEditing());
    auto* editor = t.tree->View()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits after the key has been handled.
    EXPECT_TRUE(WaitUntil([&] { return !t.tree->IsEditing(); }));
    EXPECT_EQ(b->Text(), QStringLiteral("[new]"));
}

TEST(TreeView, ChangingCanRefuseTheNewSelection)
{
    ShownTree t;
    TTreeNode* a = t.tree->Items()->Add(nullptr, QStringLiteral("a"));
    TTreeNode* b = t.tree->Items()->Add(nullptr, QStringLiteral("b"));
    std::vector<TTreeNode*> changes;
    t.tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    t.Select(a);
    t.tree->OnChanging = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != b; };
    QTest::keyClick(t.tree->View(), Qt::Key_Down);
    EXPECT_EQ(t.tree->Selected(), a);
    EXPECT_EQ(changes, std::vector<TTreeNode*>{a});
    // Deleting the selected node moves the selection on without asking: the node
    // it would go back to is gone.
    a->Delete();
    EXPECT_EQ(t.tree->Selected(), b);
}

TEST(TreeView, DeletionIsReportedForEveryNodeChildrenFirst)
{
    std::vector<QString> deleted;
    {
        ShownTree t;
        t.tree->OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->Text()); };
        TTreeNode* root = t.tree->Items()->Add(nullptr, QStringLiteral("root"));
        TTreeNode* mid = t.tree->Items()->AddChild(root, QStringLiteral("mid"));
        t.tree->Items()->AddChild(mid, QStringLiteral("leaf"));
        t.tree->Items()->AddChild(root, QStringLiteral("second"));
        EXPECT_EQ(t.tree->Items()->Count(), 4);
        mid->Delete();
        EXPECT_EQ(deleted, (std::vector<QString>{"leaf", "mid"}));
        EXPECT_EQ(t.tree->Items()->Count(), 2);
        t.tree->Items()->Clear();
        EXPECT_EQ(deleted.size(), 4u);
        t.tree->Items()->AddChild(t.tree->Items()->Add(nullptr, QStringLiteral("x")), QStringLiteral("y"));
    }
    EXPECT_EQ(deleted.size(), 6u);
    EXPECT_EQ(deleted[4], QStringLiteral("y"));
}

TEST(TreeView, NavigationAndSortingFollowTheHierarchy)
{
    ShownTree t;
    TTreeNodes* nodes = t.tree->Items();
    TTreeNode* b = nodes->Add(nullptr, QStringLiteral("b"));
    TTreeNode* a = nodes->Add(nullptr, QStringLiteral("a"));
    nodes->AddChild(b, QStringLiteral("b2"));
    nodes->AddChild(b, QStringLiteral("B1"));
    nodes->Insert(b, QStringLiteral("c"));
    QStringList order;
    for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext())
        order << n->Text();
    EXPECT_EQ(order, QStringList({"c", "b", "b2", "B1", "a"}));
    b->SetExpanded(true);
    t.Select(b->Item(1));
    t.tree->AlphaSort();
    order.clear();
    for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext())
        order << n->Text();
    EXPECT_EQ(order, QStringList({"a", "b", "B1", "b2", "c"}));
    EXPECT_EQ(nodes->Item(2)->Text(), QStringLiteral("B1"));
    EXPECT_EQ(nodes->Item(2)->AbsoluteIndex(), 2);
    EXPECT_EQ(a->getNextSibling(), b);
    EXPECT_EQ(b->Item(0)->Parent(), b);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_TRUE(b->IsParentOf(b->Item(1)));
    // Expansion and selection follow their nodes.
    EXPECT_TRUE(t.tree->View()->isExpanded(t.tree->View()->model()->index(1, 0)));
    EXPECT_EQ(t.tree->Selected()->Text(), QStringLiteral("B1"));
    EXPECT_THROW(nodes->Item(5), EListError);
    const TRect r = b->DisplayRect(true);
    EXPECT_EQ(t.tree->GetNodeAt(r.Left + 2, (r.Top + r.Bottom) / 2), b);
}
