#include "vcl/core/sysutils.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"

#include <gtest/gtest.h>

using namespace vcl;

TEST(Colors, SystemColoursResolveFromTheReplaceableClassicTableAndPlainValuesPassThrough)
{
    struct Row {
        TColor System;
        TColor Rgb;
    };
    const Row rows[] = {
        {clBtnFace, 0xC0C0C0}, {clBtnShadow, 0x808080}, {clBtnHighlight, 0xFFFFFF}, {clBtnText, 0x000000},
        {clActiveCaption, 0x800000}, {clWindow, 0xFFFFFF}, {clWindowText, 0x000000}, {clInfoBk, 0xE1FFFF},
        {cl3DDkShadow, 0x000000}, {clHighlight, 0x800000},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ColorToRGB(row.System), row.Rgb) << std::hex << row.System;
    EXPECT_EQ(uint32_t(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(uint32_t(clBtnShadow), 0x80000010u);
    EXPECT_EQ(uint32_t(clBtnHighlight), 0x80000014u);
    EXPECT_EQ(uint32_t(clActiveCaption), 0x80000002u);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFF);
    EXPECT_EQ(ColorToRGB(0x02123456), 0x02123456);
    EXPECT_EQ(GetSysColor(-1), 0);
    EXPECT_EQ(GetSysColor(SystemColorCount), 0);
    // The application can replace the table.
    TSysColorTable table = DefaultSysColors();
    table[COLOR_BTNFACE] = RGB(1, 2, 3);
    SetSysColors(table);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x030201);
    ResetSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
}

TEST(Colors, QtConversionsNamesAndNumbers)
{
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ToQColor(clBtnShadow), QColor(128, 128, 128));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(ToQRgb(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
    EXPECT_EQ(FromQRgb(0xFF123456u), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(ColorToString(clRed), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(0x123456), QStringLiteral("$00123456"));
    EXPECT_EQ(StringToColor(QStringLiteral("clbtnface")), clBtnFace);
    EXPECT_EQ(StringToColor(QStringLiteral("$00FF0000")), clBlue);
    EXPECT_EQ(StringToColor(QStringLiteral("255")), clRed);
    EXPECT_EQ(StringToColor(QStringLiteral("$8000000F")), clBtnFace);
    EXPECT_THROW(StringToColor(QStringLiteral("clNoSuchColour")), EConvertError);
    EXPECT_THROW(StringToColor(QStringLiteral("$1FFFFFFFF")), EConvertError);
}

TEST(Font, SizeAndHeightConvertAtScreenResolutionAndOnlyRealChangesNotify)
{
    TFont font;
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11); // 8 * 96 / 72 = 10.67, rounded
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);

    // Change notifications come only for real changes.
    int changes = 0;
    font.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    };
    font.SetColor(clRed);
    font.SetColor(clRed);
    font.SetStyle(fsBold | fsItalic);
    font.SetStyle(fsBold | fsItalic);
    font.SetName(font.Name());
    font.SetSize(font.Size());
    EXPECT_EQ(changes, 2);

    TFont other;
    other.SetName(QStringLiteral("DejaVu Sans Mono"));
    other.SetPitch(fpFixed);
    font.Assign(&other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(font.Name(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(font.Pitch(), fpFixed);
    EXPECT_EQ(font.Style(), TFontStyles());
}

TEST(PenAndBrush, AssignAndClearBrushColour)
{
    TPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(0);
    EXPECT_EQ(pen.Width(), 1);
    pen.SetStyle(psDot);
    TPen copy;
    copy.Assign(&pen);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Style(), psDot);

    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clBlue);
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_THROW(brush.Assign(&pen), EConvertError);
}
