#pragma once
// Composite containers: panels, group boxes, scroll boxes and tool bars whose children
// are not created in code but read from the layout stored for their class
// (":/forms/<ClassName>.qvform"), so that a small designed form ships as one control.
//
// A descendant reads its layout at the end of its own constructor:
//
//   TqvColorMixer::TqvColorMixer(TComponent* AOwner) : TBox(AOwner)
//   {
//       CreateLayout(this);                       // children, properties, handlers
//       Sample = LayoutField<TPanel>(this, "ASamplePanelColor");
//   }
//
// C++ constructs a class before its descendants, so the base cannot read a descendant's
// layout itself: until the descendant's constructor body runs, neither its meta-object
// nor its handlers exist. A class that is itself derived from again offers a
// constructor taking TDeferLayout that reads nothing, and the most derived class
// reads the layouts of all its ancestors (oldest first) in one CreateLayout call.
#include "vcl/controls/extctrls.h"
#include "vcl/controls/scrollbox.h"
#include "vcl/core/sysutils.h"
#include "vcl/streaming/formfile.h"

#include <QMetaObject>

namespace vcl {
class TCompositeLayout;
}

namespace Boxes {

using namespace vcl;

// Passed to a composite class's constructor when a descendant will read the layouts.
enum class TDeferLayout { Defer };

// What the four containers share: the layout reading, the two events, the streaming of
// parentless owned components (timers, menus) and their order.
class TCompositeLayout : public IMethodProvider {
public:
    ~TCompositeLayout() override = default;

    // Raised once the children have been read; may be bound in the layout itself.
    TNotifyEvent OnCreate;
    // Raised at the start of destruction.
    TNotifyEvent OnDestroy;

    // No handlers of its own; descendants publish theirs by name.
    std::any MethodAddress(const QString& Name) const override;

    // True when the control's owner is the form a design host uses while designing a
    // composite container.
    static bool IsCompositeDesign(const TControl* Control);

protected:
    // Reads the layout of Self's class and of each ancestor below Container, the
    // oldest first, then raises OnCreate. Without any layout raises EResNotFound
    // "Resource for <ClassName> is not found."; the caller's constructor then fails and
    // everything created so far is freed with it.
    void CreateLayout(TComponent* Self, const QMetaObject* Container);
    // Raises OnDestroy; each container's destructor calls it first.
    void DestroyLayout(TComponent* Self);
    // The component the layout created under Name, as a T; EComponentError when the
    // layout has no such component or it is of another class.
    template <class T>
    static T* LayoutField(TComponent* Self, const char* Name);

    // Streaming: after the child controls, a container written as the root also
    // reports the components it owns that have no parent, in ownership order.
    static void ReportParentless(const TComponent* Self,
        const std::function<void(TComponent*)>& Proc, TComponent* Root);
    // Moves Child to place Order: among the child controls for a control, among the
    // parentless owned components (after the controls) otherwise.
    static void SetChildOrder(TComponent* Self, TComponent* Child, int Order);

private:
    static TComponent* FindLayoutField(TComponent* Self, const char* Name);
    static void ThrowWrongField(TComponent* Self, const char* Name);
};

template <class T>
T* TCompositeLayout::LayoutField(TComponent* Self, const char* Name)
{
    T* field = dynamic_cast<T*>(FindLayoutField(Self, Name));
    if (field == nullptr)
        ThrowWrongField(Self, Name);
    return field;
}

// A panel whose children come from its class's layout (its caption stays empty).
class TBox : public TPanel, public TCompositeLayout {
    Q_OBJECT
    Q_PROPERTY(bool FullRepaint READ FullRepaint WRITE SetFullRepaint)
    Q_CLASSINFO("Default:FullRepaint", "True")
    Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)
    Q_CLASSINFO("Default:Locked", "False")
public:
    // Creates the box and the children of its class's layout, owned (and freed) by AOwner.
    explicit TBox(TComponent* AOwner);
    ~TBox() override;

    // Stored for form files; the box always repaints in full.
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool Value) { FFullRepaint = Value; }
    // Stored for form files; the children stay where the layout put them either way.
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }

    // Hands the children to write to a form file: the child controls and, when the box
    // is the root written, the components it owns that have no parent.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, int Order) { TCompositeLayout::SetChildOrder(this, Child, Order); } // Moves Child to place Order among the children written to a form file.

protected:
    void CreateLayout(TComponent* Self) { TCompositeLayout::CreateLayout(Self, &TBox::staticMetaObject); }

private:
    bool FFullRepaint = true;
    bool FLocked = false;
};

// A group box whose children come from its class's layout.
class TControlGroupBox : public TGroupBox, public TCompositeLayout {
    Q_OBJECT
public:
    // Creates the group box, owned (and freed) by AOwner.
    explicit TControlGroupBox(TComponent* AOwner) : TGroupBox(AOwner) {}
    ~TControlGroupBox() override { DestroyLayout(this); }

    // Hands the children to write to a form file: the child controls and, when the box
    // is the root written, the components it owns that have no parent.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, int Order) { TCompositeLayout::SetChildOrder(this, Child, Order); } // Moves Child to place Order among the children written to a form file.

protected:
    void CreateLayout(TComponent* Self) { TCompositeLayout::CreateLayout(Self, &TControlGroupBox::staticMetaObject); }
};

// A scroll box whose children come from its class's layout.
class TControlScrollBox : public TScrollBox, public TCompositeLayout {
    Q_OBJECT
public:
    // Creates the scroll box, owned (and freed) by AOwner.
    explicit TControlScrollBox(TComponent* AOwner) : TScrollBox(AOwner) {}
    ~TControlScrollBox() override { DestroyLayout(this); }

    // Hands the children to write to a form file: the child controls and, when the box
    // is the root written, the components it owns that have no parent.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, int Order) { TCompositeLayout::SetChildOrder(this, Child, Order); } // Moves Child to place Order among the children written to a form file.

protected:
    void CreateLayout(TComponent* Self) { TCompositeLayout::CreateLayout(Self, &TControlScrollBox::staticMetaObject); }
};

// A tool bar whose buttons come from its class's layout. The framework has no tool
// bar control, so this is a raised strip aligned to the top of its parent, which is
// what a tool bar looks like and how it is placed.
class TToolBarBox : public TPanel, public TCompositeLayout {
    Q_OBJECT
    Q_CLASSINFO("Default:Align", "alTop")
public:
    // Creates the tool bar with the buttons of its class's layout, owned (and freed) by AOwner.
    explicit TToolBarBox(TComponent* AOwner);
    ~TToolBarBox() override { DestroyLayout(this); }

    // Hands the children to write to a form file: the child controls and, when the box
    // is the root written, the components it owns that have no parent.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, int Order) { TCompositeLayout::SetChildOrder(this, Child, Order); } // Moves Child to place Order among the children written to a form file.

protected:
    void CreateLayout(TComponent* Self) { TCompositeLayout::CreateLayout(Self, &TToolBarBox::staticMetaObject); }
};

} // namespace Boxes
