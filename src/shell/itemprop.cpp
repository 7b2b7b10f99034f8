#include "shell/itemprop.h"

#include "platform/shell/shelluserinterface.h"
#include "shell/pidlhelp.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/screen.h"
#include "vcl/core/unitstartup.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace Itemprop {

using namespace platform::shell;

namespace {

enum class TAction { Menu, Properties, Default, Verb };

struct TRequest {
    TAction Action;
    QString Verb;
    HWND Window;
    QPoint Point;
};

QString& LastError()
{
    static QString text;
    return text;
}

// Start-up routes the delete confirmation and the rename question through the
// framework's dialogs, so their responders answer them in tests and headless tools.
// (The original initialised the platform's object layer here; nothing needs that.)
// Every action also makes sure of it, for programs that never run the start-ups; it
// happens once, so answers installed later stay.
void InstallDialogs()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    TShellUserInterface& ui = ShellUserInterface();
    ui.ConfirmDelete = [](const QStringList& names) {
        const QString what = names.size() == 1 ? QStringLiteral("\"%1\"").arg(names.front())
                                               : QStringLiteral("these %1 items").arg(names.size());
        return vcl::MessageDlg(QStringLiteral("Move %1 to the trash?").arg(what), vcl::mtConfirmation,
                               vcl::TMsgDlgButtons(vcl::mbYes) | vcl::mbNo) == vcl::mrYes;
    };
    ui.AskNewName = [](QString& name) { return vcl::InputQuery(QStringLiteral("Rename"), QStringLiteral("New name:"), name); };
}

const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Itemprop"), {"Pidlhelp"}, InstallDialogs);

