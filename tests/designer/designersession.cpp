#include "designersession.h"

#include <QCoreApplication>
#include <QSettings>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QDesignerWidgetFactoryInterface>
#include <QtDesigner/QExtensionManager>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <stdexcept>

namespace Qvdesignertest {

TDesignerSession::TDesignerSession(const QString& PluginDir)
{
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, FSettings.path());
    QCoreApplication::addLibraryPath(PluginDir);
    FCore = QDesignerComponents::createFormEditor(nullptr);
    QDesignerComponents::initializeResources();
    QDesignerComponents::initializePlugins(FCore);
    new QDesignerIntegration(FCore, FCore);
}

TDesignerSession::~TDesignerSession()
{
    delete FCore;
}

bool TDesignerSession::PluginLoaded() const
{
    return FCore->widgetDataBase()->indexOfClassName(QStringLiteral("Qvdesigner::TqvMsgDlg")) >= 0;
}

QDesignerFormWindowInterface* TDesignerSession::NewForm(const QString& Name, const QSize& Size)
{
    QDesignerFormWindowManagerInterface* manager = FCore->formWindowManager();
    QDesignerFormWindowInterface* form = manager->createFormWindow(nullptr, Qt::Window);
    const QString ui = QStringLiteral("<ui version=\"4.0\"><class>%1</class><widget class=\"QWidget\" name=\"%1\">"
                                      "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>%2</width>"
                                      "<height>%3</height></rect></property></widget></ui>")
                           .arg(Name).arg(Size.width()).arg(Size.height());
    if (!form->setContents(ui))
        throw std::runtime_error("Designer refused an empty form");
    manager->setActiveFormWindow(form);
    form->setDirty(false);
    return form;
}

QWidget* TDesignerSession::Place(QDesignerFormWindowInterface* Form, const QString& ClassName, const QString& Name,
    const QRect& Geometry)
{
    QWidget* widget = FCore->widgetFactory()->createWidget(ClassName, Form->mainContainer());
    if (widget == nullptr)
        throw std::runtime_error(("Designer cannot make " + ClassName).toStdString());
    Form->manageWidget(widget);
    SetProperty(widget, QStringLiteral("objectName"), Name);
    SetProperty(widget, QStringLiteral("geometry"), Geometry);
    widget->show();
    return widget;
}

void TDesignerSession::SetProperty(QDesignerFormEditorInterface* Core, QWidget* Widget, const QString& Name,
    const QVariant& Value)
{
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(Core->extensionManager(), Widget);
    const int index = sheet != nullptr ? sheet->indexOf(Name) : -1;
    if (index < 0)
        throw std::runtime_error(("Designer shows no property " + Name).toStdString());
    sheet->setProperty(index, Value);
    sheet->setChanged(index, true);
}

QDesignerTaskMenuExtension* TDesignerSession::TaskMenu(QWidget* Widget) const
{
    return qt_extension<QDesignerTaskMenuExtension*>(FCore->extensionManager(), Widget);
}

} // namespace Qvdesignertest
