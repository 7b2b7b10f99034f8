#include "vcl/controls/winmenus.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

namespace vcl {

class TMenuHandle {
public:
    struct TEntry {
        UINT Id = 0;
        UINT Flags = 0;
        QString Text;
        HMENU Sub = nullptr;
        QImage Picture;
    };
    std::vector<TEntry> Entries;
};

namespace {

using TEntry = TMenuHandle::TEntry;

constexpr UINT StoredFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_RADIOCHECK | MF_SEPARATOR | MF_DEFAULT;

std::unordered_set<HMENU>& LiveMenus()
{
    static std::unordered_set<HMENU> menus;
    return menus;
}

// Where an entry is: its menu and index (menu null when there is no such entry).
struct TPlace {
    HMENU Menu = nullptr;
    size_t Index = 0;
    TEntry* operator->() const { return &Menu->Entries[Index]; }
    explicit operator bool() const { return Menu != nullptr; }
};

// By position in Menu, or by command anywhere below it, as the platform looks.
TPlace Locate(HMENU Menu, UINT Item, UINT Flags)
{
    if (!IsMenu(Menu))
        return {};
    if (Flags & MF_BYPOSITION)
        return Item < Menu->Entries.size() ? TPlace{Menu, Item} : TPlace{};
    for (size_t i = 0; i < Menu->Entries.size(); ++i) {
        const TEntry& entry = Menu->Entries[i];
        if (entry.Sub == nullptr && !(entry.Flags & MF_SEPARATOR) && entry.Id == Item)
            return {Menu, i};
        if (entry.Sub != nullptr)
            if (TPlace inner = Locate(entry.Sub, Item, Flags))
                return inner;
    }
    return {};
}

bool MakeEntry(UINT Flags, uintptr_t IDNewItem, const QString& Text, TEntry& Entry)
{
    Entry.Flags = Flags & StoredFlags;
    Entry.Text = Text;
    if (Flags & MF_POPUP) {
        Entry.Sub = reinterpret_cast<HMENU>(IDNewItem);
        return IsMenu(Entry.Sub);
    }
    Entry.Id = UINT(IDNewItem);
    return true;
}

} // namespace

HMENU CreatePopupMenu()
{
    auto* menu = new TMenuHandle;
    LiveMenus().insert(menu);
    return menu;
}

BOOL DestroyMenu(HMENU Menu)
{
    if (!IsMenu(Menu))
        return false;
    LiveMenus().erase(Menu);
    for (const TEntry& entry : Menu->Entries)
        if (entry.Sub != nullptr)
            DestroyMenu(entry.Sub);
    // A menu destroyed on its own leaves no dangling entry in a menu that held it.
    for (HMENU other : LiveMenus())
        std::erase_if(other->Entries, [Menu](const TEntry& entry) { return entry.Sub == Menu; });
    delete Menu;
    return true;
}

BOOL IsMenu(HMENU Menu)
{
    return Menu != nullptr && LiveMenus().count(Menu) != 0;
}

BOOL AppendMenu(HMENU Menu, UINT Flags, uintptr_t IDNewItem, const QString& Text)
{
    return IsMenu(Menu) && InsertMenu(Menu, UINT(Menu->Entries.size()), Flags | MF_BYPOSITION, IDNewItem, Text);
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, uintptr_t IDNewItem, const QString& Text)
{
    if (!IsMenu(Menu))
        return false;
    TEntry entry;
    if (!MakeEntry(Flags, IDNewItem, Text, entry) || entry.Sub == Menu)
        return false;
    if (!(Flags & MF_BYPOSITION)) {
        const TPlace place = Locate(Menu, Position, Flags);
        if (!place)
            return false;
        place.Menu->Entries.insert(place.Menu->Entries.begin() + ptrdiff_t(place.Index), entry);
        return true;
    }
    const size_t at = std::min<size_t>(Position, Menu->Entries.size());
    Menu->Entries.insert(Menu->Entries.begin() + ptrdiff_t(at), entry);
    return true;
}

BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags)
{
    const TPlace place = Locate(Menu, Position, Flags);
    if (!place)
        return false;
    const HMENU sub = place->Sub;
    place.Menu->Entries.erase(place.Menu->Entries.begin() + ptrdiff_t(place.Index));
    if (sub != nullptr)
        DestroyMenu(sub);
    return true;
}