// Shows the hourglass for the life of an operation, also when it fails.
class TBusyCursor {
public:
    TBusyCursor() : FSaved(vcl::Screen()->Cursor()) { vcl::Screen()->SetCursor(vcl::crHourGlass); }
    ~TBusyCursor() { vcl::Screen()->SetCursor(FSaved); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    vcl::TCursor FSaved;
};

template <typename T>
struct TReleaser {
    void operator()(T* object) const { object->Release(); }
};
template <typename T>
using TRef = std::unique_ptr<T, TReleaser<T>>;

// Identifiers parsed in a folder, freed when done.
struct TParsedItems {
    TRef<IShellFolder> Folder;
    std::vector<LPITEMIDLIST> Ids;
    ULONG Attributes = ~ULONG(0);
    TParsedItems() = default;
    TParsedItems(const TParsedItems&) = delete;
    TParsedItems& operator=(const TParsedItems&) = delete;
    ~TParsedItems()
    {
        for (LPITEMIDLIST& id : Ids)
            Pidlhelp::FreePIDL(id);
    }
    bool Parse(const QString& name)
    {
        // All attributes are asked for, so that actions which test them (properties)
        // see what the item has.
        ULONG attributes = ~ULONG(0);
        LPITEMIDLIST id = nullptr;
        if (FAILED(Folder->ParseDisplayName(nullptr, nullptr, reinterpret_cast<const char16_t*>(name.utf16()), nullptr, &id, &attributes)))
            return false;
        Ids.push_back(id);
        Attributes &= attributes;
        return true;
    }
};

bool Invoke(IContextMenu* menu, const char* verb, HWND)
{
    CMINVOKECOMMANDINFO info;
    info.lpVerb = verb;
    const bool done = SUCCEEDED(menu->InvokeCommand(&info));
    LastError() = done ? QString() : menu->LastErrorText();
    return done;
}

bool ShowMenu(IContextMenu* object, const TRequest& request)
{
    vcl::HMENU menu = vcl::CreatePopupMenu();
    bool done = false;
    if (SUCCEEDED(QueryContextMenu(object, menu, 0, 1, 0x7FFF, CMF_EXPLORE))) {
        const int chosen = vcl::TrackPopupMenuEx(menu, vcl::TPM_RETURNCMD | vcl::TPM_RIGHTBUTTON, request.Point.x(),
                                                 request.Point.y(), request.Window, nullptr);
        done = chosen > 0 ? Invoke(object, MAKEINTRESOURCE(UINT(chosen - 1)), request.Window) : true;
    }
    vcl::DestroyMenu(menu);
    return done;
}

bool DefaultAction(IContextMenu* object, const TRequest& request)
{
    vcl::HMENU menu = vcl::CreatePopupMenu();
    bool done = false;
    if (SUCCEEDED(QueryContextMenu(object, menu, 0, 1, 0x7FFF, CMF_DEFAULTONLY))) {
        const UINT item = vcl::GetMenuDefaultItem(menu, false, 0);
        done = item != vcl::MenuNotFound && Invoke(object, MAKEINTRESOURCE(item - 1), request.Window);
    }
    vcl::DestroyMenu(menu);
    return done;
}

bool Act(IShellFolder* folder, const LPCITEMIDLIST* ids, UINT count, ULONG attributes, const TRequest& request)
{
    InstallDialogs();
    void* object = nullptr;
    if (!folder || count == 0 || FAILED(folder->GetUIObjectOf(nullptr, count, ids, IID_IContextMenu, nullptr, &object))) {
        LastError() = QStringLiteral("The items have no context menu");
        return false;
    }
    TRef<IContextMenu> menu(static_cast<IContextMenu*>(object));
    switch (request.Action) {
    case TAction::Menu: return ShowMenu(menu.get(), request);
    case TAction::Default: return DefaultAction(menu.get(), request);
    case TAction::Verb: return Invoke(menu.get(), request.Verb.toUtf8().constData(), request.Window);
    case TAction::Properties: break;
    }
    if (!(attributes & SFGAO_HASPROPSHEET)) {
        LastError() = QStringLiteral("The items have no properties");
        return false;
    }
    return Invoke(menu.get(), "properties", request.Window);
}

bool ActOnParsed(const TParsedItems& items, const TRequest& request)
{
    if (items.Ids.empty()) {
        LastError() = QStringLiteral("No item found");
        return false;
    }
    std::vector<LPCITEMIDLIST> ids(items.Ids.begin(), items.Ids.end());
    return Act(items.Folder.get(), ids.data(), UINT(ids.size()), items.Attributes, request);
}

TRef<IShellFolder> Desktop()
{
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    return TRef<IShellFolder>(desktop);
}

TRef<IShellFolder> BindTo(IShellFolder* parent, const QString& path)
{
    LPITEMIDLIST id = nullptr;
    void* bound = nullptr;
    if (Pidlhelp::GetPIDLFromPath(nullptr, parent, path, id))
        parent->BindToObject(id, nullptr, IID_IShellFolder, &bound);
    Pidlhelp::FreePIDL(id);
    return TRef<IShellFolder>(static_cast<IShellFolder*>(bound));
}

// The last resort for a path whose name part does not parse (a drive root): parse
// the whole path in the desktop's first folder.
bool ActInFirstDesktopFolder(const QString& path, const TRequest& request)
{
    TRef<IShellFolder> desktop = Desktop();
    IEnumIDList* enumerator = nullptr;
    LPITEMIDLIST first = nullptr;
    if (FAILED(desktop->EnumObjects(nullptr, SHCONTF_FOLDERS, &enumerator)))
        return false;
    enumerator->Next(1, &first, nullptr);
    enumerator->Release();
    void* bound = nullptr;
    if (first)
        desktop->BindToObject(first, nullptr, IID_IShellFolder, &bound);
    Pidlhelp::FreePIDL(first);
    TParsedItems items;
    items.Folder.reset(static_cast<IShellFolder*>(bound));
    return items.Folder && items.Parse(path) && ActOnParsed(items, request);
}

// "*" any run of characters, "?" exactly one; compared unit for unit, so names with
// escaped bytes match too.
bool WildcardMatches(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// The names of every item of the folder (hidden ones too) that match the wildcards,
// taken from the folder itself so that names which are not UTF-8 are found as well.
QStringList MatchingNames(IShellFolder* folder, const QString& pattern)
{
    QStringList names;
    IEnumIDList* enumerator = nullptr;
    if (FAILED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &enumerator)))
        return names;
    LPITEMIDLIST item = nullptr;
    while (enumerator->Next(1, &item, nullptr) == S_OK) {
        const QString name = Pidlhelp::GetDisplayName(folder, item, Pidlhelp::dntInFolder);
        if (WildcardMatches(name, pattern))
            names.append(name);
        Pidlhelp::FreePIDL(item);
    }
    enumerator->Release();
    return names;
}

bool ActOnPath(QString path, const TRequest& request)
{
    LastError() = QStringLiteral("No item found at \"%1\"").arg(path);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    const QString folderPath = slash <= 0 ? QStringLiteral("/") : path.left(slash);
    const QString fileName = path.mid(slash + 1);
    TParsedItems items;
    items.Folder = BindTo(Desktop().get(), folderPath);
    if (!items.Folder || path.isEmpty())
        return false;
    if (fileName.contains('*') || fileName.contains('?')) {
        for (const QString& name : MatchingNames(items.Folder.get(), fileName))
            items.Parse(name);
        return ActOnParsed(items, request);
    }
    if (!fileName.isEmpty() && items.Parse(fileName))
        return ActOnParsed(items, request);
    return ActInFirstDesktopFolder(path, request);
}

bool ActOnNames(const QString& folderPath, const vcl::TStrings* names, const TRequest& request)
{
    LastError() = QStringLiteral("No item found in \"%1\"").arg(folderPath);
    if (!names || names->Count() == 0)
        return false;
    TParsedItems items;
    items.Folder = BindTo(Desktop().get(), folderPath);
    if (!items.Folder)
        return false;
    for (int i = 0; i < names->Count(); ++i)
        items.Parse(names->Strings(i));
    return ActOnParsed(items, request);
}

