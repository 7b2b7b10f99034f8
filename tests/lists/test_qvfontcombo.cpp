// The font combo box: its list against Qt's own font database (an independent source),
// the kind filters and glyphs, the printer device with and without printers, selection
// by name and as a font, and the drawn glyph on pixels.
#include "lists/qvfontcombo.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/printers.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/graphicsobjects.h"

#include "../controls/itempixels.h"
#include "support/prerequisite.h"

#include <QFontDatabase>
#include <QTest>
#include <gtest/gtest.h>

using namespace vcl;
using Qvfontcombo::TqvFontCombo;

namespace {

using namespace itempixels;

QStringList Entries(const TqvFontCombo& Combo)
{
    QStringList entries;
    for (int i = 0; i < Combo.Items()->Count(); ++i)
        entries << Combo.Items()->Strings(i);
    return entries;
}

uint8_t PitchOf(const TqvFontCombo& Combo, int Index)
{
    return uint8_t(reinterpret_cast<uintptr_t>(Combo.Items()->Objects(Index)));
}

// One printer, or none, for the test's lifetime.
struct FakePrinters {
    explicit FakePrinters(bool Any)
    {
        TPrinter::SetPrinterSource([Any] {
            return Any ? TPrinter::TPrinterList{{QStringLiteral("Office")}, QStringLiteral("Office")}
                       : TPrinter::TPrinterList{};
        });
        Printer()->Refresh();
    }
    ~FakePrinters()
    {
        TPrinter::SetPrinterSource(nullptr);
        Printer()->Refresh();
    }
};

} // namespace

TEST(QvFontCombo, ListsEveryFamilyOfTheFontDatabaseSorted)
{
    TqvFontCombo combo(nullptr);
    const QStringList entries = Entries(combo);
    if (entries.isEmpty())
        QV_PREREQUISITE_MISSING("installed fonts (fonts-dejavu-core)");
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            families << family.left(31);
    families.removeDuplicates();
    QStringList sorted = entries;
    std::sort(sorted.begin(), sorted.end(), [](const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(entries, sorted);
    std::sort(families.begin(), families.end());
    sorted = entries;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, families);
    EXPECT_TRUE(entries.contains("DejaVu Sans Mono")) << "the test fonts are installed";
}

TEST(QvFontCombo, KindFiltersKeepOnlyTheirFamiliesAndGlyphsFollowThePitchBitsAndTheDevice)
{
    TqvFontCombo combo(nullptr);
    const int all = combo.Items()->Count();
    combo.SetFontType(Qvfontcombo::ftTrueType);
    ASSERT_GT(combo.Items()->Count(), 0);
    for (int i = 0; i < combo.Items()->Count(); ++i) {
        SCOPED_TRACE(combo.Items()->Strings(i).toStdString());
        const auto glyph = combo.GlyphOf(PitchOf(combo, i));
        EXPECT_TRUE(glyph == TqvFontCombo::glTrueType || glyph == TqvFontCombo::glTrueTypeFixed);
    }
    combo.SetFontType(Qvfontcombo::ftFixedPitch);
    ASSERT_TRUE(Entries(combo).contains("DejaVu Sans Mono"));
    for (const QString& family : Entries(combo)) {
        SCOPED_TRACE(family.toStdString());
        EXPECT_TRUE(QFontDatabase::isFixedPitch(family));
    }
    EXPECT_LT(combo.Items()->Count(), all);
    EXPECT_FALSE(Entries(combo).contains("DejaVu Sans"));

    // The glyph follows the pitch and family bits and the device.
    struct Case {
        uint8_t Pitch;
        TqvFontCombo::TGlyph Screen, Printer;
    } cases[] = {
        {0x04 | 0x01, TqvFontCombo::glTrueType, TqvFontCombo::glTrueType},
        {0x04, TqvFontCombo::glTrueTypeFixed, TqvFontCombo::glTrueTypeFixed},
        {0x00, TqvFontCombo::glFixedPitch, TqvFontCombo::glFixedPitch},
        {0x01, TqvFontCombo::glDevice, TqvFontCombo::glPrinter},
        {0x08 | 0x01 | 0x30, TqvFontCombo::glDevice, TqvFontCombo::glPrinter},
    };
    FakePrinters printers(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Pitch));
        combo.SetFontDevice(Qvfontcombo::fdScreen);
        EXPECT_EQ(combo.GlyphOf(c.Pitch), c.Screen);
        combo.SetFontDevice(Qvfontcombo::fdPrinter);
        EXPECT_EQ(combo.GlyphOf(c.Pitch), c.Printer);
    }
}

