#include "vcl/streaming/designintf.h"

#include "vcl/core/sysutils.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"
#include "vcl/streaming/propertyvalue.h"

#include <QMetaEnum>
#include <algorithm>
#include <mutex>

namespace vcl {

namespace {

struct ComponentEditorRule {
    TComponentClass ComponentClass;
    TComponentEditorClass EditorClass;
};

struct PropertyEditorRule {
    TTypeInfo PropertyType;
    TComponentClass ComponentClass;
    QString PropertyName;
    TPropertyEditorClass EditorClass;
};

// Everything the Register procedures fill; one per process.
struct Registries {
    std::recursive_mutex Lock;
    std::vector<TPalettePage> Pages;
    std::vector<ComponentEditorRule> ComponentEditors;
    std::vector<PropertyEditorRule> PropertyEditors;
};

Registries& Reg()
{
    static Registries registries;
    return registries;
}


// The colour names an inspector offers: the named and the system colours.
QStringList ColorIdentNames()
{
    static const char* const names[] = {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple",
        "clTeal", "clGray", "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua",
        "clWhite", "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu",
        "clWindow", "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder",
        "clInactiveBorder", "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow",
        "clGrayText", "clBtnText", "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight",
        "clInfoText", "clInfoBk", "clNone", "clDefault"};
    QStringList list;
    for (const char* name : names) {
        TColor color = 0;
        if (IdentToColor(QString::fromLatin1(name), color))
            list.push_back(QString::fromLatin1(name));
    }
    return list;
}

// A reference to another component of the form (PopupMenu): its class is a registered
// component class, so the value is chosen by name, not unfolded.
bool IsComponentReference(const QMetaProperty& P)
{
    const QMetaObject* meta = P.metaType().metaObject();
    return P.metaType().flags().testFlag(QMetaType::PointerToQObject) && meta != nullptr
        && GetClass(MetaClassName(meta)) != nullptr;
}

bool IsObjectValued(const QMetaProperty& P)
{
    const auto flags = P.metaType().flags();
    return flags.testFlag(QMetaType::PointerToGadget) || flags.testFlag(QMetaType::PointerToQObject);
}

} // namespace

QString DefaultUniqueName(TComponent* Root, const QString& BaseName)
{
    QString base = BaseName;
    if (base.size() > 1 && (base[0] == u'T' || base[0] == u't'))
        base.remove(0, 1);
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (Root == nullptr || (Root->FindComponent(candidate) == nullptr && Root->Name().compare(candidate, Qt::CaseInsensitive) != 0))
            return candidate;
    }
}

// ---------------------------------------------------------------- palette

void RegisterComponents(const QString& Page, std::initializer_list<TComponentClass> Classes)
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    auto page = std::find_if(reg.Pages.begin(), reg.Pages.end(), [&](const TPalettePage& p) { return p.Caption == Page; });
    if (page == reg.Pages.end()) {
        reg.Pages.push_back({Page, {}});
        page = reg.Pages.end() - 1;
    }
    for (TComponentClass c : Classes) {
        RegisterClass(c);
        if (std::find(page->Classes.begin(), page->Classes.end(), c) == page->Classes.end())
            page->Classes.push_back(c);
    }
}

std::vector<TPalettePage> PalettePages()
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    return reg.Pages;
}

// ---------------------------------------------------------------- component editors

TComponentEditor::TComponentEditor(TComponent* AComponent, IDesigner* ADesigner)
    : FComponent(AComponent), FDesigner(ADesigner)
{
}

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(int)
{
}

QString TComponentEditor::GetVerb(int)
{
    return {};
}

int TComponentEditor::GetVerbCount()
{
    return 0;
}

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorClass EditorClass)
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    reg.ComponentEditors.push_back({ComponentClass, EditorClass});
}

TComponentEditorClass FindComponentEditorClass(TComponentClass ComponentClass)
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    // The nearest registered ancestor wins; among rules for one class the newest.
    const ComponentEditorRule* best = nullptr;
    for (auto it = reg.ComponentEditors.rbegin(); it != reg.ComponentEditors.rend(); ++it) {
        if (!ComponentClass->InheritsFrom(it->ComponentClass))
            continue;
        if (best == nullptr || (it->ComponentClass != best->ComponentClass && it->ComponentClass->InheritsFrom(best->ComponentClass)))
            best = &*it;
    }
    return best != nullptr ? best->EditorClass : nullptr;
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer)
{
    const QObject* object = Component->AsQObject();
    if (object != nullptr) {
        const TComponentClassInfo probe{object->metaObject(), nullptr};
        if (TComponentEditorClass editor = FindComponentEditorClass(&probe))
            return editor->Create(Component, Designer);
    }
    return std::make_unique<TComponentEditor>(Component, Designer);
}

