#include "widgetcollection.h"

#include "componentwidget.h"
#include "extensionfactory.h"
#include "package/package.h"
#include "panecontainer.h"
#include "verbtaskmenu.h"
#include "vcl/streaming/designintf.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

#include <algorithm>

namespace Qvdesigner {

TWidgetCollection::TWidgetCollection(QObject* Parent)
    : QObject(Parent)
{
    // An application that loaded the package itself (and then QUiLoader loads this
    // plugin) keeps its registries; loading them twice would list every class twice.
    if (vcl::PalettePages().empty())
        Package::LoadPackage();
    for (const vcl::TPalettePage& page : vcl::PalettePages()) {
        for (vcl::TComponentClass componentClass : page.Classes) {
            const TDesignerClass* designerClass = FindDesignerClass(componentClass);
            if (designerClass == nullptr) {
                // The widget classes are made when the package is built; a class
                // registered since then has none until the next build.
                qWarning("QvKit: %s has no designer widget class; rebuild the designer plugin",
                    qUtf8Printable(componentClass->ClassName()));
                continue;
            }
            AddEntry(*designerClass, GroupOfPage(page.Caption), true);
        }
    }
    for (const TDesignerClass& designerClass : DesignerClasses())
        if (!OnPalette(designerClass.ComponentClass))
            AddEntry(designerClass, QStringLiteral("QvKit"), false);
}

bool TWidgetCollection::OnPalette(vcl::TComponentClass Class)
{
    for (const vcl::TPalettePage& page : vcl::PalettePages())
        if (std::find(page.Classes.begin(), page.Classes.end(), Class) != page.Classes.end())
            return true;
    return false;
}

void TWidgetCollection::AddEntry(const TDesignerClass& Class, const QString& Group, bool OnPalette)
{
    FWidgets << new TComponentWidget(Class, Group, OnPalette,
        [this](QDesignerFormEditorInterface* Core) { RegisterExtensions(Core); }, this);
}

QList<QDesignerCustomWidgetInterface*> TWidgetCollection::customWidgets() const
{
    return FWidgets;
}

QString TWidgetCollection::GroupOfPage(const QString& Caption)
{
    QString group = Caption;
    if (group.startsWith(u'<') && group.endsWith(u'>'))
        group = group.mid(1, group.size() - 2);
    return group.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void TWidgetCollection::RegisterExtensions(QDesignerFormEditorInterface* Core)
{
    if (FCores.contains(Core))
        return;
    FCores.insert(Core);
    QExtensionManager* manager = Core->extensionManager();
    for (const auto& [iid, make] : {std::pair{Q_TYPEID(QDesignerTaskMenuExtension), &CreateVerbTaskMenu},
             std::pair{Q_TYPEID(QDesignerContainerExtension), &CreatePaneContainer}})
        manager->registerExtensions(new TExtensionFactory(manager, QString(iid), make), QString(iid));
}

} // namespace Qvdesigner
