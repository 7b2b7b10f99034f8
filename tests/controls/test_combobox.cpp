// The combo box: finding entries (non-ASCII too), sorted entries keeping their
// objects, dropping down and choosing with real keys and clicks, the edit part's
// subclassed window procedure, and owner-drawn items on pixels in every state.
#include "vcl/controls/combobox.h"
#include "vcl/controls/controlcanvas.h"
#include "vcl/controls/forms.h"
#include "vcl/graphics/canvas.h"

#include "itempixels.h"
#include "waituntil.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

using namespace itempixels;

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 128, 0);
const QRgb Blue = qRgb(0, 0, 255);

struct ComboForm {
    TForm Form{nullptr};
    TComboBox Combo{nullptr};
    std::vector<QString> Log;

    explicit ComboForm(TComboBoxStyle Style)
    {
        Form.SetBounds(0, 0, 300, 300);
        Combo.SetParent(&Form);
        Combo.SetBounds(10, 10, 150, 0);
        Combo.SetStyle(Style);
        Combo.Items()->SetCommaText(QStringLiteral("alpha,beta,gamma,delta"));
        Combo.OnDropDown = [this](TObject*) { Log.push_back(QStringLiteral("dropdown")); };
        Combo.OnCloseUp = [this](TObject*) { Log.push_back(QStringLiteral("closeup")); };
        Combo.OnChange = [this](TObject*) { Log.push_back(QStringLiteral("change")); };
        Combo.OnClick = [this](TObject*) { Log.push_back(QStringLiteral("click")); };
    }
    void Show()
    {
        Form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Combo.SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return Combo.Focused(); }));
    }
    TCustomControl* List() { return Combo.DropDownList(); }
};

LRESULT Find(TComboBox& Combo, unsigned Msg, int Start, const QString& Text)
{
    QString text = Text;
    return Combo.Perform(Msg, WPARAM(intptr_t(Start)), reinterpret_cast<LPARAM>(&text));
}

} // namespace

TEST(ComboBox, FindStringSearchesPrefixesAndListMessagesRefuseIndexesOutOfRange)
{
    TComboBox combo(nullptr);
    for (const char* item : {"Ärger", "äpfel", "Öl", "Zebra", "Über", "straße"})
        combo.Items()->Add(QString::fromUtf8(item));
    struct Case {
        unsigned Msg;
        int Start;
        const char* Text;
        LRESULT Expected;
    } cases[] = {
        {CB_FINDSTRING, -1, "ä", 0},       // Ärger: upper-case Ä matches ä
        {CB_FINDSTRING, 0, "Ä", 1},        // after item 0: äpfel
        {CB_FINDSTRING, 1, "ä", 0},        // wraps round to the top
        {CB_FINDSTRING, -1, "öL", 2},
        {CB_FINDSTRING, -1, "über", 4},
        {CB_FINDSTRING, -1, "STRAS", -1},  // ß is no "ss" for a prefix
        {CB_FINDSTRING, -1, "STRAẞ", 5},   // capital sharp s folds to ß
        {CB_FINDSTRING, 99, "z", 3},       // a start past the end searches everything
        {CB_FINDSTRING, -1, "x", CB_ERR},
        {CB_FINDSTRINGEXACT, -1, "ÖL", 2},
        {CB_FINDSTRINGEXACT, -1, "Ö", CB_ERR},
        {CB_FINDSTRINGEXACT, 2, "öl", 2},  // wraps round to the start itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Find(combo, c.Msg, c.Start, QString::fromUtf8(c.Text)), c.Expected);
    }
    combo.Perform(CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(combo.Items()->Count(), 0);
    EXPECT_EQ(Find(combo, CB_FINDSTRING, -1, QString()), CB_ERR);

    combo.SetStyle(csDropDownList);
    QString text = QStringLiteral("one");
    const LPARAM p = reinterpret_cast<LPARAM>(&text);
    EXPECT_EQ(combo.Perform(CB_INSERTSTRING, WPARAM(-1), p), 0) << "-1 appends";
    text = QStringLiteral("zero");
    EXPECT_EQ(combo.Perform(CB_INSERTSTRING, 0, p), 0);
    const struct {
        unsigned Msg;
        int Index;
        LRESULT Expected;
    } indexes[] = {
        {CB_GETLBTEXTLEN, 1, 3},
        {CB_GETLBTEXTLEN, 2, CB_ERR},
        {CB_GETLBTEXTLEN, -1, CB_ERR},
        {CB_SETCURSEL, 5, CB_ERR},
        {CB_SETCURSEL, 1, 1},
        {CB_GETCURSEL, 0, 1},
        {CB_DELETESTRING, 7, CB_ERR},
        {CB_GETCOUNT, 0, 2},
        {CB_GETITEMHEIGHT, 9, CB_ERR},
    };
    for (const auto& c : indexes) {
        SCOPED_TRACE(c.Msg);
        EXPECT_EQ(combo.Perform(c.Msg, WPARAM(intptr_t(c.Index)), 0), c.Expected);
    }
    EXPECT_EQ(combo.Text(), QStringLiteral("one"));
    // A list style shows only entries: setting a text selects the entry it names.
    combo.SetText(QStringLiteral("ZERO"));
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetText(QStringLiteral("none"));
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), QString());
}

