// The list box (owner-drawn items on pixels, keys, mouse, scrolling), the tab row
// (owner-drawn tabs on pixels, OnChange refusing a change, scrolling) and the page
// book (pages by name).
#include "vcl/controls/forms.h"
#include "vcl/controls/listbox.h"
#include "vcl/controls/notebook.h"
#include "vcl/controls/tabset.h"
#include "vcl/graphics/canvas.h"

#include "itempixels.h"
#include "waituntil.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;

using namespace itempixels;

TEST(ListBox, OwnerDrawnItemsKeysAndMouse)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    TListBox box(nullptr);
    box.SetParent(&form);
    box.SetStyle(lbOwnerDrawFixed);
    box.SetItemHeight(16);
    for (int i = 0; i < 100; ++i)
        box.Items()->Add(QStringLiteral("item %1").arg(i, 2, 10, QChar(u'0')));
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    box.OnDrawItem = [&](TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
        drawn.emplace_back(Index, State);
        box.Canvas()->FillRect(Rect);
    };
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    box.SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return box.Focused(); }));

    // Inside the 2-pixel frame, 16 pixels per item: item 1 spans y 18 to 33.
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 2 + 16 + 5));
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    drawn.clear();
    box.Repaint();
    // 97 - 4 = 93 pixels show items 0 to 5 (the sixth in part): only those are drawn.
    ASSERT_EQ(drawn.size(), 6u);
    EXPECT_EQ(drawn[1].second, TOwnerDrawState(odSelected) | odFocused);
    EXPECT_EQ(drawn[0].second, TOwnerDrawState());
    const QImage image = box.BackBuffer();
    EXPECT_EQ(Px(image, 20, 2 + 5), White);
    EXPECT_EQ(Px(image, 20, 18 + 5), Navy);
    EXPECT_EQ(Px(image, 2, 18), NavyInverted) << "focus rectangle (2 + 18 even) inverts navy";

    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.ItemIndex(), 99);
    // Five whole items fit in 93 pixels: the last one at the bottom means top 95.
    EXPECT_EQ(box.TopIndex(), 95);
    QTest::keyClick(&box, Qt::Key_Up);
    QTest::keyClick(&box, Qt::Key_I);
    EXPECT_EQ(box.ItemIndex(), 99) << "the next entry starting with i";
    QTest::keyClick(&box, Qt::Key_I);
    EXPECT_EQ(box.ItemIndex(), 0) << "wraps round";
    EXPECT_EQ(box.TopIndex(), 0);
    EXPECT_EQ(clicks, 5);

    box.SetEnabled(false);
    drawn.clear();
    box.Repaint();
    EXPECT_TRUE(drawn[0].second.testFlag(odDisabled));
}

TEST(ListBox, VariableHeightsPlaceEachItem)
{
    TListBox box(nullptr);
    box.SetStyle(lbOwnerDrawVariable);
    box.OnMeasureItem = [](TWinControl*, int Index, int& Height) { Height = 10 + 5 * Index; };
    box.Items()->SetCommaText(QStringLiteral("a,b,c,d,e,f"));
    // Tops: 2, then + 10, + 15, + 20 (the right edge depends on the scroll bar).
    const TRect item2 = box.ItemRect(2);
    EXPECT_EQ(item2.Left, 2);
    EXPECT_EQ(item2.Top, 27);
    EXPECT_EQ(item2.Bottom, 47);
    EXPECT_EQ(box.ItemAtPos(Point(10, 30), true), 2);
    EXPECT_EQ(box.ItemAtPos(Point(10, 200), true), -1);
    TRect rect;
    box.Perform(LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.Top, 47);
    QString d = QStringLiteral("D");
    EXPECT_EQ(box.Perform(LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(&d)), 3);
}

namespace {

struct TabRow {
    TForm Form{nullptr};
    TTabSet Tabs{nullptr};
    std::vector<int> Asked;
    bool Allow = true;
    int Clicks = 0;

    TabRow()
    {
        Form.SetBounds(0, 0, 300, 100);
        Tabs.SetParent(&Form);
        Tabs.Tabs()->SetCommaText(QStringLiteral("one,two,three"));
        Tabs.SetStyle(tsOwnerDraw);
        Tabs.OnMeasureTab = [](TObject*, int Index, int& Width) { Width = 30 + 10 * Index; };
        // Each tab's text rectangle in red, green or blue; the selected one in yellow.
        Tabs.OnDrawTab = [](TObject*, TCanvas* Canvas, TRect R, int Index, bool Selected) {
            const TColor colors[] = {clRed, clLime, clBlue};
            Canvas->Brush()->SetColor(Selected ? clYellow : colors[Index]);
            Canvas->FillRect(R);
        };
        Tabs.OnChange = [this](TObject*, int NewTab, bool& AllowChange) {
            Asked.push_back(NewTab);
            AllowChange = Allow;
        };
        Tabs.OnClick = [this](TObject*) { ++Clicks; };
    }
};

} // namespace

