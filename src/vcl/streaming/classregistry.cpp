#include "vcl/streaming/classregistry.h"

#include "vcl/core/sysutils.h"
#include "vcl/graphics/colors.h"

#include <QObject>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace vcl {

namespace {

struct ClassTable {
    std::mutex Lock;
    std::vector<TComponentClass> Classes;
};

ClassTable& Table()
{
    static ClassTable table;
    return table;
}

} // namespace

QString MetaClassName(const QMetaObject* Meta)
{
    const QString full = QString::fromLatin1(Meta->className());
    const int colon = full.lastIndexOf(QLatin1String("::"));
    return colon >= 0 ? full.mid(colon + 2) : full;
}

static bool IsQtClass(const QMetaObject* Meta)
{
    const char* name = Meta->className();
    return name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z' && std::strstr(name, "::") == nullptr;
}

int PublishedPropertyOffset(const QMetaObject* Meta)
{
    const QMetaObject* first = Meta;
    for (const QMetaObject* m = Meta; m != nullptr && !IsQtClass(m); m = m->superClass())
        first = m;
    return IsQtClass(first) ? first->propertyCount() : first->propertyOffset();
}

std::vector<QMetaProperty> PublishedProperties(const QMetaObject* Meta)
{
    std::vector<QMetaProperty> properties;
    for (int i = PublishedPropertyOffset(Meta); i < Meta->propertyCount(); ++i)
        if (Meta->indexOfProperty(Meta->property(i).name()) == i)
            properties.push_back(Meta->property(i));
    return properties;
}

bool IsColorProperty(const QMetaProperty& Property)
{
    return Property.metaType() == QMetaType::fromType<TColor>();
}

namespace {
// Lets a TColor property take an int (QObject::setProperty("Color", 255)) and a colour
// be read with QVariant::toInt, as with the plain integers colours used to be.
const bool ColorConvertersRegistered = [] {
    QMetaType::registerConverter<TColor, int>([](TColor c) { return int(c); });
    QMetaType::registerConverter<int, TColor>([](int v) { return TColor(v); });
    return true;
}();
} // namespace

QString TComponentClassInfo::ClassName() const
{
    return MetaClassName(MetaObject);
}

bool TComponentClassInfo::InheritsFrom(const TComponentClassInfo* Ancestor) const
{
    return Ancestor != nullptr && MetaObject->inherits(Ancestor->MetaObject);
}

void RegisterClass(TComponentClass AClass)
{
    ClassTable& table = Table();
    std::lock_guard guard(table.Lock);
    for (TComponentClass known : table.Classes) {
        if (known->MetaObject == AClass->MetaObject)
            return;
        if (known->ClassName().compare(AClass->ClassName(), Qt::CaseInsensitive) == 0)
            throw EComponentError(QStringLiteral("A class named %1 already exists").arg(AClass->ClassName()));
    }
    table.Classes.push_back(AClass);
}

void RegisterClasses(std::initializer_list<TComponentClass> Classes)
{
    for (TComponentClass c : Classes)
        RegisterClass(c);
}

void UnRegisterClass(TComponentClass AClass)
{
    ClassTable& table = Table();
    std::lock_guard guard(table.Lock);
    auto& list = table.Classes;
    list.erase(std::remove_if(list.begin(), list.end(),
                   [&](TComponentClass c) { return c->MetaObject == AClass->MetaObject; }),
        list.end());
}

std::vector<TComponentClass> RegisteredClasses()
{
    ClassTable& table = Table();
    std::lock_guard guard(table.Lock);
    return table.Classes;
}

TComponentClass GetClass(const QString& ClassName)
{
    ClassTable& table = Table();
    std::lock_guard guard(table.Lock);
    for (TComponentClass c : table.Classes)
        if (c->ClassName().compare(ClassName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

TComponentClass FindClass(const QString& ClassName)
{
    TComponentClass c = GetClass(ClassName);
    if (c == nullptr)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(ClassName));
    return c;
}

TComponentClass ClassOfInstance(const TComponent* Instance)
{
    const QObject* object = Instance != nullptr ? Instance->AsQObject() : nullptr;
    if (object == nullptr)
        return nullptr;
    ClassTable& table = Table();
    std::lock_guard guard(table.Lock);
    for (TComponentClass c : table.Classes)
        if (c->MetaObject == object->metaObject())
            return c;
    return nullptr;
}

} // namespace vcl
