#include "platform/shell/itemcontextmenu.h"

#include "platform/shell/itempropertieswindow.h"
#include "platform/shell/namespacefolder.h"
#include "platform/shell/shelllocations.h"
#include "platform/shell/shellmalloc.h"
#include "platform/shell/shelluserinterface.h"
#include "platform/shell/trashcan.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

namespace platform::shell {

namespace {

// Command offsets stay the same whichever commands a menu offers.
const QStringList Verbs = {"open", "cut", "copy", "paste", "delete", "rename", "properties"};
const QStringList Captions = {"&Open", "Cu&t", "&Copy", "&Paste", "&Delete", "Rena&me", "P&roperties"};
constexpr const char* CutMarkerFormat = "x-special/gnome-copied-files";

bool IsFileSystemItem(const std::vector<TShellItem>& item)
{
    return !item.empty() && (item.back().Kind == TItemKind::Entry || item.back().Kind == TItemKind::DesktopEntry);
}

QUrl UrlOf(const std::vector<TShellItem>& item)
{
    if (!item.empty() && item.back().Kind == TItemKind::Computer)
        return QUrl(QStringLiteral("computer:///"));
    if (!item.empty() && item.back().Kind == TItemKind::Trash)
        return QUrl(QStringLiteral("trash:///"));
    const std::optional<QByteArray> path = item.empty() ? UserDirPath("DESKTOP") : PathOfItems(item);
    // Built from the bytes, so names that are not UTF-8 survive in the URL.
    return path ? QUrl::fromEncoded("file://" + path->toPercentEncoding("/")) : QUrl();
}

QByteArray LocalPathOf(const QUrl& url)
{
    return url.isLocalFile() ? QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()) : QByteArray();
}

bool CopyFileBytes(const QByteArray& from, const QByteArray& to, mode_t mode)
{
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    const int out = in < 0 ? -1 : ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777);
    bool ok = in >= 0 && out >= 0;
    char buffer[65536];
    for (ssize_t got = 0; ok && (got = ::read(in, buffer, sizeof buffer)) != 0;)
        ok = got > 0 && ::write(out, buffer, size_t(got)) == got;
    if (in >= 0)
        ::close(in);
    if (out >= 0 && (::close(out) != 0 || !ok)) {
        ::unlink(to.constData()); // no half-written copy stays behind
        ok = false;
    }
    return ok;
}

// Runs act on the name of every entry of folder but "." and ".."; false when the
// folder cannot be read or act fails for an entry (the walk stops there).
bool ForEachEntry(const QByteArray& folder, const std::function<bool(const QByteArray& name)>& act)
{
    DIR* dir = ::opendir(folder.constData());
    bool ok = dir != nullptr;
    while (ok) {
        const dirent* entry = ::readdir(dir);
        if (!entry)
            break;
        const QByteArray name(entry->d_name);
        ok = name == "." || name == ".." || act(name);
    }
    if (dir)
        ::closedir(dir);
    return ok;
}