TEST(ComboBox, SortedEntriesKeepTheirObjectsAndTheSelectionFollowsItsEntry)
{
    TComboBox combo(nullptr);
    combo.SetSorted(true);
    TObject pear, apple, banana, cherry, avocado;
    combo.Items()->AddObject(QStringLiteral("pear"), &pear);
    combo.Items()->AddObject(QStringLiteral("apple"), &apple);
    combo.Items()->AddObject(QStringLiteral("Banana"), &banana);
    combo.Items()->AddObject(QStringLiteral("cherry"), &cherry);
    // Case is ignored when sorting: apple < Banana < cherry < pear.
    EXPECT_EQ(combo.Items()->CommaText(), QStringLiteral("apple,Banana,cherry,pear"));
    EXPECT_EQ(combo.Perform(CB_GETITEMDATA, 1, 0), reinterpret_cast<LRESULT>(&banana));
    EXPECT_EQ(combo.Items()->Objects(3), &pear);
    combo.SetItemIndex(2);
    QString added = QStringLiteral("avocado");
    EXPECT_EQ(combo.Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&added)), 1);
    EXPECT_EQ(combo.Items()->Objects(0), &apple);
    combo.Items()->SetObjects(1, &avocado);
    EXPECT_EQ(combo.Items()->Objects(3), &cherry);
    EXPECT_EQ(combo.ItemIndex(), 3);
    EXPECT_EQ(combo.Text(), QStringLiteral("cherry"));
    combo.Items()->Delete(3);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Perform(CB_GETITEMDATA, 9, 0), CB_ERR);
}

