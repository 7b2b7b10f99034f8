// The colour combo box: its entries with every choice of optional entries, selecting by
// colour (black picks the black entry, never the separator), the custom entry's dialog
// (confirmed, cancelled, closed with Escape), renamed entries surviving a rebuilt list
// and a form file, and the drawn items on pixels.
#include "lists/qvcolorcombo.h"
#include "package/package.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/forms.h"
#include "vcl/streaming/formfile.h"

#include "../controls/itempixels.h"
#include "../controls/waituntil.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using Qvcolorcombobox::TqvColorCombo;

namespace {

using namespace itempixels;

const QRgb Gray = qRgb(128, 128, 128);
const QRgb RedPx = qRgb(255, 0, 0);
const QRgb YellowPx = qRgb(255, 255, 0);

// Answers the colour dialog for one test and counts how often it opened.
struct DialogAnswer {
    int Opened = 0;
    TColor SeenColor;
    QStringList SeenCustomColors;

    DialogAnswer(bool Confirm, TColor Chosen)
    {
        TColorDialog::SetResponder([this, Confirm, Chosen](TColorDialog* Dialog) {
            ++Opened;
            SeenColor = Dialog->Color();
            SeenCustomColors = Dialog->CustomColors();
            Dialog->SetColor(Chosen);
            Dialog->SetCustomColors({QStringLiteral("ColorA=123456")});
            return Confirm;
        });
    }
    ~DialogAnswer() { TColorDialog::SetResponder(nullptr); }
};

QStringList Captions(TqvColorCombo& Combo)
{
    QStringList captions;
    for (int i = 0; i < Combo.Items()->Count(); ++i)
        captions << Combo.Items()->Strings(i);
    return captions;
}

struct ColorForm {
    TForm Form{nullptr};
    TqvColorCombo Combo{nullptr};
    ColorForm()
    {
        Form.SetBounds(0, 0, 300, 400);
        Combo.SetParent(&Form);
        Combo.SetBounds(10, 10, 150, 0);
    }
    void Show()
    {
        Form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Combo.SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return Combo.Focused(); }));
    }
    // Opens the list, moves to entry Index with the keys and presses Key there.
    void ChooseWithKeys(int Index, Qt::Key Key)
    {
        QTest::keyClick(&Combo, Qt::Key_F4);
        ASSERT_TRUE(Combo.DroppedDown());
        Combo.DropDownList()->setFocus();
        QWidget* list = Combo.DropDownList();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < Index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Key);
        ASSERT_TRUE(WaitUntil([&] { return !Combo.DroppedDown(); }));
    }
};

} // namespace

TEST(QvColorCombo, ListsTheOptionalEntriesThenTheSixteenColours)
{
    TqvColorCombo combo(nullptr);
    ASSERT_EQ(combo.Items()->Count(), 19);
    EXPECT_EQ(Captions(combo).mid(0, 5), (QStringList{"Assigned", "Custom", "-", "Black", "Maroon"}));
    EXPECT_EQ(combo.Items()->Strings(18), "White");
    EXPECT_EQ(combo.ItemIndex(), 0);
    // Colours from the table of standard colours, as 0xBBGGRR.
    EXPECT_EQ(combo.GetColorFromItem(0), clWhite);
    EXPECT_EQ(combo.GetColorFromItem(1), clBlack);
    EXPECT_EQ(combo.GetColorFromItem(4), TColorOf(0x000080));
    EXPECT_EQ(combo.GetColorFromItem(12), TColorOf(0x0000FF));
    EXPECT_EQ(combo.GetColorFromItem(15), TColorOf(0xFF0000));

    struct Case {
        bool Default, Custom, Separator;
        int Count, CustomIndex, SeparatorIndex, FirstStandard;
    } cases[] = {
        {false, true, true, 18, 0, 1, 2},
        {true, false, true, 18, -1, 1, 2},
        {true, true, false, 18, 1, -1, 2},
        {false, false, false, 16, -1, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Count * 10 + c.FirstStandard);
        combo.SetShowDefaultColor(c.Default);
        combo.SetShowCustomColor(c.Custom);
        combo.SetShowSeparator(c.Separator);
        EXPECT_EQ(combo.Items()->Count(), c.Count);
        EXPECT_EQ(combo.CustomEntryIndex(), c.CustomIndex);
        EXPECT_EQ(combo.SeparatorIndex(), c.SeparatorIndex);
        EXPECT_EQ(combo.Items()->Strings(c.FirstStandard), "Black");
    }
}

