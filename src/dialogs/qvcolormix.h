#pragma once
// TqvColorMixer: a composite panel with red, green and blue sliders (0 to 100), their
// values and a sample of the mixed colour, read from its stored layout.
#include "layout/boxes.h"

namespace Qvcolormix {

using namespace vcl;

// A composite panel with red, green and blue sliders (0 to 100), their values and a
// sample of the mixed colour.
class TqvColorMixer : public Boxes::TBox {
    Q_OBJECT
    Q_PROPERTY(int ActiveColor READ ActiveColor WRITE SetActiveColor)
    Q_CLASSINFO("Default:ActiveColor", "0")
    Q_PROPERTY(QString RGBColor READ RGBColor WRITE SetRGBColor)
public:
    // Creates the panel and its children from the stored layout, owned (and freed) by AOwner.
    explicit TqvColorMixer(TComponent* AOwner);

    // The mixed colour.
    int ActiveColor() const { return FActiveColor; }
    void SetActiveColor(int Value);
    // Reading gives the shown value; a written value is kept but not shown.
    QString RGBColor() const { return ARGBLabel->Caption(); }
    void SetRGBColor(const QString& Value) { FRGBColor = Value; }

    // The layout's event handlers by name.
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override; // The names MethodAddress knows.

    // The children made from the stored layout, by their names in it: the three sliders,
    // their value labels, the sample and the colour text.
    //@{
    TScrollBar* AColorMScrollBar1 = nullptr;
    TScrollBar* AColorMScrollBar2 = nullptr;
    TScrollBar* AColorMScrollBar3 = nullptr;
    TLabel* AColorMLabel4 = nullptr;
    TLabel* AColorMLabel5 = nullptr;
    TLabel* AColorMLabel6 = nullptr;
    TPanel* ASamplePanel = nullptr;
    TPanel* ASamplePanelColor = nullptr;
    TLabel* ARGBLabel = nullptr;
    //@}

private:
    void ScrollBarChange(TObject* Sender);
    void UpdateColorSample();

    int FActiveColor = 0;
    QString FRGBColor;
};

} // namespace Qvcolormix