TEST(ComboBox, KeyboardDropsDownAndChoosesWithCloseUpAfterDropDown)
{
    ComboForm f(csDropDownList);
    f.Show();
    int exits = 0;
    f.Combo.OnExit = [&](TObject*) { ++exits; };
    QTest::keyClick(&f.Combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(f.Combo.DroppedDown());
    EXPECT_EQ(exits, 0) << "the open list does not take the focus from the box";
    EXPECT_EQ(f.Log, (std::vector<QString>{"dropdown"}));
    QTest::keyClick(f.List(), Qt::Key_Down);
    QTest::keyClick(f.List(), Qt::Key_Down);
    EXPECT_EQ(f.Combo.ItemIndex(), -1) << "moving in the open list chooses nothing yet";
    QTest::keyClick(f.List(), Qt::Key_Return);
    EXPECT_FALSE(f.Combo.DroppedDown());
    EXPECT_EQ(f.Combo.ItemIndex(), 1);
    EXPECT_EQ(f.Combo.Text(), QStringLiteral("beta"));
    EXPECT_EQ(f.Log, (std::vector<QString>{"dropdown", "click", "change", "closeup"}));

    f.Log.clear();
    QTest::keyClick(&f.Combo, Qt::Key_F4);
    QTest::keyClick(f.List(), Qt::Key_End);
    QTest::keyClick(f.List(), Qt::Key_Escape);
    EXPECT_EQ(f.Combo.ItemIndex(), 1) << "Escape closes without choosing";
    EXPECT_EQ(f.Log, (std::vector<QString>{"dropdown", "closeup"}));

    // Closed: arrows and a typed letter choose at once.
    f.Log.clear();
    QTest::keyClick(&f.Combo, Qt::Key_Down);
    EXPECT_EQ(f.Combo.ItemIndex(), 2);
    QTest::keyClick(&f.Combo, Qt::Key_D);
    EXPECT_EQ(f.Combo.Text(), QStringLiteral("delta"));
    EXPECT_EQ(f.Log, (std::vector<QString>{"click", "change", "click", "change"}));
}

TEST(ComboBox, MouseDropsDownAndChoosesAnItem)
{
    ComboForm f(csOwnerDrawFixed);
    f.Combo.SetItemHeight(20);
    f.Show();
    QTest::mouseClick(&f.Combo, Qt::LeftButton, {}, QPoint(f.Combo.Width() - 8, f.Combo.Height() / 2));
    ASSERT_TRUE(f.Combo.DroppedDown());
    // Item 2 of the list: one-pixel frame, then 20 pixels per item.
    const QPoint item2(30, 1 + 2 * 20 + 10);
    QTest::mouseMove(f.List(), item2);
    QTest::mouseClick(f.List(), Qt::LeftButton, {}, item2);
    EXPECT_FALSE(f.Combo.DroppedDown());
    EXPECT_EQ(f.Combo.ItemIndex(), 2);
    EXPECT_EQ(f.Log, (std::vector<QString>{"dropdown", "click", "change", "closeup"}));
    // The list is as wide as CB_SETDROPPEDWIDTH asks, never narrower than the box.
    EXPECT_EQ(f.Combo.Perform(CB_SETDROPPEDWIDTH, 40, 0), 150);
    EXPECT_EQ(f.Combo.Perform(CB_SETDROPPEDWIDTH, 260, 0), 260);
    f.Combo.Perform(CB_SHOWDROPDOWN, 1, 0);
    EXPECT_EQ(f.List()->Width(), 260);
    EXPECT_EQ(f.List()->Height(), 2 + 4 * 20);
    f.Combo.Perform(CB_SHOWDROPDOWN, 0, 0);
    EXPECT_EQ(f.Combo.Perform(CB_GETDROPPEDSTATE, 0, 0), 0);
}

TEST(ComboBox, TypedKeysGoThroughTheSubclassedEditPartFirst)
{
    ComboForm f(csDropDown);
    f.Combo.SetCharCase(ecUpperCase);
    std::vector<unsigned> hooked;
    std::vector<QChar> pressed;
    f.Combo.OnKeyPress = [&](TObject*, QChar& Key) { pressed.push_back(Key); };
    uint16_t lastDown = 0;
    f.Combo.OnKeyDown = [&](TObject*, uint16_t& Key, TShiftState) { lastDown = Key; };
    const HWND edit = f.Combo.EditHandle();
    ASSERT_TRUE(edit);
    TWndMethod previous;
    previous = SetWindowProc(edit, [&](TMessage& Message) {
        hooked.push_back(Message.Msg);
        // The hook swallows the letter x.
        if (Message.Msg == WM_CHAR && Message.WParam == 'x') {
            Message.Result = 1;
            return;
        }
        CallWindowProc(previous, Message);
    });
    f.Show();
    auto* line = f.Combo.findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, QStringLiteral("axb"));
    EXPECT_EQ(f.Combo.Text(), QStringLiteral("AB"));
    EXPECT_EQ(pressed, (std::vector<QChar>{u'a', u'b'}));
    EXPECT_EQ(std::count(hooked.begin(), hooked.end(), WM_CHAR), 3);
    EXPECT_EQ(lastDown, uint16_t('B'));
    // Down in the edit part chooses the next entry and puts it into the edit.
    QTest::keyClick(line, Qt::Key_Down);
    EXPECT_EQ(f.Combo.ItemIndex(), 0);
    EXPECT_EQ(line->text(), QStringLiteral("ALPHA")) << "in the box's character case";
    // The edit selection through the messages.
    f.Combo.Perform(CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    EXPECT_EQ(f.Combo.SelStart(), 1);
    EXPECT_EQ(f.Combo.SelLength(), 2);
    EXPECT_EQ(f.Combo.SelText(), QStringLiteral("LP"));
    f.Combo.SetSelStart(5);
    EXPECT_EQ(f.Combo.SelLength(), 0);
    SetWindowProc(edit, previous);
}

namespace {

// Marks each state with a 4x4 square at the item's top left corner (after filling the
// item with the brush the box prepared): red focused, green disabled, blue edit part.
void MarkStates(TComboBox& Combo)
{
    Combo.OnDrawItem = [&Combo](TWinControl*, int, TRect Rect, TOwnerDrawState State) {
        TCanvas* canvas = Combo.Canvas();
        canvas->FillRect(Rect);
        auto mark = [&](int Slot, TColor Color) {
            canvas->Brush()->SetColor(Color);
            canvas->FillRect(Bounds(Rect.Left + 2 + 6 * Slot, Rect.Top + 2, 4, 4));
        };
        if (State.testFlag(odFocused))
            mark(0, clRed);
        if (State.testFlag(odDisabled))
            mark(1, clGreen);
        if (State.testFlag(odComboBoxEdit))
            mark(2, clBlue);
    };
}

} // namespace

TEST(ComboBox, OwnerDrawnItemsOnPixelsInEachState)
{
    ComboForm f(csOwnerDrawFixed);
    f.Combo.SetItemHeight(20);
    MarkStates(f.Combo);
    f.Combo.SetItemIndex(1);
    // The box is 20 + 6 high; the edit part's item is (3, 3) - (150 - 2 - 17 - 1, 23).
    ASSERT_EQ(f.Combo.Height(), 26);
    f.Combo.Repaint();
    QImage face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 4, 4), White) << "not focused: the window colour";
    EXPECT_EQ(Px(face, 5 + 12, 5), Blue) << "edit part";
    EXPECT_EQ(Px(face, 5, 5), White) << "no focus mark";
    EXPECT_EQ(Px(face, 129, 20), White);
    EXPECT_EQ(Px(face, 131, 20), qRgb(192, 192, 192)) << "the button's light outer edge starts at 150 - 2 - 17";

    f.Show();
    f.Combo.Repaint();
    face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 10, 10 + 5), Navy) << "focused face: selected colours";
    EXPECT_EQ(Px(face, 5, 5), Red);
    EXPECT_EQ(Px(face, 3, 3), NavyInverted) << "focus rectangle over the drawing (3 + 3 even)";
    EXPECT_EQ(Px(face, 4, 3), Navy) << "every other pixel";

    f.Combo.SetDroppedDown(true);
    f.List()->Repaint();
    const QImage list = f.List()->BackBuffer();
    EXPECT_EQ(Px(list, 0, 0), Black) << "one-pixel frame";
    EXPECT_EQ(Px(list, 10, 1 + 10), White) << "item 0";
    EXPECT_EQ(Px(list, 10, 21 + 10), Navy) << "item 1 selected";
    EXPECT_EQ(Px(list, 3, 21 + 2), Red) << "and focused";
    EXPECT_EQ(Px(list, 3 + 12, 21 + 2), Navy) << "list items are no edit part";
    f.Combo.SetDroppedDown(false);

    f.Combo.SetEnabled(false);
    f.Combo.Repaint();
    face = f.Combo.BackBuffer();
    EXPECT_EQ(Px(face, 5 + 6, 5), Green) << "disabled";
    EXPECT_EQ(Px(face, 10, 15), White) << "a disabled box has no focus colours";
}

