#include "vcl/controls/menus.h"

#include "vcl/core/sysutils.h"
#include "vcl/graphics/bitmap.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace vcl {

QString StripHotkey(const QString& Text)
{
    QString result;
    result.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == u'&') {
            if (i + 1 < Text.size() && Text[i + 1] == u'&')
                result.append(u'&');
            ++i;
            if (i >= Text.size() || Text[i] == u'&')
                continue;
        }
        result.append(Text[i]);
    }
    return result;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TMenuItem::~TMenuItem()
{
    Destroying();
    if (FParent != nullptr)
        FParent->Remove(this);
    // Sub-items that nobody owns go with their menu; owned ones stay their owner's.
    for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) {
        item->FParent = nullptr;
        if (item->Owner() == nullptr)
            delete item;
    }
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Menu index out of range"));
    return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::MenuIndex() const
{
    if (FParent == nullptr)
        return -1;
    const auto& list = FParent->FItems;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item == nullptr)
        return;
    if (Item->FParent != nullptr)
        throw EInvalidOperation(QStringLiteral("Menu inserted twice"));
    if (Index < 0 || Index > Count())
        throw EInvalidOperation(QStringLiteral("Menu index out of range"));
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index)
{
    Remove(Items(Index));
}

void TMenuItem::Clear()
{
    for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) {
        Remove(item);
        delete item;
    }
}

TMenuItem* TMenuItem::DefaultItem() const
{
    for (TMenuItem* item : FItems)
        if (item->FDefault && item->FVisible)
            return item;
    return nullptr;
}

TMenuItem* TMenuItem::Find(const QString& ACaption) const
{
    const QString wanted = StripHotkey(ACaption);
    for (TMenuItem* item : FItems)
        if (StripHotkey(item->FCaption).compare(wanted, Qt::CaseInsensitive) == 0)
            return item;
    return nullptr;
}

void TMenuItem::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        UncheckGroup();
}

void TMenuItem::UncheckGroup()
{
    if (FParent == nullptr)
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->FChecked = false;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (OnClick)
        OnClick(this);
}

namespace {

// The bitmap's pixels with those of its transparent colour made clear.
QImage TransparentImage(const TBitmap& Bitmap)
{
    QImage image = Bitmap.ToQImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = RgbToQRgb(Bitmap.TransparentColor());
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (clear & 0xFFFFFF))
                line[x] = 0;
    }
    return image;
}

} // namespace

QAction* TMenuItem::MakeAction(QObject* Parent) const
{
    auto* action = new QAction(FCaption, Parent);
    action->setEnabled(FEnabled);
    action->setCheckable(FChecked || FRadioItem);
    action->setChecked(FChecked);
    action->setShortcut(FShortCut);
    if (FRadioItem)
        (new QActionGroup(action))->addAction(action); // drawn with the radio mark
    if (FDefault) {
        QFont font = action->font();
        font.setBold(true);
        action->setFont(font);
    }
    if (FBitmap && !FBitmap->Empty())
        action->setIcon(QIcon(QPixmap::fromImage(TransparentImage(*FBitmap))));
    TMenuItem* self = const_cast<TMenuItem*>(this);
    QObject::connect(action, &QAction::triggered, self, [self] { self->Click(); });
    return action;
}

TBitmap* TMenuItem::Bitmap()
{
    if (!FBitmap)
        FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TMenuItem::SetBitmap(const TBitmap* Value)
{
    Bitmap()->Assign(Value);
}

void TMenuItem::AddTo(QMenu* Menu) const
{
    if (!FVisible)
        return;
    if (IsLine()) {
        Menu->addSeparator();
        return;
    }
    if (FItems.empty()) {
        Menu->addAction(MakeAction(Menu));
        return;
    }
    QMenu* sub = BuildMenu(Menu);
    sub->setTitle(FCaption);
    sub->setEnabled(FEnabled);
    Menu->addMenu(sub);
}

QMenu* TMenuItem::BuildMenu(QWidget* Parent) const
{
    auto* menu = new QMenu(Parent);
    for (const TMenuItem* item : FItems)
        item->AddTo(menu);
    return menu;
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner)
    , FItems(std::make_unique<TMenuItem>(nullptr))
{
}

TMenu::~TMenu()
{
    Destroying();
}

// ---------------------------------------------------------------------------
// TPopupMenu

namespace {
TPopupMenu::TPopupResponder& PopupResponder()
{
    static TPopupMenu::TPopupResponder responder;
    return responder;
}
} // namespace

void TPopupMenu::SetResponder(TPopupResponder Responder)
{
    PopupResponder() = std::move(Responder);
}

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TMenu(AOwner)
{
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    if (const auto& responder = PopupResponder()) {
        if (TMenuItem* chosen = responder(this, X, Y))
            chosen->Click();
        return;
    }
    std::unique_ptr<QMenu> menu(Items()->BuildMenu(nullptr));
    QPoint at(X, Y);
    if (FAlignment != paLeft) {
        const int width = menu->sizeHint().width();
        at.rx() -= FAlignment == paRight ? width : width / 2;
    }
    // The chosen action's triggered signal runs the item's OnClick.
    menu->exec(at);
}

// ---------------------------------------------------------------------------
// TMainMenu

TMainMenu::TMainMenu(TComponent* AOwner)
    : TMenu(AOwner)
{
}

TMainMenu::~TMainMenu()
{
    Destroying();
    delete FMenuBar.data();
}

QMenuBar* TMainMenu::MenuBar()
{
    if (FMenuBar == nullptr)
        RebuildMenuBar();
    return FMenuBar;
}

void TMainMenu::RebuildMenuBar()
{
    if (FMenuBar == nullptr)
        FMenuBar = new QMenuBar();
    FMenuBar->clear();
    for (int i = 0; i < Items()->Count(); ++i) {
        TMenuItem* item = Items()->Items(i);
        if (!item->Visible() || item->IsLine())
            continue;
        if (item->Count() == 0) {
            QAction* action = FMenuBar->addAction(item->Caption());
            action->setEnabled(item->Enabled());
            QObject::connect(action, &QAction::triggered, item, [item] { item->Click(); });
            continue;
        }
        QMenu* sub = item->BuildMenu(FMenuBar);
        sub->setTitle(item->Caption());
        sub->setEnabled(item->Enabled());
        FMenuBar->addMenu(sub);
    }
}

} // namespace vcl
