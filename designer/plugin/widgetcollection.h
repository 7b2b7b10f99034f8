#pragma once
// The plugin Qt Designer and QUiLoader load: one widget-box entry for every class on the
// package's palette, grouped by palette page in page order, read from the registries
// that loading the package fills; then, out of the widget box, the package's other
// registered controls (a splitter window's panes), so forms holding them load.
#include "qvdesigner/componenthost.h"

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>
#include <QSet>

class QDesignerFormEditorInterface;

namespace Qvdesigner {

class TWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit TWidgetCollection(QObject* Parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

    // The widget-box group of a palette page: the caption without its angle brackets,
    // "&&" shown as "&" ("<Velnor Software List && Combos>" -> "Velnor Software List & Combos").
    static QString GroupOfPage(const QString& Caption);

private:
    static bool OnPalette(vcl::TComponentClass Class);
    void AddEntry(const TDesignerClass& Class, const QString& Group, bool OnPalette);
    // Adds the component editors' verbs to the task menus of Core's forms (once per core).
    void RegisterExtensions(QDesignerFormEditorInterface* Core);

    QList<QDesignerCustomWidgetInterface*> FWidgets;
    QSet<QDesignerFormEditorInterface*> FCores;
};

} // namespace Qvdesigner