TEST(ComboBox, VariableHeightsAreMeasuredPerItemAndForTheEditPart)
{
    TForm form(nullptr);
    TComboBox combo(nullptr);
    combo.SetParent(&form);
    combo.SetStyle(csOwnerDrawVariable);
    std::vector<int> measured;
    combo.OnMeasureItem = [&](TWinControl*, int Index, int& Height) {
        measured.push_back(Index);
        Height = Index < 0 ? 12 : 10 + Index;
    };
    combo.Items()->SetCommaText(QStringLiteral("a,b,c"));
    combo.SetItemHeight(30);
    EXPECT_EQ(combo.Height(), 12 + 6) << "the edit part's measured height";
    EXPECT_EQ(combo.Perform(CB_GETITEMHEIGHT, 2, 0), 12);
    combo.SetDropDownCount(2);
    combo.SetDroppedDown(true);
    EXPECT_EQ(combo.DropDownList()->Height(), 2 + 10 + 11);
    EXPECT_TRUE(std::count(measured.begin(), measured.end(), -1) > 0);
    combo.SetDroppedDown(false);
}

TEST(ComboBox, ASubclassPaintsAFlatFrameOnWMNCPaint)
{
    TComboBox combo(nullptr);
    combo.SetStyle(csDropDownList);
    TControlCanvas canvas;
    canvas.SetControl(&combo);
    TWndMethod previous = SetWindowProc(combo.Handle(), [&](TMessage& Message) {
        CallWindowProc(previous, Message);
        if (Message.Msg == WM_NCPAINT) {
            canvas.Brush()->SetColor(clRed);
            canvas.FrameRect(combo.ClientRect());
        }
    });
    combo.Repaint();
    EXPECT_EQ(Px(combo.BackBuffer(), 0, 0), Red);
    EXPECT_EQ(Px(combo.BackBuffer(), combo.Width() - 1, 10), Red);
    // Inside the frame, the box's own sunken edge: its inner shadow ring at (1, 1).
    EXPECT_EQ(Px(combo.BackBuffer(), 1, 1), Black);
    SetWindowProc(combo.Handle(), previous);
    combo.Repaint();
    EXPECT_EQ(Px(combo.BackBuffer(), 0, 0), qRgb(128, 128, 128)) << "the sunken edge's outer shadow";
}

TEST(ComboBox, SimpleStyleShowsItsListUnderTheEdit)
{
    ComboForm f(csSimple);
    f.Combo.SetBounds(10, 10, 150, 120);
    EXPECT_EQ(f.Combo.Height(), 120) << "only the simple style takes a height";
    f.Show();
    TCustomControl* list = f.List();
    ASSERT_TRUE(list->isVisible());
    // The list's second item, under its 2-pixel frame.
    const int itemHeight = int(f.Combo.Perform(CB_GETITEMHEIGHT, 0, 0));
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, 2 + itemHeight + itemHeight / 2));
    EXPECT_EQ(f.Combo.ItemIndex(), 1);
    EXPECT_EQ(f.Combo.Text(), QStringLiteral("beta"));
    EXPECT_EQ(f.Log, (std::vector<QString>{"click", "change"}));
    f.Combo.SetDroppedDown(true);
    EXPECT_FALSE(f.Combo.DroppedDown()) << "a simple box has nothing to drop down";
}
