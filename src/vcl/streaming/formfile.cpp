#include "vcl/streaming/formfile.h"

#include "vcl/core/streams.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/colors.h"
#include "vcl/streaming/classregistry.h"
#include "vcl/streaming/formtree.h"
#include "vcl/streaming/propertyvalue.h"

#include <QFile>
#include <QMetaProperty>
#include <QObject>
#include <mutex>
#include <vector>

namespace vcl {

using formfile::Value;

EFormFileError::EFormFileError(int Line, const QString& Message)
    : EReadError(QStringLiteral("Line %1: %2").arg(Line).arg(Message)), FLine(Line)
{
}

namespace detail {

static std::mutex& EventLock()
{
    static std::mutex lock;
    return lock;
}
static std::vector<EventAccessor>& Events()
{
    static std::vector<EventAccessor> events;
    return events;
}

void AddEventAccessor(EventAccessor Accessor)
{
    std::lock_guard guard(EventLock());
    Events().push_back(std::move(Accessor));
}

// The accessor of event Name for an object of class Meta or one of its ancestors.
static const EventAccessor* FindEventAccessor(const QMetaObject* Meta, const QString& Name)
{
    std::lock_guard guard(EventLock());
    for (const EventAccessor& accessor : Events())
        if (Meta->inherits(accessor.Class) && accessor.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return &accessor;
    return nullptr;
}

} // namespace detail

namespace {

// Dynamic property of a component that remembers which root method an event is bound to.
QByteArray EventTag(const QString& EventName)
{
    return "qv:" + EventName.toLatin1();
}

} // namespace

QStringList PublishedEvents(const QMetaObject* Class)
{
    std::vector<const QMetaObject*> chain;
    for (const QMetaObject* m = Class; m != nullptr; m = m->superClass())
        chain.insert(chain.begin(), m);
    QStringList names;
    std::lock_guard guard(detail::EventLock());
    for (const QMetaObject* m : chain)
        for (const detail::EventAccessor& accessor : detail::Events())
            if (accessor.Class == m && !names.contains(accessor.Name))
                names.push_back(accessor.Name);
    return names;
}

void BindEvent(TComponent* Component, const QString& Event, const QString& Method, TComponent* Root)
{
    QObject* object = Component->AsQObject();
    const detail::EventAccessor* accessor = object != nullptr ? detail::FindEventAccessor(object->metaObject(), Event) : nullptr;
    if (accessor == nullptr)
        throw EComponentError(QStringLiteral("Property %1 does not exist").arg(Event));
    std::any handler;
    if (!Method.isEmpty()) {
        auto* provider = dynamic_cast<IMethodProvider*>(Root);
        handler = provider != nullptr ? provider->MethodAddress(Method) : std::any();
        if (!handler.has_value())
            throw EComponentError(QStringLiteral("Method %1 not found").arg(Method));
    }
    if (!accessor->Assign(Component, handler))
        throw EComponentError(QStringLiteral("Method %1 does not fit event %2").arg(Method, Event));
    object->setProperty(EventTag(accessor->Name).constData(), Method.isEmpty() ? QVariant() : QVariant(Method));
}

QString BoundMethod(TComponent* Component, const QString& Event)
{
    QObject* object = Component->AsQObject();
    return object != nullptr ? object->property(EventTag(Event).constData()).toString() : QString();
}

namespace {

// An object whose published properties are read and written: a QObject or a gadget.
struct Target {
    void* Ptr = nullptr;
    const QMetaObject* Meta = nullptr;
    bool Gadget = false;

    static Target Of(QObject* Object) { return {Object, Object->metaObject(), false}; }

