// The list view through real mouse and key events on the offscreen platform:
// selection, keys, in-place editing, column clicks, deletion notifications, custom
// drawing and overlays on pixels, updates, sorting and owner data.
#include "controls/waituntil.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/listview.h"
#include "vcl/graphics/canvas.h"
#include "vcl/streaming/formfile.h"

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

TEST(ListView, KeysReachTheControlsHandlersSelectionChangesAreReportedAndHotTrackSelects)
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
    // With hot tracking the item the mouse rests on is selected.
    r.list->SetHotTrack(true);
    r.list->SetHotTrackStyles(TListHotTrackStyles(htHandPoint | htUnderlineHot));
    QTest::mouseMove(r.Viewport(), r.At(4));
    EXPECT_EQ(r.list->HotItem(), r.list->Items()->Item(4));
    EXPECT_EQ(r.Viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(WaitUntil([&] { return r.list->Selected() == r.list->Items()->Item(4); }));
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

namespace {

// Records the messages Codes of a control's WindowProc (CN_NOTIFY by notification
// code) and hands everything on to the procedure it replaced.
struct WindowProcSpy {
    TControl* control;
    TWndMethod previous;
    std::vector<int> codes;
    std::vector<TMessage> messages;
    std::function<bool(TMessage&)> answer; // true: the spy answered, the control sees nothing

    explicit WindowProcSpy(TControl* Control) : control(Control), previous(Control->WindowProc)
    {
        control->WindowProc = [this](TMessage& message) {
            if (message.Msg == CN_NOTIFY)
                codes.push_back(reinterpret_cast<TNMHdr*>(message.LParam)->code);
            else if (message.Msg == WM_CONTEXTMENU || message.Msg == WM_RBUTTONUP)
                messages.push_back(message);
            if (!answer || !answer(message))
                previous(message);
        };
    }
    ~WindowProcSpy() { control->WindowProc = previous; }
    bool Saw(int code) const { return std::find(codes.begin(), codes.end(), code) != codes.end(); }
};

// Pixels of Image inside Rect darker than mid grey.
int DarkPixels(const QImage& Image, const QRect& Rect)
{
    int count = 0;
    for (int y = Rect.top(); y <= Rect.bottom(); ++y)
        for (int x = Rect.left(); x <= Rect.right(); ++x)
            count += qGray(Image.pixel(x, y)) < 100;
    return count;
}

} // namespace

TEST(ListView, OnChangingAndASubclassRefuseUserSelectionChangesAndSeeEveryNotification)
{
    ReportList r(5, false);
    TListItem* first = r.list->Items()->Item(0);
    r.list->SetSelected(first);
    bool refuse = true;
    r.list->OnChanging = [&](TObject*, TListItem*, TItemChange change, bool& allow) {
        allow = !(refuse && change == ctState);
    };
    // Refused: neither the selection nor the focus moves, by mouse or by key.
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(2));
    EXPECT_EQ(r.list->Selected(), first);
    EXPECT_EQ(r.list->ItemFocused(), first);
    QTest::keyClick(r.list->View(), Qt::Key_Down);
    EXPECT_EQ(r.list->Selected(), first);
    EXPECT_EQ(r.list->ItemFocused(), first);
    refuse = false;
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(2));
    EXPECT_EQ(r.list->Selected(), r.list->Items()->Item(2));

    // A replaced WindowProc sees the notifications first and refuses item 3.
    WindowProcSpy spy(r.list);
    spy.answer = [](TMessage& message) {
        const auto* record = reinterpret_cast<TNMListView*>(message.LParam);
        if (message.Msg != CN_NOTIFY || record->hdr.code != LVN_ITEMCHANGING || record->Item->Index() != 3)
            return false;
        message.Result = 1;
        return true;
    };
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(3));
    EXPECT_EQ(r.list->Selected(), r.list->Items()->Item(2));
    EXPECT_TRUE(spy.Saw(LVN_ITEMCHANGING));
    EXPECT_FALSE(spy.Saw(LVN_ITEMCHANGED));
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(1));
    EXPECT_EQ(r.list->Selected(), r.list->Items()->Item(1));
    EXPECT_TRUE(spy.Saw(LVN_ITEMCHANGED));
    auto* header = static_cast<QTreeView*>(r.list->View())->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(1) + 20, 5));
    EXPECT_TRUE(spy.Saw(LVN_COLUMNCLICK));
    r.list->Items()->Add();
    r.list->Items()->Delete(0);
    EXPECT_TRUE(spy.Saw(LVN_INSERTITEM));
    EXPECT_TRUE(spy.Saw(LVN_DELETEITEM));
}