TEST(QvFontCombo, SwitchingTheDeviceKeepsTheSelectedFamily)
{
    TqvFontCombo combo(nullptr);
    combo.HandleNeeded();
    combo.SetFontName("dejavu sans mono");
    ASSERT_EQ(combo.FontName(), "DejaVu Sans Mono");
    {
        FakePrinters printers(true);
        combo.SetFontDevice(Qvfontcombo::fdPrinter);
        EXPECT_EQ(combo.FontName(), "DejaVu Sans Mono");
        combo.SetFontType(Qvfontcombo::ftPrinter);
        EXPECT_EQ(Entries(combo), Printer()->Fonts()) << "the printer's own families";
    }
    FakePrinters none(false);
    combo.SetFontType(Qvfontcombo::ftAll);
    EXPECT_GT(combo.Items()->Count(), 0) << "without printers the printer device lists the screen's families";
    combo.SetFontType(Qvfontcombo::ftPrinter);
    EXPECT_EQ(combo.Items()->Count(), 0);
    EXPECT_TRUE(combo.FontName().isEmpty());
}

TEST(QvFontCombo, SelectionAsNameAndAsFont)
{
    TqvFontCombo combo(nullptr);
    EXPECT_EQ(combo.SelectedFont(), nullptr);
    combo.SetFontSize(13);
    combo.SetFontName("DejaVu Serif");
    TFont* font = combo.SelectedFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Name(), "DejaVu Serif");
    EXPECT_EQ(font->Size(), 13);
    combo.SetFontName("No Such Family");
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.SelectedFont(), nullptr);
    TFont wanted;
    wanted.SetName("DejaVu Sans");
    combo.SetSelectedFont(&wanted);
    EXPECT_EQ(combo.FontName(), "DejaVu Sans");
}

// The glyph sits 20 pixels left of the name's edge (item left + 24), so at x = 4 of the
// face's item rectangle (which starts at 3): x 7..18, centred vertically. Our TrueType
// glyph has black in row 1 at x 0..6 and the olive background (left out) at x 11 of row 1.
TEST(QvFontCombo, DrawsTheKindGlyphWithItsBackgroundLeftOut)
{
    TqvFontCombo combo(nullptr);
    combo.SetColor(clWhite);
    combo.SetFontName("DejaVu Sans");
    ASSERT_EQ(combo.GlyphOf(PitchOf(combo, combo.ItemIndex())), TqvFontCombo::glTrueType);
    const TBitmap* glyph = combo.Glyph(TqvFontCombo::glTrueType);
    ASSERT_EQ(glyph->Width(), 12);
    combo.Repaint();
    const QImage face = combo.BackBuffer();
    const int itemHeight = int(combo.Perform(CB_GETITEMHEIGHT, WPARAM(-1)));
    const int top = 3 + (itemHeight - 12) / 2;
    EXPECT_EQ(Px(face, 7, top + 1), Black);
    EXPECT_EQ(Px(face, 13, top + 1), Black);
    EXPECT_EQ(Px(face, 18, top + 1), White) << "olive is left out";
    EXPECT_EQ(Px(face, 12, top + 4), qRgb(0, 0, 128)) << "the second letter";
}

// In the list the glyph sits at x = 4 of each item (after the list's one-pixel frame),
// its olive pixels showing the control's colour, also on the selected entry.
TEST(QvFontCombo, DrawsGlyphsOnTheControlsColourInTheList)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    TqvFontCombo combo(&form);
    combo.SetParent(&form);
    combo.SetColor(clWhite);
    combo.SetFontName("DejaVu Sans");
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    combo.SetDroppedDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    TCustomControl* list = combo.DropDownList();
    list->Repaint();
    const QImage image = list->BackBuffer();
    const int h = int(combo.Perform(CB_GETITEMHEIGHT, 0));
    const int top = 1 + combo.ItemIndex() * h + (h - 12) / 2;
    EXPECT_EQ(Px(image, 1 + 4, top + 1), Black) << "the T's bar";
    EXPECT_EQ(Px(image, 1 + 4 + 11, top + 1), White) << "olive is left out";
    EXPECT_EQ(Px(image, 1 + 2, top), White);
    EXPECT_EQ(Px(image, 1 + 100, top), Navy) << "the selected name";
    combo.SetDroppedDown(false);
}