    QVariant Read(const QMetaProperty& P) const
    {
        return Gadget ? P.readOnGadget(Ptr) : P.read(static_cast<QObject*>(Ptr));
    }
    bool Write(const QMetaProperty& P, const QVariant& V) const
    {
        return Gadget ? P.writeOnGadget(Ptr, V) : P.write(static_cast<QObject*>(Ptr), V);
    }
};

enum class Kind { Plain, Strings, Gadget, SubObject, Reference, Unsupported };

Kind KindOf(const QMetaProperty& P, const QVariant& V)
{
    const QMetaType type = P.metaType();
    if (type == QMetaType::fromType<TStrings*>() || type == QMetaType::fromType<TStringList*>())
        return Kind::Strings;
    if (type.flags().testFlag(QMetaType::PointerToGadget))
        return Kind::Gadget;
    if (type.flags().testFlag(QMetaType::PointerToQObject)) {
        QObject* object = V.value<QObject*>();
        return dynamic_cast<TComponent*>(object) != nullptr ? Kind::Reference : Kind::SubObject;
    }
    return formfile::IsPlainType(P) ? Kind::Plain : Kind::Unsupported;
}

TStrings* StringsOf(const QVariant& V)
{
    if (V.metaType() == QMetaType::fromType<TStringList*>())
        return V.value<TStringList*>();
    return V.value<TStrings*>();
}

Target GadgetOf(const QVariant& V)
{
    return {*static_cast<void* const*>(V.constData()), V.metaType().metaObject(), true};
}

// ---------------------------------------------------------------- writing

class Writer {
public:
    explicit Writer(TComponent* Root) : FRoot(Root) {}

    QString Write()
    {
        WriteObject(FRoot, 0);
        return FOut;
    }

private:
    void Line(int Indent, const QString& Text) { FOut += QString(Indent, u' ') + Text + u'\n'; }

    void WriteObject(TComponent* Component, int Indent)
    {
        if (Component->Name().isEmpty())
            Line(Indent, QStringLiteral("object %1").arg(Component->ClassName()));
        else
            Line(Indent, QStringLiteral("object %1: %2").arg(Component->Name(), Component->ClassName()));
        if (QObject* object = Component->AsQObject()) {
            WriteProperties(Target::Of(object), QString(), Indent + 2);
            WriteEvents(object, Indent + 2);
        }
        for (TComponent* child : Children(Component))
            WriteObject(child, Indent + 2);
        Line(Indent, QStringLiteral("end"));
    }

    // Components nested in Parent: its child controls in child order, and for the root
    // also the components it owns that have no parent.
    std::vector<TComponent*> Children(TComponent* Parent) const
    {
        std::vector<TComponent*> children;
        Parent->GetChildren([&](TComponent* child) { children.push_back(child); }, FRoot);
        if (Parent == FRoot) {
            for (int i = 0; i < FRoot->ComponentCount(); ++i) {
                TComponent* component = FRoot->Components(i);
                if (component->GetParentComponent() == nullptr)
                    children.push_back(component);
            }
        }
        return children;
    }

    void WriteProperties(const Target& T, const QString& Prefix, int Indent)
    {
        for (const QMetaProperty& p : PublishedProperties(T.Meta)) {
            // A component's own name is written in its "object" line.
            if (IsStored(T, p) && !(Prefix.isEmpty() && !T.Gadget && qstrcmp(p.name(), "Name") == 0))
                WriteProperty(T, p, Prefix + QString::fromLatin1(p.name()), Indent);
        }
    }

    // STORED false, or a condition: Q_CLASSINFO("Stored:<Property>", "<method>") names a
    // Q_INVOKABLE bool method of the object (moc takes no STORED function in Qt 6).
    static bool IsStored(const Target& T, const QMetaProperty& P)
    {
        if (!P.isStored())
            return false;
        const int info = T.Meta->indexOfClassInfo(QByteArray("Stored:") + P.name());
        if (info < 0 || T.Gadget)
            return true;
        bool stored = true;
        QMetaObject::invokeMethod(static_cast<QObject*>(T.Ptr), T.Meta->classInfo(info).value(),
            Qt::DirectConnection, Q_RETURN_ARG(bool, stored));
        return stored;
    }