TEST(ListView, RightButtonAndMenuKeyBecomeContextMenuMessages)
{
    ReportList r(3);
    WindowProcSpy spy(r.list);
    QTest::mouseClick(r.Viewport(), Qt::RightButton, {}, r.At(1));
    ASSERT_EQ(spy.messages.size(), 2u);
    EXPECT_EQ(spy.messages[0].Msg, unsigned(WM_RBUTTONUP));
    EXPECT_EQ(spy.messages[1].Msg, unsigned(WM_CONTEXTMENU));
    const QPoint screen = r.Viewport()->mapToGlobal(r.At(1));
    EXPECT_EQ(spy.messages[1].LParam, MAKELPARAM(screen.x(), screen.y()));
    spy.messages.clear();
    QTest::keyClick(r.list->View(), Qt::Key_Menu);
    ASSERT_EQ(spy.messages.size(), 1u);
    EXPECT_EQ(spy.messages[0].LParam, ContextMenuFromKeyboard);
    // A handler that takes the button's release asks for no menu.
    spy.messages.clear();
    spy.answer = [](TMessage& message) {
        if (message.Msg != WM_RBUTTONUP)
            return false;
        message.Result = 1;
        return true;
    };
    QTest::mouseClick(r.Viewport(), Qt::RightButton, {}, r.At(2));
    ASSERT_EQ(spy.messages.size(), 1u);
    EXPECT_EQ(spy.messages[0].Msg, unsigned(WM_RBUTTONUP));
}

TEST(ListView, CheckboxesToggleByClickAndSpaceAndShowTheirMark)
{
    ReportList r(3);
    r.list->SetCheckboxes(true);
    TListItem* item = r.list->Items()->Item(1);
    EXPECT_FALSE(item->Checked());
    EXPECT_EQ(item->StateIndex(), 0);
    r.list->View()->viewport()->repaint();
    // The box is the frame at the start of the row: what is not the window's white.
    const auto box = [&](int row) {
        const QImage shot = r.Viewport()->grab().toImage();
        const QRect cell = r.list->View()->visualRect(r.list->View()->model()->index(row, 0));
        QRect found;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x < cell.left() + 40; ++x)
                if (qGray(shot.pixel(x, y)) < 230)
                    found |= QRect(x, y, 1, 1);
        return std::pair{found, shot};
    };
    const auto [frame, before] = box(1);
    ASSERT_GE(frame.width(), 10);
    std::vector<TItemChange> changes;
    r.list->OnChange = [&](TObject*, TListItem*, TItemChange change) { changes.push_back(change); };
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, frame.center());
    EXPECT_TRUE(item->Checked());
    EXPECT_NE(std::find(changes.begin(), changes.end(), ctImage), changes.end());
    // The click toggled the box without selecting the row.
    EXPECT_FALSE(item->Selected());
    r.list->View()->viewport()->repaint();
    const QImage after = r.Viewport()->grab().toImage();
    const QRect inside = frame.adjusted(2, 2, -2, -2);
    EXPECT_GT(DarkPixels(after, inside), DarkPixels(before, inside) + 4);
    // Space toggles the focused item's box.
    r.list->SetItemFocused(item);
    QTest::keyClick(r.list->View(), Qt::Key_Space);
    EXPECT_FALSE(item->Checked());
    // New items come unchecked.
    EXPECT_EQ(r.list->Items()->Add()->StateIndex(), 0);
}

