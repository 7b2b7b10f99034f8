// The list view through real mouse and key events on the offscreen platform:
// selection, keys, in-place editing, column clicks, deletion notifications, custom
// drawing and overlays on pixels, updates, sorting and owner data.
#include "controls/waituntil.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/listview.h"
#include "vcl/graphics/canvas.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

// A shown form with a report-view list of Count rows "item NN" with two sub-items.
struct ReportList {
    TForm form{nullptr};
    TListView* list = new TListView(&form);

    explicit ReportList(int Count, bool MultiSelect = true)
    {
        form.SetBounds(0, 0, 400, 300);
        list->SetParent(&form);
        list->SetAlign(alClient);
        list->SetViewStyle(vsReport);
        list->SetMultiSelect(MultiSelect);
        for (const char* caption : {"Name", "Size", "Type"}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(QString::fromLatin1(caption));
            column->SetWidth(100);
        }
        list->Items()->BeginUpdate();
        for (int i = 0; i < Count; ++i) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(QStringLiteral("item %1").arg(i, 2, 10, QLatin1Char('0')));
            item->SubItems().Add(QString::number(i * 10));
            item->SubItems().Add(QStringLiteral("type %1").arg(i % 3));
        }
        list->Items()->EndUpdate();
        form.Show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        list->View()->setFocus();
    }
    QWidget* Viewport() const { return list->View()->viewport(); }
    // The centre of Row's caption in viewport coordinates.
    QPoint At(int Row) const
    {
        const TRect r = list->Items()->Item(Row)->DisplayRect(drLabel);
        return Viewport()->mapFrom(list, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }
    QStringList Captions() const
    {
        QStringList captions;
        for (int i = 0; i < list->Items()->Count(); ++i)
            captions << list->Items()->Item(i)->Caption();
        return captions;
    }
    QLineEdit* Editor() const { return list->View()->findChild<QLineEdit*>(); }
};

} // namespace

TEST(ListView, ClickShiftClickAndArrowKeysSelect)
{
    ReportList r(10);
    int clicks = 0;
    r.list->OnClick = [&](TObject*) { ++clicks; };
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(2));
    EXPECT_EQ(r.list->Selected(), r.list->Items()->Item(2));
    EXPECT_EQ(r.list->ItemFocused(), r.list->Items()->Item(2));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, Qt::ShiftModifier, r.At(5));
    EXPECT_EQ(r.list->SelCount(), 4);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(r.list->Items()->Item(i)->Selected(), i >= 2 && i <= 5) << i;
    // GetNextItem walks the selection in list order.
    EXPECT_EQ(r.list->GetNextItem(r.list->Items()->Item(3), sdAll, isSelected), r.list->Items()->Item(4));
    EXPECT_EQ(r.list->GetNextItem(r.list->Items()->Item(5), sdAll, isSelected), nullptr);
    QTest::keyClick(r.list->View(), Qt::Key_Down);
    EXPECT_EQ(r.list->SelCount(), 1);
    EXPECT_EQ(r.list->Selected(), r.list->Items()->Item(6));
    QTest::keyClick(r.list->View(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(r.list->SelCount(), 2);
    EXPECT_EQ(r.list->GetItemAt(r.list->Items()->Item(7)->DisplayRect(drLabel).Left + 2,
                  r.list->Items()->Item(7)->DisplayRect(drLabel).Top + 2),
        r.list->Items()->Item(7));
}

TEST(ListView, KeysReachTheControlsHandlersAndSelectionChangesAreReported)
{
    ReportList r(5, false);
    std::vector<std::pair<int, bool>> selections;
    r.list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        selections.emplace_back(item->Index(), selected);
    };
    uint16_t lastKey = 0;
    r.list->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { lastKey = key; };
    r.list->SetSelected(r.list->Items()->Item(1));
    QTest::keyClick(r.list->View(), Qt::Key_Down);
    EXPECT_EQ(lastKey, VK_DOWN);
    const std::vector<std::pair<int, bool>> expected{{1, true}, {1, false}, {2, true}};
    EXPECT_EQ(selections, expected);
}

