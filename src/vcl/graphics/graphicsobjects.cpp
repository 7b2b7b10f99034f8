#include "vcl/graphics/graphicsobjects.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

namespace vcl {

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv.
int RoundedMulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const long long q = (product >= 0) == (c >= 0) ? (std::llabs(product) + half) / std::llabs(c)
                                                    : -((std::llabs(product) + half) / std::llabs(c));
    return static_cast<int>(q);
}

} // namespace

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode)
        return;
    FMode = Value;
    Changed();
}

void TPen::Assign(const TPersistent* Source)
{
    if (const auto* pen = dynamic_cast<const TPen*>(Source)) {
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        FMode = pen->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor && FStyle != bsClear)
        return;
    FColor = Value;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TBrush::SetBitmap(TBitmap* Value)
{
    if (Value == FBitmap)
        return;
    FBitmap = Value;
    Changed();
}

void TBrush::Assign(const TPersistent* Source)
{
    if (const auto* brush = dynamic_cast<const TBrush*>(Source)) {
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        FBitmap = brush->FBitmap;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

QString TFont::DefaultName()
{
    // A font of a fixed Debian package, so text measures the same on every machine.
    return QStringLiteral("DejaVu Sans");
}

TFont::TFont()
    : FName(DefaultName())
    , FHeight(-RoundedMulDiv(8, ScreenPixelsPerInch, 72))
{
}

void TFont::SetName(const QString& Value)
{
    if (Value == FName || Value.isEmpty())
        return;
    FName = Value;
    Changed();
}

int TFont::Size() const
{
    return -RoundedMulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-RoundedMulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch)
        return;
    FPitch = Value;
    Changed();
}

void TFont::SetCharset(int Value)
{
    if (Value == FCharset)
        return;
    FCharset = Value;
    Changed();
}

void TFont::SetPixelsPerInch(int Value)
{
    if (Value <= 0 || Value == FPixelsPerInch)
        return;
    FPixelsPerInch = Value;
    Changed();
}

void TFont::Assign(const TPersistent* Source)
{
    if (const auto* font = dynamic_cast<const TFont*>(Source)) {
        FName = font->FName;
        // Keep the point size when the resolutions differ, as the platform does.
        FHeight = font->FPixelsPerInch == FPixelsPerInch ? font->FHeight
                                                         : -RoundedMulDiv(font->Size(), FPixelsPerInch, 72);
        FColor = font->FColor;
        FStyle = font->FStyle;
        FPitch = font->FPitch;
        FCharset = font->FCharset;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

QFont TFont::ToQFont() const
{
    return MakeQFont(FName, FHeight, FStyle.testFlag(fsBold), FStyle.testFlag(fsItalic),
        FStyle.testFlag(fsUnderline), FStyle.testFlag(fsStrikeOut), FPitch);
}

void TFont::AssignQFont(const QFont& Font)
{
    FName = Font.family();
    if (Font.pixelSize() > 0)
        FHeight = -Font.pixelSize();
    else
        FHeight = -static_cast<int>(std::lround(Font.pointSizeF() * FPixelsPerInch / 72.0));
    TFontStyles style;
    if (Font.bold())
        style |= fsBold;
    if (Font.italic())
        style |= fsItalic;
    if (Font.underline())
        style |= fsUnderline;
    if (Font.strikeOut())
        style |= fsStrikeOut;
    FStyle = style;
    FPitch = Font.fixedPitch() ? fpFixed : fpDefault;
    Changed();
}

QFont MakeQFont(const QString& Name, int Height, bool Bold, bool Italic, bool Underline, bool StrikeOut,
    TFontPitch Pitch)
{
    QFont font(Name);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    if (Pitch == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    // Height 0 asks for the default height (8 points at screen resolution).
    int pixels = Height == 0 ? 11 : std::abs(Height);
    if (Height > 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // A positive height is the cell height (ascent + descent): scale the em size
        // so that the font's cell comes out at that height.
        QFont probe = font;
        probe.setPixelSize(100);
        const int cell = QFontMetrics(probe).height();
        if (cell > 0)
            pixels = std::max(1, static_cast<int>(std::lround(Height * 100.0 / cell)));
    }
    font.setPixelSize(std::max(pixels, 1));
    return font;
}

} // namespace vcl