TEST(ListView, GridLinesOwnerDrawCustomDrawAndSubItemDrawOnPixels)
{
    ReportList r(3);
    auto* tree = static_cast<QTreeView*>(r.list->View());
    const QRect cell = tree->visualRect(tree->model()->index(1, 1));
    const auto pixel = [&](QPoint at) {
        r.Viewport()->repaint();
        return r.Viewport()->grab().toImage().pixel(at) | 0xFF000000u;
    };
    const QRgb base = pixel(QPoint(cell.center().x(), cell.bottom()));
    r.list->SetGridLines(true);
    EXPECT_EQ(pixel(QPoint(cell.center().x(), cell.bottom())), r.list->palette().color(QPalette::Mid).rgb());
    EXPECT_EQ(pixel(QPoint(cell.right(), cell.center().y())), r.list->palette().color(QPalette::Mid).rgb());
    EXPECT_NE(base, r.list->palette().color(QPalette::Mid).rgb());
    r.list->SetGridLines(false);

    // Owner draw: one call per row paints the whole row, every column shows it.
    std::vector<TRect> rows;
    r.list->SetOwnerDraw(true);
    r.list->OnDrawItem = [&](TCustomListView* sender, TListItem* item, TRect rect, TOwnerDrawState) {
        rows.push_back(rect);
        sender->Canvas()->Brush()->SetColor(item->Index() == 1 ? clRed : clWhite);
        sender->Canvas()->FillRect(rect);
    };
    EXPECT_EQ(pixel(tree->visualRect(tree->model()->index(1, 2)).center()), qRgb(255, 0, 0));
    EXPECT_EQ(pixel(cell.center()), qRgb(255, 0, 0));
    // Row 0 is the current row, which the style tints.
    EXPECT_EQ(pixel(tree->visualRect(tree->model()->index(2, 2)).center()), qRgb(255, 255, 255));
    ASSERT_FALSE(rows.empty());
    // Three columns of 100 pixels (set by ReportList).
    EXPECT_EQ(rows.back().Right - rows.back().Left, 300);
    r.list->OnDrawItem = nullptr;
    r.list->SetOwnerDraw(false);

    // OnCustomDraw paints the background under the items, which are drawn over it.
    r.list->OnCustomDraw = [](TCustomListView* sender, const TRect& rect, bool&) {
        sender->Canvas()->Brush()->SetColor(clBlue);
        sender->Canvas()->FillRect(rect);
    };
    const QPoint below(5, tree->visualRect(tree->model()->index(2, 0)).bottom() + 20);
    EXPECT_EQ(pixel(below), qRgb(0, 0, 255));
    const QImage shot = r.Viewport()->grab().toImage();
    EXPECT_GT(DarkPixels(shot, tree->visualRect(tree->model()->index(0, 0))), 5) << "the caption is still drawn";
    r.list->OnCustomDraw = nullptr;

    // Custom drawing of a sub-item: only the cell of sub-item 2 of item 1 shows the lime.
    r.list->OnCustomDrawSubItem = [](TCustomListView* sender, TListItem* item, int subItem, TCustomDrawState,
                                      bool& defaultDraw) {
        if (item->Index() != 1 || subItem != 2)
            return;
        sender->Canvas()->Brush()->SetColor(clLime);
        sender->Canvas()->FillRect(Rect(0, 0, sender->Width(), sender->Height()));
        defaultDraw = false;
    };
    const QRect lime = tree->visualRect(tree->model()->index(1, 2));
    EXPECT_EQ(pixel(lime.center()), qRgb(0, 255, 0));
    EXPECT_EQ(pixel(QPoint(lime.left() + 1, lime.top() + 1)), qRgb(0, 255, 0));
    EXPECT_NE(pixel(cell.center()), qRgb(0, 255, 0));
    EXPECT_NE(pixel(tree->visualRect(tree->model()->index(2, 2)).center()), qRgb(0, 255, 0));
}

