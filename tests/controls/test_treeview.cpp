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

TEST(TreeView, ChildrenAreReadOnlyWhenANodeExpandsByKeyOrButtonAndExpansionCanBeRefused)
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
    // A click on the expansion button, in the indentation left of the row's text, expands.
    lazy->SetExpanded(false);
    const QRect row = t.tree->View()->visualRect(t.tree->View()->model()->index(0, 0));
    QTest::mouseClick(t.tree->View()->viewport(), Qt::LeftButton, {},
        QPoint(row.left() - t.tree->View()->indentation() / 2, row.center().y()));
    EXPECT_TRUE(lazy->Expanded());
    EXPECT_EQ(expanded, 3);
}

TEST(TreeView, EditingCanBeRefusedOrChangedAndChangingCanRefuseTheNewSelection)
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

    // OnChanging can refuse the new selection.
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

namespace {

QRect RowOf(TCustomTreeView* tree, TTreeNode* node)
{
    return tree->View()->visualRect(tree->View()->model()->index(node->Index(), 0,
        node->Parent() ? tree->View()->model()->index(node->Parent()->Index(), 0) : QModelIndex()));
}

QImage Shot(TCustomTreeView* tree)
{
    tree->View()->viewport()->repaint();
    return tree->View()->viewport()->grab().toImage();
}

// Pixels from From to To (a horizontal or vertical run) in the lines' grey (128, 128, 128).
int GreyPixels(const QImage& image, QPoint from, QPoint to)
{
    const QPoint step(from.x() == to.x() ? 0 : 1, from.y() == to.y() ? 0 : 1);
    int count = 0;
    for (QPoint p = from; p.x() <= to.x() && p.y() <= to.y(); p += step) {
        count += (image.pixel(p) | 0xFF000000u) == qRgb(128, 128, 128);
        if (step.isNull())
            break;
    }
    return count;
}

} // namespace

TEST(TreeView, ShowLinesDrawsDottedLinesToTheChildrenAndCustomDrawPaintsANodesCell)
{
    ShownTree t;
    TTreeNode* root = t.tree->Items()->Add(nullptr, QStringLiteral("root"));
    TTreeNode* first = t.tree->Items()->AddChild(root, QStringLiteral("first"));
    t.tree->Items()->AddChild(root, QStringLiteral("second"));
    root->SetExpanded(true);
    // The children's line runs down the middle of the root's indentation column:
    // between the first child and its sibling below, every other pixel of the row.
    const QRect row = RowOf(t.tree, first);
    const int lineX = row.left() - t.tree->Indent() + t.tree->Indent() / 2;
    ASSERT_GT(lineX, 0);
    const QPoint top(lineX, row.top()), bottom(lineX, row.bottom());
    // And across to the child's image: every other pixel of half an indent.
    const QPoint across(lineX, row.top() + row.height() / 2), text(row.left() - 1, across.y());
    const QImage lined = Shot(t.tree);
    EXPECT_GE(GreyPixels(lined, top, bottom), row.height() / 2 - 1);
    EXPECT_GE(GreyPixels(lined, across, text), t.tree->Indent() / 4);
    t.tree->SetShowLines(false);
    const QImage plain = Shot(t.tree);
    EXPECT_EQ(GreyPixels(plain, top, bottom), 0);
    EXPECT_EQ(GreyPixels(plain, across, text), 0);

    // A custom-drawn node fills its own cell only.
    TTreeNode* red = t.tree->Items()->Add(nullptr, QStringLiteral("red"));
    t.tree->OnCustomDrawItem = [&](TCustomTreeView* sender, TTreeNode* node, TCustomDrawState, bool& defaultDraw) {
        if (node != red)
            return;
        sender->Canvas()->Brush()->SetColor(clRed);
        sender->Canvas()->FillRect(Rect(0, 0, sender->Width(), sender->Height()));
        defaultDraw = false;
    };
    const QImage shot = Shot(t.tree);
    const QRect cell = RowOf(t.tree, red);
    EXPECT_EQ(shot.pixel(cell.left() + 2, cell.center().y()) | 0xFF000000u, qRgb(255, 0, 0));
    EXPECT_NE(shot.pixel(RowOf(t.tree, root).center()) | 0xFF000000u, qRgb(255, 0, 0));
}