TEST(QvColorCombo, SelectingByColourPicksTheColoursOwnEntry)
{
    TqvColorCombo combo(nullptr);
    int changes = 0;
    combo.OnChange = [&](TObject*) { ++changes; };
    combo.SetSelectedColor(clBlack);
    EXPECT_EQ(combo.ItemIndex(), 3) << "the black entry, not the custom entry or the separator";
    combo.SetSelectedColor(TColorOf(0x0000FF));
    EXPECT_EQ(combo.Items()->Strings(combo.ItemIndex()), "Red");
    EXPECT_EQ(changes, 2);

    combo.SetSelectedColor(TColorOf(0x123456));
    EXPECT_EQ(combo.ItemIndex(), 1) << "an unlisted colour becomes the custom colour";
    EXPECT_EQ(combo.CustomColor(), TColorOf(0x123456));
    EXPECT_EQ(combo.SelectedColor(), TColorOf(0x123456));

    combo.SetDefaultColor(TColorOf(0x654321));
    combo.SetSelectedColor(TColorOf(0x654321));
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetItemIndex(-1);
    EXPECT_EQ(combo.SelectedColor(), TColorOf(0x654321)) << "nothing selected: the default colour";

    combo.SetShowSeparator(false);
    combo.SetSelectedColor(clBlack);
    EXPECT_EQ(combo.Items()->Strings(combo.ItemIndex()), "Black");
}

TEST(QvColorCombo, RenamedNamesFollowTheEntriesAndKeepTheSelection)
{
    TqvColorCombo combo(nullptr);
    combo.SetSelectedColor(TColorOf(0x0000FF));
    EXPECT_FALSE(combo.NamesChanged());
    combo.ColorNames()->SetRed(QString::fromUtf8("Rot"));
    EXPECT_EQ(combo.Items()->Strings(12), QString::fromUtf8("Rot"));
    EXPECT_EQ(combo.ItemIndex(), 12);
    EXPECT_TRUE(combo.NamesChanged());
    combo.SetShowSeparator(false);
    EXPECT_EQ(combo.Items()->Strings(11), QString::fromUtf8("Rot"));
    EXPECT_EQ(combo.ItemIndex(), 11) << "the selected entry stays selected in the rebuilt list";
    combo.ColorNames()->SetCustom(QString::fromUtf8("Eigene…"));
    EXPECT_EQ(combo.Items()->Strings(1), QString::fromUtf8("Eigene…"));
    EXPECT_THROW(combo.ColorNames()->SetStandardColor(16, "x"), Exception);
    EXPECT_THROW(combo.ColorNames()->GetStandardColor(-1), Exception);

    // Assigning names copies every name, also that of a hidden entry.
    TqvColorCombo other(nullptr);
    other.SetShowDefaultColor(false);
    other.SetColorNames(combo.ColorNames());
    EXPECT_EQ(other.Items()->Strings(0), QString::fromUtf8("Eigene…"));
    other.SetShowDefaultColor(true);
    EXPECT_EQ(other.Items()->Strings(0), "Assigned");
}