int GetMenuItemCount(HMENU Menu)
{
    return IsMenu(Menu) ? int(Menu->Entries.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, int Position)
{
    const TPlace place = Position < 0 ? TPlace{} : Locate(Menu, UINT(Position), MF_BYPOSITION);
    return place && place->Sub == nullptr ? place->Id : MenuNotFound;
}

HMENU GetSubMenu(HMENU Menu, int Position)
{
    const TPlace place = Position < 0 ? TPlace{} : Locate(Menu, UINT(Position), MF_BYPOSITION);
    return place ? place->Sub : nullptr;
}

UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags)
{
    const TPlace place = Locate(Menu, Item, Flags);
    if (!place)
        return MenuNotFound;
    if (place->Sub != nullptr)
        return (UINT(place->Sub->Entries.size()) << 8) | (place->Flags & 0xFF);
    return place->Flags & ~UINT(MF_POPUP);
}

int GetMenuString(HMENU Menu, UINT Item, QString& Text, UINT Flags)
{
    const TPlace place = Locate(Menu, Item, Flags);
    if (!place)
        return 0;
    Text = place->Text;
    return int(Text.size());
}

UINT CheckMenuItem(HMENU Menu, UINT Item, UINT Check)
{
    const TPlace place = Locate(Menu, Item, Check);
    if (!place)
        return MenuNotFound;
    const UINT previous = place->Flags & MF_CHECKED;
    place->Flags = (place->Flags & ~UINT(MF_CHECKED)) | (Check & MF_CHECKED);
    return previous;
}

UINT EnableMenuItem(HMENU Menu, UINT Item, UINT Enable)
{
    const TPlace place = Locate(Menu, Item, Enable);
    if (!place)
        return MenuNotFound;
    constexpr UINT off = MF_GRAYED | MF_DISABLED;
    const UINT previous = place->Flags & off;
    place->Flags = (place->Flags & ~off) | (Enable & off);
    return previous;
}

BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags)
{
    const TPlace first = Locate(Menu, First, Flags);
    const TPlace last = Locate(Menu, Last, Flags);
    const TPlace checked = Locate(Menu, Check, Flags);
    if (!first || first.Menu != last.Menu || checked.Menu != first.Menu || checked.Index < first.Index
        || checked.Index > last.Index)
        return false;
    for (size_t i = first.Index; i <= last.Index; ++i)
        first.Menu->Entries[i].Flags &= ~UINT(MF_CHECKED);
    checked->Flags |= MF_CHECKED | MF_RADIOCHECK;
    return true;
}

BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPosition)
{
    if (!IsMenu(Menu))
        return false;
    std::vector<TEntry>& entries = Menu->Entries;
    size_t index = entries.size();
    for (size_t i = 0; i < entries.size() && Item != MenuNotFound && index == entries.size(); ++i)
        if (ByPosition ? i == Item : entries[i].Sub == nullptr && entries[i].Id == Item)
            index = i;
    if (Item != MenuNotFound && index == entries.size())
        return false;
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].Flags = i == index ? entries[i].Flags | MF_DEFAULT : entries[i].Flags & ~UINT(MF_DEFAULT);
    return true;
}

UINT GetMenuDefaultItem(HMENU Menu, UINT ByPosition, UINT Flags)
{
    if (!IsMenu(Menu))
        return MenuNotFound;
    for (size_t i = 0; i < Menu->Entries.size(); ++i) {
        const TEntry& entry = Menu->Entries[i];
        if (!(entry.Flags & MF_DEFAULT))
            continue;
        if ((entry.Flags & (MF_GRAYED | MF_DISABLED)) && !(Flags & GMDI_USEDISABLED))
            return MenuNotFound;
        if (entry.Sub != nullptr && (Flags & GMDI_GOINTOPOPUPS)) {
            const UINT inner = GetMenuDefaultItem(entry.Sub, ByPosition, Flags);
            if (inner != MenuNotFound)
                return inner;
        }
        return ByPosition ? UINT(i) : entry.Id;
    }
    return MenuNotFound;
}

BOOL SetMenuItemBitmaps(HMENU Menu, UINT Position, UINT Flags, HBITMAP Unchecked, HBITMAP)
{
    const TPlace place = Locate(Menu, Position, Flags);
    if (!place)
        return false;
    place->Picture = Unchecked != nullptr ? Unchecked->Image.copy() : QImage();
    return true;
}

