#pragma once
// Form files: the text format of nested "object Name: TClass ... end" blocks in which
// components and their published properties are stored, written from and read into
// components through Qt's meta-object system.
//
//   object Form1: TForm
//     Caption = 'Main window'
//     Font.Name = 'DejaVu Sans'
//     Lines.Strings = (
//       'first'
//       'second')
//     Font.Style = [fsBold, fsItalic]
//     Color = clBtnFace
//     Align = alClient
//     OnClick = FormClick
//     object Button1: TButton
//       Left = 8
//     end
//   end
//
// A published property is a Q_PROPERTY declared by a QvKit class (Qt's own properties
// are not stored). A property is not written when it is not STORED (or the method that
// Q_CLASSINFO("Stored:<Property>", "<method>") names answers false), when it equals the
// default declared with Q_CLASSINFO("Default:<Property>", "<value in form syntax>"), or,
// without a declared default, when it is an empty string. Enumerations (Q_ENUM) are
// written by name, sets (Q_FLAG) as lists of names and TColor properties by colour
// name or as $00BBGGRR (propertyvalue.h holds the conversion). Events are published
// with RegisterEvent and bound by method name.
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <QString>
#include <QStringList>
#include <any>
#include <functional>
#include <type_traits>

class QMetaObject;

namespace vcl {

class TStream;

// A form file that cannot be read; the message starts with the line number.
class EFormFileError : public EReadError {
public:
    EFormFileError(int Line, const QString& Message);
    int Line() const { return FLine; }

private:
    int FLine;
};

// The root of a form (usually the form itself) implements this so that the reader can
// bind event properties ("OnClick = Button1Click") to the root's handlers by name.
class IMethodProvider {
public:
    virtual ~IMethodProvider() = default;
    // The handler published under Name as a std::function of the event's exact type
    // (for example TNotifyEvent), or an empty std::any when there is none.
    virtual std::any MethodAddress(const QString& Name) const = 0;
    // The names MethodAddress knows, for a designer to offer.
    virtual QStringList MethodNames() const { return {}; }
};

// The form-file text of Root, everything it owns and its children.
QString ComponentToText(TComponent* Root);
// Writes the form file of Root as UTF-8 text.
void WriteComponent(TStream& Stream, TComponent* Root);

// Reads a form file into Instance (the root), creating its components by registered
// class name. With a null Instance the root is created from its class name with
// Owner as owner. While reading, every component is csLoading; afterwards Loaded runs
// once per component. On an error nothing created by the read survives and
// EFormFileError names the line.
TComponent* TextToComponent(const QString& Text, TComponent* Instance, TComponent* Owner = nullptr);
TComponent* ReadComponent(TStream& Stream, TComponent* Instance, TComponent* Owner = nullptr);

// Loads the stored layout of Instance's class into Instance: the compiled-in resource
// ":/forms/<ClassName>.qvform" of each class from RootAncestor's child class down to
// Instance's own class, ancestors first. Returns false when no class has a layout.
bool InitInheritedComponent(TComponent* Instance, const QMetaObject* RootAncestor);

// Event properties: publishes the std::function member Member (of Publisher or an
// ancestor) under its event name on Publisher and its descendants, so that form files
// can bind and store it. Returns true (for use in a static initialiser:
// `static const bool reg = RegisterEvent<TButton>(&TControl::OnClick, "OnClick");`).
template <class Publisher, class T, class F>
bool RegisterEvent(F T::*Member, const char* Name);
// The same for a member of the publishing class itself.
template <class T, class F>
bool RegisterEvent(F T::*Member, const char* Name)
{
    return RegisterEvent<T, T, F>(Member, Name);
}

// The events published on Class and its ancestors, ancestors' first.
QStringList PublishedEvents(const QMetaObject* Class);
// Binds event Event of Component to the method Method of Root (an IMethodProvider), and
// remembers the name so that the form file stores it; an empty Method unbinds. Raises
// EComponentError when there is no such event or method or the method does not fit.
void BindEvent(TComponent* Component, const QString& Event, const QString& Method, TComponent* Root);
// The name of the method Event of Component is bound to (empty: none).
QString BoundMethod(TComponent* Component, const QString& Event);

namespace detail {
struct EventAccessor {
    const QMetaObject* Class;
    QString Name;
    // Assigns the handler held in the std::any (an empty std::any clears the event);
    // false when its type does not match.
    std::function<bool(TComponent* Instance, const std::any& Handler)> Assign;
};
void AddEventAccessor(EventAccessor Accessor);
} // namespace detail

template <class Publisher, class T, class F>
bool RegisterEvent(F T::*Member, const char* Name)
{
    static_assert(std::is_base_of_v<T, Publisher>, "the event is a member of the publisher or an ancestor");
    detail::AddEventAccessor({&Publisher::staticMetaObject, QString::fromLatin1(Name),
        [Member](TComponent* Instance, const std::any& Handler) {
            auto* object = dynamic_cast<T*>(Instance);
            if (object == nullptr)
                return false;
            if (!Handler.has_value()) {
                object->*Member = F();
                return true;
            }
            const F* handler = std::any_cast<F>(&Handler);
            if (handler == nullptr)
                return false;
            object->*Member = *handler;
            return true;
        }});
    return true;
}

} // namespace vcl