TEST(ListView, F2EditsAndHandlersRefuseOrChangeTheText)
{
    ReportList r(4);
    r.list->OnEditing = [](TObject*, TListItem* item, bool& allow) { allow = item->Index() != 0; };
    r.list->OnEdited = [](TObject*, TListItem*, QString& s) { s = s.toUpper(); };
    // Refused: no editor opens on item 0.
    r.list->SetSelected(r.list->Items()->Item(0));
    QTest::keyClick(r.list->View(), Qt::Key_F2);
    EXPECT_FALSE(r.list->IsEditing());
    // Item 1: typed text, changed by OnEdited.
    r.list->SetSelected(r.list->Items()->Item(1));
    QTest::keyClick(r.list->View(), Qt::Key_F2);
    ASSERT_TRUE(r.list->IsEditing());
    QLineEdit* editor = r.Editor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("renamed"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits after the key has been handled.
    EXPECT_TRUE(WaitUntil([&] { return !r.list->IsEditing(); }));
    EXPECT_EQ(r.list->Items()->Item(1)->Caption(), QStringLiteral("RENAMED"));
    // Escape cancels: no OnEdited, the caption stays.
    int edited = 0;
    r.list->OnEdited = [&](TObject*, TListItem*, QString&) { ++edited; };
    ASSERT_TRUE(r.list->Items()->Item(2)->EditCaption());
    QTest::keyClicks(r.Editor(), QStringLiteral("x"));
    QTest::keyClick(r.Editor(), Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([&] { return !r.list->IsEditing(); }));
    EXPECT_EQ(edited, 0);
    EXPECT_EQ(r.list->Items()->Item(2)->Caption(), QStringLiteral("item 02"));
    // Read-only lists never edit.
    r.list->SetReadOnly(true);
    EXPECT_FALSE(r.list->Items()->Item(3)->EditCaption());
}

TEST(ListView, DoubleClickRaisesOnDblClickAndAClickOnTheSelectedItemEdits)
{
    ReportList r(4);
    int doubleClicks = 0, clicks = 0;
    r.list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    r.list->OnClick = [&](TObject*) { ++clicks; };
    QTest::mouseDClick(r.Viewport(), Qt::LeftButton, {}, r.At(1));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_FALSE(r.list->IsEditing());
    // A later single click on the selected item starts editing after the platform's delay.
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(3));
    const int before = clicks;
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(3), QApplication::doubleClickInterval() + 50);
    EXPECT_EQ(clicks, before + 1);
    EXPECT_TRUE(WaitUntil([&] { return r.list->IsEditing(); }));
}

TEST(ListView, ColumnClicksSortBothWays)
{
    ReportList r(12);
    // The handler sorts by the clicked column, descending on a second click.
    int lastColumn = -1;
    bool descending = false;
    r.list->OnColumnClick = [&](TObject*, TListColumn* column) {
        descending = column->Index() == lastColumn && !descending;
        lastColumn = column->Index();
        const int c = column->Index();
        r.list->CustomSort(
            [c, descending](TListItem* a, TListItem* b, intptr_t) {
                const auto key = [c](TListItem* i) { return c == 0 ? 0 : i->SubItems()[c - 1].toInt(); };
                const int order = c == 0 ? a->Caption().compare(b->Caption()) : key(a) - key(b);
                return descending ? -order : order;
            },
            0);
    };
    r.list->Items()->Item(4)->SetSelected(true);
    QHeaderView* header = static_cast<QTreeView*>(r.list->View())->header();
    const QPoint sizeHeader(header->sectionViewportPosition(1) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeader);
    EXPECT_EQ(r.list->Items()->Item(0)->SubItems()[0], QStringLiteral("0"));
    EXPECT_EQ(r.list->Items()->Item(11)->SubItems()[0], QStringLiteral("110"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeader);
    EXPECT_EQ(r.list->Items()->Item(0)->SubItems()[0], QStringLiteral("110"));
    EXPECT_EQ(r.list->Items()->Item(11)->SubItems()[0], QStringLiteral("0"));
    // The selection follows its item, and indexes are renumbered.
    EXPECT_EQ(r.list->Selected()->Caption(), QStringLiteral("item 04"));
    EXPECT_EQ(r.list->Selected()->Index(), 7);
    // Without ColumnClick the header does nothing.
    r.list->SetColumnClick(false);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeader);
    EXPECT_EQ(r.list->Items()->Item(0)->SubItems()[0], QStringLiteral("110"));
}

