#include "vcl/streaming/formfile.h"

#include "vcl/core/streams.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/colors.h"
#include "vcl/streaming/classregistry.h"
#include "vcl/streaming/formtree.h"

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

namespace {
std::mutex& EventLock()
{
    static std::mutex lock;
    return lock;
}
std::vector<EventAccessor>& Events()
{
    static std::vector<EventAccessor> events;
    return events;
}
} // namespace

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

Kind KindOf(const QMetaType& Type, const QVariant& V)
{
    if (Type == QMetaType::fromType<TStrings*>() || Type == QMetaType::fromType<TStringList*>())
        return Kind::Strings;
    if (Type.flags().testFlag(QMetaType::PointerToGadget))
        return Kind::Gadget;
    if (Type.flags().testFlag(QMetaType::PointerToQObject)) {
        QObject* object = V.value<QObject*>();
        return dynamic_cast<TComponent*>(object) != nullptr ? Kind::Reference : Kind::SubObject;
    }
    if (Type == QMetaType::fromType<long double>())
        return Kind::Plain;
    switch (Type.id()) {
    case QMetaType::Bool: case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar:
    case QMetaType::UChar: case QMetaType::Double: case QMetaType::Float: case QMetaType::QString:
    case QMetaType::QStringList: case QMetaType::QByteArray:
        return Kind::Plain;
    default:
        return Type.flags().testFlag(QMetaType::IsEnumeration) ? Kind::Plain : Kind::Unsupported;
    }
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
        for (int i = PublishedPropertyOffset(T.Meta); i < T.Meta->propertyCount(); ++i) {
            const QMetaProperty p = T.Meta->property(i);
            // A component's own name is written in its "object" line.
            if (!p.isStored() || (Prefix.isEmpty() && !T.Gadget && qstrcmp(p.name(), "Name") == 0))
                continue;
            const QVariant v = T.Read(p);
            const QString name = Prefix + QString::fromLatin1(p.name());
            switch (KindOf(p.metaType(), v)) {
            case Kind::Plain: {
                if (!p.isWritable())
                    break;
                Value value;
                if (!ToValue(p, v, value))
                    break;
                const QString text = formfile::Render(value, Indent);
                if (IsDefault(T.Meta, p.name(), value, text))
                    break;
                Line(Indent, name + QStringLiteral(" = ") + text);
                break;
            }
            case Kind::Strings: {
                TStrings* strings = StringsOf(v);
                if (strings == nullptr || strings->Count() == 0)
                    break;
                Value list;
                list.Type = Value::List;
                for (int s = 0; s < strings->Count(); ++s) {
                    Value item;
                    item.Type = Value::String;
                    item.Text = strings->Strings(s);
                    list.Items.push_back(item);
                }
                Line(Indent, name + QStringLiteral(".Strings = ") + formfile::Render(list, Indent));
                break;
            }
            case Kind::Gadget:
                if (v.constData() != nullptr && *static_cast<void* const*>(v.constData()) != nullptr)
                    WriteProperties(GadgetOf(v), name + u'.', Indent);
                break;
            case Kind::SubObject:
                if (QObject* sub = v.value<QObject*>())
                    WriteProperties(Target::Of(sub), name + u'.', Indent);
                break;
            case Kind::Reference:
                if (auto* ref = dynamic_cast<TComponent*>(v.value<QObject*>()))
                    Line(Indent, name + QStringLiteral(" = ") + ReferenceName(ref));
                break;
            case Kind::Unsupported:
                break;
            }
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

    static bool ToValue(const QMetaProperty& P, const QVariant& V, Value& Out)
    {
        if (P.isFlagType()) {
            Out.Type = Value::Set;
            const int bits = V.toInt();
            if (bits != 0) {
                const QByteArray keys = P.enumerator().valueToKeys(bits);
                for (const QByteArray& key : keys.split('|'))
                    Out.Names.push_back(QString::fromLatin1(key));
            }
            return true;
        }
        if (P.isEnumType()) {
            const char* key = P.enumerator().valueToKey(V.toInt());
            if (key != nullptr) {
                Out.Type = Value::Ident;
                Out.Text = QString::fromLatin1(key);
            } else {
                Out.Type = Value::Integer;
                Out.IntValue = V.toInt();
            }
            return true;
        }
        if (P.metaType() == QMetaType::fromType<long double>()) {
            Out.Type = Value::Float;
            Out.FloatValue = V.value<long double>();
            return true;
        }
        switch (P.metaType().id()) {
        case QMetaType::Bool:
            Out.Type = Value::Ident;
            Out.Text = V.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            return true;
        case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
        case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar: case QMetaType::UChar: {
            QString ident;
            if (IsColorProperty(P) && ColorToIdent(TColor(V.toInt()), ident)) {
                Out.Type = Value::Ident;
                Out.Text = ident;
            } else {
                Out.Type = Value::Integer;
                Out.IntValue = V.toLongLong();
            }
            return true;
        }
        case QMetaType::Double: case QMetaType::Float:
            Out.Type = Value::Float;
            Out.FloatValue = V.toDouble();
            return true;
        case QMetaType::QString:
            Out.Type = Value::String;
            Out.Text = V.toString();
            return true;
        case QMetaType::QStringList:
            Out.Type = Value::List;
            for (const QString& s : V.toStringList()) {
                Value item;
                item.Type = Value::String;
                item.Text = s;
                Out.Items.push_back(item);
            }
            return true;
        case QMetaType::QByteArray:
            Out.Type = Value::Binary;
            Out.Bytes = V.toByteArray();
            return true;
        default:
            return false;
        }
    }

    static bool IsDefault(const QMetaObject* Meta, const char* Name, const Value& V, const QString& Text)
    {
        const int info = Meta->indexOfClassInfo(QByteArray("Default:") + Name);
        if (info < 0) {
            // Without a declared default, empty texts, lists and data are not written.
            return (V.Type == Value::String && V.Text.isEmpty()) || (V.Type == Value::List && V.Items.empty())
                || (V.Type == Value::Binary && V.Bytes.isEmpty());
        }
        const QString declared = QString::fromUtf8(Meta->classInfo(info).value()).trimmed();
        if (declared == Text)
            return true;
        // The declared default may be spelled differently ("$FF", "true"): compare parsed.
        try {
            const formfile::Object probe = formfile::Parse(QStringLiteral("object X: T\n P = %1\nend").arg(declared));
            const Value& d = probe.Properties.at(0).Data;
            return formfile::Render(d, 0).compare(Text, Qt::CaseInsensitive) == 0;
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

    void ReadProperty(TComponent* Component, const formfile::Property& Property)
    {
        QObject* object = Component->AsQObject();
        if (object == nullptr)
            throw EFormFileError(Property.Line, QStringLiteral("Property %1 does not exist").arg(Property.Name));
        Target target = Target::Of(object);
        const QStringList parts = Property.Name.split(u'.');
        for (int i = 0; i < parts.size(); ++i) {
            const QString& part = parts[i];
            const bool last = i == parts.size() - 1;
            const int index = target.Meta->indexOfProperty(part.toLatin1().constData());
            if (index < 0 || index < PublishedPropertyOffset(target.Meta)) {
                if (last && i == 0 && part.startsWith(QStringLiteral("On")) && Property.Data.Type == Value::Ident) {
                    BindEvent(Component, part, Property);
                    return;
                }
                throw EFormFileError(Property.Line, QStringLiteral("Property %1 does not exist").arg(Property.Name));
            }
            const QMetaProperty p = target.Meta->property(index);
            const QVariant current = target.Read(p);
            switch (KindOf(p.metaType(), current)) {
            case Kind::Strings:
                if (i + 2 == parts.size() && parts[i + 1] == QStringLiteral("Strings")) {
                    SetStrings(StringsOf(current), Property);
                    return;
                }
                break;
            case Kind::Gadget:
                if (!last) {
                    // The gadget is reached through a pointer and changed in place.
                    target = GadgetOf(current);
                    continue;
                }
                break;
            case Kind::SubObject:
                if (!last && current.value<QObject*>() != nullptr) {
                    target = Target::Of(current.value<QObject*>());
                    continue;
                }
                break;
            case Kind::Reference:
                if (last && Property.Data.Type == Value::Ident) {
                    FFixups.push_back({target, p, Property.Data.Text, Property.Line});
                    return;
                }
                break;
            case Kind::Plain:
                if (last) {
                    SetPlain(target, p, Property);
                    return;
                }
                break;
            case Kind::Unsupported:
                break;
            }
            if (p.metaType().flags().testFlag(QMetaType::PointerToQObject) && last && Property.Data.Type == Value::Ident) {
                // A reference property that is still null.
                FFixups.push_back({target, p, Property.Data.Text, Property.Line});
                return;
            }
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

    void SetPlain(const Target& T, const QMetaProperty& P, const formfile::Property& Property)
    {
        QVariant v;
        if (!FromValue(P, Property.Data, v) || !P.isWritable() || !T.Write(P, v))
            throw EFormFileError(Property.Line, QStringLiteral("Invalid property value for %1").arg(Property.Name));
    }

    static bool FromValue(const QMetaProperty& P, const Value& V, QVariant& Out)
    {
        if (P.isFlagType()) {
            if (V.Type == Value::Integer) {
                Out = int(V.IntValue);
                return true;
            }
            if (V.Type != Value::Set)
                return false;
            int bits = 0;
            for (const QString& name : V.Names) {
                bool ok = false;
                const int bit = P.enumerator().keyToValue(name.toLatin1().constData(), &ok);
                if (!ok)
                    return false;
                bits |= bit;
            }
            Out = bits;
            return true;
        }
        if (P.isEnumType()) {
            if (V.Type == Value::Integer) {
                Out = int(V.IntValue);
                return true;
            }
            if (V.Type != Value::Ident)
                return false;
            bool ok = false;
            const int value = P.enumerator().keyToValue(V.Text.toLatin1().constData(), &ok);
            Out = value;
            return ok;
        }
        if (P.metaType() == QMetaType::fromType<long double>()) {
            if (V.Type != Value::Float && V.Type != Value::Integer)
                return false;
            Out = QVariant::fromValue(V.Type == Value::Float ? V.FloatValue : static_cast<long double>(V.IntValue));
            return true;
        }
        switch (P.metaType().id()) {
        case QMetaType::Bool:
            if (V.Type != Value::Ident)
                return false;
            if (V.Text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
                Out = true;
            else if (V.Text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
                Out = false;
            else
                return false;
            return true;
        case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
        case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar: case QMetaType::UChar: {
            if (V.Type == Value::Integer) {
                // A value the property's type cannot hold is refused, not cut.
                Out = QVariant::fromValue(V.IntValue);
                if (!Out.convert(P.metaType()) || Out.toLongLong() != V.IntValue)
                    return false;
                return true;
            }
            TColor color = 0;
            if (V.Type == Value::Ident && IsColorProperty(P) && IdentToColor(V.Text, color)) {
                Out = int(color);
                return true;
            }
            return false;
        }
        case QMetaType::Double: case QMetaType::Float:
            if (V.Type == Value::Float)
                Out = double(V.FloatValue);
            else if (V.Type == Value::Integer)
                Out = double(V.IntValue);
            else
                return false;
            return true;
        case QMetaType::QString:
            if (V.Type != Value::String)
                return false;
            Out = V.Text;
            return true;
        case QMetaType::QStringList: {
            if (V.Type != Value::List)
                return false;
            QStringList list;
            for (const Value& item : V.Items) {
                if (item.Type != Value::String)
                    return false;
                list.push_back(item.Text);
            }
            Out = list;
            return true;
        }
        case QMetaType::QByteArray:
            if (V.Type != Value::Binary)
                return false;
            Out = V.Bytes;
            return true;
        default:
            return false;
        }
    }

    void BindEvent(TComponent* Component, const QString& Event, const formfile::Property& Property)
    {
        QObject* object = Component->AsQObject();
        const detail::EventAccessor* accessor = detail::FindEventAccessor(object->metaObject(), Event);
        if (accessor == nullptr)
            throw EFormFileError(Property.Line, QStringLiteral("Property %1 does not exist").arg(Event));
        auto* provider = dynamic_cast<IMethodProvider*>(FRoot);
        const std::any handler = provider != nullptr ? provider->MethodAddress(Property.Data.Text) : std::any();
        if (!handler.has_value())
            throw EFormFileError(Property.Line, QStringLiteral("Method %1 not found").arg(Property.Data.Text));
        if (!accessor->Assign(Component, handler))
            throw EFormFileError(Property.Line, QStringLiteral("Method %1 does not fit event %2").arg(Property.Data.Text, Event));
        object->setProperty(EventTag(accessor->Name).constData(), Property.Data.Text);
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