TEST(QvColorCombo, RenamedNamesAndColoursPersistThroughAFormFile)
{
    Package::LoadPackage();
    TForm form(nullptr);
    form.SetName("Form1");
    auto* combo = new TqvColorCombo(&form);
    combo->SetName("Colors");
    combo->SetParent(&form);
    QString text = ComponentToText(&form);
    EXPECT_FALSE(text.contains("ColorNames")) << "unchanged names are not stored";
    EXPECT_FALSE(text.contains("DefaultColor"));

    combo->ColorNames()->SetRed(QString::fromUtf8("Rouge été"));
    combo->ColorNames()->SetDefault("Auto");
    combo->SetDefaultColor(clBlack);
    combo->SetShowSeparator(false);
    text = ComponentToText(&form);
    EXPECT_TRUE(text.contains("DefaultColor = clBlack")) << text.toStdString();

    TForm copy(nullptr);
    TextToComponent(text, &copy);
    auto* read = dynamic_cast<TqvColorCombo*>(copy.FindComponent("Colors"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ColorNames()->Red(), QString::fromUtf8("Rouge été"));
    EXPECT_EQ(read->Items()->Strings(11), QString::fromUtf8("Rouge été"));
    EXPECT_EQ(read->Items()->Strings(0), "Auto");
    EXPECT_EQ(read->GetColorFromItem(0), clBlack);
    EXPECT_FALSE(read->ShowSeparator());
    EXPECT_EQ(read->ItemIndex(), 0);
}

TEST(QvColorCombo, ChoosingTheCustomEntryOpensTheDialogAndConfirmingKeepsItsColour)
{
    ColorForm f;
    f.Combo.CustomColors()->Add("ColorA=FFFFFF");
    f.Show();
    DialogAnswer answer(true, TColorOf(0x336699));
    f.ChooseWithKeys(1, Qt::Key_Return);
    EXPECT_EQ(answer.Opened, 1);
    EXPECT_EQ(answer.SeenColor, clBlack) << "the dialog opens at the selected colour";
    EXPECT_EQ(answer.SeenCustomColors, QStringList{"ColorA=FFFFFF"});
    EXPECT_EQ(f.Combo.CustomColor(), TColorOf(0x336699));
    EXPECT_EQ(f.Combo.SelectedColor(), TColorOf(0x336699));
    ASSERT_EQ(f.Combo.CustomColors()->Count(), 1);
    EXPECT_EQ(f.Combo.CustomColors()->Strings(0), "ColorA=123456");
}

TEST(QvColorCombo, CancellingTheDialogOrClosingWithEscapeChangesNothing)
{
    ColorForm f;
    f.Show();
    {
        DialogAnswer answer(false, TColorOf(0x336699));
        f.ChooseWithKeys(1, Qt::Key_Return);
        EXPECT_EQ(answer.Opened, 1);
        EXPECT_EQ(f.Combo.CustomColor(), clBlack);
        EXPECT_EQ(f.Combo.CustomColors()->Count(), 0);
    }
    DialogAnswer answer(true, TColorOf(0x336699));
    f.Combo.SetItemIndex(1);
    f.ChooseWithKeys(1, Qt::Key_Escape);
    EXPECT_EQ(answer.Opened, 0);
    EXPECT_EQ(f.Combo.CustomColor(), clBlack);
    f.ChooseWithKeys(5, Qt::Key_Return);
    EXPECT_EQ(answer.Opened, 0) << "a standard colour opens no dialog";
}

// List items 150 wide and GetMinFontHeight + 4 high. With names, the swatch is the item
// shrunk by 4 with its left at 4 and its right at 4 + 14 (exclusive): x 4..17, y 4..h-5,
// framed by DrawSides in black for dark colours and 0x808080 for light ones; the name's
// background starts at x = 24.
TEST(QvColorCombo, DrawsFramedSwatchesSelectedItemsAndTheSeparator)
{
    ColorForm f;
    f.Combo.SetColor(clWhite);
    f.Combo.SetDropDownCount(19);
    f.Show();
    f.Combo.SetSelectedColor(TColorOf(0x0000FF));
    QTest::keyClick(&f.Combo, Qt::Key_F4);
    ASSERT_TRUE(f.Combo.DroppedDown());
    TCustomControl* list = f.Combo.DropDownList();
    list->Repaint();
    const QImage image = list->BackBuffer();
    const int h = int(f.Combo.Perform(CB_GETITEMHEIGHT, 0));
    // The list's one-pixel frame shifts the items by 1.
    auto itemTop = [&](int Index) { return 1 + Index * h; };

    const int maroon = itemTop(4); // dark: black frame, maroon inside
    EXPECT_EQ(Px(image, 1 + 4, maroon + 4), Black);
    EXPECT_EQ(Px(image, 1 + 17, maroon + h - 5), Black);
    EXPECT_EQ(Px(image, 1 + 5, maroon + 5), qRgb(128, 0, 0));
    EXPECT_EQ(Px(image, 1 + 18, maroon + 5), White) << "right of the swatch";
    EXPECT_EQ(Px(image, 1 + 3, maroon + 5), White) << "left of the swatch";

    const int yellow = itemTop(14); // light: grey frame
    EXPECT_EQ(Px(image, 1 + 4, yellow + 4), Gray);
    EXPECT_EQ(Px(image, 1 + 10, yellow + h - 5), Gray);
    EXPECT_EQ(Px(image, 1 + 10, yellow + 6), YellowPx);

    const int red = itemTop(12); // selected: highlight behind the name only
    EXPECT_EQ(Px(image, 1 + 10, red + 6), RedPx);
    EXPECT_EQ(Px(image, 1 + 4, red + 4), Gray);
    EXPECT_EQ(Px(image, 1 + 20, red + 1), White) << "left of the name, outside the highlight";
    EXPECT_EQ(Px(image, 1 + 140, red + 2), Navy);

    const int separator = itemTop(2); // a black line through the middle, full width
    EXPECT_EQ(Px(image, 1 + 2, separator + h / 2), Black);
    EXPECT_EQ(Px(image, 1 + 140, separator + h / 2), Black);
    EXPECT_EQ(Px(image, 1 + 140, separator + h / 2 - 1), White);
    QTest::keyClick(list, Qt::Key_Escape);
}

// In the face (the edit field) the swatch is the face's item rectangle shrunk by 2.
TEST(QvColorCombo, DrawsTheSelectedColourInTheFaceAndWithoutNames)
{
    TqvColorCombo combo(nullptr);
    combo.SetColor(clWhite);
    combo.SetSelectedColor(TColorOf(0x00FF00));
    combo.Repaint();
    QImage face = combo.BackBuffer();
    // The face's item rectangle starts at (3, 3): swatch x 5..18, y 5..
    EXPECT_EQ(Px(face, 5, 5), Gray);
    EXPECT_EQ(Px(face, 10, 8), qRgb(0, 255, 0));

    combo.SetShowColorNames(false);
    combo.Repaint();
    face = combo.BackBuffer();
    EXPECT_EQ(Px(face, 100, 8), qRgb(0, 255, 0)) << "without names the swatch fills the item";
}