// ---------------------------------------------------------------- property editors

bool TTypeInfo::Matches(const QMetaProperty& Property) const
{
    if (Property.metaType() == Type)
        return true;
    const QMetaObject* propertyClass = Property.metaType().metaObject();
    return ClassType != nullptr && propertyClass != nullptr && propertyClass->inherits(ClassType);
}

bool TTypeInfo::InheritsFrom(const TTypeInfo& Other) const
{
    return ClassType != nullptr && Other.ClassType != nullptr && ClassType->inherits(Other.ClassType);
}

TPropertyEditor::TPropertyEditor(IDesigner* ADesigner, QObject* AInstance, const QMetaProperty& AProperty, void* AGadget)
    : FDesigner(ADesigner), FInstance(AInstance), FProperty(AProperty), FGadget(AGadget)
{
}

QString TPropertyEditor::GetName() const
{
    return QString::fromLatin1(FProperty.name());
}

QVariant TPropertyEditor::Read() const
{
    return FGadget != nullptr ? FProperty.readOnGadget(FGadget) : FProperty.read(FInstance);
}

bool TPropertyEditor::Write(const QVariant& Value)
{
    const bool ok = FGadget != nullptr ? FProperty.writeOnGadget(FGadget, Value) : FProperty.write(FInstance, Value);
    if (ok)
        Modified();
    return ok;
}

TPropertyAttributes TPropertyEditor::GetAttributes()
{
    TPropertyAttributes attributes = paMultiSelect | paRevertable;
    if (FProperty.isEnumType() || FProperty.metaType().id() == QMetaType::Bool || IsColorProperty(FProperty))
        attributes |= paValueList;
    // Colours have a colour dialog besides their names; lists of lines a text editor.
    if (IsColorProperty(FProperty) || FProperty.metaType().id() == QMetaType::QStringList)
        attributes |= paDialog;
    if (FProperty.isEnumType() && !FProperty.isFlagType())
        attributes |= paSortList;
    if (!FProperty.isWritable())
        attributes |= paReadOnly;
    return attributes;
}

QString TPropertyEditor::GetValue()
{
    return GetStrValue();
}

void TPropertyEditor::SetValue(const QString& Value)
{
    SetStrValue(Value);
}

QStringList TPropertyEditor::GetValues()
{
    QStringList values;
    if (FProperty.isEnumType()) {
        const QMetaEnum e = FProperty.enumerator();
        for (int i = 0; i < e.keyCount(); ++i)
            values.push_back(QString::fromLatin1(e.key(i)));
    } else if (FProperty.metaType().id() == QMetaType::Bool) {
        values = {QStringLiteral("False"), QStringLiteral("True")};
    } else if (IsColorProperty(FProperty)) {
        values = ColorIdentNames();
    }
    return values;
}

void TPropertyEditor::Edit()
{
}

std::vector<std::unique_ptr<TPropertyEditor>> TPropertyEditor::GetProperties()
{
    return {};
}

void TPropertyEditor::Modified()
{
    if (FDesigner != nullptr)
        FDesigner->Modified();
}

QString TPropertyEditor::GetStrValue() const
{
    return formfile::ValueText(FProperty, Read());
}

void TPropertyEditor::SetStrValue(const QString& Value)
{
    if (!Write(formfile::ValueFromText(FProperty, Value)))
        throw EConvertError(QStringLiteral("'%1' is not a valid value for %2").arg(Value, GetName()));
}

TPropertyAttributes TClassProperty::GetAttributes()
{
    // A font also opens a font dialog.
    if (Property().metaType() == QMetaType::fromType<TFont*>())
        return paSubProperties | paReadOnly | paDialog;
    return paSubProperties | paReadOnly;
}

QString TClassProperty::GetValue()
{
    const QMetaObject* meta = Property().metaType().metaObject();
    return u'(' + (meta != nullptr ? MetaClassName(meta) : QString::fromLatin1(Property().typeName())) + u')';
}

void TClassProperty::SetValue(const QString&)
{
}

std::vector<std::unique_ptr<TPropertyEditor>> TClassProperty::GetProperties()
{
    const QVariant v = Read();
    if (Property().metaType().flags().testFlag(QMetaType::PointerToGadget)) {
        void* gadget = *static_cast<void* const*>(v.constData());
        if (gadget == nullptr)
            return {};
        return GetComponentProperties(Designer(), Instance(), gadget, v.metaType().metaObject());
    }
    QObject* sub = v.value<QObject*>();
    return sub != nullptr ? GetComponentProperties(Designer(), sub) : std::vector<std::unique_ptr<TPropertyEditor>>{};
}

