#include "layout/boxes.h"

#include "vcl/core/unitstartup.h"
#include "vcl/controls/controlevents.h"
#include "vcl/streaming/classregistry.h"

#include <algorithm>
#include <vector>

namespace Boxes {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Boxes"), {});

namespace {

// The components Self owns that are not controls with a parent, in ownership order.
std::vector<TComponent*> ParentlessOwned(const TComponent* Self)
{
    std::vector<TComponent*> result;
    for (int i = 0; i < Self->ComponentCount(); ++i) {
        TComponent* owned = Self->Components(i);
        if (!owned->HasParent())
            result.push_back(owned);
    }
    return result;
}

// Puts Control at place Order among its parent's controls (z-order), keeping the
// others in their order.
void MoveControl(TControl* Control, int Order)
{
    TWinControl* parent = Control->Parent();
    if (parent == nullptr)
        return;
    std::vector<TControl*> order;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i) != Control)
            order.push_back(parent->Controls(i));
    order.insert(order.begin() + std::clamp(Order, 0, static_cast<int>(order.size())), Control);
    // A parent lists its controls in the order they joined it.
    for (TControl* control : order) {
        control->SetParent(nullptr);
        control->SetParent(parent);
    }
}

// Moves Component to the ownership index of Target by taking out and putting back
// everything from the first changed place on (an owner only appends).
void MoveOwned(TComponent* Owner, TComponent* Component, TComponent* Target)
{
    std::vector<TComponent*> order;
    for (int i = 0; i < Owner->ComponentCount(); ++i)
        order.push_back(Owner->Components(i));
    const int from = Component->ComponentIndex();
    const int to = Target->ComponentIndex();
    order.erase(order.begin() + from);
    order.insert(order.begin() + to, Component);
    for (std::size_t i = std::min(from, to); i < order.size(); ++i)
        Owner->RemoveComponent(order[i]);
    for (std::size_t i = std::min(from, to); i < order.size(); ++i)
        Owner->InsertComponent(order[i]);
}

template <class Container>
bool PublishContainerEvents()
{
    PublishWindowEvents<Container>();
    RegisterEvent<Container>(&TCompositeLayout::OnCreate, "OnCreate");
    return RegisterEvent<Container>(&TCompositeLayout::OnDestroy, "OnDestroy");
}

// Layouts bind the containers' events by name, also on the container itself.
const bool eventsPublished = PublishContainerEvents<TBox>() && PublishContainerEvents<TControlGroupBox>()
    && PublishContainerEvents<TControlScrollBox>() && PublishContainerEvents<TToolBarBox>();

} // namespace

std::any TCompositeLayout::MethodAddress(const QString&) const { return {}; }

bool TCompositeLayout::IsCompositeDesign(const TControl* Control)
{
    const TComponent* owner = Control != nullptr ? Control->Owner() : nullptr;
    const QObject* object = owner != nullptr ? owner->AsQObject() : nullptr;
    return object != nullptr && MetaClassName(object->metaObject()) == QLatin1String("TWinControlForm");
}

void TCompositeLayout::CreateLayout(TComponent* Self, const QMetaObject* Container)
{
    // Components are created and read on the user-interface thread only, so the
    // reading needs no lock of its own.
    if (Self->AsQObject()->metaObject() == Container)
        return;
    if (!InitInheritedComponent(Self, Container))
        throw EResNotFound(QStringLiteral("Resource for %1 is not found.")
                               .arg(MetaClassName(Self->AsQObject()->metaObject())));
    if (OnCreate)
        OnCreate(dynamic_cast<TObject*>(Self));
}

void TCompositeLayout::DestroyLayout(TComponent* Self)
{
    if (OnDestroy)
        OnDestroy(dynamic_cast<TObject*>(Self));
}

TComponent* TCompositeLayout::FindLayoutField(TComponent* Self, const char* Name)
{
    return Self->FindComponent(QString::fromLatin1(Name));
}

void TCompositeLayout::ThrowWrongField(TComponent* Self, const char* Name)
{
    throw EComponentError(QStringLiteral("The layout of %1 has no fitting component %2")
                              .arg(MetaClassName(Self->AsQObject()->metaObject()), QString::fromLatin1(Name)));
}

void TCompositeLayout::ReportParentless(const TComponent* Self,
    const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    if (Root != Self)
        return;
    for (TComponent* owned : ParentlessOwned(Self))
        Proc(owned);
}

void TCompositeLayout::SetChildOrder(TComponent* Self, TComponent* Child, int Order)
{
    if (auto* control = dynamic_cast<TControl*>(Child); control != nullptr && Child->HasParent()) {
        MoveControl(control, Order);
        return;
    }
    auto* container = dynamic_cast<TWinControl*>(Self);
    const std::vector<TComponent*> parentless = ParentlessOwned(Self);
    const int rank = Order - (container != nullptr ? container->ControlCount() : 0);
    if (Child->Owner() != Self || rank < 0 || rank >= static_cast<int>(parentless.size()))
        return;
    if (parentless[rank] != Child)
        MoveOwned(Self, Child, parentless[rank]);
}

// ---------------------------------------------------------------------------
// The containers

TBox::TBox(TComponent* AOwner)
    : TPanel(AOwner)
{
}

TBox::~TBox() { DestroyLayout(this); }

void TBox::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    TPanel::GetChildren(Proc, Root);
    ReportParentless(this, Proc, Root);
}

void TControlGroupBox::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    TGroupBox::GetChildren(Proc, Root);
    ReportParentless(this, Proc, Root);
}

void TControlScrollBox::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    TScrollBox::GetChildren(Proc, Root);
    ReportParentless(this, Proc, Root);
}

TToolBarBox::TToolBarBox(TComponent* AOwner)
    : TPanel(AOwner)
{
    SetAlign(alTop);
}

void TToolBarBox::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    TPanel::GetChildren(Proc, Root);
    ReportParentless(this, Proc, Root);
}

} // namespace Boxes
