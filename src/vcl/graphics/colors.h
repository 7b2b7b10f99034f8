#pragma once
// Colours: TColor values (0x00BBGGRR), the named and system colours, and their
// conversion to red-green-blue and to Qt.
#include <QColor>
#include <QMetaType>
#include <QString>
#include <array>
#include <cstdint>

namespace vcl {

// A colour stored as 0x00BBGGRR. A value 0x800000nn names system colour nn; the flag
// 0x02000000 marks a palette-relative red-green-blue value.
//
// A type of its own rather than an alias of int, so that a published colour property
// is known by its type: form files and the inspector show it by name ("clBtnFace",
// "$00BBGGRR"). It converts to and from int32_t implicitly, so colour arithmetic on
// the 32-bit value reads as before.
struct TColor {
    int32_t Value = 0;
    constexpr TColor() = default;
    constexpr TColor(int32_t AValue) : Value(AValue) {}
    constexpr operator int32_t() const { return Value; }
};

constexpr TColor TColorOf(uint32_t value) { return static_cast<TColor>(value); }

// Red-green-blue to TColor, as the platform's RGB macro.
constexpr TColor RGB(int r, int g, int b)
{
    return TColorOf((uint32_t(r) & 0xFF) | ((uint32_t(g) & 0xFF) << 8) | ((uint32_t(b) & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return int(uint32_t(c) & 0xFF); }
constexpr int GetGValue(TColor c) { return int((uint32_t(c) >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((uint32_t(c) >> 16) & 0xFF); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The flag of a system colour and the number of system colours in the table.
constexpr uint32_t SystemColorFlag = 0x80000000u;
constexpr int SystemColorCount = 29;
// The flag the pixel helpers put on red-green-blue values (palette-relative colour).
constexpr TColor PaletteRelativeFlag = 0x02000000;

enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20, COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24, COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
};

constexpr TColor SystemColor(int index) { return TColorOf(SystemColorFlag | uint32_t(index)); }

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);

using TSysColorTable = std::array<TColor, SystemColorCount>;

// The classic default system colours (the platform's standard scheme), so that pixel
// results never depend on the desktop theme.
const TSysColorTable& DefaultSysColors();
// The table in use; an application may replace it (for a theme of its own or for tests).
const TSysColorTable& SysColors();
void SetSysColors(const TSysColorTable& table);
void ResetSysColors();
// The red-green-blue value of system colour Index (0 for an unknown index).
TColor GetSysColor(int Index);

// Resolves a system colour to its red-green-blue value; other values are returned as
// they are (clNone and palette-relative flags included).
TColor ColorToRGB(TColor Color);

// The Qt colour of a TColor (system colours resolved, flags dropped); clNone becomes a
// fully transparent colour.
QColor ToQColor(TColor Color);
// The TColor of a Qt colour (alpha is ignored).
TColor FromQColor(const QColor& Color);
// The 0xAARRGGBB pixel value (alpha 255) of a red-green-blue value, its low three
// bytes taken as they are (a system colour is not resolved first).
constexpr uint32_t RgbToQRgb(TColor Rgb)
{
    return 0xFF000000u | (uint32_t(GetRValue(Rgb)) << 16) | (uint32_t(GetGValue(Rgb)) << 8) | uint32_t(GetBValue(Rgb));
}
// The 0xAARRGGBB pixel value (alpha 255) of a TColor, as stored in a QImage.
uint32_t ToQRgb(TColor Color);
// The TColor of a 0xAARRGGBB pixel value.
constexpr TColor FromQRgb(uint32_t rgb)
{
    return TColorOf(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

// Names: "clRed" for named and system colours, else "$00BBGGRR".
QString ColorToString(TColor Color);
// Parses a colour name or a number ("$0000FF", "255"); raises EConvertError when invalid.
TColor StringToColor(const QString& S);
bool IdentToColor(const QString& Ident, TColor& Color);
bool ColorToIdent(TColor Color, QString& Ident);

} // namespace vcl

Q_DECLARE_METATYPE(vcl::TColor)