TPropertyAttributes TComponentProperty::GetAttributes()
{
    return TPropertyEditor::GetAttributes() | paValueList | paSortList;
}

QString TComponentProperty::GetValue()
{
    auto* component = dynamic_cast<TComponent*>(Read().value<QObject*>());
    return component != nullptr ? component->Name() : QString();
}

QStringList TComponentProperty::GetValues()
{
    QStringList names;
    TComponent* root = Designer() != nullptr ? Designer()->GetRoot() : nullptr;
    for (int i = 0; root != nullptr && i < root->ComponentCount(); ++i) {
        const QObject* object = root->Components(i)->AsQObject();
        if (object != nullptr && object->metaObject()->inherits(Property().metaType().metaObject()))
            names.push_back(root->Components(i)->Name());
    }
    return names;
}

void TComponentProperty::SetValue(const QString& Value)
{
    const QString name = Value.trimmed();
    TComponent* root = Designer() != nullptr ? Designer()->GetRoot() : nullptr;
    TComponent* component = root != nullptr && !name.isEmpty() ? root->FindComponent(name) : nullptr;
    // No name: a null pointer of the property's type.
    QVariant v = component != nullptr ? QVariant::fromValue(component->AsQObject()) : QVariant(Property().metaType());
    const bool fits = name.isEmpty()
        || (component != nullptr && component->AsQObject()->metaObject()->inherits(Property().metaType().metaObject()));
    if (!fits || !v.convert(Property().metaType()) || !Write(v))
        throw EConvertError(QStringLiteral("'%1' is not a valid value for %2").arg(Value, GetName()));
}

TPropertyEditorClass ClassPropertyEditor()
{
    return PropertyEditorClassOf<TClassProperty>("TClassProperty");
}

void RegisterPropertyEditor(const TTypeInfo& PropertyType, TComponentClass ComponentClass,
    const QString& PropertyName, TPropertyEditorClass EditorClass)
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    reg.PropertyEditors.push_back({PropertyType, ComponentClass, PropertyName, EditorClass});
}

TPropertyEditorClass GetEditorClass(const QMetaObject* HolderClass, const QMetaProperty& Property)
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    const PropertyEditorRule* best = nullptr;
    for (auto it = reg.PropertyEditors.rbegin(); it != reg.PropertyEditors.rend(); ++it) {
        const PropertyEditorRule& rule = *it;
        if (!rule.PropertyType.Matches(Property))
            continue;
        if (rule.ComponentClass != nullptr && (HolderClass == nullptr || !HolderClass->inherits(rule.ComponentClass->MetaObject)))
            continue;
        if (!rule.PropertyName.isEmpty() && rule.PropertyName.compare(QString::fromLatin1(Property.name()), Qt::CaseInsensitive) != 0)
            continue;
        // Newest first: a later rule replaces the best so far only when it is more specific.
        if (best == nullptr
            || (best->ComponentClass == nullptr && rule.ComponentClass != nullptr)
            || (best->PropertyName.isEmpty() && !rule.PropertyName.isEmpty())
            || (rule.PropertyType.InheritsFrom(best->PropertyType) && rule.PropertyType.ClassType != best->PropertyType.ClassType))
            best = &rule;
    }
    return best != nullptr ? best->EditorClass : nullptr;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, QObject* Instance,
    const QMetaProperty& Property, void* Gadget)
{
    const QMetaObject* holder = Gadget != nullptr ? Property.enclosingMetaObject() : Instance->metaObject();
    if (TPropertyEditorClass editor = GetEditorClass(holder, Property))
        return editor->Create(Designer, Instance, Property, Gadget);
    if (IsComponentReference(Property))
        return std::make_unique<TComponentProperty>(Designer, Instance, Property, Gadget);
    if (IsObjectValued(Property))
        return std::make_unique<TClassProperty>(Designer, Instance, Property, Gadget);
    return std::make_unique<TPropertyEditor>(Designer, Instance, Property, Gadget);
}

std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* Designer, QObject* Instance,
    void* Gadget, const QMetaObject* Meta)
{
    if (Meta == nullptr)
        Meta = Instance->metaObject();
    std::vector<std::unique_ptr<TPropertyEditor>> editors;
    for (const QMetaProperty& p : PublishedProperties(Meta))
        if (p.isDesignable())
            editors.push_back(CreatePropertyEditor(Designer, Instance, p, Gadget));
    return editors;
}

void ClearDesignRegistries()
{
    Registries& reg = Reg();
    std::lock_guard guard(reg.Lock);
    reg.Pages.clear();
    reg.ComponentEditors.clear();
    reg.PropertyEditors.clear();
}

} // namespace vcl
