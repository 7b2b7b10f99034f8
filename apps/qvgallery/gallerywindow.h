#pragma once
// The gallery's main window: one tab per palette page, each a design surface with a
// live instance of every class of the page, a property inspector for the selected
// component, and saving and opening of pages as form files. It is the design host
// the component and property editors talk to.
#include "vcl/streaming/designintf.h"

#include <QMainWindow>

class QLabel;
class QTabWidget;
class QTreeView;

namespace gallery {

class DesignSurface;
class EventInspectorModel;
class PropertyInspectorModel;
class TGalleryPage;

class GalleryWindow : public QMainWindow, public vcl::IDesigner {
    Q_OBJECT
public:
    // Builds the pages from the palette registered now; with no pages registered the
    // window shows one page saying so.
    explicit GalleryWindow(QWidget* Parent = nullptr);
    ~GalleryWindow() override;

    // IDesigner, acting on the current page.
    vcl::TComponent* GetRoot() override;
    QString UniqueName(const QString& BaseName) override;
    void SelectComponent(vcl::TComponent* Instance) override;
    void Modified() override;

    int PageCount() const;
    // The palette page's caption (or the file's name for an opened form).
    QString PageCaption(int Index) const;
    // The design surface of a page; null for the "no components registered" page.
    DesignSurface* Surface(int Index) const;
    // What a picture of the page shows: the page root in full, or the notice page.
    QWidget* PageContent(int Index) const;
    DesignSurface* CurrentSurface() const;
    void SetCurrentPage(int Index);
    PropertyInspectorModel* Inspector() const { return FInspector; }
    EventInspectorModel* Events() const { return FEvents; }

    // Writes the current page's root as a UTF-8 form file; raises EWriteError (or
    // the writer's error) and leaves an existing file as it was when writing fails.
    void SaveForm(const QString& FileName);
    // Reads a form file into a new page root shown in a new tab (made current).
    // A file that cannot be read raises EFOpenError or EFormFileError (naming the
    // line) and leaves no page and no component behind.
    DesignSurface* OpenForm(const QString& FileName);

private:
    QWidget* BuildInspector();
    void BuildPalettePages();
    DesignSurface* AddSurface(TGalleryPage* Root, const QString& Caption);
    // The inspector and title follow the page shown.
    void ShowCurrentPage();
    void ShowSelection(vcl::TComponent* Component);
    void UpdateTitle();
    void ShowError(const QString& Message);
    void SaveFormAs();
    void OpenFormFromFile();

    QTabWidget* FPages;
    QLabel* FSelectionLabel;
    QTreeView* FInspectorView;
    PropertyInspectorModel* FInspector;
    EventInspectorModel* FEvents;
};

} // namespace gallery
