#pragma once
// TqvColorSelector: a composite panel for picking a left-button and a right-button
// colour from a spectrum picture or a 16-colour grid, each shown in decimal and as
// "#RRGGBB"; read from its stored layout.
#include "layout/boxes.h"

namespace Qvcolorselect {

using namespace vcl;

// "#" and the colour's red, green and blue as two upper-case hexadecimal digits each.
QString HexColorText(TColor Color);

// A composite panel for picking a left-button and a right-button colour from a spectrum
// picture or a 16-colour grid, each shown in decimal and as "#RRGGBB".
class TqvColorSelector : public Boxes::TBox {
    Q_OBJECT
    // The layout gives the selector a raised inner and a lowered outer bevel.
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_CLASSINFO("Default:BevelInner", "bvRaised")
    Q_PROPERTY(vcl::ExtCtrls::TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_CLASSINFO("Default:BevelOuter", "bvLowered")
public:
    // Creates the panel and its children from the stored layout, owned (and freed) by AOwner.
    explicit TqvColorSelector(TComponent* AOwner);

    // The layout's event handlers by name.
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override; // The names MethodAddress knows.

    // The colours picked from the spectrum with the left and the right button.
    TColor LeftColor() const { return FLeftColor; }
    TColor RightColor() const { return FRightColor; } // The right-button pick.
    // The left pick as "#RRGGBB" and as the decimal colour value; the right pick likewise.
    //@{
    const QString& LeftHex() const { return FLeftHex; }
    const QString& LeftDecimal() const { return FLeftDecimal; }
    const QString& RightHex() const { return FRightHex; }
    const QString& RightDecimal() const { return FRightDecimal; }
    //@}
    // The grid's colours, left to right, and its foreground and background picks.
    static const TColor GridColors[16];
    TColor GridForeground() const { return FGridForeground; } // The grid's left-button pick.
    TColor GridBackground() const { return FGridBackground; } // The grid's right-button pick.

    // The pointer moved over the spectrum to (X, Y): the sample panel takes that pixel's colour.
    void SpectrumMove(int X, int Y);
    void SpectrumDown(TMouseButton Button); // A press on the spectrum: the left or right pick takes the sample's colour.
    void GridDown(TMouseButton Button, int X); // A press on the grid at X: the left button sets the foreground, the right the background.

    // The children made from the stored layout, by their names in it: the spectrum, the
    // sample, the grid, the two pick shapes and their labels.
    //@{
    TImage* ARGBIMGAE = nullptr;
    TPanel* ASELRGBPANELCOLOR = nullptr;
    TPaintBox* ASELCOLORGRID = nullptr;
    TShape* ASELRGBSHAPE1 = nullptr;
    TShape* ASELRGBSHAPE2 = nullptr;
    TLabel* ASELRGBLABEL1 = nullptr;
    TLabel* ASELHEXLABEL1 = nullptr;
    TLabel* ASELRGBLABEL2 = nullptr;
    TLabel* ASELHEXLABEL2 = nullptr;
    //@}

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