bool ActOnIds(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, int count, const TRequest& request)
{
    const TBusyCursor busy;
    if (ids && count > 0 && !ids[0])
        return ActOnPath(QString(), request);
    if (!ids || count <= 0) {
        LastError() = QStringLiteral("No items given");
        return false;
    }
    return Act(folder, ids, UINT(count), attributes, request);
}

} // namespace

bool DisplayContextMenu(const QString& path, HWND window, QPoint point)
{
    const TBusyCursor busy;
    return ActOnPath(path, {TAction::Menu, {}, window, point});
}

bool DisplayContextMenu(const QString& folderPath, const vcl::TStrings* names, HWND window, QPoint point)
{
    const TBusyCursor busy;
    return ActOnNames(folderPath, names, {TAction::Menu, {}, window, point});
}

bool DisplayContextMenu(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, QPoint point, int count)
{
    return ActOnIds(folder, ids, attributes, count, {TAction::Menu, {}, window, point});
}

bool DisplayPropertiesDialog(const QString& path, HWND window)
{
    const TBusyCursor busy;
    return ActOnPath(path, {TAction::Properties, {}, window, {}});
}

bool DisplayPropertiesDialog(const QString& folderPath, const vcl::TStrings* names, HWND window)
{
    const TBusyCursor busy;
    return ActOnNames(folderPath, names, {TAction::Properties, {}, window, {}});
}

bool DisplayPropertiesDialog(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count)
{
    return ActOnIds(folder, ids, attributes, count, {TAction::Properties, {}, window, {}});
}

bool PerformDefaultAction(const QString& path, HWND window)
{
    const TBusyCursor busy;
    return ActOnPath(path, {TAction::Default, {}, window, {}});
}

bool PerformDefaultAction(const QString& folderPath, const vcl::TStrings* names, HWND window)
{
    const TBusyCursor busy;
    return ActOnNames(folderPath, names, {TAction::Default, {}, window, {}});
}

bool PerformDefaultAction(IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count)
{
    return ActOnIds(folder, ids, attributes, count, {TAction::Default, {}, window, {}});
}

bool PerformVerb(const QString& verb, const QString& path, HWND window)
{
    const TBusyCursor busy;
    return ActOnPath(path, {TAction::Verb, verb, window, {}});
}

bool PerformVerb(const QString& verb, const QString& folderPath, const vcl::TStrings* names, HWND window)
{
    const TBusyCursor busy;
    return ActOnNames(folderPath, names, {TAction::Verb, verb, window, {}});
}

bool PerformVerb(const QString& verb, IShellFolder* folder, const LPCITEMIDLIST* ids, ULONG attributes, HWND window, int count)
{
    return ActOnIds(folder, ids, attributes, count, {TAction::Verb, verb, window, {}});
}

bool GetPIDLAndShellFolder(const QString& path, IShellFolder*& folder, LPITEMIDLIST& id, IMalloc* allocator, HWND)
{
    folder = nullptr;
    TRef<IShellFolder> current = Desktop();
    LPITEMIDLIST absolute = nullptr;
    if (!allocator || !Pidlhelp::GetPIDLFromPath(nullptr, current.get(), path, absolute))
        return false;
    bool result = false;
    LPITEMIDLIST item = absolute;
    for (LPITEMIDLIST next = Pidlhelp::NextPIDL(item); next && Pidlhelp::PIDLCount(next) > 0; next = Pidlhelp::NextPIDL(item)) {
        LPITEMIDLIST single = Pidlhelp::CopyFirstID(item);
        void* bound = nullptr;
        const bool ok = single && SUCCEEDED(current->BindToObject(single, nullptr, IID_IShellFolder, &bound));
        Pidlhelp::FreePIDL(single);
        result = ok;
        if (!ok)
            break;
        current.reset(static_cast<IShellFolder*>(bound));
        item = next;
    }
    LPITEMIDLIST last = Pidlhelp::CopyFirstID(item);
    const int64_t size = Pidlhelp::GetPidlSize(last);
    id = static_cast<LPITEMIDLIST>(allocator->Alloc(size_t(size)));
    if (id)
        std::memcpy(id, last, size_t(size));
    Pidlhelp::FreePIDL(last);
    allocator->Free(absolute);
    folder = current.release();
    return result;
}

HRESULT QueryContextMenu(IContextMenu* object, vcl::HMENU menu, unsigned index, unsigned first, unsigned last, unsigned flags)
{
    if (!object || !vcl::IsMenu(menu))
        return E_INVALIDARG;
    UINT used = 0;
    for (const IContextMenu::TCommand& command : object->Commands(flags)) {
        const UINT id = first + command.Offset;
        if (id > last)
            continue;
        vcl::InsertMenu(menu, index++, vcl::MF_BYPOSITION | vcl::MF_STRING, id, command.Caption);
        if (command.Default)
            vcl::SetMenuDefaultItem(menu, id, false);
        used = std::max(used, command.Offset + 1);
    }
    return HRESULT(used);
}

QString LastErrorText()
{
    return LastError();
}

} // namespace Itemprop
