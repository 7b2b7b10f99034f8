#pragma once
// Qt Designer's own form editor in this process, made through its public API: the core
// with the plugins on the plugin path (ours included), an integration, and form windows
// to place widgets on. Designer's settings go to a temporary folder of the session's own.
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

class QDesignerFormEditorInterface;
class QDesignerFormWindowInterface;
class QDesignerTaskMenuExtension;
class QWidget;

namespace Qvdesignertest {

class TDesignerSession {
public:
    // PluginDir is the folder holding the "designer" folder with the plugin in it.
    explicit TDesignerSession(const QString& PluginDir);
    ~TDesignerSession();

    QDesignerFormEditorInterface* Core() const { return FCore; }
    // Whether Designer's widget database holds the plugin's classes.
    bool PluginLoaded() const;

    // A new form window of the manager holding an empty form named Name.
    QDesignerFormWindowInterface* NewForm(const QString& Name, const QSize& Size);
    // Places a widget of ClassName on Form's main container as dropping it from the widget
    // box does: made by Designer's widget factory, named and placed through its property
    // sheet, managed by the form.
    QWidget* Place(QDesignerFormWindowInterface* Form, const QString& ClassName, const QString& Name,
        const QRect& Geometry);
    // Sets a property as Designer's property editor does (so the form saves it).
    static void SetProperty(QDesignerFormEditorInterface* Core, QWidget* Widget, const QString& Name,
        const QVariant& Value);
    void SetProperty(QWidget* Widget, const QString& Name, const QVariant& Value) { SetProperty(FCore, Widget, Name, Value); }
    // The task menu Designer shows for Widget (ours), or null.
    QDesignerTaskMenuExtension* TaskMenu(QWidget* Widget) const;

private:
    QTemporaryDir FSettings;
    QDesignerFormEditorInterface* FCore = nullptr;
};

} // namespace Qvdesignertest
