#include "dialogs/qvcolormix.h"

#include "vcl/core/unitstartup.h"
#include "vcl/graphics/colors.h"

namespace Qvcolormix {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvcolormix"), {});

TqvColorMixer::TqvColorMixer(TComponent* AOwner)
    : TBox(AOwner)
{
    CreateLayout(this);
    AColorMScrollBar1 = LayoutField<TScrollBar>(this, "AColorMScrollBar1");
    AColorMScrollBar2 = LayoutField<TScrollBar>(this, "AColorMScrollBar2");
    AColorMScrollBar3 = LayoutField<TScrollBar>(this, "AColorMScrollBar3");
    AColorMLabel4 = LayoutField<TLabel>(this, "AColorMLabel4");
    AColorMLabel5 = LayoutField<TLabel>(this, "AColorMLabel5");
    AColorMLabel6 = LayoutField<TLabel>(this, "AColorMLabel6");
    ASamplePanel = LayoutField<TPanel>(this, "ASamplePanel");
    ASamplePanelColor = LayoutField<TPanel>(this, "ASamplePanelColor");
    ARGBLabel = LayoutField<TLabel>(this, "ARGBLabel");
}

void TqvColorMixer::SetActiveColor(int Value)
{
    FActiveColor = Value;
    ASamplePanelColor->SetColor(TColor(Value));
}

std::any TqvColorMixer::MethodAddress(const QString& Name) const
{
    if (Name == QLatin1String("AColorMScrollBarChange")) {
        auto* self = const_cast<TqvColorMixer*>(this);
        return TNotifyEvent([self](TObject* sender) { self->ScrollBarChange(sender); });
    }
    return {};
}

QStringList TqvColorMixer::MethodNames() const { return {QStringLiteral("AColorMScrollBarChange")}; }

void TqvColorMixer::ScrollBarChange(TObject* Sender)
{
    const std::pair<TScrollBar*, TLabel*> pairs[] = {{AColorMScrollBar1, AColorMLabel4},
        {AColorMScrollBar2, AColorMLabel5}, {AColorMScrollBar3, AColorMLabel6}};
    for (const auto& [bar, label] : pairs)
        if (Sender == bar)
            label->SetCaption(QString::number(bar->Position()));
    UpdateColorSample();
}

void TqvColorMixer::UpdateColorSample()
{
    const TColor mixed = RGB(AColorMScrollBar1->Position(), AColorMScrollBar2->Position(), AColorMScrollBar3->Position());
    if (mixed != ColorToRGB(TColor(FActiveColor))) {
        FActiveColor = static_cast<int>(mixed);
        ARGBLabel->SetCaption(QString::number(FActiveColor));
    }
    ASamplePanelColor->SetColor(TColor(FActiveColor));
}

} // namespace Qvcolormix