TEST(TreeView, UpdatesReachTheViewOnceAndKeepExpansionAndSelection)
{
    ShownTree t;
    TTreeNode* root = t.tree->Items()->Add(nullptr, QStringLiteral("root"));
    TTreeNode* child = t.tree->Items()->AddChild(root, QStringLiteral("child"));
    root->SetExpanded(true);
    t.Select(child);
    int inserted = 0, resets = 0;
    QObject::connect(t.tree->View()->model(), &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
    QObject::connect(t.tree->View()->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    t.tree->Items()->BeginUpdate();
    for (int i = 0; i < 200; ++i)
        t.tree->Items()->AddChild(root, QStringLiteral("n%1").arg(i));
    t.tree->Items()->BeginUpdate();
    t.tree->Items()->Add(nullptr, QStringLiteral("top"));
    t.tree->Items()->EndUpdate();
    EXPECT_EQ(resets, 0);
    t.tree->Items()->EndUpdate();
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(t.tree->View()->isExpanded(t.tree->View()->model()->index(0, 0)));
    EXPECT_EQ(t.tree->Selected(), child);
    EXPECT_EQ(t.tree->View()->model()->rowCount(t.tree->View()->model()->index(0, 0)), 201);
    // A deletion inside an update tells the views of the additions first.
    t.tree->Items()->BeginUpdate();
    t.tree->Items()->AddChild(root, QStringLiteral("late"));
    root->Item(0)->Delete();
    EXPECT_EQ(resets, 2);
    t.tree->Items()->EndUpdate();
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(t.tree->View()->model()->rowCount(t.tree->View()->model()->index(0, 0)), 201);
}

TEST(TreeView, CheckboxesRightClickAndSubclassedNotifications)
{
    ShownTree t;
    TTreeNode* a = t.tree->Items()->Add(nullptr, QStringLiteral("alpha"));
    TTreeNode* b = t.tree->Items()->Add(nullptr, QStringLiteral("beta"));
    b->SetHasChildren(true);
    t.tree->SetCheckboxes(true);
    EXPECT_EQ(a->StateIndex(), 0);
    t.Select(a);
    // The box is the first thing drawn in the row: what is not the window's white.
    const QImage shot = Shot(t.tree);
    const QRect row = RowOf(t.tree, b);
    QRect frame;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x < row.left() + 20; ++x)
            if (qGray(shot.pixel(x, y)) < 230)
                frame |= QRect(x, y, 1, 1);
    ASSERT_GE(frame.width(), 10);
    QTest::mouseClick(t.tree->View()->viewport(), Qt::LeftButton, {}, frame.center());
    EXPECT_EQ(b->StateIndex(), 1);
    EXPECT_EQ(t.tree->Selected(), a);
    QTest::keyClick(t.tree->View(), Qt::Key_Space);
    EXPECT_EQ(a->StateIndex(), 1);

    // Right click: the selection stays unless RightClickSelect; the menu message comes.
    std::vector<int> codes;
    std::vector<unsigned> messages;
    TWndMethod previous = t.tree->WindowProc;
    t.tree->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_CONTEXTMENU)
            messages.push_back(message.Msg);
        if (message.Msg == CN_NOTIFY) {
            const auto* record = reinterpret_cast<TNMTreeView*>(message.LParam);
            codes.push_back(record->hdr.code);
            if (record->hdr.code == TVN_ITEMEXPANDING && record->Node == b) {
                message.Result = 1;
                return;
            }
        }
        previous(message);
    };
    const QPoint onB(row.right() - 20, row.center().y());
    QTest::mouseClick(t.tree->View()->viewport(), Qt::RightButton, {}, onB);
    EXPECT_EQ(t.tree->Selected(), a);
    EXPECT_EQ(messages.size(), 1u);
    t.tree->SetRightClickSelect(true);
    QTest::mouseClick(t.tree->View()->viewport(), Qt::RightButton, {}, onB);
    EXPECT_EQ(t.tree->Selected(), b);
    EXPECT_NE(std::find(codes.begin(), codes.end(), TVN_SELCHANGED), codes.end());
    // The subclass refuses the expansion.
    QTest::keyClick(t.tree->View(), Qt::Key_Right);
    EXPECT_FALSE(b->Expanded());
    a->Delete();
    EXPECT_NE(std::find(codes.begin(), codes.end(), TVN_DELETEITEM), codes.end());
    t.tree->WindowProc = previous;
}

TEST(TreeView, AutoExpandChangeDelaySortTypeAndRowSelect)
{
    ShownTree t;
    TTreeNodes* nodes = t.tree->Items();
    TTreeNode* one = nodes->Add(nullptr, QStringLiteral("one"));
    TTreeNode* two = nodes->Add(nullptr, QStringLiteral("two"));
    nodes->AddChild(one, QStringLiteral("one.a"));
    nodes->AddChild(two, QStringLiteral("two.a"));
    t.tree->SetAutoExpand(true);
    t.Select(one);
    EXPECT_TRUE(one->Expanded());
    QTest::mouseClick(t.tree->View()->viewport(), Qt::LeftButton, {}, RowOf(t.tree, two).center());
    EXPECT_TRUE(two->Expanded());
    EXPECT_FALSE(one->Expanded());
    t.tree->SetAutoExpand(false);

    // Three quick key presses raise OnChange once, for the node they end on.
    std::vector<TTreeNode*> changes;
    t.tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
    t.tree->SetChangeDelay(50);
    t.Select(one);
    QTest::keyClick(t.tree->View(), Qt::Key_Down);
    QTest::keyClick(t.tree->View(), Qt::Key_Down);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(WaitUntil([&] { return !changes.empty(); }));
    EXPECT_EQ(changes, std::vector<TTreeNode*>{t.tree->Selected()});

    // Sorted by text: new nodes and renamed ones find their places.
    t.tree->SetSortType(stText);
    EXPECT_EQ(nodes->GetFirstNode(), one);
    TTreeNode* added = nodes->Add(nullptr, QStringLiteral("apple"));
    EXPECT_EQ(nodes->GetFirstNode(), added);
    added->SetText(QStringLiteral("zebra"));
    EXPECT_EQ(nodes->GetFirstNode()->getNextSibling()->getNextSibling(), added);

    // The selection covers the text only, or the whole row with RowSelect.
    t.tree->SetChangeDelay(0);
    t.Select(added);
    const QRect row = RowOf(t.tree, added);
    const QPoint right(t.tree->View()->viewport()->width() - 5, row.center().y());
    // The style shades its highlight a little: near the palette's colour counts.
    const QColor highlight = t.tree->View()->palette().color(QPalette::Highlight);
    const auto highlighted = [&](QRgb p) {
        return std::abs(qRed(p) - highlight.red()) + std::abs(qGreen(p) - highlight.green())
            + std::abs(qBlue(p) - highlight.blue()) < 16;
    };
    EXPECT_FALSE(highlighted(Shot(t.tree).pixel(right)));
    t.tree->SetRowSelect(true);
    EXPECT_TRUE(highlighted(Shot(t.tree).pixel(right)));
}
