#pragma once
// Class references ("class of TComponent") and the registry that creates components
// by class name when a form file is read.
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QString>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace vcl {

// What the original language's class reference gives: the class's name, its ancestry
// and a way to create an instance with an owner. One static record per class.
struct TComponentClassInfo {
    const QMetaObject* MetaObject;
    // Null for abstract classes.
    TComponent* (*Create)(TComponent* Owner);

    // The class name without namespaces ("TqvCalc").
    QString ClassName() const;
    // True when this class is Ancestor or derives from it.
    bool InheritsFrom(const TComponentClassInfo* Ancestor) const;
};

using TComponentClass = const TComponentClassInfo*;

// The class reference of T, a QObject-based component class with a T(TComponent*) constructor.
template <class T>
TComponentClass ClassOf()
{
    static_assert(std::is_base_of_v<TComponent, T>, "a component class");
    static const TComponentClassInfo info{&T::staticMetaObject, [] {
        if constexpr (std::is_abstract_v<T>)
            return static_cast<TComponent* (*)(TComponent*)>(nullptr);
        else
            return +[](TComponent* Owner) -> TComponent* { return new T(Owner); };
    }()};
    return &info;
}

// The class reference of a component instance, when its class was registered for
// streaming or on a palette page; null otherwise.
TComponentClass ClassOfInstance(const TComponent* Instance);

// The class name of a QMetaObject without namespaces.
QString MetaClassName(const QMetaObject* Meta);

// Index of the first published property of Meta: the first declared by a QvKit class
// of its ancestry (Qt's own classes, QObject and QWidget, publish nothing).
int PublishedPropertyOffset(const QMetaObject* Meta);

// The published properties of Meta in declaration order, ancestors first; a property
// that a descendant declares again (to give it another default or STORED rule) is
// listed once, as the descendant declares it.
std::vector<QMetaProperty> PublishedProperties(const QMetaObject* Meta);

// A colour property is one of type TColor; it is shown and stored by colour name.
bool IsColorProperty(const QMetaProperty& Property);

// Makes classes known to the form-file reader. Registering a class twice is harmless;
// two different classes with one name raise EComponentError.
void RegisterClass(TComponentClass AClass);
void RegisterClasses(std::initializer_list<TComponentClass> Classes);
void UnRegisterClass(TComponentClass AClass);
// Every registered class, in registration order.
std::vector<TComponentClass> RegisteredClasses();
// The registered class of this name (case-insensitive), or null.
TComponentClass GetClass(const QString& ClassName);
// As GetClass, but raises EClassNotFound "Class X not found".
TComponentClass FindClass(const QString& ClassName);

class EClassNotFound : public EComponentError { public: using EComponentError::EComponentError; };

} // namespace vcl
