#pragma once
// A design surface: the scrolled view of one gallery page root, where clicking selects
// a component, a right click offers its editor's verbs and a double-click runs its
// editor. Components are in design state, so the surface takes their mouse input.
#include "componentverbs.h"
#include "gallerypage.h"

#include <QScrollArea>
#include <map>
#include <vector>

namespace vcl {
class IDesigner;
struct TPalettePage;
} // namespace vcl

namespace gallery {

class ComponentIcon;

class DesignSurface : public QScrollArea {
    Q_OBJECT
public:
    // Takes ownership of Root.
    DesignSurface(TGalleryPage* Root, vcl::IDesigner* Designer, QWidget* Parent = nullptr);
    ~DesignSurface() override;

    // A new page root owning one instance of every class of Page, each named with
    // DefaultUniqueName, in design state; controls are placed in a grid of cells.
    // Classes that fail to create are left out and their errors added to Problems.
    static TGalleryPage* CreatePalettePage(const vcl::TPalettePage& Page, std::vector<QString>& Problems);

    TGalleryPage* Root() const { return FRoot; }
    vcl::TComponent* Selected() const { return FSelected; }
    // The icon that stands for a non-visual component, or null.
    ComponentIcon* IconOf(vcl::TComponent* Component) const;
    // The component a widget of the surface belongs to (a control, an icon's component,
    // or the root for the page itself); null for widgets outside the surface.
    vcl::TComponent* ComponentAt(QWidget* Widget) const;

    // Selects one of the root's components (or the root); anything else is ignored.
    void Select(vcl::TComponent* Component);
    // Follows changes made through the inspector or an editor: icons for new
    // non-visual components, the page size and the selection handles.
    void Refresh();

    bool IsModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Where editors report failures (the window's status bar).
    ErrorSink OnError;

signals:
    void SelectionChanged(vcl::TComponent* Component);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void WatchWidgetTree(QWidget* Widget);
    void SyncIcons();
    // What the non-visual components do, under their icons (ComponentPreview).
    void SyncPreviews();
    void ResizeRoot();
    void UpdateSelectionRect();
    void ShowVerbMenu(vcl::TComponent* Component, const QPoint& GlobalPos);

    TGalleryPage* FRoot;
    vcl::IDesigner* FDesigner;
    vcl::TComponent* FSelected = nullptr;
    std::map<vcl::TComponent*, ComponentIcon*> FIcons;
    bool FModified = false;
};

} // namespace gallery
