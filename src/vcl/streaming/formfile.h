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
//     Style = [fsBold, fsItalic]
//     OnClick = FormClick
//     object Button1: TButton
//       Left = 8
//     end
//   end
//
// A published property is a Q_PROPERTY declared by a QvKit class (Qt's own properties
// are not stored). A property is not written when it is not STORED, when it equals the
// default declared with Q_CLASSINFO("Default:<Property>", "<value in form syntax>"), or,
// without a declared default, when it is an empty string. Integer properties whose
// name ends in "Color" are colours and are written by name where they have one.
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <QString>
#include <any>
#include <functional>

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

// Event properties: registers the std::function member Member of class T under its
// event name so that form files can bind and store it. Returns true (for use in a
// static initialiser: `static const bool reg = RegisterEvent(&TButton::OnClick, "OnClick");`).
template <class T, class F>
bool RegisterEvent(F T::*Member, const char* Name);

namespace detail {
struct EventAccessor {
    const QMetaObject* Class;
    QString Name;
    // Assigns the handler held in the std::any; false when its type does not match.
    std::function<bool(TComponent* Instance, const std::any& Handler)> Assign;
};
void AddEventAccessor(EventAccessor Accessor);
} // namespace detail

template <class T, class F>
bool RegisterEvent(F T::*Member, const char* Name)
{
    detail::AddEventAccessor({&T::staticMetaObject, QString::fromLatin1(Name),
        [Member](TComponent* Instance, const std::any& Handler) {
            const F* handler = std::any_cast<F>(&Handler);
            auto* object = dynamic_cast<T*>(Instance);
            if (handler == nullptr || object == nullptr)
                return false;
            object->*Member = *handler;
            return true;
        }});
    return true;
}

} // namespace vcl
