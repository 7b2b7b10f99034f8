#pragma once
// The design-time registries that a form-design host reads: palette pages, component
// editors with their verbs, property editors, and the designer interface a host offers.
#include "vcl/core/classes.h"
#include "vcl/streaming/classregistry.h"

#include <QFlags>
#include <QMetaProperty>
#include <QMetaType>
#include <QVariant>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace vcl {

// ---------------------------------------------------------------- the host

// What a design host offers the editors: naming, selection and the modified mark.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    // The component being designed (the form) that new components are owned by.
    virtual TComponent* GetRoot() = 0;
    // A name of the form BaseName + number ("TPane" gives "Pane1") not used in the root.
    virtual QString UniqueName(const QString& BaseName) = 0;
    virtual void SelectComponent(TComponent* Instance) = 0;
    // Tells the host that the design changed.
    virtual void Modified() = 0;
};

// The name a host derives from a class name: the leading "T" dropped and the lowest
// free number appended ("TPane" -> "Pane1", "Pane2" ...), unique among Root's components.
QString DefaultUniqueName(TComponent* Root, const QString& BaseName);

// ---------------------------------------------------------------- palette

struct TPalettePage {
    QString Caption;
    std::vector<TComponentClass> Classes;
};

// Appends the classes to the page with this exact caption, creating the page after the
// existing ones when it is new. The classes also become known to the form-file reader.
void RegisterComponents(const QString& Page, std::initializer_list<TComponentClass> Classes);
// The pages in creation order.
std::vector<TPalettePage> PalettePages();

// ---------------------------------------------------------------- component editors

// Verbs a host shows for a component (its context menu) and the double-click action.
class TComponentEditor : public TObject {
public:
    TComponentEditor(TComponent* AComponent, IDesigner* ADesigner);
    TComponent* Component() const { return FComponent; }
    IDesigner* Designer() const { return FDesigner; }

    // The double-click action: the first verb when there is one.
    virtual void Edit();
    virtual void ExecuteVerb(int Index);
    virtual QString GetVerb(int Index);
    virtual int GetVerbCount();

private:
    TComponent* FComponent;
    IDesigner* FDesigner;
};

struct TComponentEditorClassInfo {
    QString ClassName;
    std::function<std::unique_ptr<TComponentEditor>(TComponent*, IDesigner*)> Create;
};
using TComponentEditorClass = const TComponentEditorClassInfo*;

template <class E>
TComponentEditorClass EditorClassOf(const char* Name)
{
    static const TComponentEditorClassInfo info{QString::fromLatin1(Name),
        [](TComponent* c, IDesigner* d) { return std::unique_ptr<TComponentEditor>(new E(c, d)); }};
    return &info;
}

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorClass EditorClass);
// The editor registered last for the component's class or its nearest ancestor; a plain
// TComponentEditor (no verbs) when none was.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);
// The registered editor class for a component class, or null.
TComponentEditorClass FindComponentEditorClass(TComponentClass ComponentClass);

// ---------------------------------------------------------------- property editors

enum TPropertyAttribute {
    paValueList = 0x01,
    paSubProperties = 0x02,
    paDialog = 0x04,
    paMultiSelect = 0x08,
    paAutoUpdate = 0x10,
    paSortList = 0x20,
    paReadOnly = 0x40,
    paRevertable = 0x80,
};
Q_DECLARE_FLAGS(TPropertyAttributes, TPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPropertyAttributes)

// The declared type of a property: a Qt meta type, and for a class type (a pointer to a
// QObject or gadget class) its class, so that a rule for a class covers its descendants.
struct TTypeInfo {
    QMetaType Type;
    const QMetaObject* ClassType = nullptr;
    bool Matches(const QMetaProperty& Property) const;
    // True when this is a class type and derives from Other's class.
    bool InheritsFrom(const TTypeInfo& Other) const;
};