TEST(ListView, OwnerDataServesOnlyTheRowsShownWithHintsStateRangesAndFind)
{
    ReportList r(0);
    r.list->SetOwnerData(true);
    int requests = 0;
    r.list->OnData = [&](TObject*, TListItem* item) {
        ++requests;
        item->SetCaption(QStringLiteral("row %1").arg(item->Index(), 7, 10, QLatin1Char('0')));
    };
    std::pair<int, int> hint{-1, -1};
    r.list->OnDataHint = [&](TObject*, int from, int to) { hint = {from, to}; };
    std::vector<std::pair<int, int>> ranges;
    r.list->OnDataStateChange = [&](TObject*, int from, int to, TItemStates, TItemStates now) {
        if (now.testFlag(isSelected))
            ranges.push_back({from, to});
    };
    r.list->OnDataFind = [](TObject*, TItemFind find, const QString& text, const TPoint&, void*, int, TSearchDirection,
                             bool, int& index) {
        // Every caption is "row " and seven digits; find by the digits typed.
        if (find == ifPartialString && text.startsWith(QStringLiteral("row 00005")))
            index = 5;
    };
    r.list->Items()->SetCount(10'000'000);
    r.Viewport()->repaint();
    EXPECT_GT(requests, 0);
    EXPECT_LT(requests, 1000);
    const int visible = r.Viewport()->height() / r.list->View()->visualRect(r.list->View()->model()->index(0, 0)).height();
    EXPECT_EQ(hint.first, 0);
    EXPECT_GE(hint.second, visible - 1);
    EXPECT_LE(hint.second, visible + 1);
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, {}, r.At(1));
    QTest::mouseClick(r.Viewport(), Qt::LeftButton, Qt::ShiftModifier, r.At(4));
    ASSERT_FALSE(ranges.empty());
    // Row 1 was selected already: rows 2 to 4 changed.
    EXPECT_EQ(ranges.back(), std::make_pair(2, 4));
    EXPECT_EQ(r.list->FindCaption(0, QStringLiteral("row 00005"), true, true, false), r.list->Items()->Item(5));
    EXPECT_EQ(r.list->Items()->Item(9'999'999)->Caption(), QStringLiteral("row 9999999"));
    EXPECT_THROW(r.list->Items()->Add(), EInvalidOperation);
    EXPECT_FALSE(r.list->AlphaSort());
    r.list->SetItemFocused(r.list->Items()->Item(0));
    QTest::keyClick(r.list->View(), Qt::Key_End);
    EXPECT_EQ(r.list->ItemFocused()->Index(), 9'999'999);
}

TEST(ListView, PublishedMembersHaveTheirDefaultsAndEventsByNameAndIconsArrange)
{
    TForm form(nullptr);
    auto* list = new TListView(&form);
    EXPECT_FALSE(list->Checkboxes());
    EXPECT_FALSE(list->GridLines());
    EXPECT_TRUE(list->IconOptions()->WrapText());
    const QStringList events = PublishedEvents(&TListView::staticMetaObject);
    for (const char* name : {"OnChange", "OnChanging", "OnCustomDraw", "OnData", "OnDataFind", "OnDataHint",
             "OnDataStateChange", "OnDrawItem", "OnGetImageIndex", "OnSelectItem", "OnInsert", "OnKeyDown"})
        EXPECT_TRUE(events.contains(QString::fromLatin1(name))) << name;
    // Arranged from the left, the icon view lays items out in columns.
    list->SetParent(&form);
    list->SetBounds(0, 0, 300, 300);
    for (int i = 0; i < 3; ++i)
        list->Items()->Add()->SetCaption(QStringLiteral("icon %1").arg(i));
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto place = [&](int i) { return list->Items()->Item(i)->DisplayRect(drBounds); };
    EXPECT_GT(place(1).Left, place(0).Left);
    list->IconOptions()->SetArrangement(iaLeft);
    EXPECT_TRUE(WaitUntil([&] { return place(1).Top > place(0).Top; }));
    EXPECT_EQ(place(1).Left, place(0).Left);
}
