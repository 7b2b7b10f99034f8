#include "panecontainer.h"

#include "layout/qvsplitterwindow.h"
#include "qvdesigner/componenthost.h"
#include "qvdesigner/panes.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerMetaDataBaseInterface>

namespace Qvdesigner {

using Qvsplitterwindow::TPane;

namespace {
// Pane (made by the window's editor as a plain pane) replaced by the designer class at
// the same place, with the same name and size.
QWidget* DesignerPane(QWidget* Window, QWidget* Pane)
{
    const TDesignerClass* designerClass = FindDesignerClass(vcl::ClassOf<TPane>());
    auto* pane = dynamic_cast<TPane*>(Pane);
    if (designerClass == nullptr || pane == nullptr || Pane->metaObject() == designerClass->WidgetClass)
        return Pane;
    const int index = pane->PaneIndex();
    const quint16 size = pane->PaneSize();
    const QString name = pane->Name();
    delete pane;
    auto* replacement = dynamic_cast<TPane*>(designerClass->Create(Window));
    AddPane(Window, replacement);
    replacement->SetPaneIndex(index);
    replacement->SetPaneSize(size);
    replacement->setObjectName(name);
    return replacement;
}
} // namespace

TPaneContainer::TPaneContainer(QWidget* Window, QObject* Parent)
    : QObject(Parent), FWindow(Window)
{
}

int TPaneContainer::count() const
{
    return int(PanesOf(FWindow).size());
}

QWidget* TPaneContainer::widget(int Index) const
{
    const QList<QWidget*> panes = PanesOf(FWindow);
    return Index >= 0 && Index < panes.size() ? panes.at(Index) : nullptr;
}

// All panes show at once; the current one is where Designer drops what is dragged onto
// the window.
int TPaneContainer::currentIndex() const
{
    return count() == 0 ? -1 : qBound(0, FCurrent, count() - 1);
}

void TPaneContainer::setCurrentIndex(int Index)
{
    FCurrent = Index;
}

void TPaneContainer::addWidget(QWidget* Page)
{
    AddPane(FWindow, Page);
}

void TPaneContainer::insertWidget(int Index, QWidget* Page)
{
    AddPane(FWindow, Page);
    if (auto* pane = dynamic_cast<TPane*>(Page); pane != nullptr && pane->SplitterWnd() != nullptr)
        pane->SetPaneIndex(qBound(0, Index, count() - 1));
}

// Designer keeps a removed page for undo: the pane leaves the window and stays alive.
void TPaneContainer::remove(int Index)
{
    if (auto* pane = dynamic_cast<TPane*>(widget(Index)))
        pane->SetSplitterWnd(nullptr);
}

QObject* CreatePaneContainer(QObject* Object, QObject* Parent)
{
    auto* widget = qobject_cast<QWidget*>(Object);
    if (widget == nullptr || SplitterWindowOf(widget) != widget)
        return nullptr;
    return new TPaneContainer(widget, Parent);
}

void AdoptNewPanes(QDesignerFormWindowInterface* Form, QWidget* Widget)
{
    QWidget* window = SplitterWindowOf(Widget);
    if (Form == nullptr || window == nullptr || !Form->isManaged(window))
        return;
    QDesignerMetaDataBaseInterface* known = Form->core()->metaDataBase();
    for (QWidget* pane : PanesOf(window)) {
        if (known->item(pane) != nullptr)
            continue;
        // As Designer does with the pages it adds to its own containers: the page is
        // known to the form's meta database (what the writer saves), not placed on it.
        QWidget* adopted = DesignerPane(window, pane);
        known->add(adopted);
        Form->emitSelectionChanged();
    }
}

} // namespace Qvdesigner