    void WriteProperty(const Target& T, const QMetaProperty& P, const QString& Name, int Indent)
    {
        const QVariant v = T.Read(P);
        switch (KindOf(P, v)) {
        case Kind::Plain: {
            Value value;
            if (P.isWritable() && formfile::ToValue(P, v, value) && !IsDefault(T.Meta, P, value))
                Line(Indent, Name + QStringLiteral(" = ") + formfile::Render(value, Indent));
            break;
        }
        case Kind::Strings:
            if (TStrings* strings = StringsOf(v); strings != nullptr && strings->Count() > 0)
                Line(Indent, Name + QStringLiteral(".Strings = ")
                        + formfile::Render(formfile::StringListValue(strings->ToQStringList()), Indent));
            break;
        case Kind::Gadget:
            if (v.constData() != nullptr && *static_cast<void* const*>(v.constData()) != nullptr)
                WriteProperties(GadgetOf(v), Name + u'.', Indent);
            break;
        case Kind::SubObject:
            if (QObject* sub = v.value<QObject*>())
                WriteProperties(Target::Of(sub), Name + u'.', Indent);
            break;
        case Kind::Reference:
            if (auto* ref = dynamic_cast<TComponent*>(v.value<QObject*>()))
                Line(Indent, Name + QStringLiteral(" = ") + ReferenceName(ref));
            break;
        case Kind::Unsupported:
            break;
        }
    }

    QString ReferenceName(TComponent* Ref) const
    {
        if (Ref == FRoot || Ref->Owner() == FRoot || Ref->Owner() == nullptr)
            return Ref->Name();
        return Ref->Owner()->Name() + u'.' + Ref->Name();
    }

    void WriteEvents(QObject* Object, int Indent)
    {
        for (const QByteArray& tag : Object->dynamicPropertyNames()) {
            if (!tag.startsWith("qv:"))
                continue;
            const QString method = Object->property(tag.constData()).toString();
            if (!method.isEmpty())
                Line(Indent, QString::fromLatin1(tag.mid(3)) + QStringLiteral(" = ") + method);
        }
    }

    // True when V, the value of P, equals the default declared with
    // Q_CLASSINFO("Default:<Property>", ...) on Meta or an ancestor; the declared text is
    // read as a form file reads it, so "$000000FF" and clRed are one default.
    static bool IsDefault(const QMetaObject* Meta, const QMetaProperty& P, const Value& V)
    {
        const int info = Meta->indexOfClassInfo(QByteArray("Default:") + P.name());
        if (info < 0) {
            // Without a declared default, empty texts, lists and data are not written.
            return (V.Type == Value::String && V.Text.isEmpty()) || (V.Type == Value::List && V.Items.empty())
                || (V.Type == Value::Binary && V.Bytes.isEmpty());
        }
        try {
            const Value declared = formfile::ParseValue(QString::fromUtf8(Meta->classInfo(info).value()));
            Value normal;
            return formfile::ToValue(P, formfile::FromValue(P, declared), normal)
                && formfile::Render(normal, 0) == formfile::Render(V, 0);
        } catch (const Exception&) {
            return false;
        }
    }

    TComponent* FRoot;
    QString FOut;
};

// ---------------------------------------------------------------- reading

class Reader {
public:
    Reader(TComponent* Instance, TComponent* Owner) : FInstance(Instance), FOwner(Owner) {}

    TComponent* Read(const QString& Text)
    {
        const formfile::Object tree = formfile::Parse(Text);
        TComponent* root = FInstance;
        try {
            if (root == nullptr) {
                root = Create(tree, FOwner);
                FCreatedRoot = root;
            }
            FRoot = root;
            FLoaded.push_back(root);
            root->SetLoading(true);
            if (!tree.Name.isEmpty())
                Guard(tree.Line, [&] { root->SetName(tree.Name); });
            ReadBody(root, tree);
            ResolveReferences();
        } catch (...) {
            Abandon();
            throw;
        }
        for (TComponent* component : FLoaded)
            component->Loaded();
        return root;
    }

private:
    // Runs F and turns a framework exception into a form-file error of this line.
    template <class F>
    static void Guard(int Line, F&& Function)
    {
        try {
            Function();
        } catch (const EFormFileError&) {
            throw;
        } catch (const Exception& e) {
            throw EFormFileError(Line, e.Message());
        }
    }

