#include "utilities/qvsaveformeditor.h"

#include "utilities/qvsaveform.h"

#include <array>

namespace Qvsaveform {

namespace {

struct Verb {
    const char* Caption;
    void (TqvSaveForm::*Operation)();
};

const std::array<Verb, 8> Verbs = {{
    {"&Update Form Name", &TqvSaveForm::RefreshFormName},
    {"&Delete Form at Registry", &TqvSaveForm::DelRegistry},
    {"Delete Registry Defaults", &TqvSaveForm::DelDefault},
    {"Refresh Form Values", &TqvSaveForm::RefreshFormValues},
    {"Store Form Bounds to Fixed Settings", &TqvSaveForm::StoreFixedSettings},
    {"Store Form Bounds to Design Settings", &TqvSaveForm::StoreDesignSettings},
    {"Form Bounds (Execution)", &TqvSaveForm::SetFixedBounds},
    {"Form Bounds (Design)", &TqvSaveForm::SetFormDesignBounds},
}};

bool IsVerbIndex(int Index) { return Index >= 0 && size_t(Index) < Verbs.size(); }

} // namespace

void TDialogComponent::ExecuteVerb(int Index)
{
    auto* component = dynamic_cast<TqvSaveForm*>(Component());
    if (component == nullptr || !IsVerbIndex(Index))
        return;
    (component->*Verbs[size_t(Index)].Operation)();
    if (Designer() != nullptr)
        Designer()->Modified();
}

QString TDialogComponent::GetVerb(int Index)
{
    return IsVerbIndex(Index) ? QString::fromLatin1(Verbs[size_t(Index)].Caption) : QString();
}

int TDialogComponent::GetVerbCount() { return int(Verbs.size()); }

} // namespace Qvsaveform
