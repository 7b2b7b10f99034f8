#include "dialogs/qvcolorselect.h"

#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/colors.h"

namespace Qvcolorselect {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvcolorselect"), {});

const TColor TqvColorSelector::GridColors[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal,
    clGray, clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};

QString HexColorText(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'))
        .toUpper();
}

TqvColorSelector::TqvColorSelector(TComponent* AOwner)
    : TBox(AOwner)
{
    CreateLayout(this);
    ARGBIMGAE = LayoutField<TImage>(this, "ARGBIMGAE");
    ASELRGBPANELCOLOR = LayoutField<TPanel>(this, "ASELRGBPANELCOLOR");
    ASELCOLORGRID = LayoutField<TPaintBox>(this, "ASELCOLORGRID");
    ASELRGBSHAPE1 = LayoutField<TShape>(this, "ASELRGBSHAPE1");
    ASELRGBSHAPE2 = LayoutField<TShape>(this, "ASELRGBSHAPE2");
    ASELRGBLABEL1 = LayoutField<TLabel>(this, "ASELRGBLABEL1");
    ASELHEXLABEL1 = LayoutField<TLabel>(this, "ASELHEXLABEL1");
    ASELRGBLABEL2 = LayoutField<TLabel>(this, "ASELRGBLABEL2");
    ASELHEXLABEL2 = LayoutField<TLabel>(this, "ASELHEXLABEL2");
    ARGBIMGAE->Picture()->LoadFromResourceName(QStringLiteral("SPECTRUM"));
}

std::any TqvColorSelector::MethodAddress(const QString& Name) const
{
    auto* self = const_cast<TqvColorSelector*>(this);
    if (Name == QLatin1String("ARGBIMGAEMouseMove"))
        return TMouseMoveEvent([self](TObject*, TShiftState, int x, int y) { self->SpectrumMove(x, y); });
    if (Name == QLatin1String("ARGBIMGAEMouseDown"))
        return TMouseEvent([self](TObject*, TMouseButton b, TShiftState, int, int) { self->SpectrumDown(b); });
    if (Name == QLatin1String("ASELCOLORGRIDMouseDown"))
        return TMouseEvent([self](TObject*, TMouseButton b, TShiftState, int x, int) { self->GridDown(b, x); });
    if (Name == QLatin1String("ASELCOLORGRIDPaint"))
        return TNotifyEvent([self](TObject*) { self->PaintGrid(); });
    return {};
}

QStringList TqvColorSelector::MethodNames() const
{
    return {"ARGBIMGAEMouseMove", "ARGBIMGAEMouseDown", "ASELCOLORGRIDMouseDown", "ASELCOLORGRIDPaint"};
}

void TqvColorSelector::SpectrumMove(int X, int Y)
{
    const TColor pixel = ARGBIMGAE->Picture()->Canvas()->Pixels(X, Y);
    if (pixel != TColor(-1))
        ASELRGBPANELCOLOR->SetColor(pixel);
}

void TqvColorSelector::ShowPick(bool Left, TColor Color)
{
    (Left ? ASELRGBSHAPE1 : ASELRGBSHAPE2)->Brush()->SetColor(Color);
    (Left ? ASELRGBSHAPE1 : ASELRGBSHAPE2)->Invalidate();
    (Left ? ASELRGBLABEL1 : ASELRGBLABEL2)->SetCaption(QString::number(ColorToRGB(Color)));
    (Left ? ASELHEXLABEL1 : ASELHEXLABEL2)->SetCaption(HexColorText(Color));
}

void TqvColorSelector::SpectrumDown(TMouseButton Button)
{
    const bool left = Button == mbLeft;
    const TColor color = ASELRGBPANELCOLOR->Color();
    ShowPick(left, color);
    (left ? FLeftColor : FRightColor) = color;
    (left ? FLeftDecimal : FRightDecimal) = QString::number(ColorToRGB(color));
    (left ? FLeftHex : FRightHex) = HexColorText(color);
}

void TqvColorSelector::GridDown(TMouseButton Button, int X)
{
    const int cell = std::clamp(X * 16 / std::max(ASELCOLORGRID->Width(), 1), 0, 15);
    if (Button == mbLeft) {
        FGridForeground = GridColors[cell];
        ShowPick(true, FGridForeground);
    } else if (Button == mbRight) {
        FGridBackground = GridColors[cell];
        ShowPick(false, FGridBackground);
    }
}

void TqvColorSelector::PaintGrid()
{
    TCanvas* canvas = ASELCOLORGRID->Canvas();
    const int width = ASELCOLORGRID->Width();
    const int height = ASELCOLORGRID->Height();
    canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < 16; ++i) {
        canvas->Brush()->SetColor(GridColors[i]);
        canvas->FillRect(Rect(i * width / 16, 0, (i + 1) * width / 16, height));
    }
}

} // namespace Qvcolorselect
