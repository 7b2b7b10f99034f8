// Font-family enumeration with the platform's kinds and pitch bits, and the printer
// object with and without printers.
#include "support/prerequisite.h"
#include "vcl/controls/printers.h"
#include "vcl/controls/screen.h"
#include "vcl/graphics/fontenum.h"

#include <QFontDatabase>
#include <gtest/gtest.h>
#include <map>

using namespace vcl;

namespace {

struct Reported {
    ENUMLOGFONT Font;
    NEWTEXTMETRIC Metrics;
    int Type = 0;
};

std::vector<Reported> Enumerate(HDC DC, const QString& Family, int StopAfter = -1)
{
    std::vector<Reported> all;
    EnumFontFamilies(DC, Family, [&](const ENUMLOGFONT& f, const NEWTEXTMETRIC& m, int type, LPARAM data) {
        EXPECT_EQ(data, 77);
        all.push_back({f, m, type});
        return int(all.size()) == StopAfter ? 0 : 1;
    }, 77);
    return all;
}

class FontEnumeration : public ::testing::Test {
protected:
    void SetUp() override
    {
        // DejaVu is part of the project's packages; its faces have known kinds.
        if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Mono")))
            QV_PREREQUISITE_MISSING("the DejaVu fonts (package fonts-dejavu-core)");
        DC = GetDC(nullptr);
    }
    void TearDown() override { ReleaseDC(nullptr, DC); }
    HDC DC = nullptr;
};

} // namespace

TEST_F(FontEnumeration, OneCallPerFamilyWithTheKindAndPitchBitsOfIt)
{
    const std::vector<Reported> all = Enumerate(DC, QString());
    ASSERT_EQ(all.size(), size_t(Screen()->Fonts().size()));
    std::map<QString, Reported> byName;
    for (const Reported& r : all)
        byName.emplace(r.Font.elfLogFont.lfFaceName, r);
    // Outline fonts: TrueType kind and bit; bit 0 means variable pitch.
    const Reported& mono = byName.at(QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(mono.Type, TRUETYPE_FONTTYPE);
    EXPECT_EQ(mono.Metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_FIXED_PITCH), TMPF_TRUETYPE);
    const Reported& sans = byName.at(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(sans.Metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_FIXED_PITCH), TMPF_TRUETYPE | TMPF_FIXED_PITCH);
    EXPECT_GT(sans.Metrics.tmHeight, 0);
    for (const Reported& r : all)
        EXPECT_LT(r.Font.elfLogFont.lfFaceName.size(), LF_FACESIZE);
    const QStringList fonts = Screen()->Fonts();
    EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }));
}

TEST_F(FontEnumeration, ANamedFamilyReportsItsStylesAndZeroStops)
{
    const std::vector<Reported> styles = Enumerate(DC, QStringLiteral("DejaVu Sans"));
    ASSERT_GE(styles.size(), 2u);
    bool bold = false;
    for (const Reported& r : styles) {
        EXPECT_EQ(r.Font.elfLogFont.lfFaceName, QStringLiteral("DejaVu Sans"));
        bold |= r.Font.elfStyle == QStringLiteral("Bold") && r.Font.elfLogFont.lfWeight == 700;
    }
    EXPECT_TRUE(bold);
    EXPECT_TRUE(Enumerate(DC, QStringLiteral("No Such Family 9")).empty());
    EXPECT_EQ(Enumerate(DC, QString(), 3).size(), 3u);
    EXPECT_EQ(EnumFontFamilies(DC, QString(), [](auto&&...) { return 0; }, 0), 0);
    EXPECT_TRUE(Enumerate(nullptr, QString()).empty());
}

TEST(Printers, WithoutPrintersEverythingIsEmptyAndNothingFails)
{
    // The print system asked for real, pointed at a server that does not exist.
    qputenv("CUPS_SERVER", "/nonexistent/qvkit-test-cups.sock");
    TPrinter printer;
    EXPECT_TRUE(printer.Printers().isEmpty());
    EXPECT_EQ(printer.PrinterIndex(), -1);
    EXPECT_TRUE(printer.Fonts().isEmpty());
    EXPECT_EQ(printer.Handle(), nullptr);
    EXPECT_NO_THROW(printer.SetPrinterIndex(-1));
    EXPECT_THROW(printer.SetPrinterIndex(0), EPrinter);
}

TEST(Printers, TheDefaultPrinterIsChosenUntilAnotherIs)
{
    TPrinter::TPrinterList list{{QStringLiteral("Office"), QStringLiteral("Label")}, QStringLiteral("Label")};
    TPrinter::SetPrinterSource([&] { return list; });
    TPrinter printer;
    EXPECT_EQ(printer.Printers(), list.Names);
    EXPECT_EQ(printer.PrinterIndex(), 1);
    printer.SetPrinterIndex(0);
    EXPECT_EQ(printer.PrinterIndex(), 0);
    printer.SetPrinterIndex(-1);
    EXPECT_EQ(printer.PrinterIndex(), 1);
    EXPECT_THROW(printer.SetPrinterIndex(2), EPrinter);
    EXPECT_THROW(printer.SetPrinterIndex(-2), EPrinter);
    EXPECT_EQ(printer.PrinterIndex(), 1);
    EXPECT_EQ(printer.Fonts(), Screen()->Fonts());
    ASSERT_NE(printer.Handle(), nullptr);
    EXPECT_FALSE(Enumerate(printer.Handle(), QString(), 1).empty());

    list = {};
    printer.Refresh();
    EXPECT_EQ(printer.PrinterIndex(), -1);
    EXPECT_EQ(printer.Handle(), nullptr);
    TPrinter::SetPrinterSource({});
}
