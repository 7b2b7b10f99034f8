#pragma once
// TqvColorSelector: a composite panel for picking a left-button and a right-button
// colour from a spectrum picture or a 16-colour grid, each shown in decimal and as
// "#RRGGBB"; read from its stored layout.
#include "layout/boxes.h"

namespace Qvcolorselect {

using namespace vcl;

// "#" and the colour's red, green and blue as two upper-case hexadecimal digits each.
QString HexColorText(TColor Color);

class TqvColorSelector : public Boxes::TBox {
    Q_OBJECT
    // The layout gives the selector a raised inner and a lowered outer bevel.
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_CLASSINFO("Default:BevelInner", "bvRaised")
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_CLASSINFO("Default:BevelOuter", "bvLowered")
public:
    explicit TqvColorSelector(TComponent* AOwner);

    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override;

    // The colours picked from the spectrum with the left and the right button.
    TColor LeftColor() const { return FLeftColor; }
    TColor RightColor() const { return FRightColor; }
    const QString& LeftHex() const { return FLeftHex; }
    const QString& LeftDecimal() const { return FLeftDecimal; }
    const QString& RightHex() const { return FRightHex; }
    const QString& RightDecimal() const { return FRightDecimal; }
    // The grid's colours, left to right, and its foreground and background picks.
    static const TColor GridColors[16];
    TColor GridForeground() const { return FGridForeground; }
    TColor GridBackground() const { return FGridBackground; }

    void SpectrumMove(int X, int Y);
    void SpectrumDown(TMouseButton Button);
    void GridDown(TMouseButton Button, int X);

    TImage* ARGBIMGAE = nullptr;
    TPanel* ASELRGBPANELCOLOR = nullptr;
    TPaintBox* ASELCOLORGRID = nullptr;
    TShape* ASELRGBSHAPE1 = nullptr;
    TShape* ASELRGBSHAPE2 = nullptr;
    TLabel* ASELRGBLABEL1 = nullptr;
    TLabel* ASELHEXLABEL1 = nullptr;
    TLabel* ASELRGBLABEL2 = nullptr;
    TLabel* ASELHEXLABEL2 = nullptr;

private:
    void PaintGrid();
    // Shows Color in shape 1 (Left) or 2 and in its two labels.
    void ShowPick(bool Left, TColor Color);

    TColor FLeftColor = clBlack;
    TColor FRightColor = clBlack;
    QString FLeftHex, FLeftDecimal, FRightHex, FRightDecimal;
    TColor FGridForeground = clBlack;
    TColor FGridBackground = clWhite;
};

} // namespace Qvcolorselect
