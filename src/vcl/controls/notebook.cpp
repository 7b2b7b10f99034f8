#include "vcl/controls/notebook.h"

#include <vector>

namespace vcl {

TPage::TPage(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetAlign(alClient);
}

// The page names of a notebook; the pages themselves are the objects.
class TNotebook::TPageList : public TStrings {
public:
    explicit TPageList(TNotebook* Book)
        : FBook(Book)
    {
    }
    ~TPageList() override { Clear(); }

    int Count() const override { return int(FPageControls.size()); }
    void Insert(int Index, const QString& S) override
    {
        if (Index < 0 || Index > Count())
            IndexError(Index);
        auto* page = new TPage(FBook);
        page->SetCaption(S);
        page->SetVisible(false);
        page->SetParent(FBook);
        FPageControls.insert(FPageControls.begin() + Index, page);
        FBook->PagesChanged();
    }
    void Delete(int Index) override
    {
        TPage* page = At(Index);
        FPageControls.erase(FPageControls.begin() + Index);
        delete page;
        FBook->PagesChanged();
    }
    void Clear() override
    {
        while (!FPageControls.empty()) {
            delete FPageControls.back();
            FPageControls.pop_back();
        }
    }
    TPage* At(int Index) const
    {
        if (Index < 0 || Index >= Count())
            IndexError(Index);
        return FPageControls[size_t(Index)];
    }

protected:
    QString Get(int Index) const override { return At(Index)->Caption(); }
    void Put(int Index, const QString& S) override { At(Index)->SetCaption(S); }
    TObject* GetObject(int Index) const override { return At(Index); }
    // The objects are the pages; they cannot be replaced.
    void PutObject(int, TObject*) override {}

private:
    TNotebook* FBook;
    std::vector<TPage*> FPageControls;
};

TNotebook::TNotebook(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FPages(std::make_unique<TPageList>(this))
{
    SetBounds(0, 0, 150, 150);
    // A new notebook has one page, as the form designer shows it.
    FPages->Add(QStringLiteral("Default"));
}

TNotebook::~TNotebook()
{
    // The pages are children of this control: free them while it is still whole.
    FPages.reset();
}

TStrings* TNotebook::Pages() const
{
    return FPages.get();
}

TPage* TNotebook::Page(int Index) const
{
    return Index >= 0 && Index < FPages->Count() ? FPages->At(Index) : nullptr;
}

void TNotebook::SetPageIndex(int Value)
{
    if (Value == FPageIndex || Value < 0 || Value >= FPages->Count())
        return;
    FPageIndex = Value;
    ShowActivePage();
    if (OnPageChanged)
        OnPageChanged(this);
}

QString TNotebook::ActivePage() const
{
    const TPage* page = Page(FPageIndex);
    return page != nullptr ? page->Caption() : QString();
}

void TNotebook::SetActivePage(const QString& Value)
{
    // Pages are found by name, ignoring case.
    SetPageIndex(FPages->IndexOf(Value));
}

void TNotebook::PagesChanged()
{
    FPageIndex = std::clamp(FPageIndex, 0, std::max(0, FPages->Count() - 1));
    ShowActivePage();
}

void TNotebook::ShowActivePage()
{
    for (int i = 0; i < FPages->Count(); ++i)
        FPages->At(i)->SetVisible(i == FPageIndex);
    Realign();
}

} // namespace vcl
