#include "vcl/core/classes.h"

#include "vcl/core/sysutils.h"

#include <QObject>
#include <QWidget>
#include <algorithm>

namespace vcl {

void TPersistent::Assign(const TPersistent* Source)
{
    if (Source != nullptr)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const
{
    const QString sourceName = Source != nullptr ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceName, ClassName()));
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every component that asked about this one; each removal shortens the list.
    while (!FFreeNotifies.empty()) {
        TComponent* subscriber = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = subscriber->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        subscriber->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EComponentError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const
{
    if (FOwner == nullptr)
        return -1;
    const auto& list = FOwner->FComponents;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const QString& AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(AName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

bool TComponent::IsValidIdent(const QString& Ident)
{
    if (Ident.isEmpty())
        return false;
    auto alpha = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; };
    if (!alpha(Ident[0]))
        return false;
    return std::all_of(Ident.begin(), Ident.end(), [&](QChar c) { return alpha(c) || (c >= u'0' && c <= u'9'); });
}

void TComponent::SetName(const QString& NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.isEmpty() && !IsValidIdent(NewName))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    FName = NewName;
    if (QObject* object = AsQObject())
        object->setObjectName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const QString& CurName, const QString& NewName)
{
    if (AComponent == nullptr || NewName.isEmpty() || CurName.compare(NewName, Qt::CaseInsensitive) == 0)
        return;
    TComponent* clash = FindComponent(NewName);
    if (clash != nullptr && clash != AComponent)
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
}

void TComponent::ValidateInsert(TComponent*)
{
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~TComponentState(csDesigning);
    if (SetChildren)
        for (TComponent* c : FComponents)
            c->SetDesigning(Value, true);
}

void TComponent::SetLoading(bool Value)
{
    if (Value)
        FComponentState |= csLoading;
    else
        FComponentState &= ~TComponentState(csLoading);
}

void TComponent::SetUpdating(bool Value)
{
    if (Value)
        FComponentState |= csUpdating;
    else
        FComponentState &= ~TComponentState(csUpdating);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    // An owner cycle would make each component free the other.
    for (const TComponent* owner = this; owner != nullptr; owner = owner->FOwner)
        if (owner == AComponent)
            throw EComponentError(QStringLiteral("A component cannot own itself or one of its owners"));
    ValidateInsert(AComponent);
    // Checked before the component leaves its old owner, so a refused insert changes nothing.
    if (AComponent->FOwner != this)
        ValidateRename(AComponent, QString(), AComponent->FName);
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (FComponentState.testFlag(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        Remove(instance);
        delete instance;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.testFlag(csDestroying))
        return;
    FComponentState |= csDestroying;
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent == this)
        return;
    // Components of the same owner hear of each other through the owner already.
    if (FOwner != nullptr && AComponent->FOwner == FOwner) {
        FComponentState |= csFreeNotification;
        return;
    }
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& theirs = AComponent->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent != nullptr)
        RemoveFreeNotification(AComponent);
    // Passed down the owned tree, the last owned component first.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i < ComponentCount())
            FComponents[static_cast<size_t>(i)]->Notification(AComponent, Operation);
    }
}

void TComponent::Loaded()
{
    SetLoading(false);
}

bool TComponent::HasParent() const
{
    return dynamic_cast<const QWidget*>(this) != nullptr;
}

TComponent* TComponent::GetParentComponent() const
{
    const auto* widget = dynamic_cast<const QWidget*>(this);
    return widget != nullptr ? dynamic_cast<TComponent*>(widget->parentWidget()) : nullptr;
}

void TComponent::SetParentComponent(TComponent* Value)
{
    auto* widget = dynamic_cast<QWidget*>(this);
    if (widget == nullptr)
        return;
    widget->setParent(Value != nullptr ? dynamic_cast<QWidget*>(Value) : nullptr);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const
{
    const auto* widget = dynamic_cast<const QWidget*>(this);
    if (widget == nullptr)
        return;
    for (QObject* child : widget->children()) {
        auto* component = dynamic_cast<TComponent*>(child);
        if (component != nullptr && component->Owner() == Root && component->GetParentComponent() == this)
            Proc(component);
    }
}

void TComponent::SetChildOrder(TComponent*, int)
{
}

QObject* TComponent::AsQObject()
{
    return dynamic_cast<QObject*>(this);
}

const QObject* TComponent::AsQObject() const
{
    return dynamic_cast<const QObject*>(this);
}

} // namespace vcl