    TComponent* Create(const formfile::Object& Node, TComponent* Owner)
    {
        TComponentClass cls = GetClass(Node.ClassName);
        if (cls == nullptr)
            throw EFormFileError(Node.Line, QStringLiteral("Class %1 not found").arg(Node.ClassName));
        if (cls->Create == nullptr)
            throw EFormFileError(Node.Line, QStringLiteral("Cannot create an instance of abstract class %1").arg(Node.ClassName));
        TComponent* component = nullptr;
        Guard(Node.Line, [&] { component = cls->Create(Owner); });
        return component;
    }

    void ReadBody(TComponent* Component, const formfile::Object& Node)
    {
        for (const formfile::Property& property : Node.Properties)
            Guard(property.Line, [&] { ReadProperty(Component, property); });
        for (const formfile::Object& childNode : Node.Children) {
            TComponent* child = Create(childNode, FRoot);
            FCreated.push_back(child);
            FLoaded.push_back(child);
            child->SetLoading(true);
            Guard(childNode.Line, [&] {
                child->SetName(childNode.Name);
                child->SetParentComponent(Component);
            });
            ReadBody(child, childNode);
        }
    }

    // A property line: a qualified name ("Font.Name") leads through gadgets and
    // sub-objects to the property set; an unknown "On..." name is an event.
    void ReadProperty(TComponent* Component, const formfile::Property& Property)
    {
        QObject* object = Component->AsQObject();
        if (object == nullptr)
            throw EFormFileError(Property.Line, QStringLiteral("Property %1 does not exist").arg(Property.Name));
        Target target = Target::Of(object);
        const QStringList parts = Property.Name.split(u'.');
        for (int i = 0; i < parts.size(); ++i) {
            const int index = target.Meta->indexOfProperty(parts[i].toLatin1().constData());
            if (index < 0 || index < PublishedPropertyOffset(target.Meta)) {
                if (parts.size() == 1 && parts[0].startsWith(QStringLiteral("On")) && Property.Data.Type == Value::Ident) {
                    vcl::BindEvent(Component, parts[0], Property.Data.Text, FRoot);
                    return;
                }
                throw EFormFileError(Property.Line, QStringLiteral("Property %1 does not exist").arg(Property.Name));
            }
            const QMetaProperty p = target.Meta->property(index);
            const QVariant current = target.Read(p);
            if (i + 1 < parts.size() && Descend(target, p, current))
                continue;
            Assign(target, p, current, parts.mid(i + 1), Property);
            return;
        }
    }

    // Moves T to the object a gadget or sub-object property holds; false for other kinds.
    static bool Descend(Target& T, const QMetaProperty& P, const QVariant& Current)
    {
        switch (KindOf(P, Current)) {
        case Kind::Gadget:
            // The gadget is reached through a pointer and changed in place.
            T = GadgetOf(Current);
            return true;
        case Kind::SubObject:
            if (QObject* sub = Current.value<QObject*>()) {
                T = Target::Of(sub);
                return true;
            }
            return false;
        default:
            return false;
        }
    }

    // Sets property P of T from the line's value; Rest is what the name has after P
    // ("Strings" in "Lines.Strings").
    void Assign(const Target& T, const QMetaProperty& P, const QVariant& Current, const QStringList& Rest,
        const formfile::Property& Property)
    {
        const Kind kind = KindOf(P, Current);
        if (kind == Kind::Strings && Rest == QStringList{QStringLiteral("Strings")}) {
            SetStrings(StringsOf(Current), Property);
        } else if (kind == Kind::Plain && Rest.isEmpty()) {
            SetPlain(T, P, Property);
        } else if (P.metaType().flags().testFlag(QMetaType::PointerToQObject) && Rest.isEmpty()
            && Property.Data.Type == Value::Ident) {
            // A reference (also one still null), resolved once every component exists.
            FFixups.push_back({T, P, Property.Data.Text, Property.Line});
        } else {
            throw EFormFileError(Property.Line, QStringLiteral("Invalid property value for %1").arg(Property.Name));
        }
    }

