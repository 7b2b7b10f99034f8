#pragma once
// The widgets that stand for QvKit components in Qt Designer, in QUiLoader and in code
// that uic generates: a non-visual component (a TComponent that is no control) lives
// inside a small icon widget that creates it, owns it and forwards its published
// properties; a control is its own widget and only needs its parent widget set.
#include "vcl/core/classes.h"
#include "vcl/streaming/classregistry.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <vector>

namespace vcl {
class TForm;
} // namespace vcl

class QPainter;

namespace Qvdesigner {

class TComponentHost : public QWidget {
    Q_OBJECT
public:
    // Creates an instance of ComponentClass with no owner, or, for a component that must
    // be owned by a form (a caption painter, a tray icon), owned by a hidden form of the
    // host's own; the host frees it.
    TComponentHost(vcl::TComponentClass ComponentClass, QWidget* Parent);
    ~TComponentHost() override;

    vcl::TComponent* Component() const { return FComponent; }
    QSize sizeHint() const override;

protected:
    // The forwarded properties of the generated host classes: a property of the
    // component, or, with a Holder, of the object its property Holder holds.
    QVariant ReadForwarded(const char* Property, const char* Holder) const;
    void WriteForwarded(const char* Property, const char* Holder, const QVariant& Value);

    void paintEvent(QPaintEvent* Event) override;

private:
    QObject* Target(const char* Holder) const;

    std::unique_ptr<vcl::TForm> FStandInForm;
    vcl::TComponent* FComponent;
};

// The component a designer widget stands for: the host's component, the control itself,
// or null for any other object.
vcl::TComponent* ComponentOf(QObject* Object);

// Makes a control created by a generated class a child of Parent: through the framework
// when Parent is a windowed control, as a plain child widget otherwise.
void PlaceControl(QWidget* Control, QWidget* Parent);

// Colours as Designer's property editor shows them: a TColor value as a QColor (a system
// colour resolved to its value) and a QColor as a TColor value.
QColor DesignColor(const QVariant& Color);
QVariant ComponentColor(const QColor& Color);
// Fonts as Designer's property editor shows them. Font holds the component's TFont*;
// DesignFont gives its family, size in points and styles, AssignDesignFont writes the
// attributes Value has set into that TFont (its colour, pitch and charset stay).
QFont DesignFont(const QVariant& Font);
void AssignDesignFont(const QVariant& Font, const QFont& Value);
// Property Name of Object as the class Base declares it (the generated classes declare
// some properties again, under other types).
QVariant ReadBaseProperty(const QObject* Object, const QMetaObject& Base, const char* Name);
void WriteBaseProperty(QObject* Object, const QMetaObject& Base, const char* Name, const QVariant& Value);

// The tile that shows a component in Designer's widget box (Visual: a control) and on a
// host: a gradient square with a white centre.
void PaintComponentTile(QPainter& Painter, const QRect& Tile, bool Visual);

// The size of a new control in a form when it has no size hint of its own: most of the
// package's controls show their face at it.
inline constexpr QSize DesignControlSize(160, 80);

// A widget class made for a palette class by the build (qvdesigner/widgets.h): the
// component class it stands for, its own meta-object and how to create it.
struct TDesignerClass {
    vcl::TComponentClass ComponentClass;
    const QMetaObject* WidgetClass;
    QWidget* (*Create)(QWidget* Parent);
};

// Every generated widget class: the palette classes in palette order, then the package's
// other registered controls (a splitter window's panes).
const std::vector<TDesignerClass>& DesignerClasses();
// The generated class standing for ComponentClass, or null.
const TDesignerClass* FindDesignerClass(vcl::TComponentClass ComponentClass);

} // namespace Qvdesigner
