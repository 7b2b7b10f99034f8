#include "formdesigner.h"

#include <QtDesigner/QDesignerFormWindowInterface>

namespace Qvdesigner {

namespace {
const QString RootName = QStringLiteral("qvkit_form_root");
} // namespace

TFormRoot::TFormRoot(QObject* Parent)
    : QObject(Parent), TComponent(nullptr)
{
    setObjectName(RootName);
}

TFormDesigner::TFormDesigner(QWidget* Widget)
    : FWidget(Widget)
{
}

// The form's main container inside Designer; outside it (a test, a preview) the window.
QWidget* TFormDesigner::FormWidget() const
{
    if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(FWidget))
        return form->mainContainer();
    return FWidget->window();
}

vcl::TComponent* TFormDesigner::GetRoot()
{
    QWidget* form = FormWidget();
    if (auto* root = form->findChild<TFormRoot*>(RootName, Qt::FindDirectChildrenOnly))
        return root;
    return new TFormRoot(form);
}

// Unique among the root's components and the form's widgets: in Designer the panes an
// editor made belong to the form, not to the root.
QString TFormDesigner::UniqueName(const QString& BaseName)
{
    // Without a root the default gives the first candidate, "Pane1" for "TPane".
    const QString base = vcl::DefaultUniqueName(nullptr, BaseName).chopped(1);
    vcl::TComponent* root = GetRoot();
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (root->FindComponent(candidate) == nullptr && FormWidget()->findChild<QObject*>(candidate) == nullptr)
            return candidate;
    }
}

void TFormDesigner::SelectComponent(vcl::TComponent* Instance)
{
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(FWidget);
    auto* widget = qobject_cast<QWidget*>(Instance->AsQObject());
    if (form != nullptr && widget != nullptr && form->isManaged(widget))
        form->selectWidget(widget, true);
}

void TFormDesigner::Modified()
{
    if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(FWidget))
        form->setDirty(true);
}

} // namespace Qvdesigner
