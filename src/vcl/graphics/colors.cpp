#include "vcl/graphics/colors.h"

#include "vcl/core/sysutils.h"

namespace vcl {

namespace {

constexpr TSysColorTable ClassicSysColors = {
    RGB(192, 192, 192), // scroll bar
    RGB(0, 128, 128),   // desktop background
    RGB(0, 0, 128),     // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(192, 192, 192), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(192, 192, 192), // active border
    RGB(192, 192, 192), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(0, 0, 128),     // highlight
    RGB(255, 255, 255), // highlight text
    RGB(192, 192, 192), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(192, 192, 192), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(0, 0, 0),       // 3-D dark shadow
    RGB(192, 192, 192), // 3-D light
    RGB(0, 0, 0),       // tool-tip text
    RGB(255, 255, 225), // tool-tip background
    RGB(192, 192, 192), // (unused slot 25)
    RGB(0, 0, 128),     // hot-tracked item
    RGB(16, 132, 208),  // active caption gradient end
    RGB(181, 181, 181), // inactive caption gradient end
};

TSysColorTable& CurrentSysColors()
{
    static TSysColorTable table = ClassicSysColors;
    return table;
}

struct ColorName {
    TColor Color;
    const char* Name;
};

constexpr ColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clNone, "clNone"}, {clDefault, "clDefault"},
};

} // namespace

const TSysColorTable& DefaultSysColors() { return ClassicSysColors; }
const TSysColorTable& SysColors() { return CurrentSysColors(); }
void SetSysColors(const TSysColorTable& table) { CurrentSysColors() = table; }
void ResetSysColors() { CurrentSysColors() = ClassicSysColors; }

TColor GetSysColor(int Index)
{
    if (Index < 0 || Index >= SystemColorCount)
        return 0;
    return CurrentSysColors()[static_cast<size_t>(Index)];
}

TColor ColorToRGB(TColor Color)
{
    if (uint32_t(Color) & SystemColorFlag)
        return GetSysColor(int(uint32_t(Color) & 0xFF));
    return Color;
}

QColor ToQColor(TColor Color)
{
    if (Color == clNone)
        return QColor(0, 0, 0, 0);
    const TColor rgb = ColorToRGB(Color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& Color)
{
    const QColor c = Color.toRgb();
    return RGB(c.red(), c.green(), c.blue());
}

uint32_t ToQRgb(TColor Color)
{
    return RgbToQRgb(ColorToRGB(Color));
}

bool ColorToIdent(TColor Color, QString& Ident)
{
    for (const ColorName& entry : ColorNames) {
        if (entry.Color == Color) {
            Ident = QString::fromLatin1(entry.Name);
            return true;
        }
    }
    return false;
}

bool IdentToColor(const QString& Ident, TColor& Color)
{
    for (const ColorName& entry : ColorNames) {
        if (Ident.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0) {
            Color = entry.Color;
            return true;
        }
    }
    return false;
}

QString ColorToString(TColor Color)
{
    QString ident;
    if (ColorToIdent(Color, ident))
        return ident;
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& S)
{
    TColor color = 0;
    if (IdentToColor(S, color))
        return color;
    const QString text = S.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return TColorOf(uint32_t(value));
}

} // namespace vcl
