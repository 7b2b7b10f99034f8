#include "platform/shell/shelllocations.h"

#include <QFile>
#include <QList>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace platform::shell {

namespace {

QByteArray EnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? QByteArray(value) : QByteArray();
}

// Mount-table fields escape blanks, tabs, newlines and backslashes as \ooo.
QByteArray UnescapeMountField(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code < 256) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

bool IsRealFileSystem(const QByteArray& type, const QByteArray& source)
{
    static const QList<QByteArray> networkAndFuse = {"nfs", "nfs4", "cifs", "smb3", "fuseblk", "9p", "virtiofs"};
    return source.startsWith("/dev/") || networkAndFuse.contains(type) || type.startsWith("fuse.");
}

bool IsDirectory(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

bool IsUnder(const QByteArray& path, const QByteArray& folder)
{
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || (path.startsWith(folder) && path[folder.size()] == '/');
}

bool AppendPathEntries(const QByteArray& base, const QByteArray& path, std::vector<TShellItem>& items)
{
    QByteArray current = base == "/" ? QByteArray() : base;
    const QByteArray rest = path.mid(base == "/" ? 1 : base.size() + 1);
    for (const QByteArray& name : rest.split('/')) {
        if (name.isEmpty())
            continue;
        current += '/' + name;
        struct stat info {};
        if (::lstat(current.constData(), &info) != 0)
            return false;
        uint8_t flags = 0;
        if (S_ISLNK(info.st_mode)) {
            flags |= ifLink;
            if (IsDirectory(current))
                flags |= ifFolder;
        } else if (S_ISDIR(info.st_mode)) {
            flags |= ifFolder;
        }
        items.push_back({TItemKind::Entry, flags, name});
    }
    return true;
}

QByteArray HomePath()
{
    const QByteArray home = CleanAbsolutePath(EnvironmentPath("HOME"));
    return home.isEmpty() ? QByteArray("/") : home;
}

QByteArray DataHomePath()
{
    const QByteArray data = EnvironmentPath("XDG_DATA_HOME");
    return CleanAbsolutePath(data.isEmpty() ? HomePath() + "/.local/share" : data);
}

QByteArray ConfigHomePath()
{
    const QByteArray config = EnvironmentPath("XDG_CONFIG_HOME");
    return CleanAbsolutePath(config.isEmpty() ? HomePath() + "/.config" : config);
}

QByteArray TrashPath()
{
    return DataHomePath() + "/Trash";
}

QByteArray UserDirPath(const char* key)
{
    static const QList<QPair<QByteArray, QByteArray>> defaults = {
        {"DESKTOP", "Desktop"}, {"DOCUMENTS", "Documents"}, {"TEMPLATES", "Templates"},
        {"DOWNLOAD", "Downloads"}, {"MUSIC", "Music"}, {"PICTURES", "Pictures"}, {"VIDEOS", "Videos"}};
    QFile file(ConfigHomePath() + "/user-dirs.dirs");
    const QByteArray prefix = "XDG_" + QByteArray(key) + "_DIR=\"";
    if (file.open(QIODevice::ReadOnly)) {
        for (QByteArray line : file.readAll().split('\n')) {
            line = line.trimmed();
            if (!line.startsWith(prefix) || !line.endsWith('"'))
                continue;
            QByteArray value = line.mid(prefix.size(), line.size() - prefix.size() - 1);
            if (value.startsWith("$HOME"))
                value = HomePath() + value.mid(5);
            return CleanAbsolutePath(value);
        }
    }
    for (const auto& [name, folder] : defaults)
        if (name == key)
            return HomePath() + '/' + folder;
    return {};
}

std::vector<TMountedVolume> MountedVolumes()
{
    std::vector<TMountedVolume> volumes{{"/", {}, false}};
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return volumes;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (dash < 5 || dash + 2 >= fields.size())
            continue;
        const QByteArray point = UnescapeMountField(fields[4]);
        const QByteArray type = fields[dash + 1];
        if (point == "/") {
            volumes.front().FileSystem = type;
            continue;
        }
        if (!IsRealFileSystem(type, UnescapeMountField(fields[dash + 2])) || !IsDirectory(point))
            continue;
        const bool seen = std::any_of(volumes.begin(), volumes.end(), [&](const TMountedVolume& v) { return v.MountPoint == point; });
        // Volumes below /media and /run/media are the ones the desktop mounts for
        // removable drives; that is the only hint a listing has.
        if (!seen)
            volumes.push_back({point, type, point.startsWith("/media/") || point.startsWith("/run/media/")});
    }
    return volumes;
}

std::optional<std::vector<TShellItem>> ItemsForPath(const QByteArray& rawPath, bool throughHome)
{
    const QByteArray path = CleanAbsolutePath(rawPath);
    if (path.isEmpty())
        return std::nullopt;
    std::vector<TShellItem> items;
    QByteArray base = HomePath();
    if (throughHome && base != "/" && IsUnder(path, base)) {
        items.push_back({TItemKind::Home, ifFolder, {}});
    } else {
        base = "/";
        for (const TMountedVolume& volume : MountedVolumes())
            if (IsUnder(path, volume.MountPoint) && volume.MountPoint.size() > base.size())
                base = volume.MountPoint;
        items.push_back({TItemKind::Computer, ifFolder, {}});
        items.push_back({TItemKind::Drive, ifFolder, base});
    }
    if (!AppendPathEntries(base, path, items))
        return std::nullopt;
    return items;
}

std::optional<QByteArray> PathOfItems(const std::vector<TShellItem>& items)
{
    std::optional<QByteArray> path;
    for (const TShellItem& item : items) {
        switch (item.Kind) {
        case TItemKind::Computer: if (path) return std::nullopt; break;
        case TItemKind::Home: path = HomePath(); break;
        case TItemKind::Trash: path = TrashPath() + "/files"; break;
        case TItemKind::Drive: path = CleanAbsolutePath(item.Name); break;
        case TItemKind::DesktopEntry: path = UserDirPath("DESKTOP") + '/' + item.Name; break;
        case TItemKind::Entry:
            if (!path)
                return std::nullopt;
            *path = (*path == "/" ? QByteArray() : *path) + '/' + item.Name;
            break;
        }
    }
    return path;
}

} // namespace platform::shell