TEST(ListView, SortsStablyAndSurvivesAnInconsistentComparison)
{
    ReportList r(300);
    // Every comparison says "less": no strict weak ordering. The sort must neither
    // crash nor lose or duplicate items.
    r.list->CustomSort([](TListItem*, TListItem*, intptr_t) { return -1; }, 0);
    QStringList captions = r.Captions();
    captions.sort();
    EXPECT_EQ(captions.size(), 300);
    EXPECT_EQ(captions.removeDuplicates(), 0);
    // AlphaSort by caption ignores case; equal captions keep their order.
    r.list->Items()->Clear();
    for (const char* caption : {"b", "B", "a", "c", "A"})
        r.list->Items()->Add()->SetCaption(QString::fromLatin1(caption));
    r.list->AlphaSort();
    EXPECT_EQ(r.Captions(), QStringList({"A", "a", "B", "b", "c"}));
    // SortType keeps the list sorted when items come or captions change.
    r.list->SetSortType(stText);
    r.list->Items()->Add()->SetCaption(QStringLiteral("0"));
    EXPECT_EQ(r.Captions().first(), QStringLiteral("0"));
    r.list->Items()->Item(0)->SetCaption(QStringLiteral("z"));
    EXPECT_EQ(r.Captions().last(), QStringLiteral("z"));
}

TEST(ListView, DeletionIsReportedForEveryItemOnClearDeleteAndDestruction)
{
    int deleted = 0, inserted = 0;
    {
        ReportList r(0);
        r.list->OnDeletion = [&](TObject*, TListItem*) { ++deleted; };
        r.list->OnInsert = [&](TObject*, TListItem*) { ++inserted; };
        for (int i = 0; i < 7; ++i)
            r.list->Items()->Add();
        r.list->Items()->Item(3)->Delete();
        EXPECT_EQ(deleted, 1);
        r.list->Items()->Clear();
        EXPECT_EQ(deleted, 7);
        EXPECT_EQ(r.list->Items()->Count(), 0);
        for (int i = 0; i < 5; ++i)
            r.list->Items()->Add();
    }
    EXPECT_EQ(inserted, 12);
    EXPECT_EQ(deleted, 12);
}

TEST(ListView, UpdatesReachTheViewAtTheLastEndUpdate)
{
    ReportList r(3);
    QAbstractItemModel* model = r.list->View()->model();
    r.list->Items()->BeginUpdate();
    r.list->Items()->BeginUpdate();
    for (int i = 0; i < 50; ++i)
        r.list->Items()->Add()->SetCaption(QStringLiteral("new"));
    EXPECT_EQ(model->rowCount(), 3);
    r.list->Items()->EndUpdate();
    EXPECT_EQ(model->rowCount(), 3);
    r.list->Items()->EndUpdate();
    EXPECT_EQ(model->rowCount(), 53);
    EXPECT_EQ(model->index(52, 0).data().toString(), QStringLiteral("new"));
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("10"));
    EXPECT_THROW(r.list->Items()->Item(53), EListError);
    EXPECT_THROW(r.list->Items()->Item(0)->SubItems().Strings(2), EListError);
    EXPECT_EQ(r.list->FindCaption(0, QStringLiteral("ITEM 01"), false, true, false), r.list->Items()->Item(1));
    EXPECT_EQ(r.list->FindCaption(2, QStringLiteral("item"), true, false, true), r.list->Items()->Item(0));
    EXPECT_EQ(r.list->FindCaption(2, QStringLiteral("item"), true, false, false), nullptr);
}

