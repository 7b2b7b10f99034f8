#pragma once
// A component editor's verbs in Qt Designer: the entries of the widget's context menu
// (the task menu), each running the verb on the component; double-clicking the widget
// runs the editor's Edit.
#include <QtDesigner/QDesignerTaskMenuExtension>

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace Qvdesigner {

class TVerbTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    // Widget is a component's designer widget whose editor has verbs.
    TVerbTaskMenu(QWidget* Widget, QObject* Parent);

    QList<QAction*> taskActions() const override;
    QAction* preferredEditAction() const override;

private:
    QPointer<QWidget> FWidget;
    QList<QAction*> FVerbs;
    QAction* FEdit;
};

// A TVerbTaskMenu for Object when it is the widget of a component whose editor has
// verbs, or null.
QObject* CreateVerbTaskMenu(QObject* Object, QObject* Parent);

} // namespace Qvdesigner
