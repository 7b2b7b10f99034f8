#pragma once
// TNotebook: a stack of pages, one shown at a time, each known by its name. Pages
// lists the names (each with its TPage as the object): adding a name adds a page,
// deleting one frees the page and its controls, changing one renames the page.
#include "vcl/controls/controls.h"
#include "vcl/core/strings.h"

#include <memory>

namespace vcl {

// One page of a notebook: a plain surface for controls, filling the notebook.
class TPage : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Default:Align", "alClient")
public:
    explicit TPage(TComponent* AOwner);
};

class TNotebook : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStrings* Pages READ Pages)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_CLASSINFO("Default:PageIndex", "0")
    Q_PROPERTY(QString ActivePage READ ActivePage WRITE SetActivePage STORED false)
public:
    explicit TNotebook(TComponent* AOwner);
    ~TNotebook() override;

    TStrings* Pages() const;
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Value);
    // The name of the page shown; setting a name no page has changes nothing.
    QString ActivePage() const;
    void SetActivePage(const QString& Value);
    // The page control at Index (null when out of range).
    TPage* Page(int Index) const;

    TNotifyEvent OnPageChanged;

private:
    class TPageList;
    friend class TPageList;
    void PagesChanged();
    void ShowActivePage();

    std::unique_ptr<TPageList> FPages;
    int FPageIndex = 0;
};

} // namespace vcl