// Copies a file or, recursively, a folder; never replaces anything at the target.
bool CopyItem(const QByteArray& from, const QByteArray& to)
{
    struct stat info {};
    if (::lstat(from.constData(), &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    if (!S_ISDIR(info.st_mode))
        return CopyFileBytes(from, to, info.st_mode);
    return ::mkdir(to.constData(), info.st_mode & 07777) == 0
        && ForEachEntry(from, [&](const QByteArray& name) { return CopyItem(from + '/' + name, to + '/' + name); });
}

// Removes a file, a link or, recursively, a folder.
bool RemoveItem(const QByteArray& path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(path.constData()) == 0;
    return ForEachEntry(path, [&](const QByteArray& name) { return RemoveItem(path + '/' + name); })
        && ::rmdir(path.constData()) == 0;
}

// Moves an item, across volumes by copying it whole and only then removing the
// source; a copy that fails half-way is removed again (the target did not exist
// before, so nothing is ever replaced) and the source stays. Links are not copied, so
// a link moves within its volume only.
bool MoveItem(const QByteArray& from, const QByteArray& to)
{
    if (ItemMoveFunction()(from, to) == 0)
        return true;
    struct stat existing {};
    if (errno != EXDEV || ::lstat(to.constData(), &existing) == 0)
        return false;
    if (!CopyItem(from, to)) {
        RemoveItem(to);
        return false;
    }
    return RemoveItem(from);
}

} // namespace

TMoveFunction& ItemMoveFunction()
{
    static TMoveFunction move = [](const QByteArray& from, const QByteArray& to) {
        return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    };
    return move;
}

bool TItemContextMenu::AllFileSystem() const
{
    return std::all_of(FItems.begin(), FItems.end(), IsFileSystemItem);
}

std::vector<IContextMenu::TCommand> TItemContextMenu::Commands(UINT flags) const
{
    const bool single = FItems.size() == 1;
    const bool files = AllFileSystem();
    const bool pasteTarget = single && FItems.front().back().IsFolder() && PathOfItems(FItems.front());
    const bool offered[] = {true, files, files, pasteTarget, files, single && files, single};
    std::vector<TCommand> commands;
    for (UINT offset = 0; offset < UINT(Verbs.size()); ++offset)
        if (offered[offset] && (!(flags & CMF_DEFAULTONLY) || offset == 0))
            commands.push_back({offset, Verbs[int(offset)], Captions[int(offset)], offset == 0});
    return commands;
}

HRESULT TItemContextMenu::GetCommandString(UINT offset, UINT type, QString& text) const
{
    if (offset >= UINT(Verbs.size()) || (type != GCS_VERBA && type != GCS_HELPTEXTA))
        return E_INVALIDARG;
    text = type == GCS_VERBA ? Verbs[int(offset)] : QString(Captions[int(offset)]).remove('&');
    return S_OK;
}

HRESULT TItemContextMenu::InvokeCommand(const CMINVOKECOMMANDINFO* info)
{
    FError.clear();
    // A null verb is command offset 0, as MAKEINTRESOURCE(0) gives.
    if (!info) {
        FError = QStringLiteral("No command given");
        return E_INVALIDARG;
    }
    const QString verb = IS_INTRESOURCE(info->lpVerb)
        ? Verbs.value(int(reinterpret_cast<uintptr_t>(info->lpVerb)))
        : QString::fromUtf8(info->lpVerb);
    const std::vector<TCommand> offered = Commands(CMF_NORMAL);
    if (std::none_of(offered.begin(), offered.end(), [&](const TCommand& c) { return c.Verb == verb; })) {
        FError = QStringLiteral("The items have no command \"%1\"").arg(verb);
        return E_INVALIDARG;
    }
    return Run(verb) ? S_OK : E_FAIL;
}

bool TItemContextMenu::Run(const QString& verb)
{
    std::vector<QByteArray> paths;
    if (!ExistingPaths(paths))
        return false;
    if (verb == "open")
        return Open();
    if (verb == "cut" || verb == "copy")
        return PutOnClipboard(verb == "cut");
    if (verb == "paste")
        return Paste();
    if (verb == "delete")
        return Delete();
    if (verb == "rename")
        return Rename();
    return Properties();
}

bool TItemContextMenu::ExistingPaths(std::vector<QByteArray>& paths)
{
    for (const std::vector<TShellItem>& item : FItems) {
        const std::optional<QByteArray> path = PathOfItems(item);
        struct stat info {};
        if (path && ::lstat(path->constData(), &info) != 0) {
            FError = QStringLiteral("%1: %2").arg(QFile::decodeName(*path), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (path)
            paths.push_back(*path);
    }
    return true;
}

bool TItemContextMenu::Open()
{
    const auto& opener = ShellUserInterface().OpenUrl;
    for (const std::vector<TShellItem>& item : FItems) {
        const QUrl url = UrlOf(item);
        if (!opener || !opener(url)) {
            FError = QStringLiteral("Nothing could open %1").arg(url.toDisplayString());
            return false;
        }
    }
    return true;
}

bool TItemContextMenu::PutOnClipboard(bool cut)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        FError = QStringLiteral("There is no clipboard without a graphical application");
        return false;
    }
    QList<QUrl> urls;
    QByteArray marker = cut ? "cut" : "copy";
    for (const std::vector<TShellItem>& item : FItems) {
        urls.append(UrlOf(item));
        marker += '\n' + urls.last().toEncoded();
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    data->setData(QString::fromLatin1(CutMarkerFormat), marker);
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool TItemContextMenu::Paste()
{
    const QMimeData* data = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::clipboard()->mimeData() : nullptr;
    const QByteArray target = PathOfItems(FItems.front()).value_or(QByteArray());
    if (!data || !data->hasUrls()) {
        FError = QStringLiteral("The clipboard holds no files");
        return false;
    }
    const bool cut = data->data(QString::fromLatin1(CutMarkerFormat)).startsWith("cut\n");
    for (const QUrl& url : data->urls()) {
        const QByteArray from = CleanAbsolutePath(LocalPathOf(url));
        const QByteArray to = target + '/' + from.mid(from.lastIndexOf('/') + 1);
        const bool done = !from.isEmpty() && from != "/" && (cut ? MoveItem(from, to) : CopyItem(from, to));
        if (!done) {
            FError = QStringLiteral("Could not paste %1 into %2").arg(NameFromBytes(from), NameFromBytes(target));
            return false;
        }
    }
    if (cut)
        QGuiApplication::clipboard()->clear();
    return true;
}

bool TItemContextMenu::Delete()
{
    QStringList names;
    for (const std::vector<TShellItem>& item : FItems)
        names.append(DisplayNameOfItems(item, SHGDN_NORMAL));
    const auto& confirm = ShellUserInterface().ConfirmDelete;
    if (!confirm || !confirm(names)) {
        FError = QStringLiteral("Deleting was not confirmed");
        return false;
    }
    for (const std::vector<TShellItem>& item : FItems)
        if (!MoveToTrash(*PathOfItems(item), nullptr, &FError))
            return false;
    return true;
}

bool TItemContextMenu::Rename()
{
    std::vector<TShellItem> item = FItems.front();
    QString name = NameFromBytes(item.back().Name);
    const auto& ask = ShellUserInterface().AskNewName;
    if (!ask || !ask(name))
        return true; // cancelled: nothing to do, and nothing went wrong
    TNamespaceFolder* parent = new TNamespaceFolder({item.begin(), item.end() - 1});
    LPITEMIDLIST own = ILFromItems({item.back()});
    const HRESULT result = parent->SetNameOf(nullptr, own, reinterpret_cast<const char16_t*>(name.utf16()), SHGDN_INFOLDER, nullptr);
    IMalloc::Instance().Free(own);
    parent->Release();
    if (FAILED(result))
        FError = QStringLiteral("Could not rename %1 to %2").arg(NameFromBytes(item.back().Name), name);
    return SUCCEEDED(result);
}

bool TItemContextMenu::Properties()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        FError = QStringLiteral("Properties need a widget application");
        return false;
    }
    ShowItemProperties(FItems.front());
    return true;
}

} // namespace platform::shell
