#include "verbtaskmenu.h"

#include "formdesigner.h"
#include "panecontainer.h"
#include "qvdesigner/componenthost.h"
#include "vcl/core/sysutils.h"

#include <QAction>
#include <QMessageBox>
#include <QtDesigner/QDesignerFormWindowInterface>

namespace Qvdesigner {

namespace {
// Runs Action with a fresh editor for the widget's component (an editor holds no state
// between verbs). An editor's failure is shown to the person designing; outside Designer
// (no form window, no one to show it to) it goes to the log.
template <class F>
void RunEditor(QWidget* Widget, F&& Action)
{
    if (Widget == nullptr)
        return;
    TFormDesigner designer(Widget);
    try {
        Action(*vcl::GetComponentEditor(ComponentOf(Widget), &designer));
        AdoptNewPanes(QDesignerFormWindowInterface::findFormWindow(Widget), Widget);
    } catch (const vcl::Exception& e) {
        if (QDesignerFormWindowInterface::findFormWindow(Widget) != nullptr)
            QMessageBox::warning(Widget->window(), QStringLiteral("QvKit"), e.Message());
        else
            qWarning("QvKit component editor: %s", qUtf8Printable(e.Message()));
    }
}
} // namespace

TVerbTaskMenu::TVerbTaskMenu(QWidget* Widget, QObject* Parent)
    : QObject(Parent), FWidget(Widget), FEdit(new QAction(QStringLiteral("Edit"), this))
{
    TFormDesigner designer(Widget);
    const std::unique_ptr<vcl::TComponentEditor> editor = vcl::GetComponentEditor(ComponentOf(Widget), &designer);
    for (int i = 0; i < editor->GetVerbCount(); ++i) {
        auto* action = new QAction(editor->GetVerb(i), this);
        connect(action, &QAction::triggered, this,
            [this, i] { RunEditor(FWidget, [i](vcl::TComponentEditor& e) { e.ExecuteVerb(i); }); });
        FVerbs << action;
    }
    connect(FEdit, &QAction::triggered, this, [this] { RunEditor(FWidget, [](vcl::TComponentEditor& e) { e.Edit(); }); });
}

QList<QAction*> TVerbTaskMenu::taskActions() const
{
    return FVerbs;
}

QAction* TVerbTaskMenu::preferredEditAction() const
{
    return FEdit;
}

QObject* CreateVerbTaskMenu(QObject* Object, QObject* Parent)
{
    auto* widget = qobject_cast<QWidget*>(Object);
    vcl::TComponent* component = ComponentOf(Object);
    if (widget == nullptr || component == nullptr)
        return nullptr;
    TFormDesigner designer(widget);
    if (vcl::GetComponentEditor(component, &designer)->GetVerbCount() == 0)
        return nullptr;
    return new TVerbTaskMenu(widget, Parent);
}

} // namespace Qvdesigner