TEST(TabSet, OwnerDrawnTabsOnPixels)
{
    TabRow row;
    row.Tabs.SetTabIndex(1);
    row.Tabs.Repaint();
    const QImage image = row.Tabs.BackBuffer();
    // Worked out by hand: start margin 5, edges 9 wide, widths 30, 40, 50.
    // Text rectangles: (14, 1)-(44, 19), (53, 1)-(93, 19), (102, 1)-(152, 19).
    EXPECT_EQ(row.Tabs.TabRect(2), Rect(102, 1, 152, 19));
    EXPECT_EQ(Px(image, 14, 1), qRgb(255, 0, 0));
    EXPECT_EQ(Px(image, 43, 18), qRgb(255, 0, 0));
    EXPECT_EQ(Px(image, 53, 10), qRgb(255, 255, 0)) << "selected";
    EXPECT_EQ(Px(image, 151, 18), qRgb(0, 0, 255));
    EXPECT_EQ(Px(image, 160, 10), Face) << "background past the last tab (152 + 9 - 1 at the top)";
    EXPECT_EQ(Px(image, 10, 2), White) << "the unselected tab's body left of its text";
    EXPECT_EQ(Px(image, 20, 0), Black) << "the line along the top";
    EXPECT_EQ(Px(image, 70, 0), Face) << "the selected tab is open at the top";
    EXPECT_EQ(Px(image, 70, 19), Black) << "tab bottom edge";
    EXPECT_EQ(Px(image, 180, 0), Black);
    EXPECT_EQ(Px(image, 180, 10), Face);
}

TEST(TabSet, OnChangeMayRefuseAClickAndTabsThatDoNotFitScroll)
{
    TabRow row;
    row.Form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row.Form));
    row.Allow = false;
    QTest::mouseClick(&row.Tabs, Qt::LeftButton, {}, QPoint(120, 10));
    EXPECT_EQ(row.Asked, std::vector<int>{2});
    EXPECT_EQ(row.Tabs.TabIndex(), -1);
    EXPECT_EQ(row.Clicks, 0);
    row.Allow = true;
    QTest::mouseClick(&row.Tabs, Qt::LeftButton, {}, QPoint(120, 10));
    EXPECT_EQ(row.Tabs.TabIndex(), 2);
    EXPECT_EQ(row.Clicks, 1);
    QTest::mouseClick(&row.Tabs, Qt::LeftButton, {}, QPoint(270, 10));
    EXPECT_EQ(row.Tabs.TabIndex(), 2) << "a click beside the tabs changes nothing";
    row.Tabs.SelectNext(true);
    EXPECT_EQ(row.Tabs.TabIndex(), 0) << "wraps round";

    // Tabs that do not fit scroll into view.
    for (int i = 0; i < 10; ++i)
        row.Tabs.Tabs()->Add(QStringLiteral("more"));
    row.Tabs.OnMeasureTab = [](TObject*, int, int& Width) { Width = 40; };
    row.Tabs.SetTabIndex(12);
    EXPECT_GT(row.Tabs.FirstIndex(), 0);
    EXPECT_FALSE(row.Tabs.TabRect(12).IsEmpty());
    EXPECT_TRUE(row.Tabs.TabRect(0).IsEmpty());
    // Every tab in view ends left of the scroll buttons (two of 20 pixels) and the end margin.
    EXPECT_LE(row.Tabs.TabRect(12).Right + TTabSet::EdgeWidth, 185 - 40 - 15);
}

TEST(Notebook, PagesByName)
{
    TNotebook book(nullptr);
    ASSERT_EQ(book.Pages()->Count(), 1);
    int changes = 0;
    book.OnPageChanged = [&](TObject*) { ++changes; };
    book.Pages()->SetStrings(0, QStringLiteral("untitled"));
    book.Pages()->Add(QStringLiteral("x.txt"));
    book.Pages()->Add(QStringLiteral("y.txt"));
    book.SetActivePage(QStringLiteral("X.TXT"));
    EXPECT_EQ(book.PageIndex(), 1);
    EXPECT_EQ(book.ActivePage(), QStringLiteral("x.txt"));
    EXPECT_FALSE(book.Page(0)->Visible());
    EXPECT_TRUE(book.Page(1)->Visible());
    EXPECT_EQ(book.Pages()->Objects(2), book.Page(2));
    book.SetActivePage(QStringLiteral("nothing"));
    EXPECT_EQ(book.PageIndex(), 1);
    book.SetPageIndex(2);
    book.Pages()->Delete(2);
    EXPECT_EQ(book.PageIndex(), 1) << "deleting the shown last page shows the one before";
    EXPECT_TRUE(book.Page(1)->Visible());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(book.Pages()->CommaText(), QStringLiteral("untitled,x.txt"));
}
