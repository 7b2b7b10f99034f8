#include "lists/qvcolorcombobox.h"

#include "vcl/controls/controlevents.h"
#include "vcl/core/unitstartup.h"

namespace Qvcolorcombobox {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvcolorcombobox"), {"Qvcombobox", "Qvutils"});

static bool PublishEvents()
{
    using vcl::RegisterEvent;
    using vcl::TCustomComboBox;
    using Qvcombobox::TqvCustomComboBox;
    vcl::PublishWindowEvents<TqvComboBox>();
    RegisterEvent<TqvComboBox>(&TCustomComboBox::OnChange, "OnChange");
    RegisterEvent<TqvComboBox>(&TCustomComboBox::OnDropDown, "OnDropDown");
    RegisterEvent<TqvComboBox>(&TCustomComboBox::OnCloseUp, "OnCloseUp");
    RegisterEvent<TqvComboBox>(&TCustomComboBox::OnDrawItem, "OnDrawItem");
    RegisterEvent<TqvComboBox>(&TCustomComboBox::OnMeasureItem, "OnMeasureItem");
    RegisterEvent<TqvComboBox>(&TqvCustomComboBox::OnMatch, "OnMatch");
    RegisterEvent<TqvComboBox>(&TqvCustomComboBox::OnMouseEnter, "OnMouseEnter");
    return RegisterEvent<TqvComboBox>(&TqvCustomComboBox::OnMouseLeave, "OnMouseLeave");
}
static const bool EventsPublished = PublishEvents();

TqvComboBox::TqvComboBox(vcl::TComponent* AOwner)
    : TqvCustomComboBox(AOwner)
{
}

} // namespace Qvcolorcombobox