TEST(ListView, CustomDrawPaintsTheSubItemCell)
{
    ReportList r(3);
    r.list->OnCustomDrawSubItem = [](TCustomListView* sender, TListItem* item, int subItem, TCustomDrawState,
                                      bool& defaultDraw) {
        if (item->Index() != 1 || subItem != 2)
            return;
        // Fill everything: only the cell of sub-item 2 of item 1 may show it.
        sender->Canvas()->Brush()->SetColor(clLime);
        sender->Canvas()->FillRect(Rect(0, 0, sender->Width(), sender->Height()));
        defaultDraw = false;
    };
    r.list->View()->viewport()->repaint();
    const QImage shot = r.list->View()->viewport()->grab().toImage();
    auto* tree = static_cast<QTreeView*>(r.list->View());
    const QModelIndex cell = tree->model()->index(1, 2);
    const QRect rect = tree->visualRect(cell);
    EXPECT_EQ(shot.pixel(rect.center()) | 0xFF000000u, qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(rect.left() + 1, rect.top() + 1) | 0xFF000000u, qRgb(0, 255, 0));
    // Its neighbours are not lime.
    EXPECT_NE(shot.pixel(tree->visualRect(cell.siblingAtColumn(1)).center()) | 0xFF000000u, qRgb(0, 255, 0));
    EXPECT_NE(shot.pixel(tree->visualRect(tree->model()->index(2, 2)).center()) | 0xFF000000u, qRgb(0, 255, 0));
}

TEST(ListView, OverlayIsDrawnOverTheItemsImage)
{
    ReportList r(2);
    TImageList images(nullptr);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    QImage badge(16, 16, QImage::Format_ARGB32);
    badge.fill(Qt::transparent);
    for (int y = 12; y < 16; ++y)
        for (int x = 0; x < 4; ++x)
            badge.setPixel(x, y, qRgb(0, 0, 255));
    images.AddImage(red);
    ASSERT_TRUE(images.Overlay(images.AddImage(badge), 0));
    r.list->SetSmallImages(&images);
    // Row 1: neither current nor under the mouse, so nothing is drawn over it.
    r.list->Items()->Item(1)->SetImageIndex(0);
    r.list->Items()->Item(1)->SetOverlayIndex(0);
    r.list->View()->viewport()->repaint();
    const QImage shot = r.list->View()->viewport()->grab().toImage();
    // Find the red image's bounding box in row 1; its bottom-left 4x4 is the badge.
    // The style may lay a faint tint over the row, so colours are told by their channel.
    // Rows may be lower than the image: search a little above and below.
    const QRect row = r.list->View()->visualRect(r.list->View()->model()->index(1, 0)).adjusted(0, -4, 0, 4);
    const auto isRed = [&](int x, int y) {
        const QRgb p = shot.pixel(x, y);
        return qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100;
    };
    const auto isBlue = [&](int x, int y) {
        const QRgb p = shot.pixel(x, y);
        return qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100;
    };
    QRect found;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            if (isRed(x, y) || isBlue(x, y))
                found |= QRect(x, y, 1, 1);
    ASSERT_EQ(found.size(), QSize(16, 16));
    EXPECT_TRUE(isBlue(found.left(), found.bottom()));
    EXPECT_TRUE(isBlue(found.left() + 3, found.bottom() - 3));
    EXPECT_TRUE(isRed(found.left() + 4, found.bottom()));
    EXPECT_TRUE(isRed(found.left(), found.bottom() - 4));
    EXPECT_TRUE(isRed(found.right(), found.top()));
}

TEST(ListView, OwnerDataServesOnlyTheRowsShown)
{
    ReportList r(0);
    r.list->SetOwnerData(true);
    int requests = 0;
    r.list->OnData = [&](TObject*, TListItem* item) {
        ++requests;
        item->SetCaption(QStringLiteral("row %1").arg(item->Index()));
    };
    r.list->Items()->SetCount(10'000'000);
    r.list->View()->viewport()->repaint();
    EXPECT_GT(requests, 0);
    EXPECT_LT(requests, 1000);
    EXPECT_EQ(r.list->Items()->Item(9'999'999)->Caption(), QStringLiteral("row 9999999"));
    EXPECT_THROW(r.list->Items()->Add(), EInvalidOperation);
    EXPECT_FALSE(r.list->AlphaSort());
    r.list->SetItemFocused(r.list->Items()->Item(0));
    QTest::keyClick(r.list->View(), Qt::Key_End);
    EXPECT_EQ(r.list->ItemFocused()->Index(), 9'999'999);
}