    static void SetStrings(TStrings* Strings, const formfile::Property& Property)
    {
        if (Strings == nullptr || Property.Data.Type != Value::List)
            throw EFormFileError(Property.Line, QStringLiteral("Invalid property value for %1").arg(Property.Name));
        QStringList lines;
        for (const Value& item : Property.Data.Items) {
            if (item.Type != Value::String)
                throw EFormFileError(item.Line, QStringLiteral("String expected"));
            lines.push_back(item.Text);
        }
        Strings->SetQStringList(lines);
    }

    // A refused value (an unknown name, a number out of range) raises EConvertError,
    // which Guard turns into an error of the property's line.
    static void SetPlain(const Target& T, const QMetaProperty& P, const formfile::Property& Property)
    {
        const QVariant v = formfile::FromValue(P, Property.Data);
        if (!P.isWritable() || !T.Write(P, v))
            throw EFormFileError(Property.Line, QStringLiteral("Invalid property value for %1").arg(Property.Name));
    }

    void ResolveReferences()
    {
        for (const Fixup& fixup : FFixups) {
            TComponent* target = FRoot->Name().compare(fixup.Name, Qt::CaseInsensitive) == 0
                ? FRoot
                : FRoot->FindComponent(fixup.Name);
            QObject* object = target != nullptr ? target->AsQObject() : nullptr;
            if (object == nullptr)
                throw EFormFileError(fixup.Line, QStringLiteral("Component %1 not found").arg(fixup.Name));
            QVariant v = QVariant::fromValue(object);
            if (!v.convert(fixup.Property.metaType()) || !fixup.Owner.Write(fixup.Property, v))
                throw EFormFileError(fixup.Line, QStringLiteral("Invalid property value for %1").arg(QString::fromLatin1(fixup.Property.name())));
        }
    }

    // Frees what this read created; the caller's instance stays, out of loading state.
    void Abandon()
    {
        if (FCreatedRoot != nullptr) {
            delete FCreatedRoot;
            return;
        }
        for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
            delete *it;
        if (FRoot != nullptr)
            FRoot->SetLoading(false);
    }

    struct Fixup {
        Target Owner;
        QMetaProperty Property;
        QString Name;
        int Line;
    };

    TComponent* FInstance;
    TComponent* FOwner;
    TComponent* FRoot = nullptr;
    TComponent* FCreatedRoot = nullptr;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<Fixup> FFixups;
};

} // namespace

QString ComponentToText(TComponent* Root)
{
    return Writer(Root).Write();
}

void WriteComponent(TStream& Stream, TComponent* Root)
{
    const QByteArray text = ComponentToText(Root).toUtf8();
    Stream.WriteBuffer(text.constData(), text.size());
}

TComponent* TextToComponent(const QString& Text, TComponent* Instance, TComponent* Owner)
{
    return Reader(Instance, Owner).Read(Text);
}

TComponent* ReadComponent(TStream& Stream, TComponent* Instance, TComponent* Owner)
{
    const QByteArray bytes = Stream.ReadBytes(Stream.Size() - Stream.Position());
    return TextToComponent(QString::fromUtf8(bytes), Instance, Owner);
}

bool InitInheritedComponent(TComponent* Instance, const QMetaObject* RootAncestor)
{
    QObject* object = Instance->AsQObject();
    if (object == nullptr)
        return false;
    std::vector<const QMetaObject*> chain;
    for (const QMetaObject* m = object->metaObject(); m != nullptr && m != RootAncestor; m = m->superClass())
        chain.insert(chain.begin(), m);
    bool found = false;
    for (const QMetaObject* m : chain) {
        QFile resource(QStringLiteral(":/forms/%1.qvform").arg(MetaClassName(m)));
        if (!resource.open(QIODevice::ReadOnly))
            continue;
        TextToComponent(QString::fromUtf8(resource.readAll()), Instance);
        found = true;
    }
    return found;
}

} // namespace vcl