namespace {

// Builds the Qt menus of a tracked menu, each filled as it opens, and notes the choice.
class TMenuTracker : public QObject {
public:
    TMenuTracker(UINT Flags, HWND Owner) : FFlags(Flags), FOwner(Owner) {}

    // Fills Target with the entries of Menu as they are now; Index is the menu's position
    // in its parent, reported with WM_INITMENUPOPUP when Notify is set.
    void Fill(QMenu* Target, HMENU Menu, int Index, bool Notify)
    {
        if (Notify && !(FFlags & TPM_NONOTIFY))
            SendMessage(FOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Menu), MAKELPARAM(Index, 0));
        Target->clear();
        if (!IsMenu(Menu))
            return;
        for (size_t i = 0; i < Menu->Entries.size(); ++i)
            AddEntry(Target, Menu->Entries[i], int(i));
    }

    QMenu* NewMenu(QWidget* Parent)
    {
        auto* menu = new QMenu(Parent);
        menu->installEventFilter(this);
        return menu;
    }

    UINT Chosen = 0;

protected:
    // Without TPM_RIGHTBUTTON the right button chooses nothing.
    bool eventFilter(QObject*, QEvent* Event) override
    {
        const bool mouse = Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonRelease;
        return mouse && !(FFlags & TPM_RIGHTBUTTON) && static_cast<QMouseEvent*>(Event)->button() == Qt::RightButton;
    }

private:
    void AddEntry(QMenu* Target, const TEntry& Entry, int Index)
    {
        const bool enabled = !(Entry.Flags & (MF_GRAYED | MF_DISABLED));
        if (Entry.Flags & MF_SEPARATOR) {
            Target->addSeparator();
            return;
        }
        if (Entry.Sub != nullptr) {
            QMenu* sub = NewMenu(Target);
            sub->setTitle(Entry.Text);
            const HMENU handle = Entry.Sub;
            connect(sub, &QMenu::aboutToShow, this, [this, sub, handle, Index] { Fill(sub, handle, Index, true); });
            Target->addMenu(sub)->setEnabled(enabled);
            return;
        }
        QAction* action = Target->addAction(Entry.Text);
        action->setEnabled(enabled);
        action->setCheckable((Entry.Flags & (MF_CHECKED | MF_RADIOCHECK)) != 0);
        action->setChecked(Entry.Flags & MF_CHECKED);
        if (Entry.Flags & MF_RADIOCHECK)
            (new QActionGroup(action))->addAction(action); // drawn with the radio mark
        if (Entry.Flags & MF_DEFAULT) {
            QFont font = action->font();
            font.setBold(true);
            action->setFont(font);
        }
        if (!Entry.Picture.isNull())
            action->setIcon(QIcon(QPixmap::fromImage(Entry.Picture)));
        connect(action, &QAction::triggered, this, [this, id = Entry.Id] { Chosen = id; });
    }

    UINT FFlags;
    HWND FOwner;
};

QPoint AlignedAt(const QMenu& Menu, UINT Flags, int X, int Y)
{
    const QSize size = Menu.sizeHint();
    if (Flags & TPM_RIGHTALIGN)
        X -= size.width();
    else if (Flags & TPM_CENTERALIGN)
        X -= size.width() / 2;
    if (Flags & TPM_BOTTOMALIGN)
        Y -= size.height();
    else if (Flags & TPM_VCENTERALIGN)
        Y -= size.height() / 2;
    return {X, Y};
}

} // namespace

int TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const void*)
{
    if (!IsMenu(Menu) || !IsWindow(Owner))
        return 0;
    TMenuTracker tracker(Flags, Owner);
    std::unique_ptr<QMenu> top(tracker.NewMenu(nullptr));
    tracker.Fill(top.get(), Menu, 0, true);
    if (!IsMenu(Menu)) // the owner destroyed it while it was being prepared
        return 0;
    top->exec(AlignedAt(*top, Flags, X, Y));
    if (Flags & TPM_RETURNCMD)
        return int(tracker.Chosen);
    if (tracker.Chosen != 0)
        PostMessage(Owner, WM_COMMAND, tracker.Chosen, 0);
    return 1;
}

} // namespace vcl
