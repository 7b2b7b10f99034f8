#include "vcl/streaming/classregistry.h"

#include "vcl/core/sysutils.h"

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

bool IsColorProperty(const QMetaProperty& Property)
{
    const int type = Property.metaType().id();
    return QByteArray(Property.name()).contains("Color") && (type == QMetaType::Int || type == QMetaType::UInt);
}

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
