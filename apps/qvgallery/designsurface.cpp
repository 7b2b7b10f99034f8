#include "designsurface.h"

#include "componenticon.h"
#include "componentpreview.h"
#include "demofiller.h"
#include "pagecaption.h"

#include "vcl/controls/forms.h"
#include "vcl/streaming/designintf.h"
#include "vcl/streaming/formfile.h"

#include <QChildEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

namespace gallery {

namespace {
enum SurfaceMetrics {
    // Space around every control inside its cell, and around the page's content.
    CellMargin = 16,
    // Cells are never smaller than this, so that small controls still get room.
    MinCellWidth = 160,
    MinCellHeight = 48,
    GridColumns = 3,
    // Icons of non-visual components sit in rows of this many below the controls.
    IconsPerRow = 5,
    IconGap = 8,
    // The page never shrinks below this, so an almost empty page still looks like one.
    MinPageWidth = 480,
    MinPageHeight = 320,
};

// A control created at zero width or height gets this size, so that it can be seen
// and selected on the page (the designer drops a control at a usable size).
constexpr QSize DefaultControlSize(121, 41);

QWidget* WidgetOf(vcl::TComponent* Component)
{
    return dynamic_cast<QWidget*>(Component->AsQObject());
}

QSize InitialSize(QWidget* Widget)
{
    if (auto* control = dynamic_cast<vcl::TControl*>(Widget)) {
        if (control->Width() > 0 && control->Height() > 0)
            return {control->Width(), control->Height()};
        return DefaultControlSize;
    }
    const QSize hint = Widget->sizeHint();
    return hint.isValid() ? hint : DefaultControlSize;
}

void PlaceOnPage(QWidget* Widget, TGalleryPage* Root, const QRect& Bounds)
{
    if (auto* control = dynamic_cast<vcl::TControl*>(Widget)) {
        control->SetParent(Root);
        control->SetBounds(Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height());
    } else {
        Widget->setParent(Root);
        Widget->setGeometry(Bounds);
        Widget->show();
    }
}

// Places the widgets in a grid of equal cells, GridColumns to a row, each widget at the
// top left of its cell.
void ArrangeInGrid(const std::vector<QWidget*>& Widgets, TGalleryPage* Root)
{
    std::vector<QSize> sizes;
    QSize cell(MinCellWidth, MinCellHeight);
    for (QWidget* widget : Widgets) {
        sizes.push_back(InitialSize(widget));
        cell = cell.expandedTo(sizes.back());
    }
    cell += QSize(CellMargin, CellMargin);
    for (size_t i = 0; i < Widgets.size(); ++i) {
        const int column = int(i) % GridColumns;
        const int row = int(i) / GridColumns;
        PlaceOnPage(Widgets[i], Root, QRect(QPoint(CellMargin + column * cell.width(), CellMargin + row * cell.height()), sizes[i]));
    }
}

// The page's own form file, compiled in as ":/gallery/pages/<page file name>.qvform":
// its components in a state that shows what they do. False when the page has none.
bool LoadPageForm(TGalleryPage* Root, const QString& Caption, std::vector<QString>& Problems)
{
    QFile resource(QStringLiteral(":/gallery/pages/%1.qvform").arg(PageFileName(Caption)));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    try {
        vcl::TextToComponent(QString::fromUtf8(resource.readAll()), Root);
        return true;
    } catch (const vcl::Exception& e) {
        Problems.push_back(QStringLiteral("%1: %2").arg(resource.fileName(), e.Message()));
        return false;
    }
}

// Components that need a form as owner are shown on forms embedded in the page (a
// caption sample): theirs count too.
bool HasInstanceOf(vcl::TComponent* Root, vcl::TComponentClass Class)
{
    for (int i = 0; i < Root->ComponentCount(); ++i)
        if (vcl::ClassOfInstance(Root->Components(i)) == Class)
            return true;
    if (QObject* object = Root->AsQObject())
        for (vcl::TCustomForm* form : object->findChildren<vcl::TCustomForm*>())
            if (HasInstanceOf(form, Class))
                return true;
    return false;
}
} // namespace

DesignSurface::DesignSurface(TGalleryPage* Root, vcl::IDesigner* Designer, QWidget* Parent)
    : QScrollArea(Parent), FRoot(Root), FDesigner(Designer)
{
    setWidget(FRoot);
    WatchWidgetTree(FRoot);
    Refresh();
}

// The root goes first, while the surface can still see the events its widgets send
// as they go.
DesignSurface::~DesignSurface()
{
    delete FRoot;
}

TGalleryPage* DesignSurface::CreatePalettePage(const vcl::TPalettePage& Page, std::vector<QString>& Problems)
{
    auto* root = new TGalleryPage(nullptr);
    root->SetName(vcl::DefaultUniqueName(nullptr, root->ClassName()));
    // Owned components inherit the design state as they are inserted, so every
    // constructor already runs in design state, as on a designer's form.
    root->SetDesigning(true);
    LoadPageForm(root, Page.Caption, Problems);
    FillDemoViews(root);
    // Classes the page's form does not place get a fresh instance in the grid.
    std::vector<QWidget*> widgets;
    for (vcl::TComponentClass cls : Page.Classes) {
        if (HasInstanceOf(root, cls))
            continue;
        if (cls->Create == nullptr) {
            Problems.push_back(QStringLiteral("%1 is abstract and cannot be created").arg(cls->ClassName()));
            continue;
        }
        vcl::TComponent* component = nullptr;
        try {
            component = cls->Create(root);
            component->SetName(vcl::DefaultUniqueName(root, cls->ClassName()));
        } catch (const vcl::Exception& e) {
            delete component;
            Problems.push_back(QStringLiteral("%1: %2").arg(cls->ClassName(), e.Message()));
            continue;
        }
        if (QWidget* widget = WidgetOf(component))
            widgets.push_back(widget);
    }
    ArrangeInGrid(widgets, root);
    return root;
}

ComponentIcon* DesignSurface::IconOf(vcl::TComponent* Component) const
{
    const auto it = FIcons.find(Component);
    return it != FIcons.end() ? it->second : nullptr;
}

vcl::TComponent* DesignSurface::ComponentAt(QWidget* Widget) const
{
    for (QWidget* w = Widget; w != nullptr; w = w->parentWidget()) {
        if (auto* icon = qobject_cast<ComponentIcon*>(w))
            return icon->Component();
        auto* component = dynamic_cast<vcl::TComponent*>(w);
        if (component != nullptr && (component == FRoot || component->Owner() == FRoot))
            return component;
    }
    return nullptr;
}

void DesignSurface::Select(vcl::TComponent* Component)
{
    if (Component == nullptr || (Component != FRoot && Component->Owner() != FRoot))
        return;
    FSelected = Component;
    UpdateSelectionRect();
    emit SelectionChanged(Component);
}

void DesignSurface::Refresh()
{
    SyncIcons();
    SyncPreviews();
    ResizeRoot();
    UpdateSelectionRect();
}

bool DesignSurface::eventFilter(QObject* Watched, QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::ChildAdded: {
        QObject* child = static_cast<QChildEvent*>(Event)->child();
        if (child->isWidgetType())
            WatchWidgetTree(static_cast<QWidget*>(child));
        return false;
    }
    case QEvent::MouseButtonPress: {
        vcl::TComponent* component = ComponentAt(static_cast<QWidget*>(Watched));
        if (component == nullptr)
            return false;
        Select(component);
        const auto* mouse = static_cast<QMouseEvent*>(Event);
        if (mouse->button() == Qt::RightButton)
            ShowVerbMenu(component, mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        vcl::TComponent* component = ComponentAt(static_cast<QWidget*>(Watched));
        if (component == nullptr)
            return false;
        EditComponent(component, FDesigner, OnError);
        return true;
    }
    // At design time the components do not see the mouse; the surface does.
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
        return ComponentAt(static_cast<QWidget*>(Watched)) != nullptr;
    default:
        return false;
    }
}

void DesignSurface::WatchWidgetTree(QWidget* Widget)
{
    Widget->installEventFilter(this);
    for (QWidget* child : Widget->findChildren<QWidget*>())
        child->installEventFilter(this);
}

// Every component of the root that has no widget of its own gets an icon; the icons
// sit in rows below the lowest control.
void DesignSurface::SyncIcons()
{
    int controlsBottom = 0;
    for (QWidget* child : FRoot->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<ComponentIcon*>(child) == nullptr && qobject_cast<ComponentPreview*>(child) == nullptr
            && child->isVisibleTo(FRoot))
            controlsBottom = std::max(controlsBottom, child->geometry().bottom() + 1);

    int index = 0;
    for (int i = 0; i < FRoot->ComponentCount(); ++i) {
        vcl::TComponent* component = FRoot->Components(i);
        if (WidgetOf(component) != nullptr)
            continue;
        ComponentIcon*& icon = FIcons[component];
        if (icon == nullptr) {
            icon = new ComponentIcon(component, FRoot);
            icon->show();
        }
        const int column = index % IconsPerRow;
        const int row = index / IconsPerRow;
        icon->move(CellMargin + column * (icon->width() + IconGap), controlsBottom + CellMargin + row * (icon->height() + IconGap));
        ++index;
    }
}

// Made again on every refresh, so that a property changed in the inspector shows; they
// flow in a row under the icons.
void DesignSurface::SyncPreviews()
{
    for (ComponentPreview* preview : FRoot->findChildren<ComponentPreview*>(Qt::FindDirectChildrenOnly))
        delete preview;
    int top = 0;
    for (const auto& [component, icon] : FIcons)
        top = std::max(top, icon->geometry().bottom() + 1 + CellMargin);
    QPoint next(CellMargin, top);
    for (int i = 0; i < FRoot->ComponentCount(); ++i) {
        ComponentPreview* preview = ComponentPreview::Create(FRoot->Components(i), FRoot);
        if (preview == nullptr)
            continue;
        preview->move(next);
        preview->show();
        next.rx() += preview->width() + IconGap;
    }
}

void DesignSurface::ResizeRoot()
{
    QRect content;
    for (QWidget* child : FRoot->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(FRoot))
            content |= child->geometry();
    // Never smaller than the root was made (by the inspector or an editor that sizes the
    // designed form), nor than what it holds.
    const int width = std::max<int>({MinPageWidth, content.right() + 1 + CellMargin, FRoot->Width()});
    const int height = std::max<int>({MinPageHeight, content.bottom() + 1 + CellMargin, FRoot->Height()});
    FRoot->SetBounds(0, 0, width, height);
}

void DesignSurface::UpdateSelectionRect()
{
    QWidget* widget = nullptr;
    if (FSelected != nullptr && FSelected != FRoot) {
        widget = IconOf(FSelected);
        if (widget == nullptr)
            widget = WidgetOf(FSelected);
    }
    if (widget != nullptr && FRoot->isAncestorOf(widget))
        FRoot->SetSelectionRect(QRect(widget->mapTo(FRoot, QPoint(0, 0)), widget->size()));
    else
        FRoot->SetSelectionRect(QRect());
}

void DesignSurface::ShowVerbMenu(vcl::TComponent* Component, const QPoint& GlobalPos)
{
    QMenu menu(this);
    if (AddVerbActions(menu, Component, FDesigner, OnError) > 0)
        menu.exec(GlobalPos);
}

} // namespace gallery
