#include "componentwidget.h"

#include "vcl/core/sysutils.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace Qvdesigner {

namespace {
enum IconMetrics { IconSize = 22 };
// A new host in a form shows its tile and class name.
constexpr QSize HostSize(96, 48);
} // namespace

TComponentWidget::TComponentWidget(const TDesignerClass& Class, const QString& Group, bool OnPalette,
    std::function<void(QDesignerFormEditorInterface*)> OnInitialize, QObject* Parent)
    : QObject(Parent), FClass(Class), FGroup(Group), FOnPalette(OnPalette), FOnInitialize(std::move(OnInitialize))
{
}

QString TComponentWidget::name() const
{
    return QString::fromLatin1(FClass.WidgetClass->className());
}

QString TComponentWidget::group() const
{
    return FGroup;
}

QString TComponentWidget::toolTip() const
{
    return FClass.ComponentClass->ClassName();
}

QString TComponentWidget::whatsThis() const
{
    return IsVisual() ? QStringLiteral("The QvKit control %1.").arg(toolTip())
                      : QStringLiteral("The QvKit component %1, shown as an icon while a form is designed.").arg(toolTip());
}

QString TComponentWidget::includeFile() const
{
    return QStringLiteral("qvdesigner/widgets.h");
}

QIcon TComponentWidget::icon() const
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintComponentTile(painter, pixmap.rect(), IsVisual());
    return QIcon(pixmap);
}

// Palette controls that hold others get their children from their own editors (a
// splitter window's panes come from its "New Pane" verb), so none is a container for
// Designer's drops; the classes off the palette are those panes, which hold controls.
bool TComponentWidget::isContainer() const
{
    return !FOnPalette;
}

QWidget* TComponentWidget::createWidget(QWidget* Parent)
{
    try {
        QWidget* widget = FClass.Create(Parent);
        // Inside Designer the component is being designed; QUiLoader never initializes
        // the entry, so forms it loads get running components.
        if (FCore != nullptr)
            ComponentOf(widget)->SetDesigning(true);
        return widget;
    } catch (const vcl::Exception& e) {
        qWarning("QvKit: cannot create %s: %s", qUtf8Printable(name()), qUtf8Printable(e.Message()));
        return nullptr;
    }
}

bool TComponentWidget::isInitialized() const
{
    return FCore != nullptr;
}

void TComponentWidget::initialize(QDesignerFormEditorInterface* Core)
{
    if (FCore != nullptr)
        return;
    FCore = Core;
    FOnInitialize(Core);
}

QString TComponentWidget::domXml() const
{
    // Designer's widget box leaves out entries without a template: classes off the
    // palette come only from their editors.
    if (!FOnPalette)
        return {};
    QString objectName = toolTip();
    objectName[0] = objectName[0].toLower();
    const QSize size = IsVisual() ? DesignControlSize : HostSize;
    // The widget box shows the display name (the class as the palette names it) rather
    // than the generated class's full name.
    // A class with pages names the method that uic and QUiLoader add them with.
    const QString pages = FClass.WidgetClass->indexOfMethod("addPane(QWidget*)") >= 0
        ? QStringLiteral("<customwidgets><customwidget><class>%1</class><addpagemethod>addPane</addpagemethod>"
                         "</customwidget></customwidgets>").arg(name())
        : QString();
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\"><widget class=\"%2\" name=\"%3\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>%4</width>"
                          "<height>%5</height></rect></property></widget>%6</ui>")
        .arg(toolTip(), name(), objectName)
        .arg(size.width())
        .arg(size.height())
        .arg(pages);
}

bool TComponentWidget::IsVisual() const
{
    return !FClass.WidgetClass->inherits(&TComponentHost::staticMetaObject);
}

} // namespace Qvdesigner
