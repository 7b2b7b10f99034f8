#pragma once
// TPersistent and the component contract shared by visual and non-visual components.
#include "vcl/core/types.h"

#include <QFlags>
#include <QString>
#include <functional>
#include <vector>

class QObject;

namespace vcl {

// Anything that can copy its state from another object of a compatible class.
class TPersistent : public TObject {
public:
    // Copies Source into this object; raises EConvertError "Cannot assign a X to a Y"
    // when neither class knows how (Source may be null: "Cannot assign a nil to a Y").
    virtual void Assign(const TPersistent* Source);

protected:
    // Copies this object into Dest; the default refuses.
    virtual void AssignTo(TPersistent* Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

enum TComponentStateItem : unsigned {
    csLoading = 0x001,
    csReading = 0x002,
    csWriting = 0x004,
    csDestroying = 0x008,
    csDesigning = 0x010,
    csAncestor = 0x020,
    csUpdating = 0x040,
    csFixups = 0x080,
    csFreeNotification = 0x100,
    csInline = 0x200,
    csDesignInstance = 0x400,
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

enum class TOperation { opInsert, opRemove };

// The component contract: an owner that frees what it owns (latest first), a name
// unique among the owner's components, a state, Loaded after reading, and
// notifications when components are inserted or removed.
//
// Non-visual components derive from QObject and TComponent (in that order), controls
// from QWidget and TComponent, so Qt's meta-object system sees their properties and
// the owned components are freed before the Qt object goes away.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    const QString& Name() const { return FName; }
    virtual void SetName(const QString& NewName);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const;
    // Position of this component in its owner's list, -1 without an owner.
    int ComponentIndex() const;
    // The owned component with this name (case-insensitive), or null.
    TComponent* FindComponent(const QString& AName) const;

    TComponentState ComponentState() const { return FComponentState; }
    // Puts this component and everything it owns into (or out of) design state.
    void SetDesigning(bool Value, bool SetChildren = true);
    // Reading a form file: set on entry, cleared by Loaded.
    void SetLoading(bool Value);
    void SetUpdating(bool Value);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last one first.
    void DestroyComponents();
    // Marks the component as being destroyed (csDestroying) and everything it owns.
    void Destroying();

    // Asks to be told (Notification with opRemove) when AComponent is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called once after the component's properties were read from a form file.
    virtual void Loaded();

    // Streaming: the component that holds this one on screen (a control's parent
    // widget), which form files nest it in. By default a component that is a QWidget
    // has its parent widget as parent component when that widget is a component.
    virtual bool HasParent() const;
    virtual TComponent* GetParentComponent() const;
    virtual void SetParentComponent(TComponent* Value);
    // Calls Proc for each component owned by Root that this one holds as their parent
    // component, in child order (the order form files write them in). By default a
    // QWidget component lists its child widgets.
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const;
    // Moves Child (one of the components GetChildren reports) to place Order among
    // them, as a designer reordering children asks; by default the order is fixed.
    virtual void SetChildOrder(TComponent* Child, int Order);

    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    // The Qt object of this component (its QWidget for a control), or null for a
    // component that is not a QObject.
    QObject* AsQObject();
    const QObject* AsQObject() const;

    // Valid component names are identifiers: a letter or underscore, then letters,
    // digits or underscores (ASCII only).
    static bool IsValidIdent(const QString& Ident);

protected:
    // Told when AComponent is inserted into or removed from this component's owner
    // tree, or when a component this one asked about is freed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Raises EComponentError when NewName may not be used for AComponent.
    virtual void ValidateRename(TComponent* AComponent, const QString& CurName, const QString& NewName);
    virtual void ValidateInsert(TComponent* AComponent);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    QString FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    int FTag = 0;
};

} // namespace vcl