template <class T>
TTypeInfo TypeInfoOf()
{
    if constexpr (std::is_class_v<T> && requires { T::staticMetaObject; })
        return {QMetaType::fromType<T*>(), &T::staticMetaObject};
    else
        return {QMetaType::fromType<T>(), nullptr};
}

// Shows and edits one property of one component in an inspector. A sub-property of a
// gadget-valued property (Font.Name) is edited on the gadget AGadget of AInstance.
class TPropertyEditor : public TObject {
public:
    TPropertyEditor(IDesigner* ADesigner, QObject* AInstance, const QMetaProperty& AProperty, void* AGadget = nullptr);

    QString GetName() const;
    virtual TPropertyAttributes GetAttributes();
    // The value as the inspector shows it.
    virtual QString GetValue();
    // Sets the value from the inspector's text; raises EConvertError for bad text.
    virtual void SetValue(const QString& Value);
    // The choices of a paValueList property.
    virtual QStringList GetValues();
    // The action of the ellipsis button of a paDialog property.
    virtual void Edit();
    // Editors of the sub-properties of a paSubProperties property.
    virtual std::vector<std::unique_ptr<TPropertyEditor>> GetProperties();

    IDesigner* Designer() const { return FDesigner; }
    QObject* Instance() const { return FInstance; }
    void* Gadget() const { return FGadget; }
    const QMetaProperty& Property() const { return FProperty; }
    QVariant Read() const;
    bool Write(const QVariant& Value);
    QString GetStrValue() const;
    void SetStrValue(const QString& Value);
    // Tells the designer that a value changed.
    void Modified();

private:
    IDesigner* FDesigner;
    QObject* FInstance;
    QMetaProperty FProperty;
    void* FGadget;
};

// The editor of a property whose value is an object: read-only text "(TClass)" and the
// object's own published properties as sub-properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void SetValue(const QString& Value) override;
    std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() override;
};

// The editor of a reference to another component of the form (PopupMenu): the
// component's name, chosen from the form's components of the property's class; an
// empty text clears the reference.
class TComponentProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    QStringList GetValues() override;
    void SetValue(const QString& Value) override;
};

struct TPropertyEditorClassInfo {
    QString ClassName;
    std::function<std::unique_ptr<TPropertyEditor>(IDesigner*, QObject*, const QMetaProperty&, void*)> Create;
};
using TPropertyEditorClass = const TPropertyEditorClassInfo*;

template <class E>
TPropertyEditorClass PropertyEditorClassOf(const char* Name)
{
    static const TPropertyEditorClassInfo info{QString::fromLatin1(Name),
        [](IDesigner* d, QObject* i, const QMetaProperty& p, void* g) { return std::unique_ptr<TPropertyEditor>(new E(d, i, p, g)); }};
    return &info;
}

// The framework's editor for object-valued properties.
TPropertyEditorClass ClassPropertyEditor();

// A rule: properties of type PropertyType (or a descendant class), on ComponentClass or
// its descendants (null: every class), named PropertyName (empty: every name), are edited
// with EditorClass.
void RegisterPropertyEditor(const TTypeInfo& PropertyType, TComponentClass ComponentClass,
    const QString& PropertyName, TPropertyEditorClass EditorClass);
// The editor class the rules give for a property of an object (newest rules first; a
// rule limited to a class or a name beats a general one, a rule for a more derived type
// beats one for its ancestor), or null when no rule applies.
TPropertyEditorClass GetEditorClass(const QMetaObject* HolderClass, const QMetaProperty& Property);
// An editor for the property: the registered one, TComponentProperty for references
// to components, TClassProperty for other object values, else the plain TPropertyEditor.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, QObject* Instance,
    const QMetaProperty& Property, void* Gadget = nullptr);
// Editors for the published properties of Instance (or of its gadget Gadget of class Meta).
std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* Designer, QObject* Instance,
    void* Gadget = nullptr, const QMetaObject* Meta = nullptr);

// Removes every palette page, editor rule and component editor (a host unloading the package).
void ClearDesignRegistries();

} // namespace vcl
